#include "app/kelvo_app_win.h"

#include <shellapi.h>

#include "../res/resource_ids.h"
#include "base/live_objects.h"
#include "base/overloaded.h"
#include "ui/font_win.h"
#include "ui/gdi_win.h"
#include "ui/live_objects_win.h"
#include "ui/owned_gdi_objects_win.h"
#include "util/error_box.h"
#include "win32/macro_sender_win.h"
#include "win32/owned_icons_win.h"
#include "win32/retry_timer_win.h"
#include "win32/system_control_win.h"
#include "win32/version_info_win.h"
#include "win32/wide_win.h"

namespace {

// Where the about box's link leads: the user's guide shipped beside Kelvo.exe, as a page for the
// browser (a text copy for Notepad lies beside it).
constexpr char16_t kUserGuide[] = u"Kelvo-README.html";

// Posted to run what was put off, once what kept it waiting has ended.
constexpr UINT kRunDeferredMessage = WM_APP + 4;
// Posted by the listing of LaunchDir's shortcuts once it has finished.
constexpr UINT kLaunchDirListed = WM_APP + 6;

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
  LoadServices services{
      files_, codePage_, locale_, clock_, hotkeys_, keyboard_, [window = Handle()] {
        PostMessageW(window, kLaunchDirListed, 0, 0);
      }};
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
  AppShell& shell = *this;
  dispatcher_ = std::make_unique<HotKeyDispatcher>(*model_, *services_, files_, images_, shell);
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

void KelvoApp::PostDeferredMessage() { PostMessageW(Handle(), kRunDeferredMessage, 0, 0); }

// A load waits for the shell (tray icon) with a sent message, and a hotkey may wait in a message
// box: a reload asked for meanwhile runs after them, never inside them.
void KelvoApp::LoadSettings() { deferred_.Ask(deferred::Reload{}); }

void KelvoApp::RunLoad() {
  const DeferredWork::Scope load(deferred_, BusyPart::kLoad);
  ++loadsStarted_;
  ReportLoad(model_->LoadSettings(*this, *trayKeeper_));
}

// Tells the user what went wrong with the file, and counts the load as done.
void KelvoApp::ReportLoad(LoadResult result) {
  const std::u16string file = model_->SettingsFileName();
  if (result == LoadResult::kUnreadable) {
    deferred_.Ask(
        deferred::LoadNotice{UnreadableSettingsMessage(file), u"エラー", kMbOk | kMbIconError});
  } else if (result == LoadResult::kVanished) {
    // Told once while the file stays away: every later reload would say the same.
    if (!vanishedTold_) {
      deferred_.Ask(
          deferred::LoadNotice{VanishedSettingsMessage(file), u"エラー", kMbOk | kMbIconError});
    }
    vanishedTold_ = true;
  } else if (const int line = model_->IniFile->ForeignLine(); line > 0) {
    deferred_.Ask(
        deferred::LoadNotice{MixedEncodingMessage(file, line, model_->IniFile->ForeignText()),
                             u"警告", kMbOk | kMbIconExclamation});
  }
  if (result == LoadResult::kLoaded) vanishedTold_ = false;
  ++loadsDone_;
}

// The user waits for the hotkeys and the tray icon, not for the windows: the first load stops
// there, and what the windows need (the clipboard window and its history, the launcher menu's
// tree, the command launcher's folder) follows from a posted message. Everything else put off
// waits for it, hotkeys among them.
void KelvoApp::StartLoad() {
  const DeferredWork::Scope load(deferred_, BusyPart::kLoad);
  ++loadsStarted_;
  firstLoad_ = model_->LoadHotKeys(*this, *trayKeeper_);
  deferred_.Ask(deferred::FinishStart{});
}

void KelvoApp::FinishStart() {
  const DeferredWork::Scope load(deferred_, BusyPart::kLoad);
  MakeClipboardWindow();
  if (LoadWentAhead(firstLoad_)) {
    model_->LoadWindowSettings(*this);
  }
  ReportLoad(firstLoad_);
}

void KelvoApp::MakeClipboardWindow() {
  TClipBdList::Services clipServices{
      files_,
      codePage_,
      locale_,
      clock_,
      PasteServices{*clipboard_, *desktop_, windows_, keys_, pasteSender_, clock_, locale_},
      deferred_,
      [this](const std::u16string& file) { OpenInEditor(file); }};
  clipList_ = std::make_unique<TClipBdList>(*model_, std::move(clipServices));
  if (!clipList_->Create()) clipList_.reset();
}

void KelvoApp::ShowLoadNotice(const deferred::LoadNotice& notice) {
  const DeferredWork::Scope box(deferred_, BusyPart::kNoticeBox);
  dialogs_->ShowMessage(notice.text, notice.caption, notice.flags);
}

void KelvoApp::RunDeferred(const DeferredItem& item) {
  // Once the parts are gone (the close has run), nothing put off runs any more.
  if (!model_) return;
  std::visit(Overloaded{
                 [&](const deferred::FinishStart&) { FinishStart(); },
                 [&](const deferred::Capture&) {
                   if (clipList_) clipList_->CaptureClipboard();
                 },
                 [&](const deferred::StoreSettings&) {
                   if (model_->IniFile) model_->IniFile->UpdateFile();
                 },
                 [&](const deferred::Reload&) { RunLoad(); },
                 [&](const deferred::LoadNotice& notice) { ShowLoadNotice(notice); },
                 [&](const deferred::HotKey& press) { RunHotKey(press); },
                 [&](const deferred::Close& close) { CloseNow(close.sessionEnds); },
             },
             item);
}

void KelvoApp::CloseNow(bool sessionEnds) {
  if (clipList_) {
    // The history is stored while the windows are all there, so that a box can still say that
    // it could not be (not when the session ends: nobody would see it, and it would hold up the
    // end). What arrives meanwhile waits: a second close has nothing more to do.
    const DeferredWork::Scope busy(deferred_, BusyPart::kOther);
    clipList_->StoreHistoryAtExit(!sessionEnds);
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
  if (!launcherMenu_ || !dispatcher_ || deferred_.Busy(BusyPart::kLauncherMenu)) return;
  // Until its chosen item has run.
  const DeferredWork::Scope open(deferred_, BusyPart::kLauncherMenu);
  HideClipboard();
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
  return loadsDone_ >= answeringLoad ? 0 : static_cast<LRESULT>(answeringLoad);
}

LRESULT KelvoApp::WMHotKey(int id) {
  // A press that has to wait acts on the window that was in front when it was pressed.
  if (dispatcher_) deferred_.Ask(deferred::HotKey{id, RememberForeground(*desktop_)});
  return 0;
}

void KelvoApp::RunHotKey(const deferred::HotKey& press) {
  if (!dispatcher_) return;
  const DeferredWork::Scope busy(deferred_, BusyPart::kHotKey);
  dispatcher_->WMHotKey(press.id, press.target);
}

LRESULT KelvoApp::OnClose() {
  // A hotkey, a menu or a load still uses the window and the table: close after it.
  deferred_.Ask(deferred::Close{});
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

// Only the outermost hotkey asks, once its record has finished.
void KelvoApp::Reload() { deferred_.Ask(deferred::Reload{true}); }

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
  TakeLaunchDirEntries(true);  // the keywords are typed next
  // Made at its first show, like the hotkey list.
  if (!cmdLauncher_) {
    TCmdLncForm::Services services{locale_, files_, *system_, [this] { return ExeSmallIcon(); }};
    auto window = std::make_unique<TCmdLncForm>(*model_, std::move(services), Handle());
    if (!window->Create()) return;
    cmdLauncher_ = std::move(window);
  }
  cmdLauncher_->ShowLauncher();
}

void KelvoApp::TakeLaunchDirEntries(bool wait) {
  if (model_ && model_->TakeLaunchDirEntries(wait) && cmdLauncher_) cmdLauncher_->SettingsLoaded();
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
  const DeferredWork::Scope busy(deferred_, BusyPart::kOther);
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
  deferred_.Ask(deferred::StoreSettings{});
  return TRUE;
}

LRESULT KelvoApp::WMEndSession(bool ending) {
  if (ending) deferred_.Ask(deferred::Close{true});
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
    case kRunDeferredMessage:
      deferred_.Posted();
      return 0;
    case kLaunchDirListed:
      TakeLaunchDirEntries(false);
      return 0;
    case WM_HOTKEY:
      return WMHotKey(static_cast<int>(wp));
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
