#include "clip/window/clip_window_win.h"

#include <cwchar>
#include <utility>

#include "clip/model/canned_reload_question.h"
#include "clip/window/clip_window_parts_win.h"
#include "ui/controls_win.h"
#include "ui/owned_gdi_objects_win.h"
#include "util/path_text.h"
#include "win32/file_dialog_win.h"
#include "win32/wide_win.h"

using namespace clip_window;

// ---------------------------------------------------------------------------------------------
// The history page

void TClipBdList::SyncHistRows() {
  if (!history_) return;
  history_->SyncRows();
  if (layoutHeld_) return;  // the show ends with them
  // The status bar and the preview follow every change of the rows (a capture, a sort, a filter,
  // a delete), so that they never describe a row that is gone.
  if (model_.Page() == ClipPage::kHistory) {
    RefreshHistStatus();
  } else {
    UpdateActionStates();
  }
}

void TClipBdList::RefreshHistStatus() {
  if (!status_) return;
  HistoryView& rows = model_.Rows();
  rows.Select(history_->ListControl().Selected());
  const std::u16string counts = rows.StatusRows();
  SendMessageW(status_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(W(counts)));
  if (rows.RowToHistIndex(-1) < 0) {
    SendMessageW(status_, SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(L""));
    // Without a selection the preview stays, unless no row is left to have shown it.
    if (rows.RowCount() == 0) ShowPreview(std::nullopt);
  } else {
    const std::u16string size = rows.StatusSize();
    SendMessageW(status_, SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(W(size)));
    ShowPreview(rows.PreviewText(previewLn_));
  }
  UpdateActionStates();
}

void TClipBdList::ShowPreview(const std::optional<std::u16string>& text) {
  if (history_->ShowPreview(text)) Layout();
}

// Only what the action looks at is asked for: each question is a round trip to the window
// system, and the filter buttons' states are set at every change of the rows.
ClipActionContext TClipBdList::ActionContext(ClipAction action) const {
  ClipActionContext context;
  if (action == ClipAction::kListExtract || action == ClipAction::kListExcept) {
    context.findText = history_ ? history_->FindText() : std::u16string();
  }
  if (action == ClipAction::kRegFromClip || action == ClipAction::kInsFromClip) {
    context.clipboardHasText = IsClipboardFormatAvailable(CF_UNICODETEXT) != FALSE;
  }
  return context;
}

bool TClipBdList::Enabled(ClipAction action) const {
  switch (action) {
    case ClipAction::kStdEditCut:
    case ClipAction::kStdEditCopy:
    case ClipAction::kStdEditPaste:
    case ClipAction::kStdEditSelectAll:
    case ClipAction::kStdEditUndo:
      return StdEditEnabled(action);
    default:
      return model_.Enabled(action, ActionContext(action));
  }
}

void TClipBdList::UpdateActionStates() {
  if (!tabs_) return;
  // One look at the search box serves the three buttons.
  const ClipActionContext context = ActionContext(ClipAction::kListExtract);
  history_->EnableFilters(model_.Enabled(ClipAction::kListExtract, context),
                          model_.Enabled(ClipAction::kListExcept, context),
                          model_.Enabled(ClipAction::kListRelease, context));
}

void TClipBdList::Run(ClipAction action) {
  if (!Enabled(action)) return;
  switch (action) {
    case ClipAction::kSaveHist:
      SaveHist();
      return;
    case ClipAction::kLoadHist:
      LoadHist();
      return;
    case ClipAction::kEditTextItem:
      BeginEditItem();
      return;
    case ClipAction::kEditTextData:
      EditTextData();
      return;
    case ClipAction::kStdEditCut:
    case ClipAction::kStdEditCopy:
    case ClipAction::kStdEditPaste:
    case ClipAction::kStdEditSelectAll:
    case ClipAction::kStdEditUndo:
      RunStdEdit(action);
      return;
    default:
      model_.Run(action, ActionContext(action));
      Apply(model_.TakeEffects());
      return;
  }
}

