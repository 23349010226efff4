#pragma once
#include <windows.h>

#include <optional>
#include <string>

#include "app/about_box_win.h"
#include "ui/window_win.h"

// What the main window hands to Kelvo's application: every message that is not the about box's.
class MainWindowHandler {
 public:
  virtual ~MainWindowHandler() = default;
  // The answer to a message, or nothing for the default handling.
  virtual std::optional<LRESULT> HandleAppMessage(UINT msg, WPARAM wp, LPARAM lp) = 0;
  // The about box's link to the user's guide was clicked.
  virtual void OpenUserGuide() = 0;
};

// The main window, class "TKelvoMainForm": hidden, it receives the hotkeys, the tray icon's
// messages, the hand-over of a second start and the session's end for the application; shown,
// it is the about box.
class TKelvoMainForm : public Window {
 public:
  static constexpr wchar_t kClassName[] = L"TKelvoMainForm";

  explicit TKelvoMainForm(MainWindowHandler& handler) : handler_(handler) {}

  // Creates the hidden window; false when it cannot be made.
  bool Create();
  void ShowAbout(const std::u16string& versionText, const std::u16string& linkText);
  // Hides the about box.
  void Hide() { ShowWindow(Handle(), SW_HIDE); }
  bool AboutShown() const { return IsWindowVisible(Handle()) != FALSE; }

 private:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  LRESULT OnPaint();
  LRESULT OnDpiChanged(UINT dpi, const RECT& suggested);
  // The about box's buttons and link; false for a command that is not theirs.
  bool OnAboutCommand(int id, int notification);

  MainWindowHandler& handler_;
  HICON appIcon_ = nullptr;  // loaded shared: the system owns it
  AboutBox aboutBox_;
};
