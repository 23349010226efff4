#include "clip/clip_window_win.h"

#include <algorithm>
#include <cwchar>

#include "clip/clip_window_parts_win.h"
#include "clip/history_file.h"
#include "clip/row_pieces_win.h"
#include "platform/file_dialog_win.h"
#include "platform/subclass_win.h"
#include "platform/wide_win.h"
#include "ui/colour_win.h"
#include "ui/font_win.h"
#include "ui/row_text_win.h"
#include "ui/owned_gdi_objects_win.h"
#include "ui/window_place_win.h"
#include "util/path_text.h"

using namespace clip_window;

// ---------------------------------------------------------------------------------------------
// Controls and layout

bool TClipBdList::CreateControls() {
  if (PageControl1) return true;
  if (!LoadCommonControls()) return false;
  const HWND self = Handle();
  StatusBar1 = MakeControl(STATUSCLASSNAMEW, nullptr, WS_VISIBLE | SBARS_SIZEGRIP, 0, self,
                           kStatusId);
  PageControl1 = MakeControl(WC_TABCONTROLW, nullptr,
                             WS_VISIBLE | WS_CLIPSIBLINGS | TCS_FIXEDWIDTH | TCS_FOCUSNEVER, 0,
                             self, kTabId);
  FindComboBox = MakeControl(L"COMBOBOX", nullptr,
                             WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL,
                             0, self, kFindId);
  const auto button = [&](ClipAction action) {
    return MakeControl(L"BUTTON", W(std::u16string(ClipActionTexts(action).caption)),
                       WS_VISIBLE | BS_PUSHBUTTON, 0, self, static_cast<int>(action));
  };
  extractBtn_ = button(ClipAction::kListExtract);
  exceptBtn_ = button(ClipAction::kListExcept);
  releaseBtn_ = button(ClipAction::kListRelease);
  // No data of its own: the rows are the view's, so a show of 10,000 entries costs one message.
  HistListBox = MakeControl(L"LISTBOX", nullptr,
                            WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_NODATA |
                                LBS_OWNERDRAWFIXED | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                            WS_EX_CLIENTEDGE, self, kListId);
  PreviewMemo = MakeControl(L"EDIT", nullptr,
                            WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, WS_EX_CLIENTEDGE,
                            self, kPreviewId);
  if (!StatusBar1 || !PageControl1 || !FindComboBox || !HistListBox || !PreviewMemo) return false;
  auto sheet = std::make_unique<CannedSheet>(canned_);
  if (!sheet->Create(self)) return false;
  sheet->onDrop = [this](int target) {
    ShowResult(canned_.MoveSelected(target));
    SyncCanned();
  };
  sheet_ = std::move(sheet);
  // The tab control lies below the controls of its pages.
  SetWindowPos(PageControl1, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  COMBOBOXINFO info{sizeof(info)};
  if (GetComboBoxInfo(FindComboBox, &info)) findEdit_ = info.hwndItem;
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = const_cast<wchar_t*>(L"クリップボード(&C)");
  SendMessageW(PageControl1, TCM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  item.pszText = const_cast<wchar_t*>(L"定型文(&T)");
  SendMessageW(PageControl1, TCM_INSERTITEMW, 1, reinterpret_cast<LPARAM>(&item));
  for (HWND control : {HistListBox, findEdit_, PreviewMemo, FindComboBox, sheet_->List(),
                       sheet_->LabelEdit(), sheet_->Memo()}) {
    if (control) {
      SetSubclass(control, &TClipBdList::ControlProc, kSubclassId,
                  reinterpret_cast<DWORD_PTR>(this));
    }
  }
  tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                             0, 0, 0, 0, self, nullptr, GetModuleHandleW(nullptr), nullptr);
  for (HWND btn : {extractBtn_, exceptBtn_, releaseBtn_}) {
    const auto action = ClipActionOf(GetDlgCtrlID(btn));
    std::u16string hint(ClipActionTexts(*action).hint);
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = self;
    tool.uId = reinterpret_cast<UINT_PTR>(btn);
    tool.lpszText = const_cast<wchar_t*>(W(hint));
    if (tooltip_) SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
  SetFindItems();
  ApplyFonts();
  return true;
}

void TClipBdList::ApplyFonts() {
  const UINT dpi = Dpi();
  baseFont_ = CreateSettingsFont(BaseFont(), dpi);
  listFont_ = CreateSettingsFont(fontDesc_, dpi);
  FontDescription preview = fontDesc_;
  preview.size = fontSizeV_;
  previewFont_ = CreateSettingsFont(preview, dpi);
  for (HWND control : {StatusBar1, PageControl1, FindComboBox, extractBtn_, exceptBtn_,
                       releaseBtn_}) {
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(baseFont_.get()), TRUE);
  }
  SendMessageW(HistListBox, WM_SETFONT, reinterpret_cast<WPARAM>(listFont_.get()), TRUE);
  SendMessageW(PreviewMemo, WM_SETFONT, reinterpret_cast<WPARAM>(previewFont_.get()), TRUE);
  WindowDC dc(HistListBox);
  SelectedObject font(dc.Get(), listFont_.get());
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc.Get(), &metrics);
  charHeight_ = std::max<int>(1, metrics.tmHeight);
  {
    SelectedObject base(dc.Get(), baseFont_.get());
    sizeTextWidth_ = RowTextWidth(dc.Get(), kWidestSizeText);
  }
  ApplySheetStyle();
  SendMessageW(PageControl1, TCM_SETITEMSIZE, 0,
               MAKELPARAM(Scale(kTabWidth, dpi), Scale(20, dpi)));
  const int parts[] = {Scale(kStatusFirstPanel, dpi), -1};
  SendMessageW(StatusBar1, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));
}

