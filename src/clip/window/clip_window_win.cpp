#include "clip/window/clip_window_win.h"

#include <algorithm>
#include <utility>

#include "clip/window/clip_window_parts_win.h"
#include "settings/settings_schema.h"
#include "ui/colour_win.h"
#include "ui/controls_win.h"
#include "ui/owned_gdi_objects_win.h"
#include "ui/window_place_win.h"
#include "win32/wide_win.h"

using namespace clip_window;

TClipBdList::TClipBdList(MainModel& model, Services services)
    : main_(model),
      services_(std::move(services)),
      model_(main_, {services_.files, services_.codePage, services_.locale, services_.clock,
                     services_.paste.clipboard, [this] { PostHistoryArrived(); }}) {}

TClipBdList::~TClipBdList() {
  if (Handle()) DestroyWindow(Handle());
}

bool TClipBdList::Create() {
  if (!RegisterClassOnce(kClassName)) return false;
  if (!CreateHandle(kClassName, kFirstCaption, kStyle, kExStyle, 0, 0, 320, 400, nullptr)) {
    return false;
  }
  // Its boxes are its own: above it although it stays on top, and it takes no click meanwhile.
  dialogs_ = std::make_unique<WinDialogs>(Handle());
  arrivalTarget_ = Handle();
  return true;
}

// Called on the reading thread: only a message goes from there.
void TClipBdList::PostHistoryArrived() {
  if (const HWND window = arrivalTarget_.load()) PostMessageW(window, kHistoryArrived, 0, 0);
}

// ---------------------------------------------------------------------------------------------
// Set-up

void TClipBdList::LoadClipSettings() {
  if (!Handle() || !main_.IniFile) return;
  const HCURSOR cursor = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  // The place is kept in the store; the file is written at the next hide or at exit, not in the
  // middle of the load that runs this set-up.
  if (Visible()) HideClip(false);
  settingUp_ = true;
  const UsrIniFile& ini = *main_.IniFile;
  const FontDescription base = BaseFont();
  fontDesc_ = ini.ReadFont(kSection, &base);
  fontSizeV_ = ini.ReadInteger(kSection, u"FontSizeV", fontDesc_.size);
  showLnCt_ = ini.ReadBool(kSection, u"ShowLnCt", DefaultBool(kSection, u"ShowLnCt"));
  previewLn_ = ini.ReadInteger(kSection, u"PreviewLn", DefaultInteger(kSection, u"PreviewLn"));
  transparent_ =
      ini.ReadInteger(kSection, u"Transparent", DefaultInteger(kSection, u"Transparent"));
  ApplyTransparency();
  model_.SetUp(ini);
  Apply(model_.TakeEffects());
  if (!setUpMessages_.empty()) PostMessageW(Handle(), kShowSetUpMessages, 0, 0);
  SetViewer();
  settingUp_ = false;
  if (tabs_) {
    ApplyFonts();
    SyncCanned();
    Layout();
  }
  SetCursor(cursor);
}

void TClipBdList::StoreHistory(bool mayShowBox) {
  model_.StoreHistory(mayShowBox);
  ShowStoreResult(model_.TakeEffects());
}

void TClipBdList::StoreHistoryAtExit(bool mayShowBox) {
  model_.StoreHistoryAtExit(mayShowBox);
  ShowStoreResult(model_.TakeEffects());
}

// The store's box is not a busy part of the window: at exit and at the session's end nothing put
// off may run under it.
void TClipBdList::ShowStoreResult(const ClipWindowEffects& effects) {
  if (effects.historyRows) SyncHistRows();
  for (const CannedMessage& m : effects.boxes) {
    if (dialogs_) dialogs_->ShowMessage(m.text, m.caption, m.flags);
  }
}

void TClipBdList::SetViewer() {
  if (model_.Settings().Enable) {
    // A listener, not the viewer chain: a hung program in the chain cannot stall Kelvo, and
    // nothing has to be passed on.
    if (!listening_) listening_ = AddClipboardFormatListener(Handle()) != FALSE;
  } else {
    if (listening_) RemoveClipboardFormatListener(Handle());
    listening_ = false;
  }
}

void TClipBdList::CaptureClipboard() {
  model_.ClipboardChanged();
  Apply(model_.TakeEffects());
}

