#include "settings/settings_colour.h"

#include <gtest/gtest.h>

#include "base/number_text.h"

namespace {

TEST(SettingsColourTest, TellsSystemColoursFromPlainOnes) {
  struct Case {
    std::uint32_t colour;
    std::optional<int> systemIndex;
    std::uint32_t plain;
  };
  const Case cases[] = {
      {0x00000000u, std::nullopt, 0x000000u},  // black
      {0x000000FFu, std::nullopt, 0x0000FFu},  // red: 0x00BBGGRR
      {0x00FFFFFFu, std::nullopt, 0xFFFFFFu},
      {0xFF000000u, 0, 0x000000u},   // COLOR_SCROLLBAR
      {0xFF000005u, 5, 0x000005u},   // COLOR_WINDOW
      {0xFF00000Fu, 15, 0x00000Fu},  // COLOR_BTNFACE
      {0xFF0000FFu, 255, 0x0000FFu},
      // Only 0xFF0000nn names a system colour; other top bytes are dropped from plain colours.
      {0xFF000105u, std::nullopt, 0x000105u},
      {0xFF123456u, std::nullopt, 0x123456u},
      {0x80000005u, std::nullopt, 0x000005u},
      {0x01000005u, std::nullopt, 0x000005u},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SystemColourIndex(c.colour), c.systemIndex) << std::hex << c.colour;
    EXPECT_EQ(PlainColour(c.colour), c.plain) << std::hex << c.colour;
  }
}

TEST(SettingsColourTest, ColoursAsTheSettingsFileWritesThem) {
  // Hexadecimal and negative decimal spellings of the same 32 bits name the same colour.
  const auto index = [](const char16_t* text) {
    return SystemColourIndex(static_cast<std::uint32_t>(ParseInt32(text).value()));
  };
  EXPECT_EQ(index(u"$FF000005"), 5);
  EXPECT_EQ(index(u"0xff00000f"), 15);
  EXPECT_EQ(index(u"-16777211"), 5);
  EXPECT_EQ(index(u"$0000FF"), std::nullopt);
}

}  // namespace
