#include "app/kelvo_app_win.h"

#include <shellapi.h>

#include "../res/resource_ids.h"
#include "base/live_objects.h"
#include "platform/macro_sender_win.h"
#include "platform/owned_icons_win.h"
#include "platform/version_info_win.h"
#include "platform/wide_win.h"
#include "ui/font_win.h"
#include "ui/gdi_win.h"
#include "ui/live_objects_win.h"
#include "ui/owned_gdi_objects_win.h"
#include "util/error_box.h"
#include "platform/retry_timer_win.h"
#include "platform/system_control_win.h"

namespace {

// Where the about box's link leads: the user's guide shipped beside Kelvo.exe, as a page for the
// browser (a text copy for Notepad lies beside it).
constexpr char16_t kUserGuide[] = u"Kelvo-README.html";

// Posted to show the error of a load once the load (and a hand-over waiting for it) returned.
constexpr UINT kShowLoadNoticeMessage = WM_APP + 2;
// Posted to run the next hotkey that was pressed while the clipboard window was busy.
constexpr UINT kReplayHotKeyMessage = WM_APP + 3;
// Posted by the first load once the hotkeys are registered: the rest of the start follows.
constexpr UINT kFinishStartMessage = WM_APP + 5;

}  // namespace

KelvoApp::KelvoApp() = default;

KelvoApp::~KelvoApp() = default;

bool KelvoApp::Start() {
  if (!window_.Create()) return false;
  CreateParts();
  return true;
}

void KelvoApp::CreateParts() {
  const std::u16string exePath = ExecutablePath();
  LoadServices services{files_, codePage_, locale_, clock_, hotkeys_, keyboard_};
  model_ = std::make_unique<MainModel>(services, exePath, reinterpret_cast<WindowHandle>(Handle()),
                                       MessageFontDescription(), AppVersionNumber());
  tray_ = std::make_unique<WinTrayIcon>(Handle(), GetModuleHandleW(nullptr),
                                        MAKEINTRESOURCEW(IDI_KELVO));
  timer_ = std::make_unique<WinRetryTimer>(Handle());
  trayKeeper_ = std::make_unique<TrayKeeper>(*tray_, *timer_);
  // Explorer announces a restart with this message; the icon must then be added again.
  taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
  loadsDoneMessage_ = RegisterWindowMessageW(W(kLoadsDoneMessageName));
  liveObjectsMessage_ = RegisterWindowMessageW(W(kLiveObjectsMessageName));
  // A process that is not elevated would otherwise never receive it from Explorer.
  ChangeWindowMessageFilterEx(Handle(), taskbarCreated_, MSGFLT_ALLOW, nullptr);
  desktop_ = std::make_unique<WinDesktop>(Handle());
  system_ = std::make_unique<WinSystemControl>(Handle());
  dialogs_ = std::make_unique<WinDialogs>(Handle());
  clipboard_ = std::make_unique<WinClipboard>(Handle());
  launcherMenu_ = std::make_unique<LauncherMenuWin>(Handle(), clock_, locale_);
  StartLoad();
  macroStarter_ = std::make_unique<TZrMacStarter>(WinMacroSender::Instance(), codePage_);
  services_.reset(new ActionServices{windows_, *desktop_, *system_, keys_, launcher_, *dialogs_,
                                     locale_, *macroStarter_});
  KelvoWindows& kelvoWindows = *this;
  dispatcher_ =
      std::make_unique<HotKeyDispatcher>(*model_, *services_, files_, images_, kelvoWindows);
}

HICON KelvoApp::ExeSmallIcon() {
  // Asking the shell costs tens of milliseconds, so the icon is fetched when first wanted
  // rather than at every start.
  if (!exeSmallIcon_) {
    exeSmallIcon_ =
        owned::ShellFileIcon(W(ExecutablePath()), FILE_ATTRIBUTE_ARCHIVE, SHGFI_SMALLICON);
  }
  return exeSmallIcon_.get();
}

void KelvoApp::LoadSettings() {
  // A load waits for the shell (tray icon) with a sent message, and a hotkey may wait in a
  // message box: a reload asked for meanwhile runs after them, never inside them.
  if (loading_ || (dispatcher_ && dispatcher_->Running()) || ClipBusy()) {
    reloadPending_ = true;
    deferred_.Ask();
    return;
  }
  loading_ = true;
  do {
    reloadPending_ = false;
    ++loadsStarted_;
    ReportLoad(model_->LoadSettings(*this, *trayKeeper_));
  } while (reloadPending_);
  loading_ = false;
}

