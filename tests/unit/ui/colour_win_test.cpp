#include "ui/colour_win.h"

#include <gtest/gtest.h>

namespace {

TEST(ResolveColourTest, SystemColoursAreLookedUpAndPlainOnesPassed) {
  EXPECT_EQ(ResolveColour(0xFF000000u | COLOR_WINDOW), GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(ResolveColour(0xFF000000u | COLOR_BTNFACE), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(ResolveColour(0x000000FFu), RGB(255, 0, 0));
  EXPECT_EQ(ResolveColour(0x00123456u), RGB(0x56, 0x34, 0x12));
  EXPECT_EQ(ResolveColour(0x01123456u), RGB(0x56, 0x34, 0x12));  // never a palette reference
}

}  // namespace
