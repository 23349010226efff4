#include "clip/clip_window_win.h"

#include <algorithm>
#include <cwchar>
#include <utility>

#include "clip/canned_reload_question.h"
#include "clip/clip_window_parts_win.h"
#include "clip/history_file.h"
#include "platform/file_dialog_win.h"
#include "platform/subclass_win.h"
#include "platform/wide_win.h"
#include "ui/colour_win.h"
#include "ui/font_win.h"
#include "ui/owned_gdi_objects_win.h"
#include "ui/window_place_win.h"
#include "util/path_text.h"

using namespace clip_window;

// ---------------------------------------------------------------------------------------------
// The history page

void TClipBdList::SyncHistRows() {
  if (!HistListBox) return;
  SendMessageW(HistListBox, LB_SETCOUNT, view_.RowCount(), 0);
  SendMessageW(HistListBox, LB_SETCURSEL, static_cast<WPARAM>(view_.Selected()), 0);
  InvalidateRect(HistListBox, nullptr, TRUE);
  // The status bar and the preview follow every change of the rows (a capture, a sort, a filter,
  // a delete), so that they never describe a row that is gone.
  if (page_ == Page::kClip) {
    RefreshHistStatus();
  } else {
    UpdateActionStates();
  }
}

void TClipBdList::RefreshHistStatus() {
  if (!StatusBar1) return;
  view_.Select(static_cast<int>(SendMessageW(HistListBox, LB_GETCURSEL, 0, 0)));
  const std::u16string rows = view_.StatusRows();
  SendMessageW(StatusBar1, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(W(rows)));
  if (view_.RowToHistIndex(-1) < 0) {
    SendMessageW(StatusBar1, SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(L""));
    // Without a selection the preview stays, unless no row is left to have shown it.
    if (view_.RowCount() == 0) ShowPreview(std::nullopt);
  } else {
    const std::u16string size = view_.StatusSize();
    SendMessageW(StatusBar1, SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(W(size)));
    ShowPreview(view_.PreviewText(previewLn_));
  }
  UpdateActionStates();
}

void TClipBdList::ShowPreview(const std::optional<std::u16string>& text) {
  SetWindowTextW(PreviewMemo, text ? W(EditLines(*text)) : L"");
  if (text.has_value() != previewShown_) {
    previewShown_ = text.has_value();
    Layout();
  }
}

void TClipBdList::ExpandLines() {
  const std::size_t limit = HistoryLimit(capture_.Settings().MaxItems);
  switch (view_.ExpandLines(limit)) {
    case ExpandResult::kExpanded:
      SyncHistRows();
      break;
    case ExpandResult::kWouldCut:
      ShowMessage({ExpandRefusal(limit), u"警告", kMbOk | kMbIconExclamation});
      break;
    case ExpandResult::kNothing:
      break;
  }
}

std::u16string TClipBdList::GetSelText() const {
  if (page_ == Page::kClip) return view_.SelText(-1);
  return canned_.SelText(-1);
}

std::u16string TClipBdList::FindText() const {
  return FindComboBox ? WindowText(FindComboBox) : std::u16string();
}

void TClipBdList::SetFindItems() {
  if (!FindComboBox) return;
  const std::u16string text = FindText();
  SendMessageW(FindComboBox, CB_RESETCONTENT, 0, 0);
  for (const auto& item : findItems_) {
    SendMessageW(FindComboBox, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(W(item)));
  }
  SetWindowTextW(FindComboBox, W(text));
}

bool TClipBdList::Enabled(ClipAction action) const {
  const bool clip = page_ == Page::kClip;
  switch (action) {
    case ClipAction::kPaste:
    case ClipAction::kCopyClip:
      return !GetSelText().empty() && (clip || !canned_.Editing());
    case ClipAction::kRegToText:
      return !GetSelText().empty();
    case ClipAction::kDelItem:
      return clip ? !GetSelText().empty() : canned_.CanDelete();
    case ClipAction::kRegFromClip:
      return canned_.CanRegFromClip(ClipboardHasText());
    case ClipAction::kInsFromClip:
      return canned_.CanInsFromClip(ClipboardHasText());
    case ClipAction::kEditTextItem:
      return !clip && canned_.CanEditItem();
    case ClipAction::kEditTextData:
      return canned_.CanEditTextData(model_.Editor);
    case ClipAction::kReloadTextData:
      return canned_.CanReload();
    case ClipAction::kInsSep:
      return canned_.CanInsSep();
    case ClipAction::kExLine:
      return clip && view_.CanExpand();
    case ClipAction::kSortText:
    case ClipAction::kSortTime:
    case ClipAction::kSortLength:
    case ClipAction::kSortLineCnt:
      return view_.CanSort();
    case ClipAction::kAllDel:
      return view_.CanDeleteAll();
    case ClipAction::kStop:
    case ClipAction::kLoadHist:
      return true;
    case ClipAction::kSaveHist:
      return !history_.Empty();
    case ClipAction::kListExtract:
    case ClipAction::kListExcept:
      return view_.CanFilter(FindText());
    case ClipAction::kListRelease:
      return view_.Filtered();
    default:
      return StdEditEnabled(action);
  }
}

