#pragma once
#include <windows.h>

#include <string>

// Reading what another process's windows show.

// The window's text, sent for (GetWindowText reads no control of another process); empty when
// its thread does not answer within 5 s.
std::wstring WindowTextOf(HWND window);

// The popup menus shown now, of any process. A submenu closed a moment ago may be left as a
// hidden menu window before the one still shown.
int VisibleMenus();
