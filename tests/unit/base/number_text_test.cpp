#include "base/number_text.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>

namespace {

TEST(NumberTextTest, ParseInt32FollowsTheSettingsIntegerRule) {
  const struct {
    std::u16string text;
    std::optional<std::int32_t> expected;
  } cases[] = {
      // Decimal, signs and leading blanks.
      {u"0", 0},
      {u"42", 42},
      {u"-3", -3},
      {u"+7", 7},
      {u" 5", 5},
      {u"   -12", -12},
      {u"007", 7},
      {u"2147483647", 2147483647},
      {u"-2147483648", std::numeric_limits<std::int32_t>::min()},
      // Hexadecimal prefixes.
      {u"$FF", 255},
      {u"$ff", 255},
      {u"0x1F", 31},
      {u"0X1f", 31},
      {u"x10", 16},
      {u"X10", 16},
      {u"-$10", -16},
      {u"+0x10", 16},
      {u" $0000FF", 255},
      // Hexadecimal is a 32-bit pattern: colours with the high byte set.
      {u"0xff000005", static_cast<std::int32_t>(0xff000005u)},
      {u"$FFFFFFFF", -1},
      {u"$80000000", std::numeric_limits<std::int32_t>::min()},
      {u"$000000000000FF", 255},
      // Everything else gives nothing.
      {u"", std::nullopt},
      {u" ", std::nullopt},
      {u"5 ", std::nullopt},
      {u"1e3", std::nullopt},
      {u"10px", std::nullopt},
      {u"-", std::nullopt},
      {u"$", std::nullopt},
      {u"0x", std::nullopt},
      {u"$G", std::nullopt},
      {u"12a", std::nullopt},
      {u"--1", std::nullopt},
      {u"- 1", std::nullopt},
      {u"\t1", std::nullopt},
      {u"0b101", std::nullopt},
      {u"00x10", std::nullopt},
      {u"１２", std::nullopt},  // full-width digits
      {u"2147483648", std::nullopt},
      {u"-2147483649", std::nullopt},
      {u"99999999999999999999", std::nullopt},
      {u"$100000000", std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParseInt32(c.text), c.expected) << std::string(c.text.begin(), c.text.end());
  }
}

TEST(NumberTextTest, IntToTextWritesDecimal) {
  EXPECT_EQ(IntToText(0), u"0");
  EXPECT_EQ(IntToText(169), u"169");
  EXPECT_EQ(IntToText(-1), u"-1");
  EXPECT_EQ(IntToText(std::numeric_limits<std::int64_t>::min()), u"-9223372036854775808");
  EXPECT_EQ(IntToText(std::numeric_limits<std::int64_t>::max()), u"9223372036854775807");
}

TEST(NumberTextTest, WrittenIntegersReadBack) {
  for (std::int32_t value : {0, 1, -1, 250, -32768, std::numeric_limits<std::int32_t>::max(),
                             std::numeric_limits<std::int32_t>::min()}) {
    EXPECT_EQ(ParseInt32(IntToText(value)), value);
  }
}

}  // namespace