void TClipBdList::Apply(ClipWindowEffects effects) {
  if (effects.historyRows && history_) SyncHistRows();
  if (effects.cannedRows) SyncCanned();
  if (effects.findItems && history_) history_->SetFindItems(model_.FindItems());
  if (effects.caption) SetWindowTextW(Handle(), W(model_.Caption()));
  for (CannedMessage& message : effects.boxes) {
    if (settingUp_) {
      // Shown once the set-up (and the load around it) has ended.
      setUpMessages_.push_back(std::move(message));
    } else if (dialogs_) {
      ShowMessage(message);
    }
  }
  ApplyPasteOrCopy(effects);
}

void TClipBdList::ApplyPasteOrCopy(const ClipWindowEffects& effects) {
  if (!effects.paste && !effects.copy) return;
  if (effects.copy || !effects.paste->empty()) {
    const DeferredWork::Scope busy = MarkBusy();
    if (effects.copy) {
      WriteClipboard(services_.paste, *effects.copy, ClipboardPrivacy::kShared);
    } else {
      PasteIntoTarget(*effects.paste, target_, wmPasteClass_, services_.paste,
                      ClipboardPrivacy::kShared);
    }
  }
  HideClip();
}

// ---------------------------------------------------------------------------------------------
// Showing and hiding

void TClipBdList::RunCommand(const InternalAction& command) {
  if (!Handle()) return;
  if (command.command == KelvoCommand::kCannedText) {
    SelectPage(ClipPage::kCanned);
    const bool wasVisible = Visible();
    if (!wasVisible) ShowClip();  // which ends as PageShown does
    if (command.cannedSet) {
      SelectTextData(*command.cannedSet);
    } else if (wasVisible) {
      PageShown();
    }
  } else if (command.command == KelvoCommand::kClipboardHistory) {
    SelectPage(ClipPage::kHistory);
    if (Visible()) {
      PageShown();
    } else {
      ShowClip();
    }
  } else if (!Visible()) {
    ShowClip();
  }
  if (Visible()) SetForegroundWindow(Handle());
}

void TClipBdList::ShowClip() {
  if (!main_.IniFile || !CreateControls()) return;
  target_ = RememberForeground(services_.paste.desktop);
  ctrlPressed_ = false;
  copyCharTaken_ = false;
  lastFocus_ = nullptr;
  {
    // The controls are placed once, after everything that changes their places: each move of
    // a control costs a round trip to the window system.
    layoutHeld_ = true;
    SelectPage(model_.Page());  // a page chosen before the controls existed
    PlaceFromSettings();
    ApplyShowSettings();
    wmPasteClass_ = main_.WmPasteClass;
    history_->HidePreview();
    model_.Shown();
    Apply(model_.TakeEffects());
    SyncCanned();
    layoutHeld_ = false;
  }
  Layout();
  showing_ = true;
  ShowUnclipped(Handle(), SW_SHOW);
  showing_ = false;
  PageShown();
}

void TClipBdList::PlaceFromSettings() {
  const UsrIniFile& ini = *main_.IniFile;
  const UINT dpi = Dpi();
  // A size stored at another DPI, or by hand, never cuts a control. The sizes of the table are
  // those at 96 dpi.
  const SIZE least = MinimumSize();
  const int w = std::max<int>(
      ini.ReadInteger(kSection, u"Width", Scale(DefaultInteger(kSection, u"Width"), dpi)),
      least.cx);
  const int h = std::max<int>(
      ini.ReadInteger(kSection, u"Height", Scale(DefaultInteger(kSection, u"Height"), dpi)),
      least.cy);
  previewHeight_ = ini.ReadInteger(kSection, u"PreviewHeight",
                                   Scale(DefaultInteger(kSection, u"PreviewHeight"), dpi));
  const POINT at = StoredPlaceOrCentred(ini, kSection, SIZE{w, h});
  const RECT placed = OnVisibleMonitor(RECT{at.x, at.y, at.x + w, at.y + h}, least.cx, least.cy);
  // The show that follows puts it in front.
  PlaceWindow(Handle(), placed);
}