bool TClipBdList::StdEditEnabled(ClipAction action) const {
  const HWND focus = GetFocus();
  if (!focus || GetParent(focus) == nullptr || !IsChild(Handle(), focus)) return false;
  wchar_t cls[16] = {};
  GetClassNameW(focus, cls, 16);
  if (_wcsicmp(cls, L"Edit") != 0) return false;
  const EditBox edit(focus);
  switch (action) {
    case ClipAction::kStdEditCut:
      return !edit.ReadOnly() && edit.HasSelection();
    case ClipAction::kStdEditCopy:
      return edit.HasSelection();
    case ClipAction::kStdEditPaste:
      return !edit.ReadOnly() && IsClipboardFormatAvailable(CF_UNICODETEXT) != FALSE;
    case ClipAction::kStdEditSelectAll:
      return GetWindowTextLengthW(focus) > 0;
    case ClipAction::kStdEditUndo:
      return edit.CanUndo();
    default:
      return false;
  }
}

void TClipBdList::RunStdEdit(ClipAction action) {
  const HWND focus = GetFocus();
  switch (action) {
    case ClipAction::kStdEditCut:
      SendMessageW(focus, WM_CUT, 0, 0);
      break;
    case ClipAction::kStdEditCopy:
      SendMessageW(focus, WM_COPY, 0, 0);
      break;
    case ClipAction::kStdEditPaste:
      SendMessageW(focus, WM_PASTE, 0, 0);
      break;
    case ClipAction::kStdEditSelectAll:
      EditBox(focus).SelectAll();
      break;
    case ClipAction::kStdEditUndo:
      EditBox(focus).Undo();
      break;
    default:
      break;
  }
}

// ---------------------------------------------------------------------------------------------
// The canned-text page

int TClipBdList::ShowMessage(const CannedMessage& message) {
  const DeferredWork::Scope busy = MarkBusy();
  return dialogs_->ShowMessage(message.text, message.caption, message.flags);
}

void TClipBdList::SyncCanned() {
  if (!canned_) return;
  canned_->Sync();
  if (layoutHeld_) return;  // the show ends with them
  if (model_.Page() == ClipPage::kCanned) RefreshCannedStatus();
  UpdateActionStates();
}

void TClipBdList::RefreshCannedStatus() {
  if (!status_ || model_.Page() != ClipPage::kCanned) return;
  const std::u16string rows = model_.Canned().StatusRows();
  const std::u16string text = model_.Canned().StatusText();
  SendMessageW(status_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(W(rows)));
  SendMessageW(status_, SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(W(text)));
}

void TClipBdList::SelectTextData(int set) {
  if (!main_.IniFile) return;
  model_.SelectCannedSet(set);
  ClipWindowEffects effects = model_.TakeEffects();
  SyncCanned();
  Layout();
  if (model_.Canned().ListEnabled() && canned_) SetFocus(canned_->List());
  effects.cannedRows = false;
  Apply(std::move(effects));
}

void TClipBdList::BeginEditItem() {
  if (canned_) canned_->BeginEdit();
  Layout();
  UpdateActionStates();
}

void TClipBdList::EditTextData() {
  CannedTextPage& page = model_.Canned();
  if (services_.openInEditor) services_.openInEditor(page.TextDataPath());
  CannedResult result;
  {
    const DeferredWork::Scope busy = MarkBusy();
    result = AskToReloadTextData(page, *dialogs_, services_.deferred);
  }
  SyncCanned();
  if (result.message) ShowMessage(*result.message);
  HideClip();
}

void TClipBdList::EditDone(bool ok) {
  if (!canned_ || !model_.Canned().Editing()) return;
  model_.EditDone(ok, canned_->LabelText(), canned_->MemoText());
  Apply(model_.TakeEffects());
  Layout();
  if (model_.Canned().ListEnabled()) SetFocus(canned_->List());
}

FileDialogRequest TClipBdList::HistoryFileRequest(const char16_t* caption) const {
  // Both dialogs open in the folder of the history file.
  return {caption,  u"履歴データファイル (*.txt)",
          u"*.TXT", u"TXT",
          u"*.txt", std::u16string(DirectoryPart(model_.Settings().ClipDataPath))};
}

void TClipBdList::SaveHist() {
  const FileDialogRequest request = HistoryFileRequest(u"履歴に名前を付けて保存");
  const DeferredWork::Scope busy = MarkBusy();
  const std::optional<std::u16string> path = AskFileName(Handle(), request, true);
  if (!path) return;
  model_.SaveHistoryTo(*path);
  Apply(model_.TakeEffects());
}

void TClipBdList::LoadHist() {
  const FileDialogRequest request = HistoryFileRequest(u"履歴をファイルから読込");
  const DeferredWork::Scope busy = MarkBusy();
  const std::optional<std::u16string> path = AskFileName(Handle(), request, false);
  if (!path) return;
  model_.LoadHistoryFrom(*path);
  Apply(model_.TakeEffects());
}