void TClipBdList::Layout() {
  if (!PageControl1 || layoutHeld_) return;
  const UINT dpi = Dpi();
  RECT client{};
  GetClientRect(Handle(), &client);
  SendMessageW(StatusBar1, WM_SIZE, 0, 0);
  RECT status{};
  GetWindowRect(StatusBar1, &status);
  const int bottom = std::max<int>(0, Height(client) - Height(status));
  MoveWindow(PageControl1, 0, 0, Width(client), bottom, TRUE);
  RECT page{0, 0, Width(client), bottom};
  SendMessageW(PageControl1, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&page));
  const bool clip = page_ == Page::kClip;
  const int show = clip ? SW_SHOW : SW_HIDE;
  const int bw = Scale(kButtonWidth, dpi);
  const int bh = Scale(kButtonHeight, dpi);
  const int top = Scale(kTopPanelHeight, dpi);
  const int buttonsLeft = page.right - 3 * bw - Scale(2, dpi);
  MoveWindow(FindComboBox, page.left + Scale(2, dpi), page.top + Scale(3, dpi),
             std::max<int>(10, buttonsLeft - page.left - Scale(6, dpi)), Scale(200, dpi), TRUE);
  int x = buttonsLeft;
  for (HWND btn : {extractBtn_, exceptBtn_, releaseBtn_}) {
    MoveWindow(btn, x, page.top + (top - bh) / 2, bw, bh, TRUE);
    ShowWindow(btn, show);
    x += bw;
  }
  ShowWindow(FindComboBox, show);
  const int listTop = page.top + top;
  int listBottom = page.bottom;
  if (previewShown_) {
    const int maxPreview = std::max<int>(0, page.bottom - listTop - Scale(kMinList, dpi));
    const int preview = std::clamp(previewHeight_, 0, maxPreview);
    MoveWindow(PreviewMemo, page.left, page.bottom - preview, Width(page), preview, TRUE);
    listBottom = page.bottom - preview - Scale(kSplitterHeight, dpi);
  }
  MoveWindow(HistListBox, page.left, listTop, Width(page), std::max(0, listBottom - listTop), TRUE);
  ShowWindow(HistListBox, show);
  ShowWindow(PreviewMemo, clip && previewShown_ ? SW_SHOW : SW_HIDE);
  sheet_->Show(!clip);
  sheet_->Layout(page, dpi);
}

