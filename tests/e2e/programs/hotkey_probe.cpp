// Benchmark baseline: registers Ctrl+Alt+Shift+F12 and, when it arrives, brings the first window
// of class "KelvoBenchTarget" to the front: the least a program can do with a hotkey.
#include <windows.h>

static LRESULT CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_HOTKEY) {
    SetForegroundWindow(FindWindowW(L"KelvoBenchTarget", nullptr));
    return 0;
  }
  if (msg == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = Procedure;
  wc.hInstance = instance;
  wc.lpszClassName = L"KelvoHotKeyProbe";
  RegisterClassW(&wc);
  HWND hwnd = CreateWindowExW(0, wc.lpszClassName, L"probe", WS_POPUP, 0, 0, 10, 10, nullptr,
                              nullptr, instance, nullptr);
  if (!RegisterHotKey(hwnd, 1, MOD_CONTROL | MOD_ALT | MOD_SHIFT, VK_F12)) return 1;
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  UnregisterHotKey(hwnd, 1);
  return 0;
}
