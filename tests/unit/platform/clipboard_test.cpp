#include "platform/clipboard.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::u16string Bounded(const std::u16string& block, std::size_t maxUnits) {
  return std::u16string(BoundedClipboardText(block.data(), block.size(), maxUnits));
}

TEST(BoundedClipboardTextTest, EndsAtTheTerminatorOrTheBlock) {
  EXPECT_EQ(Bounded(std::u16string(u"abc\0def", 7), 100), u"abc");
  EXPECT_EQ(Bounded(u"abc", 100), u"abc");  // a block without a terminator
  EXPECT_EQ(Bounded(std::u16string(u"\0abc", 4), 100), u"");
  EXPECT_EQ(Bounded(u"", 100), u"");
  EXPECT_EQ(BoundedClipboardText(nullptr, 10, 10), u"");
  // The block's size is never passed, terminator or not.
  const char16_t block[] = {u'x', u'y', u'z', u'!'};
  EXPECT_EQ(BoundedClipboardText(block, 3, 100), u"xyz");
}

TEST(BoundedClipboardTextTest, CutsAtTheMaximum) {
  EXPECT_EQ(Bounded(u"日本語のテキスト", 3), u"日本語");
  EXPECT_EQ(Bounded(u"abc", 3), u"abc");
  EXPECT_EQ(Bounded(u"abc", 0), u"");
  EXPECT_EQ(Bounded(std::u16string(u"ab\0cd", 5), 2), u"ab");
}

TEST(BoundedClipboardTextTest, NeverEndsInHalfASurrogatePair) {
  const std::u16string text = u"a𠮷b";  // 𠮷 is a pair: a, D842, DFB7, b
  ASSERT_EQ(text.size(), 4u);
  EXPECT_EQ(Bounded(text, 1), u"a");
  EXPECT_EQ(Bounded(text, 2), u"a");
  EXPECT_EQ(Bounded(text, 3), u"a𠮷");
  EXPECT_EQ(Bounded(text, 4), text);
  // A whole text that happens to end in a lone high surrogate is not cut, so it is kept.
  EXPECT_EQ(Bounded(std::u16string(1, char16_t{0xD842}), 1), std::u16string(1, char16_t{0xD842}));
}

}  // namespace