// Tells the user what went wrong with the file, and counts the load as done.
void KelvoApp::ReportLoad(LoadResult result) {
  const std::u16string file = model_->SettingsFileName();
  if (result == LoadResult::kUnreadable) {
    QueueLoadNotice({UnreadableSettingsMessage(file), u"エラー", kMbOk | kMbIconError});
  } else if (result == LoadResult::kVanished) {
    // Told once while the file stays away: every later reload would say the same.
    if (!vanishedTold_) {
      QueueLoadNotice({VanishedSettingsMessage(file), u"エラー", kMbOk | kMbIconError});
    }
    vanishedTold_ = true;
  } else if (const int line = model_->IniFile->ForeignLine(); line > 0) {
    QueueLoadNotice({MixedEncodingMessage(file, line, model_->IniFile->ForeignText()), u"警告",
                     kMbOk | kMbIconExclamation});
  }
  if (result == LoadResult::kLoaded) vanishedTold_ = false;
  ++loadsDone_;
}

// The user waits for the hotkeys and the tray icon, not for the windows: the first load stops
// there, and what the windows need (the clipboard window and its history, the launcher menu's
// tree, the command launcher's folder) follows from a posted message. A hotkey is a posted
// message too, so none is handled before the start has finished.
void KelvoApp::StartLoad() {
  loading_ = true;
  ++loadsStarted_;
  firstLoad_ = model_->LoadHotKeys(*this, *trayKeeper_);
  startPending_ = true;
  PostMessageW(Handle(), kFinishStartMessage, 0, 0);
}

void KelvoApp::FinishStart() {
  MakeClipboardWindow();
  if (LoadWentAhead(firstLoad_)) {
    model_->LoadWindowSettings(*this);
  }
  ReportLoad(firstLoad_);
  loading_ = false;
  startPending_ = false;
  ClipIdle();     // a hotkey pressed meanwhile
  RunDeferred();  // a reload or close asked for meanwhile
}

void KelvoApp::MakeClipboardWindow() {
  TClipBdList::Services clipServices{
      files_,
      codePage_,
      locale_,
      clock_,
      PasteServices{*clipboard_, *desktop_, windows_, keys_, pasteSender_, clock_, locale_},
      deferred_,
      [this] { ClipIdle(); },
      [this](const std::u16string& file) { OpenInEditor(file); }};
  clipList_ = std::make_unique<TClipBdList>(*model_, std::move(clipServices));
  if (!clipList_->Create()) clipList_.reset();
}

void KelvoApp::QueueLoadNotice(LoadNotice notice) {
  // Shown once the load (and a second start waiting for it) has returned.
  if (!loadNotice_) PostMessageW(Handle(), kShowLoadNoticeMessage, 0, 0);
  loadNotice_ = std::move(notice);
}

void KelvoApp::ShowLoadNotice() {
  if (!loadNotice_ || noticeShown_) return;  // one box at a time, however often loads fail
  const LoadNotice notice = *std::exchange(loadNotice_, std::nullopt);
  noticeShown_ = true;
  BusyScope busy(deferred_);
  dialogs_->ShowMessage(notice.text, notice.caption, notice.flags);
  noticeShown_ = false;
}

void KelvoApp::RunDeferred() {
  if (Busy()) return;
  if (storePending_) {
    storePending_ = false;
    if (model_ && model_->IniFile) model_->IniFile->UpdateFile();
  }
  if (reloadPending_) LoadSettings();
  if (closePending_) CloseNow();
}

void KelvoApp::CloseNow() {
  closePending_ = false;
  if (clipList_) {
    // The history is stored while the windows are all there, so that a box can still say that
    // it could not be (not when the session ends: nobody would see it, and it would hold up the
    // end). What arrives meanwhile waits: a second close has nothing more to do.
    BusyScope busy(deferred_);
    clipList_->StoreHistoryAtExit(!sessionEnding_);
  }
  DestroyWindow(Handle());
}

void KelvoApp::SetBusyCursor(bool busy) {
  if (busy) {
    savedCursor_ = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  } else {
    SetCursor(savedCursor_ ? savedCursor_ : LoadCursorW(nullptr, IDC_ARROW));
  }
}