void TClipBdList::UpdateActionStates() {
  if (!PageControl1) return;
  EnableIfChanged(extractBtn_, Enabled(ClipAction::kListExtract));
  EnableIfChanged(exceptBtn_, Enabled(ClipAction::kListExcept));
  EnableIfChanged(releaseBtn_, Enabled(ClipAction::kListRelease));
}

void TClipBdList::Run(ClipAction action) {
  if (!Enabled(action)) return;
  switch (action) {
    case ClipAction::kPaste:
      Paste(false);
      break;
    case ClipAction::kCopyClip:
      CopyClip();
      break;
    case ClipAction::kExLine:
      ExpandLines();
      break;
    case ClipAction::kSortText:
      view_.Sort(HistorySort::kText);
      SyncHistRows();
      break;
    case ClipAction::kSortTime:
      view_.Sort(HistorySort::kTime);
      SyncHistRows();
      break;
    case ClipAction::kSortLength:
      view_.Sort(HistorySort::kLength);
      SyncHistRows();
      break;
    case ClipAction::kSortLineCnt:
      view_.Sort(HistorySort::kLineCount);
      SyncHistRows();
      break;
    case ClipAction::kDelItem:
      // Each page deletes its own row: the canned page never touches the history.
      if (page_ == Page::kText) {
        RunCanned(action);
      } else if (view_.DeleteSelected()) {
        SyncHistRows();
      }
      break;
    case ClipAction::kAllDel:
      view_.DeleteAllShown();
      SyncHistRows();
      break;
    case ClipAction::kStop:
      ToggleStop();
      break;
    case ClipAction::kSaveHist:
      SaveHist();
      break;
    case ClipAction::kLoadHist:
      LoadHist();
      break;
    case ClipAction::kListExtract:
    case ClipAction::kListExcept:
    case ClipAction::kListRelease:
      Filter(action);
      break;
    case ClipAction::kStdEditCut:
    case ClipAction::kStdEditCopy:
    case ClipAction::kStdEditPaste:
    case ClipAction::kStdEditSelectAll:
    case ClipAction::kStdEditUndo:
      RunStdEdit(action);
      break;
    default:
      RunCanned(action);
      break;
  }
}

