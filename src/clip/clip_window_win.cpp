#include "clip/clip_window_win.h"

#include <algorithm>
#include <cwchar>

#include "clip/clip_window_parts_win.h"
#include "clip/history_file.h"
#include "core/settings_schema.h"
#include "platform/file_dialog_win.h"
#include "platform/subclass_win.h"
#include "platform/wide_win.h"
#include "ui/colour_win.h"
#include "ui/font_win.h"
#include "ui/owned_gdi_objects_win.h"
#include "ui/window_place_win.h"
#include "util/path_text.h"

using namespace clip_window;

TClipBdList::TClipBdList(MainModel& model, Services services)
    : model_(model),
      services_(std::move(services)),
      view_(history_, services_.locale),
      capture_(services_.clock, services_.locale),
      canned_(services_.files, services_.codePage, services_.clock, services_.locale) {}

TClipBdList::~TClipBdList() {
  if (Handle()) DestroyWindow(Handle());
}

bool TClipBdList::Create() {
  if (!RegisterClassOnce(kClassName, KelvoIcon())) return false;
  if (!CreateHandle(kClassName, kFirstCaption, kStyle, kExStyle, 0, 0, 320, 400, nullptr)) {
    return false;
  }
  // Its boxes are its own: above it although it stays on top, and it takes no click meanwhile.
  dialogs_ = std::make_unique<WinDialogs>(Handle());
  return true;
}

// ---------------------------------------------------------------------------------------------
// Set-up

void TClipBdList::LoadClipSettings() {
  if (!Handle() || !model_.IniFile) return;
  const HCURSOR cursor = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  // The place is kept in the store; the file is written at the next hide or at exit, not in the
  // middle of the load that runs this set-up.
  if (Visible()) HideClip(false);
  settingUp_ = true;
  const UsrIniFile& ini = *model_.IniFile;
  const FontDescription base = BaseFont();
  fontDesc_ = ini.ReadFont(kSection, &base);
  fontSizeV_ = ini.ReadInteger(kSection, u"FontSizeV", fontDesc_.size);
  const CaptureSettings old = capture_.Settings();
  const CaptureSettings settings = ReadCaptureSettings(ini, services_.files, model_.ExeDir);
  showLnCt_ = ini.ReadBool(kSection, u"ShowLnCt", DefaultBool(kSection, u"ShowLnCt"));
  previewLn_ = ini.ReadInteger(kSection, u"PreviewLn", DefaultInteger(kSection, u"PreviewLn"));
  transparent_ = ini.ReadInteger(kSection, u"Transparent", DefaultInteger(kSection, u"Transparent"));
  view_.LoadSettings(ini);
  ApplyTransparency();
  capture_.Configure(settings);
  LoadHistoryFile(!setUpOnce_, old);
  ShowResult(canned_.LoadSettings(ini, model_.ExeDir));
  if (const auto& broken = capture_.Exclusions().BrokenPattern()) {
    setUpMessages_.push_back({u"不正な正規表現です\n" + *broken, u"エラー", kMbOk | kMbIconError});
  }
  if (!setUpMessages_.empty()) PostMessageW(Handle(), kShowSetUpMessages, 0, 0);
  SetViewer();
  if (!setUpOnce_) {
    ini.ReadItemList(findItems_, kFindSection, kFindItems);
    setUpOnce_ = true;
  }
  settingUp_ = false;
  if (PageControl1) {
    ApplyFonts();
    SyncCanned();
    Layout();
  }
  SetCursor(cursor);
}

void TClipBdList::LoadHistoryFile(bool firstSetUp, const CaptureSettings& old) {
  // A reload while the first read still runs compares with what that read found.
  FinishHistoryLoad();
  const CaptureSettings& now = capture_.Settings();
  if (!now.SaveHistory) return;
  if (firstSetUp) {
    StartHistoryLoad(now);
    return;
  }
  // A reload keeps what was captured; the file is read again only when it is new to this run.
  const bool newFile = !old.SaveHistory || historyBlocked_ ||
                       services_.locale.CompareNoCase(old.ClipDataPath, now.ClipDataPath) != 0;
  if (!newFile) return;
  ApplyHistoryRead(ReadHistoryFile(services_.files, services_.codePage, services_.locale,
                                   now.ClipDataPath, DaysFromDateTime(services_.clock.Now())));
}