void KelvoApp::BuildLauncherMenu() {
  if (!launcherMenu_) return;
  const UsrIniFile& ini = *model_->IniFile;
  launcherMenu_->Load(ReadLauncherOptions(ini, MessageFontDescription()),
                      ReadLauncherSources(ini, model_->ExeDir, model_->PopupFile), files_,
                      codePage_, locale_);
}

void KelvoApp::OpenLauncherMenu() {
  // A POPUPMENU pressed while the menu or its chosen item runs opens no menu inside the menu.
  if (!launcherMenu_ || !dispatcher_ || launcherOpen_) return;
  launcherOpen_ = true;
  HideClipboard();
  BusyScope busy(deferred_);
  // The target of this hotkey: one pressed while the menu is open overwrites the dispatcher's.
  const SavedTarget target = dispatcher_->Target();
  const LauncherOptions& options = launcherMenu_->State().options;
  POINT at{options.PosX, options.PosY};
  if (options.PosX == -1 || options.PosY == -1) GetCursorPos(&at);
  // Without the foreground the menu would not close when the user clicks elsewhere.
  desktop_->BringKelvoToFront();
  const std::optional<ChosenItem> chosen = launcherMenu_->Track(at);
  RestoreTarget(target, *desktop_, windows_);
  if (chosen) RunLauncherItem(*chosen, target);
  launcherOpen_ = false;
}

void KelvoApp::RunLauncherItem(const ChosenItem& chosen, const SavedTarget& target) {
  if (chosen.Click == PopupClick::kLaunch) {
    const auto start = PlanLauncherStart(chosen, launcherMenu_->State().sources.PopupDir);
    if (start &&
        !launcher_.LaunchProgram(start->program, start->params, u"", kSwShowNormal, false) &&
        start->reportFailure) {
      ShowError(*dialogs_, LaunchFailedMessage(start->program));
    }
  } else if (chosen.Click == PopupClick::kPaste) {
    PasteServices services{*clipboard_, *desktop_, windows_, keys_, pasteSender_, clock_, locale_};
    PasteLauncherText(chosen.Caption, target, model_->WmPasteClass, services);
  }
}

void KelvoApp::DestroyParts() {
  macroStarter_.reset();  // asks the worker to end
  clipList_.reset();      // stores the history
  hotKeyHelp_.reset();
  cmdLauncher_.reset();
  dispatcher_.reset();
  services_.reset();
  if (model_) {
    model_->ClearHotKeys();
    if (model_->IniFile) model_->IniFile->UpdateFile();
    model_.reset();
  }
  trayKeeper_.reset();
  timer_.reset();
  tray_.reset();
  exeSmallIcon_.reset();
  PostQuitMessage(0);
}

LRESULT KelvoApp::WMCopyData(const COPYDATASTRUCT* data) {
  if (!data || !IsReloadRequest(ReadHandOverText(data->dwData, data->lpData, data->cbData))) {
    return 0;
  }
  // The reload that answers this request is the next one to start.
  const std::uint64_t answeringLoad = loadsStarted_ + 1;
  LoadSettings();
  RunDeferred();
  return loadsDone_ >= answeringLoad ? 0 : static_cast<LRESULT>(answeringLoad);
}

LRESULT KelvoApp::WMHotKey(int id, const std::optional<SavedTarget>& pressedOver) {
  if (!dispatcher_) return 0;
  if (ClipBusy() || startPending_) {
    // Run once the clipboard window is done (or made), on the window that was in front at the
    // press.
    deferredHotKeys_.push_back({id, pressedOver ? *pressedOver : RememberForeground(*desktop_)});
    return 0;
  }
  {
    BusyScope busy(deferred_);
    dispatcher_->WMHotKey(id, pressedOver);
  }
  RunDeferred();
  return 0;
}

LRESULT KelvoApp::OnClose() {
  // A hotkey, a menu or a load still uses the window and the table: close after it.
  if (Busy()) {
    closePending_ = true;
    deferred_.Ask();
    return 0;
  }
  CloseNow();
  return 0;
}

void KelvoApp::CloseMainWindow() {
  // The program ends after the tidy-up of the current hotkey.
  PostMessageW(Handle(), WM_CLOSE, 0, 0);
}

void KelvoApp::HideMainWindow() { window_.Hide(); }

void KelvoApp::ShowAbout() {
  window_.ShowAbout(u"Version " + FileVersionText(ExecutablePath()), kUserGuide);
}

