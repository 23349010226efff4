#include "clip/window/history_sheet_win.h"

#include <commctrl.h>

#include <algorithm>
#include <cwchar>

#include "clip/model/clip_actions.h"
#include "clip/window/row_pieces_win.h"
#include "ui/controls_win.h"
#include "ui/dpi_win.h"
#include "ui/owned_gdi_objects_win.h"
#include "ui/row_text_win.h"
#include "ui/window_win.h"
#include "win32/wide_win.h"

namespace {

// Design sizes at 96 dots per inch.
constexpr int kTopPanelHeight = 30;
constexpr int kButtonWidth = 36;
constexpr int kButtonHeight = 25;
constexpr int kSplitterHeight = 3;
constexpr int kMinList = 20;

// A text's line breaks as an edit control shows them: CR LF.
std::u16string EditLines(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size() + text.size() / 16);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c == u'\r' || c == u'\n') {
      out += u"\r\n";
      if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    } else {
      out += c;
    }
  }
  return out;
}

RECT InClient(HWND control, HWND parent) {
  RECT r{};
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

}  // namespace

bool HistorySheet::Create(HWND parent) {
  parent_ = parent;
  find_ = ComboBox(MakeControl(
      L"COMBOBOX", nullptr, WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL,
      0, parent, kFindId));
  const auto button = [&](ClipAction action) {
    return MakeControl(L"BUTTON", W(std::u16string(ClipActionTexts(action).caption)),
                       WS_VISIBLE | BS_PUSHBUTTON, 0, parent, static_cast<int>(action));
  };
  extract_ = button(ClipAction::kListExtract);
  except_ = button(ClipAction::kListExcept);
  release_ = button(ClipAction::kListRelease);
  // No data of its own: the rows are the view's, so a show of 10,000 entries costs one message.
  list_ = ListBox(MakeControl(L"LISTBOX", nullptr,
                              WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_NODATA |
                                  LBS_OWNERDRAWFIXED | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                              WS_EX_CLIENTEDGE, parent, kListId));
  preview_ = MakeControl(L"EDIT", nullptr, WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
                         WS_EX_CLIENTEDGE, parent, kPreviewId);
  if (!find_.Handle() || !list_.Handle() || !preview_) return false;
  findEdit_ = find_.EditField();
  AddTooltips(parent);
  return true;
}

