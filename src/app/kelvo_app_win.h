#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "app/main_window_win.h"
#include "clip/window/clip_window_win.h"
#include "cmd_launcher/window/cmd_launcher_window_win.h"
#include "core/deferred_work.h"
#include "core/hand_over.h"
#include "core/hotkey_dispatch.h"
#include "core/main_model.h"
#include "core/tray_keeper.h"
#include "core/tray_menu.h"
#include "hotkeylist/window/hotkey_list_window_win.h"
#include "popup_menu/window/launcher_menu_win.h"
#include "ui/gdi_win.h"
#include "win32/clipboard_win.h"
#include "win32/clock_win.h"
#include "win32/code_page_win.h"
#include "win32/desktop_win.h"
#include "win32/dialogs_win.h"
#include "win32/file_system_win.h"
#include "win32/hotkey_registrar_win.h"
#include "win32/image_decoder_win.h"
#include "win32/key_input_win.h"
#include "win32/keyboard_layout_win.h"
#include "win32/locale_win.h"
#include "win32/paste_sender_win.h"
#include "win32/program_launcher_win.h"
#include "win32/retry_timer_win.h"
#include "win32/system_control_win.h"
#include "win32/tray_win.h"
#include "win32/window_system_win.h"

// The resident application: it makes Kelvo's parts and wires them together, owns the running
// configuration, runs the hotkeys, keeps the tray icon and its menu, and puts off what may not
// run while a part of Kelvo waits in a nested message loop.
class KelvoApp : private MainWindowHandler, private AppShell {
 public:
  KelvoApp();
  ~KelvoApp() override;
  KelvoApp(const KelvoApp&) = delete;
  KelvoApp& operator=(const KelvoApp&) = delete;

  // Creates the main window and runs the first settings load; false when the window cannot be
  // made.
  bool Start();
  HWND MainWindow() const { return window_.Handle(); }

 private:
  HWND Handle() const { return window_.Handle(); }
  void PostDeferredMessage();
  // The shell's small icon of Kelvo.exe (the command launcher shows it).
  HICON ExeSmallIcon();
  // MainWindowHandler
  std::optional<LRESULT> HandleAppMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void OpenUserGuide() override;
  void CreateParts();
  void DestroyParts();
  LRESULT WMCopyData(const COPYDATASTRUCT* data);
  LRESULT WMQueryEndSession();
  LRESULT WMEndSession(bool ending);
  LRESULT WMHotKey(int id);
  void RunHotKey(const deferred::HotKey& press);
  LRESULT OnClose();
  // Stores the history and destroys the window, which ends Kelvo.
  void CloseNow(bool sessionEnds);
  // A reload asked for by the user, a second start or the tray menu.
  void LoadSettings();
  void RunLoad();
  void StartLoad();
  void FinishStart();
  void MakeClipboardWindow();
  void ReportLoad(LoadResult result);
  void ShowLoadNotice(const deferred::LoadNotice& notice);
  // Does the work of an item of the queue, when the queue finds it ready.
  void RunDeferred(const DeferredItem& item);

  // AppShell: what a hotkey can reach
  void Reload() override;
  void CloseMainWindow() override;
  void HideMainWindow() override;
  void EditSettings() override;
  void EditMenuFile() override;
  void ShowAbout() override;
  void ShowHotKeyList() override;
  void HideHotKeyList() override;
  // The command launcher, made at its first show.
  void ToggleCmdLauncher() override;
  bool CmdLauncherVisible() const override;
  void ForegroundCmdLauncher() override;
  // The clipboard window (CLIPBOARD, CLIPBOARD_C, CLIPBOARD_T).
  void ShowClipboard(const InternalAction& command) override;
  void HideClipboard();

  // The tray menu and the about box.
  void ShowMainMenu();
  void RunMenuCommand(MenuCommand command);
  void OpenInEditor(const std::u16string& file);
  void OnCommand(int id, int notification);
  LRESULT OnTrayIcon(LPARAM event);

  // AppShell: what a load hands on
  void SetBusyCursor(bool busy) override;
  void BuildLauncherMenu() override;
  void LoadClipSettings() override;

  // The launcher menu (POPUPMENU).
  void OpenLauncherMenu() override;
  void RunLauncherItem(const ChosenItem& chosen, const SavedTarget& target);
  void ApplyCmdLauncherBorder(bool noTitleBar) override;
  // The shortcuts under LaunchDir join the keywords once listed (`wait`: now, waiting for them).
  void TakeLaunchDirEntries(bool wait);

  // The first member, so that it goes last: the parts it owns are gone by then.
  TKelvoMainForm window_{*this};
  WinFileSystem files_;
  WinCodePage codePage_;
  WinLocale locale_;
  WinClock clock_;
  WinHotKeyRegistrar hotkeys_;
  WinKeyboardLayout keyboard_;
  WinWindowSystem windows_;
  WinKeyInput keys_;
  WinProgramLauncher launcher_;
  WinImageDecoder images_;
  // What a part of Kelvo may not do while another part is busy waits here; see deferred_work.h.
  DeferredWork deferred_{[this] { PostDeferredMessage(); },
                         [this](const DeferredItem& item) { RunDeferred(item); }};
  std::unique_ptr<MainModel> model_;
  std::unique_ptr<WinDesktop> desktop_;
  std::unique_ptr<WinSystemControl> system_;
  std::unique_ptr<WinDialogs> dialogs_;
  std::unique_ptr<TZrMacStarter> macroStarter_;
  std::unique_ptr<ActionServices> services_;
  std::unique_ptr<HotKeyDispatcher> dispatcher_;
  std::unique_ptr<THotKeyHelp> hotKeyHelp_;
  std::unique_ptr<TCmdLncForm> cmdLauncher_;
  std::unique_ptr<WinTrayIcon> tray_;
  std::unique_ptr<WinRetryTimer> timer_;
  std::unique_ptr<TrayKeeper> trayKeeper_;
  std::unique_ptr<LauncherMenuWin> launcherMenu_;
  std::unique_ptr<WinClipboard> clipboard_;
  WinPasteSender pasteSender_;
  std::unique_ptr<TClipBdList> clipList_;
  // The first load's result, while the windows' part of it waits for its posted message.
  LoadResult firstLoad_ = LoadResult::kLoaded;
  UINT taskbarCreated_ = 0;
  // A second start asks with this message how many loads have finished (see WMCopyData).
  UINT loadsDoneMessage_ = 0;
  // Tests and benchmarks ask with this message how many objects of a kind Kelvo holds.
  UINT liveObjectsMessage_ = 0;
  IconHandle exeSmallIcon_;
  HCURSOR savedCursor_ = nullptr;
  // Loads started and finished since start-up; a second start whose reload had to wait is told
  // which count means that its reload has run.
  std::uint64_t loadsStarted_ = 0;
  std::uint64_t loadsDone_ = 0;
  // The user was told that the settings file is gone; cleared once a load reads it again.
  bool vanishedTold_ = false;
};
