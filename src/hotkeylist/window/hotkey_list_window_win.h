#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "core/main_model.h"
#include "platform/locale.h"
#include "ui/gdi_win.h"
#include "ui/subclass_win.h"
#include "ui/window_win.h"

// The hotkey list window, class "THotKeyHelp": every global hotkey with its display text and a
// summary of what it does, rebuilt from the hotkey table at each show. Like Kelvo's other
// windows it hides instead of closing; a close by the user stores its position and size.
class THotKeyHelp : public Window {
 public:
  static constexpr wchar_t kClassName[] = L"THotKeyHelp";

  THotKeyHelp(MainModel& model, const Locale& locale);
  ~THotKeyHelp() override;

  // Creates the window, hidden; false when it cannot be made.
  bool Create();
  // Places the window where the settings say, fills the list from the current hotkey table and
  // shows it. The caller brings it to the foreground.
  void ShowList();
  // The hide of another hotkey: nothing is stored.
  void HideWithoutSaving();
  bool Visible() const;

 private:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  bool CreateControls();

  LRESULT ControlMessage(HWND control, UINT msg, WPARAM wp, LPARAM lp);
  using KeyedControl = ControlSubclass<THotKeyHelp, &THotKeyHelp::ControlMessage>;

  int Scale(int designPixels) const;
  void ApplyDpi();
  void SetRowHeight();
  void MeasureWidest();
  void FillList();
  void StartAtTheTop();
  void PlaceFromSettings();

  void Layout();
  void Paint();
  void HideAndStorePlace();
  LRESULT OnDpiChanged(UINT dpi, const RECT& suggested);
  void OnActivate(bool active);
  LRESULT OnNcHitTest(LPARAM lp);
  void HKeyListBoxDrawItem(const DRAWITEMSTRUCT& item);
  RECT SizeGripRect() const;
  // The smallest window that shows the close button and the list's first column whole, and a few
  // rows, at the current DPI.
  SIZE MinimumSize() const;

  MainModel& model_;
  const Locale& locale_;
  HWND list_ = nullptr;
  HWND closeButton_ = nullptr;
  FontHandle font_;
  int fontHeight_ = 0;  // |height| of the font in pixels
  UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
  std::vector<std::u16string> rows_;
  int widestDisplayText_ = 0;  // pixels, in the window's font
  HWND lastFocus_ = nullptr;
  bool placing_ = false;  // the window is being moved to its stored bounds
};
