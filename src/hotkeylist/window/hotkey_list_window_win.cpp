#include "hotkeylist/window/hotkey_list_window_win.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <exception>

#include "hotkeylist/model/hotkey_summary.h"
#include "settings/settings_schema.h"
#include "ui/controls_win.h"
#include "ui/dpi_win.h"
#include "ui/font_win.h"
#include "ui/owned_gdi_objects_win.h"
#include "ui/row_text_win.h"
#include "ui/subclass_win.h"
#include "win32/wide_win.h"

namespace {

// The window's texts.
constexpr wchar_t kCaption[] = L"ホットキー一覧";
constexpr wchar_t kCloseCaption[] = L"閉じる";

// Where the window's place is kept in the settings file.
constexpr char16_t kSection[] = u"HotKeyList";
constexpr char16_t kLeftKey[] = u"WinLeft";
constexpr char16_t kTopKey[] = u"WinTop";
constexpr char16_t kWidthKey[] = u"WinWidth";
constexpr char16_t kHeightKey[] = u"WinHeight";

// The layout as designed at 96 dpi.
constexpr int kDesignClientWidth = 484;
constexpr int kDesignClientHeight = 361;
constexpr int kDefaultWidth = DefaultInteger(u"HotKeyList", u"WinWidth");
constexpr int kDefaultHeight = DefaultInteger(u"HotKeyList", u"WinHeight");
constexpr int kListOverhangRight = 8;  // the list's right edge lies beyond the client area
constexpr int kListGapBottom = 38;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
constexpr int kButtonGapRight = 25;
constexpr int kButtonGapBottom = 7;
constexpr int kButtonGapLeft = 8;
constexpr int kMinRows = 3;

enum class ControlId : int { kList = 1, kClose = 2 };

constexpr DWORD kWindowStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN;
constexpr DWORD kWindowExStyle = 0;

std::u16string ListItemText(HWND list, int index) {
  const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length == LB_ERR || length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const LRESULT copied = SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(index),
                                      reinterpret_cast<LPARAM>(text.data()));
  if (copied == LB_ERR || copied < 0) return {};
  return U16(text.data(), static_cast<std::size_t>(copied));
}

}  // namespace

THotKeyHelp::THotKeyHelp(MainModel& model, const Locale& locale) : model_(model), locale_(locale) {}

THotKeyHelp::~THotKeyHelp() {
  // The controls must be gone before the font they use is deleted.
  if (Handle()) DestroyWindow(Handle());
}

bool THotKeyHelp::Create() {
  if (!RegisterClassOnce(kClassName)) return false;
  if (!CreateHandle(kClassName, kCaption, kWindowStyle, kWindowExStyle, CW_USEDEFAULT,
                    CW_USEDEFAULT, kDefaultWidth, kDefaultHeight, nullptr)) {
    return false;
  }
  dpi_ = Dpi();
  // The designed client area, whatever the frame measures at this DPI.
  RECT bounds{0, 0, Scale(kDesignClientWidth), Scale(kDesignClientHeight)};
  AdjustWindowRectExForDpi(&bounds, kWindowStyle, FALSE, kWindowExStyle, dpi_);
  SetWindowPos(Handle(), nullptr, 0, 0, Width(bounds), Height(bounds),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (!CreateControls()) return false;
  ApplyDpi();
  Layout();
  return true;
}

bool THotKeyHelp::CreateControls() {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  // Not LBS_SORT: that would order by the system's rules; the rows come sorted in the user's
  // locale order instead.
  list_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", nullptr,
                          WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | LBS_OWNERDRAWFIXED |
                              LBS_HASSTRINGS | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                          0, 0, 0, 0, Handle(),
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlId::kList)), instance,
                          nullptr);
  closeButton_ = CreateWindowExW(
      0, L"BUTTON", kCloseCaption, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 0, 0,
      0, Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlId::kClose)), instance,
      nullptr);
  if (!list_ || !closeButton_) return false;
  // Kelvo's message loop has no dialog manager, so the controls handle Enter, Esc and Tab.
  KeyedControl::Attach(list_, *this);
  KeyedControl::Attach(closeButton_, *this);
  return true;
}

int THotKeyHelp::Scale(int designPixels) const { return ::Scale(designPixels, dpi_); }