void TClipBdList::ApplyShowSettings() {
  const UsrIniFile& ini = *main_.IniFile;
  const auto colour = [&](std::u16string_view key, std::uint32_t fallback) {
    return ResolveColour(ini.ReadColor(kSection, key, fallback));
  };
  historyStyle_.listText = colour(u"FgColorL", DefaultColour(kSection, u"FgColorL"));
  historyStyle_.listBack = colour(u"BgColorL", DefaultColour(kSection, u"BgColorL"));
  historyStyle_.previewText = colour(u"FgColorV", DefaultColour(kSection, u"FgColorV"));
  historyStyle_.previewBack = colour(u"BgColorV", DefaultColour(kSection, u"BgColorV"));
  lineSpace_ = ini.ReadInteger(kSection, u"LineSpace", DefaultInteger(kSection, u"LineSpace"));
  cannedStyle_.fg = colour(u"FgColorT", DefaultColour(kSection, u"FgColorT"));
  cannedStyle_.bg = colour(u"BgColorT", DefaultColour(kSection, u"BgColorT"));
  historyStyle_.controlCodes = cannedStyle_.ctrl =
      colour(u"CtrlColor", DefaultColour(kSection, u"CtrlColor"));
  historyStyle_.lineCounts = colour(u"LnCtColor", DefaultColour(kSection, u"LnCtColor"));
  ApplySheetStyles();
}

void TClipBdList::ApplySheetStyles() {
  const int rowHeight = std::max(1, charHeight_ + lineSpace_);
  historyStyle_.baseFont = cannedStyle_.baseFont = baseFont_.get();
  historyStyle_.listFont = cannedStyle_.listFont = listFont_.get();
  historyStyle_.previewFont = previewFont_.get();
  historyStyle_.fontName = cannedStyle_.fontName = fontDesc_.name;
  historyStyle_.charHeight = cannedStyle_.charHeight = charHeight_;
  historyStyle_.rowHeight = cannedStyle_.rowHeight = rowHeight;
  historyStyle_.showLineCounts = showLnCt_;
  // Applied only when something in them changed, not at every show: a font or a row height set
  // again costs round trips and a scroll bar update under Wine.
  if (stylesApplied_ && stylesApplied_->first == historyStyle_ &&
      stylesApplied_->second == cannedStyle_) {
    return;
  }
  history_->ApplyStyle(historyStyle_);
  canned_->ApplyStyle(cannedStyle_);
  stylesApplied_.emplace(historyStyle_, cannedStyle_);
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
  if (tabs_ && Visible() && main_.IniFile) {
    UsrIniFile& ini = *main_.IniFile;
    RECT bounds{};
    GetWindowRect(Handle(), &bounds);
    ini.WriteInteger(kSection, u"PosX", bounds.left);
    ini.WriteInteger(kSection, u"PosY", bounds.top);
    ini.WriteInteger(kSection, u"Width", Width(bounds));
    ini.WriteInteger(kSection, u"Height", Height(bounds));
    ini.WriteInteger(kSection, u"PreviewHeight", previewHeight_);
    model_.WriteFindItems(ini);
    if (writeFile) ini.UpdateFile();
  }
  ShowWindow(Handle(), SW_HIDE);
  model_.Hidden();
}

// A box or a menu of the window takes the activation; when it gives it back, the keys go on to
// the control that had them, as in a dialog, rather than to the bare window.
void TClipBdList::OnActivate(bool active) {
  if (!active) {
    const HWND focus = GetFocus();
    if (focus && IsChild(Handle(), focus)) lastFocus_ = focus;
    ctrlPressed_ = false;  // its release may go to another window
    return;
  }
  if (showing_) return;
  if (lastFocus_ && IsWindow(lastFocus_) && IsWindowVisible(lastFocus_) &&
      IsWindowEnabled(lastFocus_)) {
    SetFocus(lastFocus_);
  } else if (model_.Page() == ClipPage::kHistory) {
    if (history_) SetFocus(history_->List());
  } else if (canned_ && model_.Canned().ListEnabled()) {
    SetFocus(canned_->List());
  }
}

void TClipBdList::SelectPage(ClipPage page) {
  model_.SelectPage(page);
  if (!tabs_) return;
  SendMessageW(tabs_, TCM_SETCURSEL, page == ClipPage::kHistory ? 0 : 1, 0);
  Layout();
}

void TClipBdList::PageShown() {
  if (!tabs_) return;
  if (model_.Page() == ClipPage::kHistory) {
    SetFocus(history_->List());
    RefreshHistStatus();  // the action states with it
  } else {
    if (model_.Canned().ListEnabled()) SetFocus(canned_->List());
    RefreshCannedStatus();
    UpdateActionStates();
  }
}

// ---------------------------------------------------------------------------------------------
// Messages

