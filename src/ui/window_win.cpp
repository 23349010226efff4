#include "ui/window_win.h"

#include <algorithm>
#include <exception>

#include "../res/resource_ids.h"
#include "win32/owned_icons_win.h"
#include "win32/wide_win.h"

HICON KelvoIcon() { return SharedIcon(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_KELVO)); }

void EnableIfChanged(HWND control, bool enabled) {
  if ((IsWindowEnabled(control) != FALSE) != enabled) EnableWindow(control, enabled);
}

void PlaceWindow(HWND window, const RECT& bounds) {
  RECT now{};
  if (GetWindowRect(window, &now) && EqualRect(&now, &bounds)) return;
  SetWindowPos(window, nullptr, bounds.left, bounds.top, bounds.right - bounds.left,
               bounds.bottom - bounds.top, SWP_NOACTIVATE | SWP_NOZORDER);
}

void ShowUnclipped(HWND window, int how) {
  const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
  if (!(style & WS_CLIPCHILDREN)) {
    ShowWindow(window, how);
    return;
  }
  SetWindowLongPtrW(window, GWL_STYLE, style & ~WS_CLIPCHILDREN);
  ShowWindow(window, how);
  // Read again: the show added WS_VISIBLE.
  SetWindowLongPtrW(window, GWL_STYLE, GetWindowLongPtrW(window, GWL_STYLE) | WS_CLIPCHILDREN);
}

std::u16string WindowText(HWND hwnd) {
  const int length = GetWindowTextLengthW(hwnd);
  if (length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(hwnd, text.data(), length + 1);
  return U16(text.data(), static_cast<std::size_t>(std::max(0, copied)));
}

Window::~Window() {
  if (hwnd_) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

bool Window::RegisterClassOnce(const wchar_t* className) {
  WNDCLASSEXW existing{sizeof(existing)};
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  if (GetClassInfoExW(instance, className, &existing)) return true;
  WNDCLASSEXW wc{sizeof(wc)};
  wc.lpfnWndProc = &Window::Procedure;
  wc.hInstance = instance;
  wc.hIcon = KelvoIcon();
  // Given, not left to the system: it would scale a copy from the resource at every
  // registration, which under Wine cost ~2 ms of each window's first making.
  wc.hIconSm = SharedIcon(instance, MAKEINTRESOURCEW(IDI_KELVO), true);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = className;
  return RegisterClassExW(&wc) != 0;
}

HWND Window::CreateHandle(const wchar_t* className, const wchar_t* title, DWORD style,
                          DWORD exStyle, int x, int y, int width, int height, HWND parent) {
  return CreateWindowExW(exStyle, className, title, style, x, y, width, height, parent, nullptr,
                         GetModuleHandleW(nullptr), this);
}

LRESULT CALLBACK Window::Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
  Window* self = nullptr;
  if (msg == WM_NCCREATE) {
    self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
  LRESULT result = 0;
  try {
    result = self->HandleMessage(msg, wp, lp);
  } catch (const std::exception& e) {
    // No exception may cross into the system's code: show it the way the framework would.
    MessageBoxA(hwnd, e.what(), "Kelvo", MB_OK | MB_ICONERROR);
  } catch (...) {
    MessageBoxA(hwnd, "Unexpected error", "Kelvo", MB_OK | MB_ICONERROR);
  }
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
  }
  return result;
}