void THotKeyHelp::ApplyDpi() {
  const LOGFONTW logFont = MessageLogFont(dpi_);
  FontHandle font = owned::CreateFontIndirectW(&logFont);
  if (!font) return;
  fontHeight_ = std::abs(logFont.lfHeight);
  SendMessageW(list_, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
  SendMessageW(closeButton_, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
  font_ = std::move(font);  // the old font goes only after no control uses it
  SetRowHeight();
  MeasureWidest();
  InvalidateRect(list_, nullptr, TRUE);
}

void THotKeyHelp::SetRowHeight() {
  const int height = std::max(1, fontHeight_ * 3 / 2);
  SendMessageW(list_, LB_SETITEMHEIGHT, 0, height);
}

void THotKeyHelp::MeasureWidest() {
  widestDisplayText_ = 0;
  WindowDC dc(list_);
  if (!dc.Get()) return;
  SelectedObject font(dc.Get(), font_.get());
  for (const std::u16string& row : rows_) {
    widestDisplayText_ =
        std::max(widestDisplayText_, RowTextWidth(dc.Get(), LayoutHotKeyRow(row, 0).left));
  }
}

void THotKeyHelp::FillList() {
  std::vector<std::u16string> rows = HotKeyListRows(model_.HKeyList, model_.KeyNames(), locale_);
  if (rows == rows_ && ListBox(list_).Count() == static_cast<int>(rows_.size())) {
    // The same rows stay in the list (filling it again costs a frame under Wine); it opens as a
    // filled list does: at the top, nothing selected, the caret on the first row.
    StartAtTheTop();
    return;
  }
  rows_ = std::move(rows);
  SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
  SendMessageW(list_, LB_RESETCONTENT, 0, 0);
  SetRowHeight();
  MeasureWidest();
  // The row text is the item's string, so that it can be read back like any list's.
  for (const std::u16string& row : rows_) {
    SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(W(row)));
  }
  SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list_, nullptr, TRUE);
}

void THotKeyHelp::StartAtTheTop() {
  if (SendMessageW(list_, LB_GETCURSEL, 0, 0) != LB_ERR) SendMessageW(list_, LB_SETCURSEL, -1, 0);
  if (SendMessageW(list_, LB_GETCARETINDEX, 0, 0) != 0) SendMessageW(list_, LB_SETCARETINDEX, 0, 0);
  if (SendMessageW(list_, LB_GETTOPINDEX, 0, 0) != 0) SendMessageW(list_, LB_SETTOPINDEX, 0, 0);
}

void THotKeyHelp::PlaceFromSettings() {
  RECT current{};
  GetWindowRect(Handle(), &current);
  // The defaults centre the window for the size it has now, before the stored size applies.
  const int centredLeft = (GetSystemMetrics(SM_CXSCREEN) - Width(current)) / 2;
  const int centredTop = (GetSystemMetrics(SM_CYSCREEN) - Height(current)) / 2;
  const UsrIniFile* ini = model_.IniFile.get();
  // A size stored at another DPI, or by hand, never cuts a control.
  const SIZE least = MinimumSize();
  const int width = std::max<int>(
      ini ? ini->ReadInteger(kSection, kWidthKey, Scale(kDefaultWidth)) : Width(current), least.cx);
  const int height = std::max<int>(
      ini ? ini->ReadInteger(kSection, kHeightKey, Scale(kDefaultHeight)) : Height(current),
      least.cy);
  const int top = ini ? ini->ReadInteger(kSection, kTopKey, centredTop) : centredTop;
  const int left = ini ? ini->ReadInteger(kSection, kLeftKey, centredLeft) : centredLeft;
  // The stored bounds are pixels as they were; a move onto a monitor of another DPI must not
  // rescale them.
  placing_ = true;
  PlaceWindow(Handle(), RECT{left, top, left + width, top + height});
  placing_ = false;
}

void THotKeyHelp::ShowList() {
  if (!Handle()) return;
  FillList();  // first: the place needs the width of the widest row
  PlaceFromSettings();
  ShowUnclipped(Handle(), SW_SHOW);
  SetFocus(list_);
}

void THotKeyHelp::HideWithoutSaving() {
  if (Handle()) ShowWindow(Handle(), SW_HIDE);
}

bool THotKeyHelp::Visible() const { return Handle() && IsWindowVisible(Handle()); }

