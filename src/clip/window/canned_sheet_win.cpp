#include "clip/window/canned_sheet_win.h"

#include <algorithm>

#include "clip/window/row_pieces_win.h"
#include "ui/controls_win.h"
#include "ui/dpi_win.h"
#include "ui/owned_gdi_objects_win.h"
#include "ui/window_win.h"
#include "win32/wide_win.h"

namespace {

// Design sizes at 96 dots per inch.
constexpr int kBarHeight = 22;
constexpr int kSetButtonWidth = 28;
constexpr int kSetButtonHeight = 20;
constexpr int kPanelHeight = 158;
constexpr int kMemoHeight = 98;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
constexpr int kMinList = 20;

}  // namespace

SIZE CannedSheet::MinimumSize(UINT dpi) {
  const int bar = Scale(2, dpi) + kCannedSets * Scale(kSetButtonWidth, dpi) + Scale(2, dpi);
  const int buttons = 2 * Scale(kButtonWidth, dpi) + 3 * Scale(4, dpi);
  return SIZE{std::max(bar, buttons),
              Scale(kBarHeight, dpi) + Scale(kPanelHeight, dpi) + Scale(kMinList, dpi)};
}

HWND CannedSheet::Make(const wchar_t* cls, const wchar_t* text, DWORD style, DWORD exStyle,
                       int id) {
  return MakeControl(cls, text, style, exStyle, parent_, id);
}

bool CannedSheet::Create(HWND parent) {
  parent_ = parent;
  for (int n = 0; n < kCannedSets; ++n) {
    const std::wstring caption = L" &" + std::to_wstring(n + 1) + L" ";
    setButtons_[n] = Make(L"BUTTON", caption.c_str(), BS_PUSHBUTTON, 0, kFirstSetButton + n);
  }
  list_ = Make(
      L"LISTBOX", nullptr,
      WS_TABSTOP | WS_VSCROLL | LBS_NODATA | LBS_OWNERDRAWFIXED | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
      WS_EX_CLIENTEDGE, kListId);
  caption_ = Make(L"STATIC", L"表示", SS_LEFT, 0, kCaptionId);
  labelEdit_ = Make(L"EDIT", nullptr, WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, kLabelEditId);
  memo_ = Make(L"EDIT", nullptr,
               WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN,
               WS_EX_CLIENTEDGE, kMemoId);
  ok_ = Make(L"BUTTON", L"&OK", WS_TABSTOP | BS_DEFPUSHBUTTON, 0, kOkId);
  cancel_ = Make(L"BUTTON", L"キャンセル", WS_TABSTOP | BS_PUSHBUTTON, 0, kCancelId);
  for (HWND control : setButtons_) {
    if (!control) return false;
  }
  return list_ && caption_ && labelEdit_ && memo_ && ok_ && cancel_;
}

void CannedSheet::ApplyStyle(const Style& style) {
  style_ = style;
  brush_ = owned::CreateSolidBrush(style.bg);
  for (HWND control : setButtons_) SetControlFont(control, style.baseFont);
  for (HWND control : {caption_, ok_, cancel_}) SetControlFont(control, style.baseFont);
  for (HWND control : {list_, labelEdit_, memo_}) SetControlFont(control, style.listFont);
  ListBox(list_).SetItemHeight(std::max(1, style.rowHeight));
  InvalidateRect(list_, nullptr, TRUE);
}

void CannedSheet::Layout(const RECT& page, UINT dpi) {
  int top = page.top;
  if (page_.SetBarShown()) {
    int x = page.left + Scale(2, dpi);
    for (HWND button : setButtons_) {
      PlaceControl(button, x, top + Scale(1, dpi), Scale(kSetButtonWidth, dpi),
                   Scale(kSetButtonHeight, dpi));
      x += Scale(kSetButtonWidth, dpi);
    }
    top += Scale(kBarHeight, dpi);
  }
  int bottom = page.bottom;
  if (page_.Editing()) {
    const int panelTop = page.bottom - Scale(kPanelHeight, dpi);
    const int m = Scale(4, dpi);
    PlaceControl(caption_, page.left + m, panelTop + m + Scale(3, dpi), Scale(30, dpi),
                 Scale(16, dpi));
    PlaceControl(labelEdit_, page.left + m + Scale(32, dpi), panelTop + m,
                 std::max(10, Width(page) - 2 * m - Scale(32, dpi)), Scale(22, dpi));
    PlaceControl(memo_, page.left + m, panelTop + m + Scale(26, dpi), Width(page) - 2 * m,
                 Scale(kMemoHeight, dpi));
    const int by = page.bottom - m - Scale(kButtonHeight, dpi);
    PlaceControl(cancel_, page.right - m - Scale(kButtonWidth, dpi), by, Scale(kButtonWidth, dpi),
                 Scale(kButtonHeight, dpi));
    PlaceControl(ok_, page.right - m - 2 * Scale(kButtonWidth, dpi) - m, by,
                 Scale(kButtonWidth, dpi), Scale(kButtonHeight, dpi));
    bottom = panelTop;
  }
  PlaceControl(list_, page.left, top, Width(page), std::max(0, bottom - top));
  Show(visible_);
}

void CannedSheet::Show(bool visible) {
  visible_ = visible;
  const int bar = visible && page_.SetBarShown() ? SW_SHOW : SW_HIDE;
  for (HWND button : setButtons_) ShowWindow(button, bar);
  ShowWindow(list_, visible ? SW_SHOW : SW_HIDE);
  const int panel = visible && page_.Editing() ? SW_SHOW : SW_HIDE;
  for (HWND control : {caption_, labelEdit_, memo_, ok_, cancel_}) ShowWindow(control, panel);
}