bool TClipBdList::StdEditEnabled(ClipAction action) const {
  const HWND focus = GetFocus();
  if (!focus || GetParent(focus) == nullptr || !IsChild(Handle(), focus)) return false;
  wchar_t cls[16] = {};
  GetClassNameW(focus, cls, 16);
  if (_wcsicmp(cls, L"Edit") != 0) return false;
  const bool readOnly = (GetWindowLongPtrW(focus, GWL_STYLE) & ES_READONLY) != 0;
  DWORD start = 0, end = 0;
  SendMessageW(focus, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  const bool selection = start != end;
  switch (action) {
    case ClipAction::kStdEditCut:
      return !readOnly && selection;
    case ClipAction::kStdEditCopy:
      return selection;
    case ClipAction::kStdEditPaste:
      return !readOnly && ClipboardHasText();
    case ClipAction::kStdEditSelectAll:
      return GetWindowTextLengthW(focus) > 0;
    case ClipAction::kStdEditUndo:
      return SendMessageW(focus, EM_CANUNDO, 0, 0) != FALSE;
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
      SendMessageW(focus, EM_SETSEL, 0, -1);
      break;
    case ClipAction::kStdEditUndo:
      SendMessageW(focus, EM_UNDO, 0, 0);
      break;
    default:
      break;
  }
}

// ---------------------------------------------------------------------------------------------
// The canned-text page

bool TClipBdList::ClipboardHasText() const {
  return IsClipboardFormatAvailable(CF_UNICODETEXT) != FALSE;
}

void TClipBdList::ShowResult(const CannedResult& result) {
  if (!result.message) return;
  if (settingUp_) {
    // Shown once the set-up (and the load around it) has ended.
    setUpMessages_.push_back(*result.message);
    return;
  }
  ShowMessage(*result.message);
}

int TClipBdList::ShowMessage(const CannedMessage& message) {
  BusyScope busy(*this);
  return dialogs_->ShowMessage(message.text, message.caption, message.flags);
}

void TClipBdList::SyncCanned() {
  if (!sheet_) return;
  sheet_->Sync();
  if (page_ == Page::kText) RefreshCannedStatus();
  UpdateActionStates();
}

void TClipBdList::RefreshCannedStatus() {
  if (!StatusBar1 || page_ != Page::kText) return;
  const std::u16string rows = canned_.StatusRows();
  const std::u16string text = canned_.StatusText();
  SendMessageW(StatusBar1, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(W(rows)));
  SendMessageW(StatusBar1, SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(W(text)));
}

void TClipBdList::SelectTextData(int set) {
  if (!model_.IniFile) return;
  const CannedResult result = canned_.SelectTextData(set, *model_.IniFile);
  if (result.changed) model_.IniFile->UpdateFile();
  SyncCanned();
  Layout();
  if (canned_.ListEnabled() && sheet_) SetFocus(sheet_->List());
  ShowResult(result);
}

void TClipBdList::RunCanned(ClipAction action) {
  CannedResult result;
  switch (action) {
    case ClipAction::kRegToText:
      result = canned_.AddTextItem(GetSelText(), -1);
      break;
    case ClipAction::kRegFromClip:
      result = canned_.RegFromClip(services_.paste.clipboard);
      break;
    case ClipAction::kInsFromClip:
      result = canned_.InsFromClip(services_.paste.clipboard);
      break;
    case ClipAction::kInsSep:
      result = canned_.InsSepItem();
      break;
    case ClipAction::kDelItem:
      result = canned_.DeleteSelected();
      break;
    case ClipAction::kEditTextItem:
      if (sheet_) sheet_->BeginEdit();
      Layout();
      UpdateActionStates();
      return;
    case ClipAction::kEditTextData:
      EditTextData();
      return;
    case ClipAction::kReloadTextData:
      result = canned_.Reload();
      break;
    default:
      return;
  }
  SyncCanned();
  ShowResult(result);
}

void TClipBdList::EditTextData() {
  const std::u16string path = canned_.TextDataPath();
  if (services_.openInEditor) services_.openInEditor(path);
  CannedResult result;
  {
    BusyScope busy(*this);
    result = AskToReloadTextData(canned_, *dialogs_, services_.deferred);
  }
  SyncCanned();
  ShowResult(result);
  HideClip();
}

void TClipBdList::EditDone(bool ok) {
  if (!sheet_ || !canned_.Editing()) return;
  if (ok) {
    const CannedResult result = canned_.EditOk(sheet_->LabelText(), sheet_->MemoText());
    ShowResult(result);
  } else {
    canned_.CancelEdit();
  }
  SyncCanned();
  Layout();
  if (canned_.ListEnabled()) SetFocus(sheet_->List());
}

void TClipBdList::Paste(bool direct) {
  if (!direct && !Enabled(ClipAction::kPaste)) return;
  const std::u16string text = GetSelText();
  if (!text.empty()) {
    BusyScope busy(*this);
    PasteIntoTarget(text, target_, wmPasteClass_, services_.paste, ClipboardPrivacy::kShared);
  }
  HideClip();
}

void TClipBdList::CopyClip() {
  const std::u16string text = GetSelText();
  {
    BusyScope busy(*this);
    WriteClipboard(services_.paste, text, ClipboardPrivacy::kShared);
  }
  HideClip();
}

void TClipBdList::Filter(ClipAction action) {
  if (action == ClipAction::kListRelease) {
    view_.Release();
    SyncHistRows();
    return;
  }
  const std::u16string words = FindText();
  // The box's list is filled again only when the word moved in it: refilling a combo box
  // costs more than the search itself.
  const std::vector<std::u16string> itemsBefore = findItems_;
  PushHistoryItem(findItems_, words, services_.locale);
  if (findItems_ != itemsBefore) SetFindItems();
  if (action == ClipAction::kListExtract) {
    view_.Extract(words);
  } else {
    view_.Except(words);
  }
  SyncHistRows();
}

void TClipBdList::ToggleStop() {
  capture_.Capturing = !capture_.Capturing;
  std::u16string caption = kHistoryCaption;
  if (!capture_.Capturing) caption += kStoppedMark;
  SetWindowTextW(Handle(), W(caption));
}

void TClipBdList::SaveHist() {
  FileDialogRequest request{u"履歴に名前を付けて保存", u"履歴データファイル (*.txt)", u"*.TXT",
                            u"TXT", u"*.txt", std::u16string(DirectoryPart(capture_.Settings().ClipDataPath))};
  BusyScope busy(*this);
  const std::optional<std::u16string> path = AskFileName(Handle(), request, true);
  if (!path) return;
  if (!WriteHistoryFile(services_.files, services_.locale, *path, history_.Items())) {
    ShowMessage({u"履歴ファイルを保存できません。\n" + *path, u"エラー", kMbOk | kMbIconError});
  }
}

void TClipBdList::LoadHist() {
  FileDialogRequest request{u"履歴をファイルから読込", u"履歴データファイル (*.txt)", u"*.TXT",
                            u"TXT", u"*.txt", std::u16string(DirectoryPart(capture_.Settings().ClipDataPath))};
  BusyScope busy(*this);
  const std::optional<std::u16string> path = AskFileName(Handle(), request, false);
  if (!path) return;
  HistoryRead read =
      ReadHistoryFile(services_.files, services_.codePage, services_.locale, *path,
                      DaysFromDateTime(services_.clock.Now()));
  if (read.status == HistoryReadStatus::kUnreadable) {
    ShowMessage({u"履歴ファイルを読み込めません。\n" + *path, u"エラー", kMbOk | kMbIconError});
    return;
  }
  if (read.status != HistoryReadStatus::kLoaded) return;
  history_.Assign(std::move(read.items));
  view_.FillHistList(0);
  SyncHistRows();
}

void TClipBdList::AppendActions(HMENU menu, const int* ids, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    if (ids[i] == kMenuSeparator) {
      AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    const ClipAction action = *ClipActionOf(ids[i]);
    UINT flags = MF_STRING | (Enabled(action) ? MF_ENABLED : MF_GRAYED);
    if (action == ClipAction::kStop && !capture_.Capturing) flags |= MF_CHECKED;
    AppendMenuW(menu, flags, static_cast<UINT_PTR>(ids[i]),
                W(std::u16string(ClipActionTexts(action).caption)));
  }
}

void TClipBdList::ShowPopupMenu(HWND control, POINT at) {
  const MenuHandle menu = owned::CreatePopupMenu();
  if (!menu) return;
  HWND list = HistListBox;
  if (sheet_ && sheet_->IsEditField(control)) {
    AppendActions(menu.get(), kEditFieldMenu, std::size(kEditFieldMenu));
    AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
    for (std::size_t i = 0; i < kCannedEscapeMenu.size(); ++i) {
      const std::u16string caption(kCannedEscapeMenu[i].caption);
      AppendMenuW(menu.get(), MF_STRING, CannedSheet::kFirstEscapeId + i, W(caption));
    }
    list = control;
  } else if (page_ == Page::kText) {
    AppendActions(menu.get(), kCannedMenu, std::size(kCannedMenu));
    list = sheet_ ? sheet_->List() : HistListBox;
  } else {
    AppendActions(menu.get(), kHistoryMenu, std::size(kHistoryMenu));
  }
  if (at.x == -1 && at.y == -1) {
    // From the keyboard: beside the selected row.
    RECT row{};
    const LRESULT sel = SendMessageW(list, LB_GETCURSEL, 0, 0);
    if (sel < 0 || SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(sel),
                                reinterpret_cast<LPARAM>(&row)) == LB_ERR) {
      GetClientRect(list, &row);
    }
    at = POINT{row.left + Scale(8, Dpi()), row.bottom};
    ClientToScreen(list, &at);
  }
  BusyScope busy(*this);
  const int chosen = TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0,
                                    Handle(), nullptr);
  // Run after the menu's own loop has ended.
  if (chosen != 0) PostMessageW(Handle(), WM_COMMAND, MAKEWPARAM(chosen, 0), 0);
}

