#pragma once
#include <windows.h>

#include <memory>

#include "app/hand_over.h"
#include "app/main_model.h"
#include "app/tray_keeper.h"
#include "app/window_win.h"
#include "platform/code_page_win.h"
#include "platform/dialogs_win.h"
#include "platform/file_system_win.h"
#include "platform/hotkey_registrar_win.h"
#include "platform/locale_win.h"
#include "platform/tray_win.h"

// The main window, class "TKelvoMainForm": hidden, it owns the running configuration, receives
// the hotkeys and the hand-over of a second start, and keeps the tray icon.
class TKelvoMainForm : public Window, private LoadHooks {
 public:
  static constexpr wchar_t kClassName[] = L"TKelvoMainForm";

  TKelvoMainForm();
  ~TKelvoMainForm() override;

  // Creates the window and runs the first settings load; false when the window cannot be made.
  bool Create();
  MainModel& Model() { return *model_; }

 private:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void FormCreate();
  void FormDestroy();
  LRESULT WMCopyData(const COPYDATASTRUCT* data);
  LRESULT WMQueryEndSession();
  void LoadSettings();

  // LoadHooks
  void SetBusyCursor(bool busy) override;

  WinFileSystem files_;
  WinCodePage codePage_;
  WinLocale locale_;
  WinClock clock_;
  WinHotKeyRegistrar hotkeys_;
  WinKeyboardLayout keyboard_;
  std::unique_ptr<MainModel> model_;
  std::unique_ptr<WinTrayIcon> tray_;
  std::unique_ptr<WinRetryTimer> timer_;
  std::unique_ptr<TrayKeeper> trayKeeper_;
  UINT taskbarCreated_ = 0;
  HICON appIcon_ = nullptr;
  HICON ExeSmallIcon = nullptr;
  HCURSOR savedCursor_ = nullptr;
  bool loading_ = false;
  bool reloadPending_ = false;
};
