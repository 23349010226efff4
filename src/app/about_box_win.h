#pragma once
#include <windows.h>

#include <string>

#include "app/gdi_win.h"

// The about box's content on the main window: the panel with the icon, the name, the version,
// the licence line and the link to the user's guide, and the OK button. Sizes are designed at
// 96 dpi and scaled to the window's resolution.
class AboutBox {
 public:
  static constexpr int kOkButtonId = IDOK;

  // Creates the OK button and the fonts for the window's resolution.
  void Create(HWND window, HICON icon, std::u16string versionText, std::u16string linkText);
  // The window's size for the designed client area, centred on its monitor's work area.
  void PlaceCentred();
  void ApplyDpi(UINT dpi);
  void Paint(HDC dc) const;
  bool OverLink(POINT client) const;
  HWND OkButton() const { return okButton_; }

 private:
  RECT Design(int x, int y, int width, int height) const;
  void DrawCentred(HDC dc, const std::u16string& text, HFONT font, RECT rect, COLORREF color) const;

  HWND window_ = nullptr;
  HWND okButton_ = nullptr;
  HICON icon_ = nullptr;
  UINT dpi_ = 96;
  std::u16string version_;
  std::u16string link_;
  FontHandle titleFont_;
  FontHandle textFont_;
  FontHandle linkFont_;
};

// The Japanese texts of the about box.
inline constexpr char16_t kFreeSoftware[] = u"フリーソフトウェア";
inline constexpr char16_t kAboutFontFace[] = u"ＭＳ Ｐゴシック";
