#pragma once
#include <windows.h>

#include <cstdint>

#include "settings/settings_colour.h"

// A settings colour as GDI takes it: a system colour is looked up now, so call it while
// painting rather than keeping the result.
inline COLORREF ResolveColour(std::uint32_t settingsColour) {
  if (const std::optional<int> index = SystemColourIndex(settingsColour)) {
    return GetSysColor(*index);
  }
  return static_cast<COLORREF>(PlainColour(settingsColour));
}