// ---------------------------------------------------------------------------------------------
// Keyboard

LRESULT CALLBACK TClipBdList::ControlProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                          DWORD_PTR self) noexcept {
  try {
    return reinterpret_cast<TClipBdList*>(self)->ControlMessage(hwnd, msg, wp, lp);
  } catch (...) {
    return DefSubclass(hwnd, msg, wp, lp);
  }
}

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
  const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
  const LRESULT sel = SendMessageW(list, LB_GETCURSEL, 0, 0);
  switch (vk) {
    case VK_RETURN:
      // Ctrl+Enter edits a canned text; the history has no such shortcut.
      Run(list != HistListBox && CtrlDown() ? ClipAction::kEditTextItem : ClipAction::kPaste);
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
      const LRESULT to = vk == VK_UP ? count - 1 : 0;
      SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(to), 0);
      // The status bar shows the row the wrap selected, as after any other move.
      if (list == HistListBox) {
        RefreshHistStatus();
      } else {
        canned_.Select(static_cast<int>(to));
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
    SelectPage(vk == 'C' ? Page::kClip : Page::kText);
    PageControl1Change();
    return true;
  }
  if (vk >= '1' && vk <= '8' && page_ == Page::kText && canned_.ListEnabled()) {
    const int set = static_cast<int>(vk - '1');
    if (canned_.SetBarShown() && canned_.SetButtonEnabled(set)) SelectTextData(set);
    return true;
  }
  return false;
}