void CannedSheet::Sync() {
  const ListBox list(list_);
  if (shownItems_ != page_.ItemsVersion()) {
    RedrawHeld held(list_);
    list.SetCount(page_.Count());
    list.Select(page_.Selected());
    shownItems_ = page_.ItemsVersion();
  } else {
    // The same items: the scroll bar stays (setting it again costs a frame under Wine), the rows
    // are drawn again.
    if (list.Selected() != page_.Selected()) list.Select(page_.Selected());
    InvalidateRect(list_, nullptr, TRUE);
  }
  const bool enabled = page_.ListEnabled();
  EnableIfChanged(list_, enabled);
  for (int n = 0; n < kCannedSets; ++n) {
    EnableIfChanged(setButtons_[n], enabled && page_.SetButtonEnabled(n));
  }
  Show(visible_);
}

void CannedSheet::BeginEdit() {
  const std::optional<CannedEditFields> fields = page_.BeginEdit();
  if (!fields) return;
  SetWindowTextW(labelEdit_, W(fields->label));
  SetWindowTextW(memo_, W(fields->body));
  Sync();
  SetFocus(memo_);
}

std::u16string CannedSheet::LabelText() const { return WindowText(labelEdit_); }

std::u16string CannedSheet::MemoText() const { return WindowText(memo_); }

void CannedSheet::InsertEscape(std::size_t index) {
  if (index >= kCannedEscapeMenu.size()) return;
  const HWND focus = GetFocus();
  if (!IsEditField(focus)) return;
  const std::u16string code(kCannedEscapeMenu[index].code);
  EditBox(focus).Type(code);
}

void CannedSheet::DrawRow(const DRAWITEMSTRUCT& item) const {
  const HDC dc = item.hDC;
  const RECT& row = item.rcItem;
  const auto [fg, bg] = FillRow(item, {style_.fg, style_.bg});
  if (item.itemID != static_cast<UINT>(-1) && item.itemID < page_.Count()) {
    const std::u16string& text = page_.Items()[item.itemID];
    if (IsCannedSeparator(text)) {
      RECT line = row;
      line.top = row.top + style_.charHeight / 2;
      DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
    } else {
      SelectedObject font(dc, style_.listFont);
      SetBkMode(dc, OPAQUE);
      SetBkColor(dc, bg);
      const UINT dpi = GetDpiForWindow(list_) ? GetDpiForWindow(list_) : USER_DEFAULT_SCREEN_DPI;
      const int y = row.top + (Height(row) - style_.charHeight) / 2;
      const int x = row.left + Scale(4, dpi);
      SetTextColor(dc, fg);
      DrawRowPieces(dc, row, x, y, CannedRowPieces(CannedLabel(text)), style_.fontName, style_.ctrl,
                    Scale(4, dpi));
    }
  }
  if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &row);
}

int CannedSheet::RowAt(POINT client) const {
  RECT area{};
  GetClientRect(list_, &area);
  if (!PtInRect(&area, client)) return -1;
  return ListBox(list_).RowAt(client);
}

void CannedSheet::DrawDropMarker(int row) const {
  if (row < 0) return;
  RECT r{};
  if (!ListBox(list_).RowRect(row, r)) return;
  const int y = page_.DropMarkerEdge(row) == DropEdge::kBottom ? r.bottom - 1 : r.top;
  RECT client{};
  GetClientRect(list_, &client);
  WindowDC dc(list_);
  // Drawn inverted, so that drawing it again at the same place erases it.
  const int oldRop = SetROP2(dc.Get(), R2_NOT);
  const PenHandle pen = owned::CreatePen(PS_SOLID, 2, RGB(0, 0, 0));
  SelectedObject selected(dc.Get(), pen.get());
  MoveToEx(dc.Get(), client.left, y, nullptr);
  LineTo(dc.Get(), client.right, y);
  SetROP2(dc.Get(), oldRop);
}

bool CannedSheet::ListMouse(UINT msg, LPARAM lp) {
  const POINT at{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
  switch (msg) {
    case WM_LBUTTONDOWN:
      pressed_ = true;
      pressAt_ = at;
      return false;  // the list selects the row
    case WM_MOUSEMOVE: {
      if (!pressed_ || !(GetKeyState(VK_LBUTTON) < 0)) {
        pressed_ = false;
        return false;
      }
      if (!dragging_) {
        if (std::abs(at.x - pressAt_.x) < GetSystemMetrics(SM_CXDRAG) &&
            std::abs(at.y - pressAt_.y) < GetSystemMetrics(SM_CYDRAG)) {
          return false;
        }
        // The press selected the row under it, though the list tells so only when the button
        // comes up: the row dragged is the one the user sees selected.
        page_.Select(ListBox(list_).Selected());
        if (!page_.AcceptsDrop()) return false;
        dragging_ = true;
        dragMark_ = -1;
        // The list took the mouse at the press already; taking it again would end the drag.
        if (GetCapture() != list_) SetCapture(list_);
      }
      const int target = RowAt(at);
      if (target != dragMark_) {
        DrawDropMarker(dragMark_);
        DrawDropMarker(target);
        dragMark_ = target;
      }
      return true;
    }
    case WM_LBUTTONUP: {
      pressed_ = false;
      if (!dragging_) return false;
      dragging_ = false;
      DrawDropMarker(dragMark_);
      dragMark_ = -1;
      ReleaseCapture();
      const int target = RowAt(at);
      if (target >= 0 && onDrop) onDrop(target);
      return true;
    }
    case WM_CAPTURECHANGED:
      // Another window took the mouse (a menu, a box): the drag ends without a drop.
      if (dragging_ && reinterpret_cast<HWND>(lp) != list_) {
        dragging_ = false;
        DrawDropMarker(dragMark_);
        dragMark_ = -1;
      }
      return false;
    default:
      return false;
  }
}
