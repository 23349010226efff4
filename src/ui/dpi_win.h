#pragma once
#include <windows.h>

// Kelvo's windows are designed at 96 dots per inch and drawn at the DPI of the monitor they are
// on (the manifest declares per-monitor awareness, version 2).

// A length designed at 96 dots per inch, at the given resolution.
inline int Scale(int designPixels, UINT dpi) {
  return MulDiv(designPixels, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI);
}

// The DPI a window is drawn at; 96 when the system cannot tell (no window yet).
inline UINT WindowDpi(HWND window) {
  const UINT dpi = window ? GetDpiForWindow(window) : 0;
  return dpi != 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
}
