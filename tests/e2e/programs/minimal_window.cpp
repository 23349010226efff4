// The smallest resident Win32 program: one hidden window and a message loop. Benchmarks compare
// Kelvo's start-up with it; with the argument "tray" it also shows a notification-area icon (the
// memory benchmark compares Kelvo with that).
#include <windows.h>

#include <shellapi.h>
#include <wchar.h>

static LRESULT CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

// The shell is loaded only for the icon, so that the plain variant starts as fast as it can.
static void AddTrayIcon(HWND hwnd) {
  using Notify = BOOL(WINAPI*)(DWORD, PNOTIFYICONDATAW);
  const HMODULE shell = LoadLibraryExW(L"shell32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  const auto notify = shell ? reinterpret_cast<Notify>(reinterpret_cast<void*>(
                                  GetProcAddress(shell, "Shell_NotifyIconW")))
                            : nullptr;
  if (!notify) return;
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof(data);
  data.hWnd = hwnd;
  data.uID = 1;
  data.uFlags = NIF_ICON | NIF_TIP;
  data.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
  wcscpy(data.szTip, L"minimal");
  notify(NIM_ADD, &data);
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = Procedure;
  wc.hInstance = instance;
  wc.lpszClassName = L"KelvoBenchMinimal";
  RegisterClassW(&wc);
  HWND hwnd = CreateWindowExW(0, wc.lpszClassName, L"minimal", WS_POPUP, 0, 0, 10, 10, nullptr,
                              nullptr, instance, nullptr);
  if (commandLine && wcscmp(commandLine, L"tray") == 0) AddTrayIcon(hwnd);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  return 0;
}
