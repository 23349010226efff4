// The floor of the benchmarks: a minimal program that does what one of Kelvo's windows does at the
// Win32 level, with no logic behind it, opened by the same hotkey, so that a benchmark measures it
// in the same run and by the same method as Kelvo and prints how far Kelvo is above it. Under
// Wine, showing any window with a tab control, a combo box and a list takes about a frame; only
// the difference is Kelvo's own.
//   kelvo_floor.exe window ROWS [F7]     Ctrl+Alt+Shift+F8 (or F7) shows a window with the
//                                        controls of Kelvo's clipboard window and a no-data
//                                        owner-drawn list of ROWS rows; WM_CLOSE hides it;
//                                        its "抽出" button keeps one row in ten and "解除" shows
//                                        all again, each with the status bar's texts, the
//                                        buttons' states and the preview set as Kelvo sets them
//   kelvo_floor.exe menu TOP SUBS ITEMS  Ctrl+Alt+Shift+F11 opens an owner-drawn popup menu of TOP
//                                        items and SUBS submenus of ITEMS items each, filled when
//                                        they open; Esc closes it
//   kelvo_floor.exe combo ROWS           Ctrl+Alt+Shift+F12 shows a small window with a close
//                                        button, a combo box listing ROWS rows and a disabled
//                                        push button showing a 16-pixel bitmap, as the command
//                                        launcher is; the hotkey hides it again
// The shown window is of the class "KelvoFloor"; the hotkey goes to a hidden window of the class
// "KelvoFloorOwner", which also owns the menu and ends the program when it is closed.
#include <windows.h>

#include <commctrl.h>

#include <cwchar>
#include <string>
#include <vector>