void TClipBdList::StartHistoryLoad(const CaptureSettings& settings) {
  const HWND window = Handle();
  historyLoad_ = std::make_unique<BackgroundTask<HistoryRead>>(
      [&files = services_.files, &codePage = services_.codePage, &locale = services_.locale,
       path = settings.ClipDataPath, now = DaysFromDateTime(services_.clock.Now())] {
        return ReadHistoryFile(files, codePage, locale, path, now);
      },
      [window] { PostMessageW(window, kHistoryArrived, 0, 0); });
}

void TClipBdList::FinishHistoryLoad() {
  if (!historyLoad_) return;
  std::optional<HistoryRead> read = historyLoad_->Take();
  historyLoad_.reset();
  if (read) ApplyHistoryRead(std::move(*read));
}

void TClipBdList::ApplyHistoryRead(HistoryRead read) {
  historyBlocked_ = read.status == HistoryReadStatus::kUnreadable;
  if (read.status != HistoryReadStatus::kLoaded) return;
  // Merged after what this run captured, without the texts it already holds.
  history_.MergeBelow(std::move(read.items));
  if (PageControl1 && Visible()) {
    view_.FillHistList(0);
    SyncHistRows();
  }
}

void TClipBdList::StoreHistory(bool mayShowBox) {
  // Never a store of this run's entries alone over a file whose read has not arrived yet.
  FinishHistoryLoad();
  const CaptureSettings& settings = capture_.Settings();
  if (!settings.SaveHistory) return;
  const double now = DaysFromDateTime(services_.clock.Now());
  const HistoryStoreResult result =
      StoreHistoryFile(services_.files, services_.codePage, services_.locale, settings.ClipDataPath,
                       now, history_, historyBlocked_);
  if (result == HistoryStoreResult::kMerged && PageControl1) {
    view_.FillHistList(0);
    SyncHistRows();
  }
  if (result == HistoryStoreResult::kStored || result == HistoryStoreResult::kMerged) return;
  // Once per run: a later store tries again, but says nothing new.
  if (storeFailureTold_) return;
  storeFailureTold_ = true;
  if (model_.IniFile) {
    const LocalDateTime at = services_.clock.Now();
    model_.IniFile->WriteString(u"ErrorLog", kHistoryErrorLogKey,
                                HistoryStoreLogValue(result, settings.ClipDataPath,
                                                     services_.locale.ShortDate(at) + u" " +
                                                         services_.locale.LongTime(at)));
  }
  if (mayShowBox && dialogs_) {
    dialogs_->ShowMessage(HistoryStoreFailureMessage(result, settings.ClipDataPath), u"エラー",
                          kMbOk | kMbIconError);
  }
}

void TClipBdList::StoreHistoryAtExit(bool mayShowBox) {
  storedAtExit_ = true;
  StoreHistory(mayShowBox);
}

void TClipBdList::SetViewer() {
  if (capture_.Settings().Enable) {
    // A listener, not the viewer chain: a hung program in the chain cannot stall Kelvo, and
    // nothing has to be passed on.
    if (!listening_) listening_ = AddClipboardFormatListener(Handle()) != FALSE;
    capture_.Capturing = true;
  } else {
    if (listening_) RemoveClipboardFormatListener(Handle());
    listening_ = false;
    capture_.Capturing = false;
  }
}

void TClipBdList::OnClipboardUpdate() {
  if (Busy()) {
    capturePending_ = true;
    return;
  }
  capturePending_ = false;
  const CaptureResult result =
      capture_.CaptureClip(services_.paste.clipboard, history_, canned_.Bodies());
  if (result == CaptureResult::kCaptured && PageControl1) {
    view_.FillHistList(0);
    SyncHistRows();
  }
}

void TClipBdList::EndBusy() {
  if (capturePending_) OnClipboardUpdate();
  if (services_.idle) services_.idle();
}

// ---------------------------------------------------------------------------------------------
// Showing and hiding

void TClipBdList::RunCommand(const InternalAction& command) {
  if (!Handle()) return;
  if (command.command == KelvoCommand::kCannedText) {
    SelectPage(Page::kText);
    if (!Visible()) ShowClip();
    if (command.cannedSet) {
      SelectTextData(*command.cannedSet);
    } else {
      PageControl1Change();
    }
  } else if (command.command == KelvoCommand::kClipboardHistory) {
    SelectPage(Page::kClip);
    if (Visible()) {
      PageControl1Change();
    } else {
      ShowClip();
    }
  } else if (!Visible()) {
    ShowClip();
  }
  if (Visible()) SetForegroundWindow(Handle());
}