void THotKeyHelp::HideAndStorePlace() {
  RECT bounds{};
  if (model_.IniFile && GetWindowRect(Handle(), &bounds)) {
    UsrIniFile& ini = *model_.IniFile;
    ini.WriteInteger(kSection, kLeftKey, bounds.left);
    ini.WriteInteger(kSection, kTopKey, bounds.top);
    ini.WriteInteger(kSection, kWidthKey, Width(bounds));
    ini.WriteInteger(kSection, kHeightKey, Height(bounds));
    ini.UpdateFile();  // a failed write is not the user's concern here; a later one retries
  }
  ShowWindow(Handle(), SW_HIDE);
}

void THotKeyHelp::Layout() {
  RECT client{};
  GetClientRect(Handle(), &client);
  const int width = Width(client);
  const int height = Height(client);
  PlaceControl(list_, 0, 0, width + Scale(kListOverhangRight),
               std::max(0, height - Scale(kListGapBottom)));
  PlaceControl(closeButton_, width - Scale(kButtonGapRight) - Scale(kButtonWidth),
               height - Scale(kButtonGapBottom) - Scale(kButtonHeight), Scale(kButtonWidth),
               Scale(kButtonHeight));
  // The size grip follows the corner.
  InvalidateRect(Handle(), nullptr, TRUE);
}

SIZE THotKeyHelp::MinimumSize() const {
  const int rowHeight = std::max(1, fontHeight_ * 3 / 2);
  const int edges = 2 * GetSystemMetricsForDpi(SM_CXEDGE, dpi_);
  // The list reaches beyond the client's right edge by the overhang.
  const int firstColumn = kHotKeyRowTextLeft + widestDisplayText_ + kHotKeySummaryGap +
                          GetSystemMetricsForDpi(SM_CXVSCROLL, dpi_) + edges -
                          Scale(kListOverhangRight);
  const int button = Scale(kButtonGapLeft + kButtonWidth + kButtonGapRight);
  RECT bounds{0, 0, std::max(firstColumn, button),
              Scale(kListGapBottom) + kMinRows * rowHeight + edges};
  AdjustWindowRectExForDpi(&bounds, kWindowStyle, FALSE, kWindowExStyle, dpi_);
  return SIZE{Width(bounds), Height(bounds)};
}

RECT THotKeyHelp::SizeGripRect() const {
  RECT client{};
  GetClientRect(Handle(), &client);
  return RECT{client.right - GetSystemMetricsForDpi(SM_CXHSCROLL, dpi_),
              client.bottom - GetSystemMetricsForDpi(SM_CYVSCROLL, dpi_), client.right,
              client.bottom};
}

