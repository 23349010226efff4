#pragma once
#include <cstdint>
#include <optional>

// A colour of the settings file is either a plain colour 0x00BBGGRR or 0xFF0000nn, the system
// colour number nn (COLOR_WINDOW, COLOR_BTNFACE…). A system colour is looked up each time a
// window paints, so it follows a change of the user's colours while Kelvo runs.

inline constexpr std::uint32_t kSystemColourMark = 0xFF000000u;

// The system colour number a settings colour names; nothing for a plain colour.
constexpr std::optional<int> SystemColourIndex(std::uint32_t colour) {
  if ((colour & 0xFFFFFF00u) != kSystemColourMark) return std::nullopt;
  return static_cast<int>(colour & 0xFFu);
}

// The red, green and blue of a plain colour (0x00BBGGRR). The top byte, which the system would
// read as a palette reference, is dropped.
constexpr std::uint32_t PlainColour(std::uint32_t colour) { return colour & 0x00FFFFFFu; }
