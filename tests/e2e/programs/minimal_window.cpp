// The smallest resident Win32 program: one hidden window and a message loop. Benchmarks compare
// Kelvo's start-up with it.
#include <windows.h>

static LRESULT CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
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
  wc.lpszClassName = L"KelvoBenchMinimal";
  RegisterClassW(&wc);
  CreateWindowExW(0, wc.lpszClassName, L"minimal", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                  instance, nullptr);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  return 0;
}