void THotKeyHelp::Paint() {
  PaintDC paint(Handle());
  if (!paint.Get()) return;
  RECT client{};
  GetClientRect(Handle(), &client);
  RECT grip = SizeGripRect();
  // Drawn off screen and copied in one go, so that resizing does not flicker.
  const MemoryDC buffer = owned::CreateCompatibleDC(paint.Get());
  const BitmapHandle bitmap =
      buffer ? owned::CreateCompatibleBitmap(paint.Get(), Width(client), Height(client))
             : BitmapHandle();
  if (!bitmap) {
    FillRect(paint.Get(), &client, GetSysColorBrush(COLOR_BTNFACE));
    DrawFrameControl(paint.Get(), &grip, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
    return;
  }
  SelectedObject selected(buffer.get(), bitmap.get());
  FillRect(buffer.get(), &client, GetSysColorBrush(COLOR_BTNFACE));
  DrawFrameControl(buffer.get(), &grip, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
  BitBlt(paint.Get(), 0, 0, Width(client), Height(client), buffer.get(), 0, 0, SRCCOPY);
}

void THotKeyHelp::HKeyListBoxDrawItem(const DRAWITEMSTRUCT& item) {
  const HDC dc = item.hDC;
  // Selected or not, every row looks the same; only the focus rectangle marks the current one.
  FillRect(dc, &item.rcItem, GetSysColorBrush(COLOR_WINDOW));
  if (item.itemID != static_cast<UINT>(-1)) {
    const HotKeyRowLayout row = LayoutHotKeyRow(
        ListItemText(item.hwndItem, static_cast<int>(item.itemID)), widestDisplayText_);
    SelectedObject font(dc, font_.get());
    SavedTextColors colors(dc, GetSysColor(COLOR_WINDOWTEXT), GetSysColor(COLOR_WINDOW));
    const int top = item.rcItem.top + kHotKeyRowTextTop;
    DrawRowText(dc, item.rcItem.left + kHotKeyRowTextLeft, top, row.left);
    DrawRowText(dc, item.rcItem.left + row.rightX, top, row.right,
                item.rcItem.right - item.rcItem.left - row.rightX);
  }
  if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &item.rcItem);
}

LRESULT THotKeyHelp::OnDpiChanged(UINT dpi, const RECT& suggested) {
  dpi_ = dpi == 0 ? USER_DEFAULT_SCREEN_DPI : dpi;
  ApplyDpi();
  if (!placing_) {
    SetWindowPos(Handle(), nullptr, suggested.left, suggested.top, Width(suggested),
                 Height(suggested), SWP_NOZORDER | SWP_NOACTIVATE);
  }
  Layout();
  return 0;
}

void THotKeyHelp::OnActivate(bool active) {
  if (!active) {
    const HWND focus = GetFocus();
    if (focus && IsChild(Handle(), focus)) lastFocus_ = focus;
    return;
  }
  SetFocus(lastFocus_ && IsWindow(lastFocus_) ? lastFocus_ : list_);
}

LRESULT THotKeyHelp::OnNcHitTest(LPARAM lp) {
  const LRESULT hit = Default(WM_NCHITTEST, 0, lp);
  if (hit != HTCLIENT) return hit;
  POINT point{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
  ScreenToClient(Handle(), &point);
  const RECT grip = SizeGripRect();
  // The grip sizes the window like the frame's corner does.
  return PtInRect(&grip, point) ? HTBOTTOMRIGHT : hit;
}

LRESULT THotKeyHelp::ControlMessage(HWND control, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_KEYDOWN:
      // The close button is the default and the cancel button alike.
      if (wp == VK_RETURN || wp == VK_ESCAPE) {
        HideAndStorePlace();
        return 0;
      }
      if (wp == VK_TAB) {
        SetFocus(control == list_ ? closeButton_ : list_);
        return 0;
      }
      break;
    case WM_CHAR:
      // Their characters would only beep.
      if (wp == L'\r' || wp == 0x1B || wp == L'\t') return 0;
      break;
  }
  return DefSubclass(control, msg, wp, lp);
}

LRESULT THotKeyHelp::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CLOSE:
      HideAndStorePlace();  // hidden, never destroyed by the user
      return 0;
    case WM_COMMAND:
      if (LOWORD(wp) == static_cast<WORD>(ControlId::kClose) && HIWORD(wp) == BN_CLICKED) {
        HideAndStorePlace();
        return 0;
      }
      break;
    case WM_KEYDOWN:
      if (wp == VK_RETURN || wp == VK_ESCAPE) {
        HideAndStorePlace();
        return 0;
      }
      break;
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
      if (item && item->hwndItem == list_) {
        HKeyListBoxDrawItem(*item);
        return TRUE;
      }
      break;
    }
    case WM_MEASUREITEM: {
      auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
      if (item && item->CtlType == ODT_LISTBOX) {
        item->itemHeight = static_cast<UINT>(std::max(1, fontHeight_ * 3 / 2));
        return TRUE;
      }
      break;
    }
    case WM_SIZE:
      if (list_) Layout();
      return 0;
    case WM_ERASEBKGND:
      return 1;  // WM_PAINT fills everything
    case WM_PAINT:
      Paint();
      return 0;
    case WM_NCHITTEST:
      return OnNcHitTest(lp);
    case WM_ACTIVATE:
      OnActivate(LOWORD(wp) != WA_INACTIVE);
      return 0;
    case WM_DPICHANGED:
      return OnDpiChanged(HIWORD(wp), *reinterpret_cast<const RECT*>(lp));
    case WM_GETMINMAXINFO:
      if (list_) {
        const SIZE least = MinimumSize();
        reinterpret_cast<MINMAXINFO*>(lp)->ptMinTrackSize = POINT{least.cx, least.cy};
        return 0;
      }
      break;
  }
  return Default(msg, wp, lp);
}
