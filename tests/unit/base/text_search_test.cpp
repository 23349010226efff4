#include "base/text_search.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

std::size_t Expected(std::u16string_view text, std::u16string_view needle) {
  return text.find(needle);
}

TEST(FindText, EdgesOfTheTextAndOfTheNeedle) {
  const std::u16string text = u"abcdefghijklmnopqrstuvwxyz0123456789";
  for (const std::u16string_view needle :
       {u"", u"a", u"9", u"ab", u"89", u"abcdefghi", u"123456789", u"jklmnopqrstuvwxyz0", u"x0",
        u"zz", u"9a", text.c_str(), u"abcdefghijklmnopqrstuvwxyz01234567890"}) {
    EXPECT_EQ(FindText(text, needle), Expected(text, needle))
        << std::string(needle.begin(), needle.end());
  }
  EXPECT_EQ(FindText(u"", u""), 0u);
  EXPECT_EQ(FindText(u"", u"a"), std::u16string_view::npos);
  // First and last units in place but not the middle, eight starts apart.
  EXPECT_EQ(FindText(u"axxb axxb ayyb axyb", u"axyb"), 15u);
  // Units above 0x7FFF compare as units, not as signed numbers.
  EXPECT_EQ(FindText(u"履歴\uFFFF\U0001F600です", u"\uFFFF\U0001F600"), 2u);
}

// Every length of text around the eight-unit steps and every place of the needle, against the
// standard search; texts of few letters make many near misses.
TEST(FindText, AgreesWithTheStandardSearchEverywhere) {
  std::mt19937 random(7);
  for (int round = 0; round < 4000; ++round) {
    std::u16string text(random() % 40, u'a'), needle(1 + random() % 6, u'a');
    for (auto& unit : text) unit = static_cast<char16_t>(u'a' + random() % 3);
    for (auto& unit : needle) unit = static_cast<char16_t>(u'a' + random() % 3);
    ASSERT_EQ(FindText(text, needle), Expected(text, needle))
        << std::string(text.begin(), text.end()) << " / "
        << std::string(needle.begin(), needle.end());
  }
}

}  // namespace
