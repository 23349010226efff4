#include "drive/window_reading.h"

std::wstring WindowTextOf(HWND window) {
  wchar_t text[2048] = {};
  SendMessageTimeoutW(window, WM_GETTEXT, 2048, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                      5000, nullptr);
  return text;
}

int VisibleMenus() {
  int count = 0;
  for (HWND menu = nullptr; (menu = FindWindowExW(nullptr, menu, L"#32768", nullptr));) {
    if (IsWindowVisible(menu)) ++count;
  }
  return count;
}
