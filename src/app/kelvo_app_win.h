#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/main_window_win.h"
#include "clip/clip_window_win.h"
#include "core/deferred_work.h"
#include "core/hand_over.h"
#include "core/hotkey_dispatch.h"
#include "core/main_model.h"
#include "core/tray_keeper.h"
#include "core/tray_menu.h"
#include "hotkeylist/hotkey_list_window_win.h"
#include "launcher/cmd_launcher_window_win.h"
#include "launcher/launcher_menu_win.h"
#include "platform/clipboard_win.h"
#include "platform/code_page_win.h"
#include "platform/desktop_win.h"
#include "platform/system_control_win.h"
#include "platform/dialogs_win.h"
#include "platform/file_system_win.h"
#include "platform/hotkey_registrar_win.h"
#include "platform/keyboard_layout_win.h"
#include "platform/image_decoder_win.h"
#include "platform/key_input_win.h"
#include "platform/locale_win.h"
#include "platform/clock_win.h"
#include "platform/paste_sender_win.h"
#include "platform/program_launcher_win.h"
#include "platform/tray_win.h"
#include "platform/retry_timer_win.h"
#include "platform/window_system_win.h"
#include "ui/gdi_win.h"

// The resident application: it makes Kelvo's parts and wires them together, owns the running
// configuration, runs the hotkeys, keeps the tray icon and its menu, and puts off what may not
// run while a part of Kelvo waits in a nested message loop.
class KelvoApp : private MainWindowHandler, private LoadHooks, private KelvoWindows {
 public:
  // Posted to run what was put off while Kelvo was busy.
  static constexpr UINT kRunDeferredMessage = WM_APP + 4;

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
  LRESULT WMHotKey(int id, const std::optional<SavedTarget>& pressedOver = std::nullopt);
  void ReplayHotKey();
  LRESULT OnClose();
  // Stores the history and destroys the window, which ends Kelvo.
  void CloseNow();
  void LoadSettings();
  void StartLoad();
  void FinishStart();
  void MakeClipboardWindow();
  void ReportLoad(LoadResult result);
  // A message box about the settings file that a load asks for.
  struct LoadNotice {
    std::u16string text;
    std::u16string caption;
    unsigned flags = 0;
  };
  void QueueLoadNotice(LoadNotice notice);
  void ShowLoadNotice();
  // Runs what was asked for while Kelvo was busy, once nothing is running any more.
  void RunDeferred();
  bool Busy() const { return deferred_.Busy() || loading_; }

  // Marks the time a handler runs something that lets other messages in (a hotkey, a menu, a
  // message box): the window and the table must then stay until it has finished. The clipboard
  // window marks its boxes and dialogs in the same way.
  using BusyScope = DeferredWork::Scope;

  // KelvoWindows
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
  void ClipIdle();
  bool ClipBusy() const { return clipList_ && clipList_->Busy(); }

  // The tray menu and the about box.
  void ShowMainMenu();
  void RunMenu();
  void RunMenuCommand(MenuCommand command);
  void OpenInEditor(const std::u16string& file);
  void OnCommand(int id, int notification);
  LRESULT OnTrayIcon(LPARAM event);

  // LoadHooks
  void SetBusyCursor(bool busy) override;
  void BuildLauncherMenu() override;
  void LoadClipSettings() override;

  // The launcher menu (POPUPMENU).
  void OpenLauncherMenu() override;
  void RunLauncherItem(const ChosenItem& chosen, const SavedTarget& target);
  void ApplyCmdLauncherBorder(bool noTitleBar) override;

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
  // What was put off while busy runs from a message posted when the last busy part ends.
  DeferredWork deferred_{[this] { PostMessageW(Handle(), kRunDeferredMessage, 0, 0); },
                         [this] { RunDeferred(); }};
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
  bool startPending_ = false;
  // Hotkeys pressed while the clipboard window pasted or showed a dialog, run after it.
  // Hotkeys pressed while the clipboard window was busy, with what was in front at the press.
  struct DeferredHotKey {
    int id = 0;
    SavedTarget target;
  };
  std::vector<DeferredHotKey> deferredHotKeys_;
  // From the launcher menu's opening until its chosen item has run.
  bool launcherOpen_ = false;
  UINT taskbarCreated_ = 0;
  // A second start asks with this message how many loads have finished (see WMCopyData).
  UINT loadsDoneMessage_ = 0;
  // Tests and benchmarks ask with this message how many objects of a kind Kelvo holds.
  UINT liveObjectsMessage_ = 0;
  IconHandle exeSmallIcon_;
  HCURSOR savedCursor_ = nullptr;
  bool loading_ = false;
  bool reloadPending_ = false;
  // Loads started and finished since start-up; a second start whose reload had to wait is told
  // which count means that its reload has run.
  std::uint64_t loadsStarted_ = 0;
  std::uint64_t loadsDone_ = 0;
  bool closePending_ = false;
  bool sessionEnding_ = false;  // the system ends the session: no box is shown any more
  bool storePending_ = false;
  std::optional<LoadNotice> loadNotice_;
  bool noticeShown_ = false;
  // The user was told that the settings file is gone; cleared once a load reads it again.
  bool vanishedTold_ = false;
};