LRESULT TClipBdList::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CLIPBOARDUPDATE:
      services_.deferred.Ask(deferred::Capture{});
      return 0;
    case kHistoryArrived:
      model_.HistoryArrived();
      Apply(model_.TakeEffects());
      return 0;
    case kShowSetUpMessages: {
      const DeferredWork::Scope busy = MarkBusy();
      for (const CannedMessage& m : std::exchange(setUpMessages_, {})) ShowMessage(m);
      return 0;
    }
    case WM_COMMAND: {
      const int id = LOWORD(wp);
      const int code = HIWORD(wp);
      if (id == HistorySheet::kFindId && (code == CBN_EDITCHANGE || code == CBN_SELCHANGE)) {
        if (code == CBN_SELCHANGE) {
          // The edit shows the chosen entry only after this notice.
          PostMessageW(Handle(), WM_COMMAND, MAKEWPARAM(HistorySheet::kFindId, CBN_EDITCHANGE), lp);
        }
        UpdateActionStates();
      } else if (id == HistorySheet::kListId && code == LBN_SELCHANGE) {
        RefreshHistStatus();
      } else if (id == CannedSheet::kListId && code == LBN_SELCHANGE) {
        model_.Canned().Select(ListBox(canned_->List()).Selected());
        RefreshCannedStatus();
        UpdateActionStates();
      } else if ((id == HistorySheet::kListId || id == CannedSheet::kListId) &&
                 code == LBN_DBLCLK) {
        // A double click pastes the row it selected, with or without the paste action's state.
        Apply(ClipWindowEffects{.paste = model_.SelectedText()});
      } else if (id >= CannedSheet::kFirstSetButton &&
                 id < CannedSheet::kFirstSetButton + kCannedSets && code == BN_CLICKED) {
        SelectTextData(id - CannedSheet::kFirstSetButton);
      } else if ((id == CannedSheet::kOkId || id == CannedSheet::kCancelId) && code == BN_CLICKED) {
        EditDone(id == CannedSheet::kOkId);
      } else if (id >= CannedSheet::kFirstEscapeId &&
                 id < CannedSheet::kFirstEscapeId + static_cast<int>(kCannedEscapeMenu.size())) {
        if (canned_)
          canned_->InsertEscape(static_cast<std::size_t>(id - CannedSheet::kFirstEscapeId));
      } else if (const auto action = ClipActionOf(id);
                 action && (code == 0 || code == BN_CLICKED)) {
        Run(*action);
      }
      return 0;
    }
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lp);
      if (header->hwndFrom == tabs_ && header->code == TCN_SELCHANGE) {
        model_.SelectPage(SendMessageW(tabs_, TCM_GETCURSEL, 0, 0) == 1 ? ClipPage::kCanned
                                                                        : ClipPage::kHistory);
        Layout();
        PageShown();
      }
      return 0;
    }
    case WM_MEASUREITEM:
      reinterpret_cast<MEASUREITEMSTRUCT*>(lp)->itemHeight =
          static_cast<UINT>(std::max(1, charHeight_ + lineSpace_));
      return TRUE;
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
      if (history_ && item->hwndItem == history_->List()) history_->DrawRow(*item);
      if (canned_ && item->hwndItem == canned_->List()) canned_->DrawRow(*item);
      return TRUE;
    }
    case WM_CTLCOLORLISTBOX:
      if (history_ && reinterpret_cast<HWND>(lp) == history_->List() && history_->ListBrush()) {
        return reinterpret_cast<LRESULT>(history_->ListBrush());
      }
      if (canned_ && reinterpret_cast<HWND>(lp) == canned_->List() && canned_->ListBrush()) {
        return reinterpret_cast<LRESULT>(canned_->ListBrush());
      }
      break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
      if (history_) {
        const auto brush =
            history_->PreviewColours(reinterpret_cast<HWND>(lp), reinterpret_cast<HDC>(wp));
        if (brush) return reinterpret_cast<LRESULT>(*brush);
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
      if (tabs_) ApplyFonts();
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
      if (tabs_ && Mnemonic(wp)) return 0;
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
      model_.WindowGone();
      model_.TakeEffects();  // the controls go with the window
      if (listening_) RemoveClipboardFormatListener(Handle());
      listening_ = false;
      return 0;
    default:
      break;
  }
  return Default(msg, wp, lp);
}