SIZE TClipBdList::MinimumSize() const {
  const UINT dpi = Dpi();
  if (!PageControl1) return SIZE{Scale(kMinWidth, dpi), Scale(kMinHeight, dpi)};
  // The tab control's frame around a page, as it draws it now.
  RECT page{0, 0, 1000, 1000};
  SendMessageW(PageControl1, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&page));
  const int frameWidth = static_cast<int>(page.left + (1000 - page.right));
  const int frameHeight = static_cast<int>(page.top + (1000 - page.bottom));
  const SIZE canned = CannedSheet::MinimumSize(dpi);
  // Both tabs without scroll arrows; the search row; the canned page.
  int width = 2 * Scale(kTabWidth, dpi) + Scale(6, dpi);
  width = std::max(width, frameWidth + Scale(kMinFindWidth + 3 * kButtonWidth + 8, dpi));
  width = std::max<int>(width, frameWidth + canned.cx);
  // The status bar: its first panel and the longest size text of the second beside the grip.
  width = std::max(width, Scale(kStatusFirstPanel, dpi) + sizeTextWidth_ + Scale(12, dpi) +
                              GetSystemMetricsForDpi(SM_CXVSCROLL, dpi));
  RECT status{};
  GetWindowRect(StatusBar1, &status);
  const int pages = std::max<int>(Scale(kTopPanelHeight + kMinList, dpi), canned.cy);
  RECT bounds{0, 0, width, frameHeight + pages + Height(status)};
  AdjustWindowRectExForDpi(&bounds, kStyle, FALSE, kExStyle, dpi);
  return SIZE{Width(bounds), Height(bounds)};
}

bool TClipBdList::OverSplitter(POINT client) const {
  if (!previewShown_ || page_ != Page::kClip) return false;
  RECT list{}, preview{};
  GetWindowRect(HistListBox, &list);
  GetWindowRect(PreviewMemo, &preview);
  MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&list), 2);
  MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&preview), 2);
  return client.x >= list.left && client.x < list.right && client.y >= list.bottom &&
         client.y < preview.top;
}

void TClipBdList::DragSplitter(int clientY) {
  RECT preview{};
  GetWindowRect(PreviewMemo, &preview);
  MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&preview), 2);
  previewHeight_ = std::max<int>(0, preview.bottom - clientY - Scale(kSplitterHeight, Dpi()) / 2);
  Layout();
}

// ---------------------------------------------------------------------------------------------
// Drawing

void TClipBdList::MeasureItem(MEASUREITEMSTRUCT& item) const {
  item.itemHeight = static_cast<UINT>(std::max(1, charHeight_ + lineSpace_));
}

void TClipBdList::DrawHistRow(const DRAWITEMSTRUCT& item) {
  const HDC dc = item.hDC;
  const RECT& row = item.rcItem;
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  const COLORREF bg = selected ? GetSysColor(COLOR_HIGHLIGHT) : bgL_;
  const COLORREF fg = selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : fgL_;
  const BrushHandle brush = owned::CreateSolidBrush(bg);
  FillRect(dc, &row, brush.get());
  if (item.itemID != static_cast<UINT>(-1) && item.itemID < view_.RowCount()) {
    SelectedObject font(dc, listFont_.get());
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, bg);
    SetTextColor(dc, fg);
    const UINT dpi = Dpi();
    const int y = row.top + (Height(row) - charHeight_) / 2;
    int x = row.left + Scale(4, dpi);
    const int entry = view_.RowToHistIndex(static_cast<int>(item.itemID));
    if (showLnCt_) {
      wchar_t count[16];
      std::swprintf(count, std::size(count), L"%2u",
                    entry >= 0 ? static_cast<unsigned>(history_.At(entry).LineCount) : 1u);
      SetTextColor(dc, lnCtColor_);
      x += DrawRowText(dc, x, y, U16(count)) + Scale(2, dpi);
      SetTextColor(dc, fg);
      const PenHandle pen = owned::CreatePen(PS_SOLID, 1, lnCtColor_);
      SelectedObject selectedPen(dc, pen.get());
      MoveToEx(dc, x, row.top, nullptr);
      LineTo(dc, x, row.bottom);
      x += Scale(6, dpi);
    }
    if (entry >= 0) {
      const std::u16string shown = history_.At(entry).DispText();
      DrawRowPieces(dc, row, x, y, MarkedPieces(shown, u"\t", u"\n"), fontDesc_.name, ctrlColor_,
                    Scale(4, dpi));
    }
  }
  if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &row);
}

