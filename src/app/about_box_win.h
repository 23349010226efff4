#pragma once
#include <windows.h>

#include <string>

#include "ui/dpi_win.h"
#include "ui/gdi_win.h"

// The about box's content on the main window: a lowered panel with the icon, the name, the
// version, the licence line and the link to the user's guide, and the OK button. The texts are
// static controls, so screen readers (and tests) can read them. Sizes are designed at 96 dpi.
class AboutBox {
 public:
  static constexpr int kOkButtonId = IDOK;
  static constexpr int kWebLabelId = 1001;

  void Create(HWND window, HICON icon, const std::u16string& versionText,
              const std::u16string& linkText);
  // Sizes the window for the designed client area and centres it on its monitor's work area.
  void PlaceCentred();
  void ApplyDpi(UINT dpi);
  void PaintPanel(HDC dc) const;
  // Colours of a static control (WM_CTLCOLORSTATIC): the link is navy.
  HBRUSH ColorStatic(HDC dc, HWND control) const;
  bool IsWebLabel(HWND control) const { return control == webLabel_; }
  HWND OkButton() const { return okButton_; }
  bool Created() const { return okButton_ != nullptr; }

 private:
  RECT Design(int x, int y, int width, int height) const;
  void Place(HWND control, int x, int y, int width, int height, HFONT font) const;

  HWND window_ = nullptr;
  HWND okButton_ = nullptr;
  HWND image_ = nullptr;
  HWND title_ = nullptr;
  HWND version_ = nullptr;
  HWND licence_ = nullptr;
  HWND webLabel_ = nullptr;
  UINT dpi_ = 96;
  FontHandle titleFont_;
  FontHandle textFont_;
  FontHandle linkFont_;
};

// The Japanese texts of the about box.
inline constexpr char16_t kFreeSoftware[] = u"フリーソフトウェア";
inline constexpr char16_t kAboutFontFace[] = u"ＭＳ Ｐゴシック";
