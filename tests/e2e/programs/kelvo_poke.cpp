// Drives a running Kelvo from scripts (the screenshot command):
//   kelvo_poke wait                 waits until Kelvo's main window is there and idle
//   kelvo_poke hotkey MODS VK       presses a combination (MOD_ flags, virtual key, decimal)
//   kelvo_poke menu                 opens the main menu (as a right click on the about box does)
//   kelvo_poke tray                 right-clicks the tray icon, which opens the main menu there
//   kelvo_poke bounds [tray]        prints WxH+X+Y around Kelvo's visible windows and menus (and
//                                   the notification area), for cropping a screenshot
//   kelvo_poke close                ends Kelvo
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

HWND MainWindow() { return FindWindowW(L"TKelvoMainForm", nullptr); }

int Wait() {
  for (int i = 0; i < 1000 && !MainWindow(); ++i) Sleep(10);
  HWND main = MainWindow();
  if (!main) return 1;
  DWORD pid = 0;
  GetWindowThreadProcessId(main, &pid);
  HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, pid);
  WaitForInputIdle(process, 10000);
  CloseHandle(process);
  Sleep(300);
  return 0;
}

void Key(std::vector<INPUT>& inputs, WORD vk, bool up) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  inputs.push_back(in);
}

// The notification area: Wine's own tray window, or the taskbar on Windows.
HWND TrayWindow() {
  if (HWND wine = FindWindowW(nullptr, L"Wine System Tray"); wine && IsWindowVisible(wine)) {
    return wine;
  }
  return FindWindowW(L"Shell_TrayWnd", nullptr);
}

// A right click on the tray icon. The menu opens at the cursor, which goes just below the
// notification area so that the icon stays in sight.
int RightClickTray() {
  RECT tray{};
  if (HWND window = TrayWindow(); window && GetWindowRect(window, &tray)) {
    SetCursorPos(tray.left + 16, tray.bottom + 2);
  }
  constexpr UINT kTrayMessage = WM_APP + 1;
  return PostMessageW(MainWindow(), kTrayMessage, 0, WM_RBUTTONUP) ? 0 : 1;
}

int PrintBounds(bool withTray) {
  DWORD pid = 0;
  GetWindowThreadProcessId(MainWindow(), &pid);
  struct Search {
    DWORD pid;
    RECT bounds;
  } search{pid, {}};
  EnumWindows(
      [](HWND hwnd, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        DWORD owner = 0;
        GetWindowThreadProcessId(hwnd, &owner);
        RECT r{};
        if (owner == s->pid && IsWindowVisible(hwnd) && GetWindowRect(hwnd, &r)) {
          UnionRect(&s->bounds, &s->bounds, &r);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  RECT tray{};
  if (withTray && TrayWindow() && GetWindowRect(TrayWindow(), &tray)) {
    UnionRect(&search.bounds, &search.bounds, &tray);
  }
  if (IsRectEmpty(&search.bounds)) return 1;
  constexpr int kMargin = 6;
  InflateRect(&search.bounds, kMargin, kMargin);
  const RECT& b = search.bounds;
  wprintf(L"%ldx%ld+%ld+%ld\n", b.right - b.left, b.bottom - b.top, b.left < 0 ? 0 : b.left,
          b.top < 0 ? 0 : b.top);
  return 0;
}

int Press(UINT mods, WORD vk) {
  std::vector<INPUT> inputs;
  const std::pair<UINT, WORD> keys[] = {
      {MOD_CONTROL, VK_CONTROL}, {MOD_ALT, VK_MENU}, {MOD_SHIFT, VK_SHIFT}, {MOD_WIN, VK_LWIN}};
  for (const auto& [flag, key] : keys)
    if (mods & flag) Key(inputs, key, false);
  Key(inputs, vk, false);
  Key(inputs, vk, true);
  for (const auto& [flag, key] : keys)
    if (mods & flag) Key(inputs, key, true);
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring command = argc > 1 ? argv[1] : L"";
  if (command == L"wait") return Wait();
  if (command == L"hotkey" && argc > 3) {
    return Press(static_cast<UINT>(_wtoi(argv[2])), static_cast<WORD>(_wtoi(argv[3])));
  }
  if (command == L"menu") {
    SetCursorPos(400, 300);
    return PostMessageW(MainWindow(), WM_CONTEXTMENU, 0, MAKELPARAM(400, 300)) ? 0 : 1;
  }
  if (command == L"tray") return RightClickTray();
  if (command == L"bounds") return PrintBounds(argc > 2 && std::wstring(argv[2]) == L"tray");
  if (command == L"close") return PostMessageW(MainWindow(), WM_CLOSE, 0, 0) ? 0 : 1;
  return 2;
}
