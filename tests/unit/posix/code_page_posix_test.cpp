#include "posix/code_page_posix.h"

#include <gtest/gtest.h>

namespace {

TEST(PosixCodePageTest, ConvertsCodePage932) {
  const PosixCodePage codePage;
  // "日本語①ｶﾅ" with an NEC special character and half-width katakana.
  const std::string sjis = "\x93\xFA\x96\x7B\x8C\xEA\x87\x40\xB6\xC5";
  EXPECT_EQ(codePage.ToUnicode(sjis), u"日本語①ｶﾅ");
  EXPECT_EQ(codePage.FromUnicodeExact(u"日本語①ｶﾅ"), sjis);
  EXPECT_EQ(codePage.FromUnicodeLossy(u"日本語①ｶﾅ"), sjis);
  EXPECT_EQ(codePage.FromUnicodeExact(u""), "");
}

TEST(PosixCodePageTest, CharactersOutsideTheCodePageAreNotExact) {
  const PosixCodePage codePage;
  const struct {
    std::u16string text;
    std::string lossy;
  } cases[] = {
      {u"café", "caf?"},
      {u"5€", "5?"},
      {u"a\U0001F600b", "a?b"},  // one replacement for a surrogate pair
      {std::u16string{u'a', 0xD800, u'b'}, "a?b"},
      {u"한", "?"},
      {u"a\U000E0077b", "a?b"},  // a tag character is replaced, not dropped
  };
  for (const auto& c : cases) {
    EXPECT_FALSE(codePage.FromUnicodeExact(c.text).has_value());
    EXPECT_EQ(codePage.FromUnicodeLossy(c.text), c.lossy);
  }
  // A near neighbour in the code page is no exact form: "¥" would read back as "\".
  EXPECT_FALSE(codePage.FromUnicodeExact(u"C:\u00A5x").has_value());
}

TEST(PosixCodePageTest, InvalidBytesDecodeToReplacementCharacters) {
  const PosixCodePage codePage;
  EXPECT_EQ(codePage.ToUnicode("a\x93"), u"a\uFFFD");  // lead byte cut off at the end
  EXPECT_EQ(codePage.ToUnicode("\xA0z"), u"\uFFFDz");
}

}  // namespace