void TClipBdList::ShowClip() {
  if (!model_.IniFile || !CreateControls()) return;
  // A hotkey pressed while the history is still read shows it once it is there.
  FinishHistoryLoad();
  target_ = RememberForeground(services_.paste.desktop);
  ctrlPressed_ = false;
  copyCharTaken_ = false;
  lastFocus_ = nullptr;
  {
    // The controls are placed once, after everything that changes their places: each move of
    // a control costs a round trip to the window system.
    layoutHeld_ = true;
    SelectPage(page_);  // a page chosen before the controls existed
    PlaceFromSettings();
    ApplyShowSettings();
    wmPasteClass_ = model_.WmPasteClass;
    view_.FillHistList(0);
    previewShown_ = false;
    SyncHistRows();
    SyncCanned();
    layoutHeld_ = false;
  }
  Layout();
  ShowWindow(Handle(), SW_SHOW);
  PageControl1Change();
}

void TClipBdList::PlaceFromSettings() {
  const UsrIniFile& ini = *model_.IniFile;
  const UINT dpi = Dpi();
  // A size stored at another DPI, or by hand, never cuts a control. The sizes of the table are
  // those at 96 dpi.
  const SIZE least = MinimumSize();
  const int w = std::max<int>(
      ini.ReadInteger(kSection, u"Width", Scale(DefaultInteger(kSection, u"Width"), dpi)), least.cx);
  const int h = std::max<int>(
      ini.ReadInteger(kSection, u"Height", Scale(DefaultInteger(kSection, u"Height"), dpi)),
      least.cy);
  previewHeight_ = ini.ReadInteger(kSection, u"PreviewHeight",
                                   Scale(DefaultInteger(kSection, u"PreviewHeight"), dpi));
  const POINT at = StoredPlaceOrCentred(ini, kSection, SIZE{w, h});
  const RECT placed = OnVisibleMonitor(RECT{at.x, at.y, at.x + w, at.y + h}, least.cx, least.cy);
  SetWindowPos(Handle(), HWND_TOPMOST, placed.left, placed.top, Width(placed), Height(placed),
               SWP_NOACTIVATE);
}

void TClipBdList::ApplyShowSettings() {
  const UsrIniFile& ini = *model_.IniFile;
  const auto colour = [&](std::u16string_view key, std::uint32_t fallback) {
    return ResolveColour(ini.ReadColor(kSection, key, fallback));
  };
  fgL_ = colour(u"FgColorL", DefaultColour(kSection, u"FgColorL"));
  bgL_ = colour(u"BgColorL", DefaultColour(kSection, u"BgColorL"));
  fgV_ = colour(u"FgColorV", DefaultColour(kSection, u"FgColorV"));
  bgV_ = colour(u"BgColorV", DefaultColour(kSection, u"BgColorV"));
  lineSpace_ = ini.ReadInteger(kSection, u"LineSpace", DefaultInteger(kSection, u"LineSpace"));
  fgT_ = colour(u"FgColorT", DefaultColour(kSection, u"FgColorT"));
  bgT_ = colour(u"BgColorT", DefaultColour(kSection, u"BgColorT"));
  ctrlColor_ = colour(u"CtrlColor", DefaultColour(kSection, u"CtrlColor"));
  lnCtColor_ = colour(u"LnCtColor", DefaultColour(kSection, u"LnCtColor"));
  listBrush_ = owned::CreateSolidBrush(bgL_);
  previewBrush_ = owned::CreateSolidBrush(bgV_);
  const int rowHeight = std::max(1, charHeight_ + lineSpace_);
  SendMessageW(HistListBox, LB_SETITEMHEIGHT, 0, rowHeight);
  ApplySheetStyle();
}

void TClipBdList::ApplySheetStyle() {
  CannedSheet::Style style;
  style.baseFont = baseFont_.get();
  style.listFont = listFont_.get();
  style.fontName = fontDesc_.name;
  style.charHeight = charHeight_;
  style.rowHeight = std::max(1, charHeight_ + lineSpace_);
  style.fg = fgT_;
  style.bg = bgT_;
  style.ctrl = ctrlColor_;
  sheet_->ApplyStyle(style);
}