void KelvoApp::Reload() { LoadSettings(); }

void KelvoApp::ShowHotKeyList() {
  // Made at its first show: a window costs start-up time that most runs never need.
  if (!hotKeyHelp_) {
    auto window = std::make_unique<THotKeyHelp>(*model_, locale_);
    if (!window->Create()) return;
    hotKeyHelp_ = std::move(window);
  }
  hotKeyHelp_->ShowList();
  SetForegroundWindow(hotKeyHelp_->Handle());
}

void KelvoApp::HideHotKeyList() {
  if (hotKeyHelp_) hotKeyHelp_->HideWithoutSaving();
}

void KelvoApp::ToggleCmdLauncher() {
  if (CmdLauncherVisible()) {
    cmdLauncher_->HideLauncher();
    return;
  }
  // Made at its first show, like the hotkey list.
  if (!cmdLauncher_) {
    TCmdLncForm::Services services{locale_, files_, *system_, [this] { return ExeSmallIcon(); }};
    auto window = std::make_unique<TCmdLncForm>(*model_, std::move(services), Handle());
    if (!window->Create()) return;
    cmdLauncher_ = std::move(window);
  }
  cmdLauncher_->ShowLauncher();
}

bool KelvoApp::CmdLauncherVisible() const { return cmdLauncher_ && cmdLauncher_->Visible(); }

void KelvoApp::ForegroundCmdLauncher() {
  if (CmdLauncherVisible()) SetForegroundWindow(cmdLauncher_->Handle());
}

void KelvoApp::ShowClipboard(const InternalAction& command) {
  if (clipList_) clipList_->RunCommand(command);
}

void KelvoApp::HideClipboard() {
  if (clipList_ && clipList_->Visible()) clipList_->HideClip();
}

void KelvoApp::LoadClipSettings() {
  if (clipList_) clipList_->LoadClipSettings();
}

void KelvoApp::ClipIdle() {
  // The hotkeys come back through the queue, one at a time in the order they were pressed. A
  // close or reload asked for meanwhile runs from its own posted message: the clipboard window
  // that was busy is still on the stack here.
  if (!deferredHotKeys_.empty()) PostMessageW(Handle(), kReplayHotKeyMessage, 0, 0);
}

void KelvoApp::ReplayHotKey() {
  if (deferredHotKeys_.empty()) return;
  const DeferredHotKey press = deferredHotKeys_.front();
  deferredHotKeys_.erase(deferredHotKeys_.begin());
  // The next one waits for its own message, so that what this one asks for runs between them.
  if (!deferredHotKeys_.empty()) PostMessageW(Handle(), kReplayHotKeyMessage, 0, 0);
  WMHotKey(press.id, press.target);
}

void KelvoApp::ApplyCmdLauncherBorder(bool /*noTitleBar*/) {
  // The load has built the whole table by now: the launcher takes its keywords with the border.
  if (cmdLauncher_) cmdLauncher_->SettingsLoaded();
}

void KelvoApp::OpenInEditor(const std::u16string& file) {
  if (model_->Editor.empty()) return;
  const std::u16string params =
      EditorParameters(file, model_->IniFile->ReadString(u"General", u"EditParam", u""));
  launcher_.LaunchProgram(model_->Editor, params, u"", kSwShowNormal, false);
}

void KelvoApp::EditSettings() {
  HideMainWindow();
  HideClipboard();
  OpenInEditor(model_->IniFile->FileName);
}

void KelvoApp::EditMenuFile() {
  HideMainWindow();
  OpenInEditor(model_->PopupFile);
}

void KelvoApp::OpenUserGuide() {
  HideMainWindow();
  launcher_.LaunchProgram(model_->ExeDir + kUserGuide, u"", u"", kSwShowNormal, false);
}

void KelvoApp::RunMenuCommand(MenuCommand command) {
  switch (command) {
    case MenuCommand::kEditSettings:
      EditSettings();
      break;
    case MenuCommand::kEditMenuFile:
      EditMenuFile();
      break;
    case MenuCommand::kReload:
      HideMainWindow();
      LoadSettings();
      break;
    case MenuCommand::kHotKeyList:
      ShowHotKeyList();
      break;
    case MenuCommand::kAbout:
      ShowAbout();
      break;
    case MenuCommand::kExit:
      CloseMainWindow();
      break;
  }
}

