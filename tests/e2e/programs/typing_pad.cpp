// Test helper: a program with one window (class "KelvoTypingPad", title "Kelvo typing pad") whose
// edit control takes the focus whenever the window is activated. Every change of its text is
// written, UTF-8 encoded, to typed.txt next to the program, so that a test can read what keys
// reached it after the program ended or while it runs.
#include <windows.h>

#include <string>

#include "replace_file.h"

namespace {

constexpr int kEditId = 1;
HWND edit = nullptr;

std::wstring TypedFile() {
  wchar_t buffer[32768];
  const DWORD length = GetModuleFileNameW(nullptr, buffer, 32768);
  std::wstring path(buffer, length);
  const std::size_t slash = path.find_last_of(L"\\/");
  path.resize(slash == std::wstring::npos ? 0 : slash + 1);
  return path + L"typed.txt";
}

// Written beside the file and renamed over it, so that a reader never sees half of it.
void WriteTyped() {
  wchar_t text[4096] = {};
  const int length = GetWindowTextW(edit, text, 4096);
  char bytes[4096 * 3] = {};
  const int size =
      WideCharToMultiByte(CP_UTF8, 0, text, length, bytes, sizeof bytes, nullptr, nullptr);
  const std::wstring file = TypedFile();
  const std::wstring partial = file + L".part";
  HANDLE out = CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  if (out == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(out, bytes, static_cast<DWORD>(size), &written, nullptr);
  CloseHandle(out);
  ReplaceWithPartial(partial, file);
}

LRESULT CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SETFOCUS:
      if (edit) SetFocus(edit);
      return 0;
    case WM_COMMAND:
      if (LOWORD(wp) == kEditId && HIWORD(wp) == EN_CHANGE) WriteTyped();
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = Procedure;
  wc.hInstance = instance;
  wc.lpszClassName = L"KelvoTypingPad";
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  RegisterClassW(&wc);
  HWND window = CreateWindowExW(0, wc.lpszClassName, L"Kelvo typing pad", WS_OVERLAPPEDWINDOW, 200,
                                200, 300, 150, nullptr, nullptr, instance, nullptr);
  edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_MULTILINE, 0, 0, 280, 100,
                         window, reinterpret_cast<HMENU>(kEditId), instance, nullptr);
  ShowWindow(window, show);
  SetFocus(edit);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}