// Tab moves between the search box and the history list; the pages have nothing else to reach.
bool TClipBdList::TabKey(HWND control) {
  if (page_ != Page::kClip || (control != HistListBox && control != findEdit_)) return false;
  SetFocus(control == HistListBox ? FindComboBox : HistListBox);
  return true;
}

// The edit panel's fields: Esc presses キャンセル, Enter in the label presses OK (the default
// button), Enter and TAB in the body type a line break and a TAB, and TAB in the label moves on
// to the body.
LRESULT TClipBdList::EditFieldMessage(HWND control, UINT msg, WPARAM wp, LPARAM lp) {
  const bool label = control == sheet_->LabelEdit();
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
        SetFocus(sheet_->Memo());
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
  if (msg == WM_NCDESTROY) {
    RemoveSubclass(control, &TClipBdList::ControlProc, kSubclassId);
    return DefSubclass(control, msg, wp, lp);
  }
  if (wp == VK_CONTROL && (msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN)) ctrlPressed_ = true;
  if (wp == VK_CONTROL && (msg == WM_KEYUP || msg == WM_SYSKEYUP)) ctrlPressed_ = false;
  const bool cannedList = sheet_ && control == sheet_->List();
  const bool editField = sheet_ && sheet_->IsEditField(control);
  if (msg == WM_SYSKEYDOWN && !editField && Mnemonic(wp)) return 0;
  // No beep for a letter without a menu; Alt+Space still opens the window menu.
  if (msg == WM_SYSCHAR && !editField && wp != L' ') return 0;
  if (cannedList && msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST && sheet_->ListMouse(msg, lp)) {
    return 0;
  }
  if (cannedList && msg == WM_CAPTURECHANGED) sheet_->ListMouse(msg, lp);
  if (editField && msg == WM_CONTEXTMENU) {
    ShowPopupMenu(control, POINT{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))});
    return 0;
  }
  if (msg == WM_CHAR && wp == kCtrlC && std::exchange(copyCharTaken_, false)) return 0;
  if (editField) return EditFieldMessage(control, msg, wp, lp);
  if (msg == WM_KEYDOWN) {
    if (Shortcut(wp)) return 0;
    if (wp == VK_TAB && TabKey(control)) return 0;
    if ((control == HistListBox || cannedList) && ListKey(control, wp)) return 0;
    if (control == findEdit_) {
      if (wp == VK_RETURN) {
        Run(ClipAction::kListExtract);
        return 0;
      }
      if (wp == VK_ESCAPE) {
        // Esc closes an open drop-down list first, as in every combo box.
        if (SendMessageW(FindComboBox, CB_GETDROPPEDSTATE, 0, 0)) {
          SendMessageW(FindComboBox, CB_SHOWDROPDOWN, FALSE, 0);
        } else {
          HideClip();
        }
        return 0;
      }
    }
    if (control == PreviewMemo && wp == VK_ESCAPE) {
      HideClip();
      return 0;
    }
  } else if (msg == WM_CHAR && (wp == L'\r' || wp == 0x1B || wp == L'\t') &&
             control != PreviewMemo) {
    return 0;  // handled on the key press; swallowed so that no beep sounds
  } else if (msg == WM_GETDLGCODE && (control == HistListBox || cannedList)) {
    return DefSubclass(control, msg, wp, lp) | DLGC_WANTALLKEYS;
  }
  return DefSubclass(control, msg, wp, lp);
}