void KelvoApp::ShowMainMenu() {
  RunMenu();
  RunDeferred();
}

void KelvoApp::RunMenu() {
  BusyScope busy(deferred_);
  const MenuHandle menu = owned::CreatePopupMenu();
  for (const MenuEntry& item :
       TrayMenuItems(model_->Editor, model_->PopupFile, window_.AboutShown())) {
    if (item.separator) {
      AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
    } else {
      AppendMenuW(menu.get(), MF_STRING | (item.enabled ? 0 : MF_GRAYED),
                  static_cast<UINT_PTR>(item.command), W(item.caption));
    }
  }
  POINT at;
  GetCursorPos(&at);
  // Without the foreground the menu would not close when the user clicks elsewhere.
  SetForegroundWindow(Handle());
  const UINT chosen = TrackPopupMenu(menu.get(), TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY,
                                     at.x, at.y, 0, Handle(), nullptr);
  PostMessageW(Handle(), WM_NULL, 0, 0);
  if (chosen != 0) RunMenuCommand(static_cast<MenuCommand>(chosen));
}

void KelvoApp::OnCommand(int id, int notification) {
  if (id >= static_cast<int>(MenuCommand::kEditSettings) &&
      id <= static_cast<int>(MenuCommand::kExit) && notification == 0) {
    RunMenuCommand(static_cast<MenuCommand>(id));
  }
}

LRESULT KelvoApp::OnTrayIcon(LPARAM event) {
  if (LOWORD(event) == WM_RBUTTONUP || LOWORD(event) == WM_CONTEXTMENU) ShowMainMenu();
  return 0;
}

LRESULT KelvoApp::WMQueryEndSession() {
  // The settings are stored now, while the session asks; Kelvo closes only when the session
  // really ends, so a log-off that another program cancels leaves it running. A load in progress
  // holds the store half made: it is stored after the load.
  // The history goes first: a failure to store it is noted in ErrorLog, which the settings
  // write then takes along.
  if (clipList_) clipList_->StoreHistory(false);
  if (loading_) {
    storePending_ = true;
  } else if (model_ && model_->IniFile) {
    model_->IniFile->UpdateFile();
  }
  return TRUE;
}

LRESULT KelvoApp::WMEndSession(bool ending) {
  if (ending) {
    sessionEnding_ = true;
    OnClose();
  }
  return 0;
}

std::optional<LRESULT> KelvoApp::HandleAppMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (launcherMenu_) {
    if (const auto handled = launcherMenu_->HandleMenuMessage(msg, wp, lp)) return *handled;
  }
  if (msg == taskbarCreated_ && taskbarCreated_ != 0) {
    if (trayKeeper_) trayKeeper_->TaskbarCreated();
    return 0;
  }
  if (msg == loadsDoneMessage_ && loadsDoneMessage_ != 0) return static_cast<LRESULT>(loadsDone_);
  if (msg == liveObjectsMessage_ && liveObjectsMessage_ != 0) return AnswerLiveObjects(wp);
  switch (msg) {
    case WM_COPYDATA:
      return WMCopyData(reinterpret_cast<const COPYDATASTRUCT*>(lp));
    case WM_QUERYENDSESSION:
      return WMQueryEndSession();
    case WM_ENDSESSION:
      return WMEndSession(wp != FALSE);
    case kShowLoadNoticeMessage:
      ShowLoadNotice();
      RunDeferred();
      return 0;
    case kRunDeferredMessage:
      deferred_.Posted();
      return 0;
    case WM_HOTKEY:
      return WMHotKey(static_cast<int>(wp));
    case kReplayHotKeyMessage:
      ReplayHotKey();
      return 0;
    case kFinishStartMessage:
      FinishStart();
      return 0;
    case WM_CLOSE:
      return OnClose();
    case WM_TIMER:
      if (wp == WinRetryTimer::kTimerId && trayKeeper_) trayKeeper_->RetryTimerFired();
      return 0;
    case WM_DESTROY:
      DestroyParts();
      return 0;
    case WinTrayIcon::kTrayMessage:
      return OnTrayIcon(lp);
    case WM_CONTEXTMENU:
      ShowMainMenu();
      return 0;
    case WM_COMMAND:
      OnCommand(LOWORD(wp), HIWORD(wp));
      return 0;
    default:
      return std::nullopt;
  }
}