namespace {

constexpr int kHotKeyId = 1;
constexpr int kListId = 10;
constexpr int kStatusId = 1;
constexpr int kFindId = 3;
constexpr int kExtractId = 4;
constexpr int kReleaseId = 6;
constexpr int kPreviewId = 7;
constexpr int kRowHeight = 18;

enum class Mode { kWindow, kMenu, kCombo };

struct Floor {
  Mode mode = Mode::kWindow;
  int rows = 0;
  int top = 0;
  int subs = 0;
  int items = 0;
  HWND owner = nullptr;   // hidden, receives the hotkey and the menu's messages
  HWND window = nullptr;  // what the hotkey shows
  HWND list = nullptr;
  HWND combo = nullptr;
  HFONT font = nullptr;
  std::vector<HMENU> unfilled;
} floorState;

std::wstring RowText(int row) {
  return L"行 " + std::to_wstring(row) + L": クリップボードの履歴に入る普通の長さの文章です。";
}

void DrawRow(const DRAWITEMSTRUCT& dis) {
  const bool selected = (dis.itemState & ODS_SELECTED) != 0;
  FillRect(dis.hDC, &dis.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  SetBkMode(dis.hDC, TRANSPARENT);
  SetTextColor(dis.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  const std::wstring text = RowText(static_cast<int>(dis.itemID));
  RECT r = dis.rcItem;
  r.left += 4;
  DrawTextW(dis.hDC, text.c_str(), static_cast<int>(text.size()), &r,
            DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
}

HWND Control(const wchar_t* cls, const wchar_t* text, DWORD style, DWORD exStyle, HWND parent,
             int id, int x, int y, int w, int h) {
  HWND control = CreateWindowExW(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h,
                                 parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 GetModuleHandleW(nullptr), nullptr);
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(floorState.font), FALSE);
  return control;
}

// The controls of the clipboard window: status bar, tabs, search box and its buttons, the list
// and a preview below it.
void MakeClipControls(HWND w) {
  HWND status = Control(STATUSCLASSNAMEW, nullptr, SBARS_SIZEGRIP, 0, w, kStatusId, 0, 0, 0, 0);
  const int parts[] = {120, -1};
  SendMessageW(status, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));
  HWND tabs = Control(WC_TABCONTROLW, nullptr, WS_CLIPSIBLINGS | TCS_FIXEDWIDTH | TCS_FOCUSNEVER, 0,
                      w, 2, 0, 0, 420, 460);
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = const_cast<wchar_t*>(L"クリップボード(&C)");
  SendMessageW(tabs, TCM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  item.pszText = const_cast<wchar_t*>(L"定型文(&T)");
  SendMessageW(tabs, TCM_INSERTITEMW, 1, reinterpret_cast<LPARAM>(&item));
  Control(L"COMBOBOX", nullptr, WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL, 0, w,
          kFindId, 8, 30, 200, 200);
  Control(L"BUTTON", L"抽出", BS_PUSHBUTTON, 0, w, kExtractId, 212, 30, 60, 24);
  Control(L"BUTTON", L"除外", BS_PUSHBUTTON, 0, w, 5, 276, 30, 60, 24);
  Control(L"BUTTON", L"解除", BS_PUSHBUTTON | WS_DISABLED, 0, w, kReleaseId, 340, 30, 60, 24);
  floorState.list = Control(
      L"LISTBOX", nullptr,
      WS_TABSTOP | WS_VSCROLL | LBS_NODATA | LBS_OWNERDRAWFIXED | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
      WS_EX_CLIENTEDGE, w, kListId, 8, 60, 400, 300);
  SendMessageW(floorState.list, LB_SETCOUNT, static_cast<WPARAM>(floorState.rows), 0);
  Control(L"EDIT", nullptr, WS_VSCROLL | ES_MULTILINE | ES_READONLY, WS_EX_CLIENTEDGE, w,
          kPreviewId, 8, 364, 400, 80);
  SetWindowPos(tabs, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void MakeCombo(HWND w) {
  floorState.combo =
      Control(L"COMBOBOX", nullptr, WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL, 0, w,
              3, 2, 2, 240, 300);
  const HWND button = Control(L"BUTTON", nullptr, WS_DISABLED | BS_DEFPUSHBUTTON | BS_BITMAP, 0, w,
                              4, 246, 2, 22, 22);
  const HDC screen = GetDC(button);
  const HBITMAP glyph = CreateCompatibleBitmap(screen, 16, 17);
  ReleaseDC(button, screen);
  SendMessageW(button, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(glyph));
  SendMessageW(floorState.combo, CB_INITSTORAGE, static_cast<WPARAM>(floorState.rows),
               static_cast<LPARAM>(floorState.rows) * 16 * sizeof(wchar_t));
  for (int i = 0; i < floorState.rows; ++i) {
    const std::wstring text = L"kw" + std::to_wstring(i);
    SendMessageW(floorState.combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
}

void ToggleWindow() {
  HWND w = floorState.window;
  if (IsWindowVisible(w)) {
    ShowWindow(w, SW_HIDE);
    return;
  }
  ShowWindow(w, SW_SHOW);
  SetForegroundWindow(w);
  if (floorState.mode == Mode::kWindow) {
    SetFocus(floorState.list);
    SendMessageW(floorState.list, LB_SETCURSEL, 0, 0);
  } else {
    SetFocus(floorState.combo);
  }
}

// "抽出" and "解除" without a search behind them: the rows kept, the first selected, the status
// bar's two texts, the buttons' states and the preview, as Kelvo's window sets them.
void Filter(HWND w, bool extract) {
  wchar_t word[64] = {};
  GetDlgItemTextW(w, kFindId, word, 64);
  const int rows = extract ? floorState.rows / 10 : floorState.rows;
  SendMessageW(floorState.list, LB_SETCOUNT, static_cast<WPARAM>(rows), 0);
  SendMessageW(floorState.list, LB_SETCURSEL, 0, 0);
  InvalidateRect(floorState.list, nullptr, TRUE);
  HWND status = GetDlgItem(w, kStatusId);
  const std::wstring counts = L"  1/" + std::to_wstring(rows);
  SendMessageW(status, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(counts.c_str()));
  SendMessageW(status, SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(L"     130文字/     1行"));
  SetDlgItemTextW(w, kPreviewId, RowText(0).c_str());
  EnableWindow(GetDlgItem(w, kExtractId), TRUE);
  EnableWindow(GetDlgItem(w, kReleaseId), extract);
}

// A level of the popup menu: owner-drawn items, a submenu filled when it first opens.
void AddItems(HMENU menu, int count) {
  for (int i = 0; i < count; ++i) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_DATA;
    info.fType = MFT_OWNERDRAW;
    info.wID = static_cast<UINT>(100 + i);
    info.dwItemData = static_cast<ULONG_PTR>(i);
    InsertMenuItemW(menu, static_cast<UINT>(i), TRUE, &info);
  }
}

void OpenMenu() {
  HMENU root = CreatePopupMenu();
  AddItems(root, floorState.top);
  for (int s = 0; s < floorState.subs; ++s) {
    HMENU sub = CreatePopupMenu();
    floorState.unfilled.push_back(sub);
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_SUBMENU | MIIM_DATA;
    info.fType = MFT_OWNERDRAW;
    info.hSubMenu = sub;
    info.dwItemData = static_cast<ULONG_PTR>(s);
    InsertMenuItemW(root, static_cast<UINT>(floorState.top + s), TRUE, &info);
  }
  SetForegroundWindow(floorState.owner);
  TrackPopupMenuEx(root, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD, 60, 60, floorState.owner,
                   nullptr);
  PostMessageW(floorState.owner, WM_NULL, 0, 0);
  floorState.unfilled.clear();
  DestroyMenu(root);
}

void MeasureMenuItem(MEASUREITEMSTRUCT& mis) {
  HDC dc = GetDC(floorState.owner);
  HGDIOBJ old = SelectObject(dc, floorState.font);
  const std::wstring text = L"&Item " + std::to_wstring(mis.itemData) + L" 2026/12/10";
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(floorState.owner, dc);
  mis.itemWidth = static_cast<UINT>(size.cx + 12);
  mis.itemHeight = static_cast<UINT>(size.cy);
}

void DrawMenuItem(const DRAWITEMSTRUCT& dis) {
  const bool selected = (dis.itemState & ODS_SELECTED) != 0;
  FillRect(dis.hDC, &dis.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
  SetBkMode(dis.hDC, TRANSPARENT);
  HGDIOBJ old = SelectObject(dis.hDC, floorState.font);
  const std::wstring text = L"Item " + std::to_wstring(dis.itemData) + L" 2026/12/10";
  TextOutW(dis.hDC, dis.rcItem.left + 8, dis.rcItem.top, text.c_str(),
           static_cast<int>(text.size()));
  SelectObject(dis.hDC, old);
}

LRESULT CALLBACK OwnerProcedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_HOTKEY:
      if (floorState.mode == Mode::kMenu) {
        OpenMenu();
      } else {
        ToggleWindow();
      }
      return 0;
    case WM_INITMENUPOPUP: {
      HMENU menu = reinterpret_cast<HMENU>(wp);
      for (auto it = floorState.unfilled.begin(); it != floorState.unfilled.end(); ++it) {
        if (*it != menu) continue;
        AddItems(menu, floorState.items);
        floorState.unfilled.erase(it);
        break;
      }
      return 0;
    }
    case WM_MEASUREITEM:
      MeasureMenuItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lp));
      return TRUE;
    case WM_DRAWITEM:
      DrawMenuItem(*reinterpret_cast<DRAWITEMSTRUCT*>(lp));
      return TRUE;
    case WM_CLOSE:
      DestroyWindow(hwnd);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

LRESULT CALLBACK WindowProcedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_MEASUREITEM:
      reinterpret_cast<MEASUREITEMSTRUCT*>(lp)->itemHeight = kRowHeight;
      return TRUE;
    case WM_DRAWITEM:
      DrawRow(*reinterpret_cast<DRAWITEMSTRUCT*>(lp));
      return TRUE;
    case WM_COMMAND:
      if (floorState.mode == Mode::kWindow &&
          (LOWORD(wp) == kExtractId || LOWORD(wp) == kReleaseId)) {
        Filter(hwnd, LOWORD(wp) == kExtractId);
        return 0;
      }
      break;
    case WM_CLOSE:
      // The clipboard window hides; the other floors end with it.
      if (floorState.mode == Mode::kWindow) {
        ShowWindow(hwnd, SW_HIDE);
      } else {
        DestroyWindow(floorState.owner);
      }
      return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

HWND MakeWindow(const wchar_t* cls, WNDPROC procedure, DWORD style, DWORD exStyle, int w, int h) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = procedure;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = cls;
  RegisterClassW(&wc);
  return CreateWindowExW(exStyle, cls, L"Kelvo floor", style, 100, 100, w, h, nullptr, nullptr,
                         wc.hInstance, nullptr);
}

int Argument(int argc, wchar_t** argv, int i) { return i < argc ? _wtoi(argv[i]) : 0; }

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring mode = argc > 1 ? argv[1] : L"window";
  floorState.mode = mode == L"menu" ? Mode::kMenu : mode == L"combo" ? Mode::kCombo : Mode::kWindow;
  floorState.rows = Argument(argc, argv, 2);
  floorState.top = Argument(argc, argv, 2);
  floorState.subs = Argument(argc, argv, 3);
  floorState.items = Argument(argc, argv, 4);
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_TAB_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
  floorState.font = CreateFontIndirectW(&metrics.lfMessageFont);

  floorState.owner =
      MakeWindow(L"KelvoFloorOwner", OwnerProcedure, WS_POPUP, WS_EX_TOOLWINDOW, 0, 0);
  UINT key = argc > 3 && std::wstring(argv[3]) == L"F7" ? VK_F7 : VK_F8;
  if (floorState.mode == Mode::kWindow) {
    floorState.window = MakeWindow(L"KelvoFloor", WindowProcedure, WS_OVERLAPPEDWINDOW,
                                   WS_EX_TOPMOST | WS_EX_TOOLWINDOW, 440, 520);
    MakeClipControls(floorState.window);
  } else if (floorState.mode == Mode::kCombo) {
    key = VK_F12;
    floorState.window = MakeWindow(L"KelvoFloor", WindowProcedure,
                                   WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,
                                   WS_EX_TOPMOST | WS_EX_TOOLWINDOW, 280, 60);
    MakeCombo(floorState.window);
  } else {
    key = VK_F11;
  }
  if (!RegisterHotKey(floorState.owner, kHotKeyId, MOD_CONTROL | MOD_ALT | MOD_SHIFT, key))
    return 2;
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  UnregisterHotKey(floorState.owner, kHotKeyId);
  DeleteObject(floorState.font);
  return 0;
}