void TClipBdList::ApplyTransparency() {
  if (!Handle()) return;
  const LONG_PTR ex = GetWindowLongPtrW(Handle(), GWL_EXSTYLE);
  if (transparent_ >= 0 && transparent_ <= 254) {
    SetWindowLongPtrW(Handle(), GWL_EXSTYLE, ex | WS_EX_LAYERED);
    SetLayeredWindowAttributes(Handle(), 0, static_cast<BYTE>(transparent_), LWA_ALPHA);
  } else if (ex & WS_EX_LAYERED) {
    SetWindowLongPtrW(Handle(), GWL_EXSTYLE, ex & ~WS_EX_LAYERED);
  }
}

void TClipBdList::HideClip(bool writeFile) {
  if (!Handle()) return;
  if (PageControl1 && Visible() && model_.IniFile) {
    UsrIniFile& ini = *model_.IniFile;
    RECT bounds{};
    GetWindowRect(Handle(), &bounds);
    ini.WriteInteger(kSection, u"PosX", bounds.left);
    ini.WriteInteger(kSection, u"PosY", bounds.top);
    ini.WriteInteger(kSection, u"Width", Width(bounds));
    ini.WriteInteger(kSection, u"Height", Height(bounds));
    ini.WriteInteger(kSection, u"PreviewHeight", previewHeight_);
    ini.WriteItemList(findItems_, kFindSection, kFindItems);
    if (writeFile) ini.UpdateFile();
  }
  ShowWindow(Handle(), SW_HIDE);
}

TClipBdList::Page TClipBdList::ActivePage() const { return page_; }

// A box or a menu of the window takes the activation; when it gives it back, the keys go on to
// the control that had them, as in a dialog, rather than to the bare window.
void TClipBdList::OnActivate(bool active) {
  if (!active) {
    const HWND focus = GetFocus();
    if (focus && IsChild(Handle(), focus)) lastFocus_ = focus;
    ctrlPressed_ = false;  // its release may go to another window
    return;
  }
  if (lastFocus_ && IsWindow(lastFocus_) && IsWindowVisible(lastFocus_) &&
      IsWindowEnabled(lastFocus_)) {
    SetFocus(lastFocus_);
  } else if (page_ == Page::kClip) {
    if (HistListBox) SetFocus(HistListBox);
  } else if (sheet_ && canned_.ListEnabled()) {
    SetFocus(sheet_->List());
  }
}

void TClipBdList::SelectPage(Page page) {
  page_ = page;
  if (!PageControl1) return;
  SendMessageW(PageControl1, TCM_SETCURSEL, page == Page::kClip ? 0 : 1, 0);
  Layout();
}

void TClipBdList::PageControl1Change() {
  if (!PageControl1) return;
  if (page_ == Page::kClip) {
    SetFocus(HistListBox);
    RefreshHistStatus();
  } else {
    if (canned_.ListEnabled()) SetFocus(sheet_->List());
    RefreshCannedStatus();
  }
  UpdateActionStates();
}

// ---------------------------------------------------------------------------------------------
// Messages