void TClipBdList::AppendActions(HMENU menu, const int* ids, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    if (ids[i] == kMenuSeparator) {
      AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    const ClipAction action = *ClipActionOf(ids[i]);
    UINT flags = MF_STRING | (Enabled(action) ? MF_ENABLED : MF_GRAYED);
    if (action == ClipAction::kStop && !model_.Capturing()) flags |= MF_CHECKED;
    AppendMenuW(menu, flags, static_cast<UINT_PTR>(ids[i]),
                W(std::u16string(ClipActionTexts(action).caption)));
  }
}

void TClipBdList::ShowPopupMenu(HWND control, POINT at) {
  const MenuHandle menu = owned::CreatePopupMenu();
  if (!menu) return;
  HWND list = history_->List();
  if (canned_ && canned_->IsEditField(control)) {
    AppendActions(menu.get(), kEditFieldMenu, std::size(kEditFieldMenu));
    AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
    for (std::size_t i = 0; i < kCannedEscapeMenu.size(); ++i) {
      const std::u16string caption(kCannedEscapeMenu[i].caption);
      AppendMenuW(menu.get(), MF_STRING, CannedSheet::kFirstEscapeId + i, W(caption));
    }
    list = control;
  } else if (model_.Page() == ClipPage::kCanned) {
    AppendActions(menu.get(), kCannedMenu, std::size(kCannedMenu));
    list = canned_ ? canned_->List() : history_->List();
  } else {
    AppendActions(menu.get(), kHistoryMenu, std::size(kHistoryMenu));
  }
  if (at.x == -1 && at.y == -1) {
    // From the keyboard: beside the selected row.
    RECT row{};
    if (!ListBox(list).RowRect(ListBox(list).Selected(), row)) GetClientRect(list, &row);
    at = POINT{row.left + Scale(8, Dpi()), row.bottom};
    ClientToScreen(list, &at);
  }
  const DeferredWork::Scope busy = MarkBusy();
  const int chosen =
      TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, Handle(), nullptr);
  // Run after the menu's own loop has ended.
  if (chosen != 0) PostMessageW(Handle(), WM_COMMAND, MAKEWPARAM(chosen, 0), 0);
}

// ---------------------------------------------------------------------------------------------
// Keyboard

// Ctrl is down when it went down in this window, or is down on the keyboard now. The window's own
// key state alone can still hold the Ctrl of the hotkey that opened it, whose release went to the
// window that was in front; the keyboard alone has already let go of a Ctrl typed quickly.
bool TClipBdList::CtrlDown() const { return ctrlPressed_ || GetAsyncKeyState(VK_CONTROL) < 0; }

bool TClipBdList::Shortcut(WPARAM vk) {
  const bool ctrl = CtrlDown();
  if (ctrl && vk == 'C' && Enabled(ClipAction::kCopyClip)) {
    Run(ClipAction::kCopyClip);
    // The key's character (Ctrl+C, 0x03) would make the search box copy its own selection over
    // the entry just placed.
    copyCharTaken_ = true;
    return true;
  }
  return false;
}

bool TClipBdList::ListKey(HWND list, WPARAM vk) {
  const ListBox rows(list);
  const int count = rows.Count();
  const int sel = rows.Selected();
  switch (vk) {
    case VK_RETURN:
      // Ctrl+Enter edits a canned text; the history has no such shortcut.
      Run(list != history_->List() && CtrlDown() ? ClipAction::kEditTextItem : ClipAction::kPaste);
      return true;
    case VK_ESCAPE:
      HideClip();
      return true;
    case VK_DELETE:
      Run(ClipAction::kDelItem);
      return true;
    case VK_UP:
    case VK_DOWN: {
      if (count <= 0) return false;
      const bool wrap = vk == VK_UP ? sel == 0 : sel == count - 1;
      if (!wrap) return false;
      const int to = vk == VK_UP ? count - 1 : 0;
      rows.Select(to);
      // The status bar shows the row the wrap selected, as after any other move.
      if (list == history_->List()) {
        RefreshHistStatus();
      } else {
        model_.Canned().Select(to);
        RefreshCannedStatus();
        UpdateActionStates();
      }
      return true;
    }
    default:
      return false;
  }
}

