#pragma once
#include <cstdint>

#include "platform/types.h"

// A window remembered for a later paste (the foreground when a hotkey was pressed or a Kelvo
// window was shown): the window, its thread and its focused control (0 for none).
struct SavedTarget {
  WindowHandle SavedFgWnd = 0;
  std::uint32_t SavedFgThread = 0;
  WindowHandle SavedFocusWnd = 0;
};