void HistorySheet::AddTooltips(HWND parent) {
  tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0,
                             0, 0, 0, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!tooltip_) return;
  for (HWND btn : {extract_, except_, release_}) {
    const auto action = ClipActionOf(GetDlgCtrlID(btn));
    std::u16string hint(ClipActionTexts(*action).hint);
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = parent;
    tool.uId = reinterpret_cast<UINT_PTR>(btn);
    tool.lpszText = const_cast<wchar_t*>(W(hint));
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

void HistorySheet::SetFindItems(const std::vector<std::u16string>& items) {
  const std::u16string text = FindText();
  find_.Clear();
  for (const auto& item : items) find_.Add(item);
  SetFindText(text);
}

std::u16string HistorySheet::FindText() const {
  return find_.Handle() ? WindowText(find_.Handle()) : std::u16string();
}

void HistorySheet::SetFindText(const std::u16string& text) {
  SetWindowTextW(find_.Handle(), W(text));
}

bool HistorySheet::CloseFindList() const {
  if (!find_.Dropped()) return false;
  find_.Drop(false);
  return true;
}

void HistorySheet::ApplyFonts(HFONT baseFont, HFONT listFont, HFONT previewFont) {
  for (HWND control : {find_.Handle(), extract_, except_, release_}) {
    SetControlFont(control, baseFont);
  }
  SetControlFont(list_.Handle(), listFont);
  SetControlFont(preview_, previewFont);
}

void HistorySheet::ApplyStyle(const Style& style) {
  style_ = style;
  listBrush_ = owned::CreateSolidBrush(style.listBack);
  previewBrush_ = owned::CreateSolidBrush(style.previewBack);
  list_.SetItemHeight(std::max(1, style.rowHeight));
}

void HistorySheet::Layout(const RECT& page, UINT dpi, int previewHeight) {
  if (laidOut_ && EqualRect(&laidOut_->page, &page) && laidOut_->dpi == dpi &&
      laidOut_->previewHeight == previewHeight && laidOut_->previewShown == previewShown_) {
    return;
  }
  laidOut_ = LaidOut{page, dpi, previewHeight, previewShown_};
  const int bw = Scale(kButtonWidth, dpi);
  const int bh = Scale(kButtonHeight, dpi);
  const int top = Scale(kTopPanelHeight, dpi);
  const int buttonsLeft = page.right - 3 * bw - Scale(2, dpi);
  PlaceControl(find_.Handle(), page.left + Scale(2, dpi), page.top + Scale(3, dpi),
               std::max<int>(10, buttonsLeft - page.left - Scale(6, dpi)), Scale(200, dpi));
  int x = buttonsLeft;
  for (HWND btn : {extract_, except_, release_}) {
    PlaceControl(btn, x, page.top + (top - bh) / 2, bw, bh);
    x += bw;
  }
  const int listTop = page.top + top;
  int listBottom = page.bottom;
  if (previewShown_) {
    const int maxPreview = std::max<int>(0, page.bottom - listTop - Scale(kMinList, dpi));
    const int preview = std::clamp(previewHeight, 0, maxPreview);
    PlaceControl(preview_, page.left, page.bottom - preview, Width(page), preview);
    listBottom = page.bottom - preview - Scale(kSplitterHeight, dpi);
  }
  PlaceControl(list_.Handle(), page.left, listTop, Width(page), std::max(0, listBottom - listTop));
}

void HistorySheet::Show(bool visible) {
  const int show = visible ? SW_SHOW : SW_HIDE;
  for (HWND btn : {extract_, except_, release_}) ShowWindow(btn, show);
  ShowWindow(find_.Handle(), show);
  ShowWindow(list_.Handle(), show);
  ShowWindow(preview_, visible && previewShown_ ? SW_SHOW : SW_HIDE);
}

// No WM_SETREDRAW around the change: the list then updates its scroll bar once, not twice. The
// list holds no data, so a count that stays needs no update (the rows are drawn again).
void HistorySheet::SyncRows() {
  if (static_cast<std::size_t>(list_.Count()) != view_.RowCount()) list_.SetCount(view_.RowCount());
  list_.Select(view_.Selected());
  InvalidateRect(list_.Handle(), nullptr, TRUE);
}

bool HistorySheet::ShowPreview(const std::optional<std::u16string>& text) {
  SetWindowTextW(preview_, text ? W(EditLines(*text)) : L"");
  if (text.has_value() == previewShown_) return false;
  previewShown_ = text.has_value();
  return true;
}

void HistorySheet::EnableFilters(bool extract, bool except, bool release) {
  EnableIfChanged(extract_, extract);
  EnableIfChanged(except_, except);
  EnableIfChanged(release_, release);
}

bool HistorySheet::OverSplitter(POINT client) const {
  if (!previewShown_) return false;
  const RECT list = InClient(list_.Handle(), parent_);
  const RECT preview = InClient(preview_, parent_);
  return client.x >= list.left && client.x < list.right && client.y >= list.bottom &&
         client.y < preview.top;
}

int HistorySheet::PreviewHeightAt(int clientY, UINT dpi) const {
  const RECT preview = InClient(preview_, parent_);
  return std::max<int>(0, preview.bottom - clientY - Scale(kSplitterHeight, dpi) / 2);
}

std::optional<HBRUSH> HistorySheet::PreviewColours(HWND control, HDC dc) const {
  if (control != preview_ || !previewBrush_) return std::nullopt;
  SetTextColor(dc, style_.previewText);
  SetBkColor(dc, style_.previewBack);
  return previewBrush_.get();
}

void HistorySheet::DrawRow(const DRAWITEMSTRUCT& item) const {
  const HDC dc = item.hDC;
  const RECT& row = item.rcItem;
  const auto [fg, bg] = FillRow(item, {style_.listText, style_.listBack});
  if (item.itemID != static_cast<UINT>(-1) && item.itemID < view_.RowCount()) {
    SelectedObject font(dc, style_.listFont);
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, bg);
    SetTextColor(dc, fg);
    const UINT dpi = WindowDpi(parent_);
    const int y = row.top + (Height(row) - style_.charHeight) / 2;
    int x = row.left + Scale(4, dpi);
    const int entry = view_.RowToHistIndex(static_cast<int>(item.itemID));
    if (style_.showLineCounts) {
      wchar_t count[16];
      std::swprintf(count, std::size(count), L"%2u",
                    entry >= 0 ? static_cast<unsigned>(history_.At(entry).LineCount) : 1u);
      SetTextColor(dc, style_.lineCounts);
      x += DrawRowText(dc, x, y, U16(count)) + Scale(2, dpi);
      SetTextColor(dc, fg);
      const PenHandle pen = owned::CreatePen(PS_SOLID, 1, style_.lineCounts);
      SelectedObject selectedPen(dc, pen.get());
      MoveToEx(dc, x, row.top, nullptr);
      LineTo(dc, x, row.bottom);
      x += Scale(6, dpi);
    }
    if (entry >= 0) {
      const std::u16string shown = history_.At(entry).DispText();
      DrawRowPieces(dc, row, x, y, MarkedPieces(shown, u"\t", u"\n"), style_.fontName,
                    style_.controlCodes, Scale(4, dpi));
    }
  }
  if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &row);
}

std::vector<HWND> HistorySheet::KeyedControls() const {
  return {list_.Handle(), findEdit_, preview_, find_.Handle()};
}