bool TClipBdList::Mnemonic(WPARAM vk) {
  // The tabs' and the set buttons' underlined letters: the window has no dialog manager.
  if (vk == 'C' || vk == 'T') {
    SelectPage(vk == 'C' ? ClipPage::kHistory : ClipPage::kCanned);
    PageShown();
    return true;
  }
  if (vk >= '1' && vk <= '8' && model_.Page() == ClipPage::kCanned &&
      model_.Canned().ListEnabled()) {
    const int set = static_cast<int>(vk - '1');
    if (model_.Canned().SetBarShown() && model_.Canned().SetButtonEnabled(set)) SelectTextData(set);
    return true;
  }
  return false;
}

// Tab moves between the search box and the history list; the pages have nothing else to reach.
bool TClipBdList::TabKey(HWND control) {
  const bool keyed = control == history_->List() || control == history_->FindEdit();
  if (model_.Page() != ClipPage::kHistory || !keyed) return false;
  SetFocus(control == history_->List() ? history_->FindBox() : history_->List());
  return true;
}

// The edit panel's fields: Esc presses キャンセル, Enter in the label presses OK (the default
// button), Enter and TAB in the body type a line break and a TAB, and TAB in the label moves on
// to the body.
LRESULT TClipBdList::EditFieldMessage(HWND control, UINT msg, WPARAM wp, LPARAM lp) {
  const bool label = control == canned_->LabelEdit();
  switch (msg) {
    case WM_KEYDOWN:
      if (wp == VK_ESCAPE) {
        EditDone(false);
        return 0;
      }
      if (wp == VK_RETURN && label) {
        EditDone(true);
        return 0;
      }
      if (wp == VK_TAB && label) {
        SetFocus(canned_->Memo());
        return 0;
      }
      break;
    case WM_CHAR:
      // Handled on the key press; swallowed so that no beep sounds.
      if (wp == 0x1B || (label && (wp == L'\r' || wp == L'\t'))) return 0;
      break;
    case WM_GETDLGCODE:
      return DefSubclass(control, msg, wp, lp) | DLGC_WANTALLKEYS | DLGC_WANTTAB;
    default:
      break;
  }
  return DefSubclass(control, msg, wp, lp);
}

LRESULT TClipBdList::ControlMessage(HWND control, UINT msg, WPARAM wp, LPARAM lp) {
  if (wp == VK_CONTROL && (msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN)) ctrlPressed_ = true;
  if (wp == VK_CONTROL && (msg == WM_KEYUP || msg == WM_SYSKEYUP)) ctrlPressed_ = false;
  const bool cannedList = canned_ && control == canned_->List();
  const bool editField = canned_ && canned_->IsEditField(control);
  if (msg == WM_SYSKEYDOWN && !editField && Mnemonic(wp)) return 0;
  // No beep for a letter without a menu; Alt+Space still opens the window menu.
  if (msg == WM_SYSCHAR && !editField && wp != L' ') return 0;
  if (cannedList && msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST && canned_->ListMouse(msg, lp)) {
    return 0;
  }
  if (cannedList && msg == WM_CAPTURECHANGED) canned_->ListMouse(msg, lp);
  if (editField && msg == WM_CONTEXTMENU) {
    ShowPopupMenu(control, POINT{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))});
    return 0;
  }
  if (msg == WM_CHAR && wp == kCtrlC && std::exchange(copyCharTaken_, false)) return 0;
  if (editField) return EditFieldMessage(control, msg, wp, lp);
  if (msg == WM_KEYDOWN) {
    if (Shortcut(wp)) return 0;
    if (wp == VK_TAB && TabKey(control)) return 0;
    if ((control == history_->List() || cannedList) && ListKey(control, wp)) return 0;
    if (control == history_->FindEdit()) {
      if (wp == VK_RETURN) {
        Run(ClipAction::kListExtract);
        return 0;
      }
      if (wp == VK_ESCAPE) {
        // Esc closes an open drop-down list first, as in every combo box.
        if (!history_->CloseFindList()) HideClip();
        return 0;
      }
    }
    if (control == history_->Preview() && wp == VK_ESCAPE) {
      HideClip();
      return 0;
    }
  } else if (msg == WM_CHAR && (wp == L'\r' || wp == 0x1B || wp == L'\t') &&
             control != history_->Preview()) {
    return 0;  // handled on the key press; swallowed so that no beep sounds
  } else if (msg == WM_GETDLGCODE && (control == history_->List() || cannedList)) {
    return DefSubclass(control, msg, wp, lp) | DLGC_WANTALLKEYS;
  }
  return DefSubclass(control, msg, wp, lp);
}
