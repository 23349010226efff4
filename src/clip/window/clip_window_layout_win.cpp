#include "clip/window/clip_window_win.h"

#include <algorithm>

#include "clip/window/clip_window_parts_win.h"
#include "ui/controls_win.h"
#include "ui/font_win.h"
#include "ui/owned_gdi_objects_win.h"
#include "ui/row_text_win.h"
#include "win32/wide_win.h"

using namespace clip_window;

// ---------------------------------------------------------------------------------------------
// Controls and layout

bool TClipBdList::CreateControls() {
  if (tabs_) return true;
  if (!LoadCommonControls()) return false;
  const HWND self = Handle();
  status_ = MakeControl(STATUSCLASSNAMEW, nullptr, WS_VISIBLE | SBARS_SIZEGRIP, 0, self, kStatusId);
  tabs_ =
      MakeControl(WC_TABCONTROLW, nullptr,
                  WS_VISIBLE | WS_CLIPSIBLINGS | TCS_FIXEDWIDTH | TCS_FOCUSNEVER, 0, self, kTabId);
  if (!status_ || !tabs_) return false;
  auto history = std::make_unique<HistorySheet>(model_.History(), model_.Rows());
  if (!history->Create(self)) return false;
  auto canned = std::make_unique<CannedSheet>(model_.Canned());
  if (!canned->Create(self)) return false;
  canned->onDrop = [this](int target) {
    model_.DropCanned(target);
    Apply(model_.TakeEffects());
  };
  history_ = std::move(history);
  canned_ = std::move(canned);
  model_.RowsMirrored();
  // The tab control lies below the controls of its pages.
  SetWindowPos(tabs_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = const_cast<wchar_t*>(L"クリップボード(&C)");
  SendMessageW(tabs_, TCM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  item.pszText = const_cast<wchar_t*>(L"定型文(&T)");
  SendMessageW(tabs_, TCM_INSERTITEMW, 1, reinterpret_cast<LPARAM>(&item));
  std::vector<HWND> keyed = history_->KeyedControls();
  for (HWND control : {canned_->List(), canned_->LabelEdit(), canned_->Memo()}) {
    keyed.push_back(control);
  }
  for (HWND control : keyed) {
    if (control) KeyedControl::Attach(control, *this);
  }
  history_->SetFindItems(model_.FindItems());
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
  SetControlFont(status_, baseFont_.get());
  statusSizedFor_.reset();  // its height follows the font
  stylesApplied_.reset();
  SetControlFont(tabs_, baseFont_.get());
  history_->ApplyFonts(baseFont_.get(), listFont_.get(), previewFont_.get());
  WindowDC dc(history_->List());
  SelectedObject font(dc.Get(), listFont_.get());
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc.Get(), &metrics);
  charHeight_ = std::max<int>(1, metrics.tmHeight);
  {
    SelectedObject base(dc.Get(), baseFont_.get());
    sizeTextWidth_ = RowTextWidth(dc.Get(), kWidestSizeText);
  }
  ApplySheetStyles();
  SendMessageW(tabs_, TCM_SETITEMSIZE, 0, MAKELPARAM(Scale(kTabWidth, dpi), Scale(20, dpi)));
  const int parts[] = {Scale(kStatusFirstPanel, dpi), -1};
  SendMessageW(status_, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));
}

void TClipBdList::Layout() {
  if (!tabs_ || layoutHeld_) return;
  const UINT dpi = Dpi();
  RECT client{};
  GetClientRect(Handle(), &client);
  // The status bar places itself at each WM_SIZE, moved or not.
  const SIZE size{Width(client), Height(client)};
  if (!statusSizedFor_ || statusSizedFor_->cx != size.cx || statusSizedFor_->cy != size.cy) {
    SendMessageW(status_, WM_SIZE, 0, 0);
    statusSizedFor_ = size;
  }
  RECT status{};
  GetWindowRect(status_, &status);
  const int bottom = std::max<int>(0, Height(client) - Height(status));
  PlaceControl(tabs_, 0, 0, Width(client), bottom);
  RECT page{0, 0, Width(client), bottom};
  SendMessageW(tabs_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&page));
  const bool history = model_.Page() == ClipPage::kHistory;
  history_->Layout(page, dpi, previewHeight_);
  history_->Show(history);
  canned_->Show(!history);
  canned_->Layout(page, dpi);
}

SIZE TClipBdList::MinimumSize() const {
  const UINT dpi = Dpi();
  if (!tabs_) return SIZE{Scale(kMinWidth, dpi), Scale(kMinHeight, dpi)};
  // The tab control's frame around a page, as it draws it now.
  RECT page{0, 0, 1000, 1000};
  SendMessageW(tabs_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&page));
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
  GetWindowRect(status_, &status);
  const int pages = std::max<int>(Scale(kTopPanelHeight + kMinList, dpi), canned.cy);
  RECT bounds{0, 0, width, frameHeight + pages + Height(status)};
  AdjustWindowRectExForDpi(&bounds, kStyle, FALSE, kExStyle, dpi);
  return SIZE{Width(bounds), Height(bounds)};
}

bool TClipBdList::OverSplitter(POINT client) const {
  return history_ && model_.Page() == ClipPage::kHistory && history_->OverSplitter(client);
}

void TClipBdList::DragSplitter(int clientY) {
  previewHeight_ = history_->PreviewHeightAt(clientY, Dpi());
  Layout();
}