LRESULT TClipBdList::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CLIPBOARDUPDATE:
      OnClipboardUpdate();
      return 0;
    case kHistoryArrived:
      FinishHistoryLoad();
      return 0;
    case kShowSetUpMessages: {
      BusyScope busy(*this);
      for (const CannedMessage& m : std::exchange(setUpMessages_, {})) ShowMessage(m);
      return 0;
    }
    case WM_COMMAND: {
      const int id = LOWORD(wp);
      const int code = HIWORD(wp);
      if (id == kFindId && (code == CBN_EDITCHANGE || code == CBN_SELCHANGE)) {
        if (code == CBN_SELCHANGE) {
          // The edit shows the chosen entry only after this notice.
          PostMessageW(Handle(), WM_COMMAND, MAKEWPARAM(kFindId, CBN_EDITCHANGE), lp);
        }
        UpdateActionStates();
      } else if (id == kListId && code == LBN_SELCHANGE) {
        RefreshHistStatus();
      } else if (id == kListId && code == LBN_DBLCLK) {
        Paste(true);
      } else if (id == CannedSheet::kListId && code == LBN_SELCHANGE) {
        canned_.Select(static_cast<int>(SendMessageW(sheet_->List(), LB_GETCURSEL, 0, 0)));
        RefreshCannedStatus();
        UpdateActionStates();
      } else if (id == CannedSheet::kListId && code == LBN_DBLCLK) {
        Paste(true);
      } else if (id >= CannedSheet::kFirstSetButton &&
                 id < CannedSheet::kFirstSetButton + kCannedSets && code == BN_CLICKED) {
        SelectTextData(id - CannedSheet::kFirstSetButton);
      } else if ((id == CannedSheet::kOkId || id == CannedSheet::kCancelId) &&
                 code == BN_CLICKED) {
        EditDone(id == CannedSheet::kOkId);
      } else if (id >= CannedSheet::kFirstEscapeId &&
                 id < CannedSheet::kFirstEscapeId + static_cast<int>(kCannedEscapeMenu.size())) {
        if (sheet_) sheet_->InsertEscape(static_cast<std::size_t>(id - CannedSheet::kFirstEscapeId));
      } else if (const auto action = ClipActionOf(id); action && (code == 0 || code == BN_CLICKED)) {
        Run(*action);
      }
      return 0;
    }
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lp);
      if (header->hwndFrom == PageControl1 && header->code == TCN_SELCHANGE) {
        page_ = SendMessageW(PageControl1, TCM_GETCURSEL, 0, 0) == 1 ? Page::kText : Page::kClip;
        Layout();
        PageControl1Change();
      }
      return 0;
    }
    case WM_MEASUREITEM:
      MeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lp));
      return TRUE;
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
      if (item->hwndItem == HistListBox) DrawHistRow(*item);
      if (sheet_ && item->hwndItem == sheet_->List()) sheet_->DrawRow(*item);
      return TRUE;
    }
    case WM_CTLCOLORLISTBOX:
      if (reinterpret_cast<HWND>(lp) == HistListBox && listBrush_) {
        return reinterpret_cast<LRESULT>(listBrush_.get());
      }
      if (sheet_ && reinterpret_cast<HWND>(lp) == sheet_->List() && sheet_->ListBrush()) {
        return reinterpret_cast<LRESULT>(sheet_->ListBrush());
      }
      break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
      if (reinterpret_cast<HWND>(lp) == PreviewMemo && previewBrush_) {
        SetTextColor(reinterpret_cast<HDC>(wp), fgV_);
        SetBkColor(reinterpret_cast<HDC>(wp), bgV_);
        return reinterpret_cast<LRESULT>(previewBrush_.get());
      }
      break;
    case WM_CONTEXTMENU:
      ShowPopupMenu(reinterpret_cast<HWND>(wp),
                    POINT{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))});
      return 0;
    case WM_SIZE:
      Layout();
      return 0;
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lp);
      const SIZE least = MinimumSize();
      info->ptMinTrackSize = POINT{least.cx, least.cy};
      return 0;
    }
    case WM_DPICHANGED: {
      const auto* suggested = reinterpret_cast<const RECT*>(lp);
      if (PageControl1) ApplyFonts();
      SetWindowPos(Handle(), nullptr, suggested->left, suggested->top, Width(*suggested),
                   Height(*suggested), SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    case WM_SETCURSOR: {
      POINT at{};
      GetCursorPos(&at);
      ScreenToClient(Handle(), &at);
      if (reinterpret_cast<HWND>(wp) == Handle() && OverSplitter(at)) {
        SetCursor(LoadCursorW(nullptr, IDC_SIZENS));
        return TRUE;
      }
      break;
    }
    case WM_LBUTTONDOWN:
      if (OverSplitter(POINT{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))})) {
        dragging_ = true;
        SetCapture(Handle());
      }
      return 0;
    case WM_MOUSEMOVE:
      if (dragging_) DragSplitter(static_cast<short>(HIWORD(lp)));
      return 0;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
      if (dragging_) {
        dragging_ = false;
        if (msg == WM_LBUTTONUP) ReleaseCapture();
      }
      return 0;
    case WM_KEYDOWN:
      if (wp == VK_ESCAPE) {
        HideClip();
        return 0;
      }
      break;
    case WM_SYSKEYDOWN:
      if (PageControl1 && Mnemonic(wp)) return 0;
      break;
    case WM_SYSCHAR:
      if (wp != L' ') return 0;  // Alt+Space still opens the window menu
      break;
    case WM_ACTIVATE:
      OnActivate(LOWORD(wp) != WA_INACTIVE);
      return 0;
    case WM_CLOSE:
      HideClip();
      return 0;
    case WM_DESTROY:
      if (!storedAtExit_) StoreHistory(false);
      if (listening_) RemoveClipboardFormatListener(Handle());
      listening_ = false;
      return 0;
    default:
      break;
  }
  return Default(msg, wp, lp);
}
