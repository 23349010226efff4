#include "core/hand_over.h"

#include <gtest/gtest.h>

#include <vector>

TEST(CommandLineTail, SkipsTheProgramPathQuotedOrNot) {
  struct Case {
    std::u16string line, tail;
  } cases[] = {
      {u"\"C:\\Program Files\\Kelvo\\Kelvo.exe\" -R", u"-R"},
      {u"C:\\Kelvo\\Kelvo.exe\t  -R", u"-R"},
      {u"Kelvo.exe", u""},
      {u"\"C:\\My Tools\\Kelvo.exe\"", u""},
      {u"Kelvo.exe -R  ", u"-R  "},  // trailing blanks are kept
      {u"Kelvo.exe \"a b\" c", u"\"a b\" c"},
      {u"\"unterminated path -R", u""},
      {u"", u""},
  };
  for (const Case& c : cases) EXPECT_EQ(CommandLineTail(c.line), c.tail);
}

TEST(HandOverText, IsReadWithinTheByteCountOnly) {
  const char16_t withNul[] = u"-R";
  EXPECT_EQ(ReadHandOverText(kHandOverKind, withNul, sizeof(withNul)), u"-R");
  // No terminator within the count: the text ends at the count, never beyond it.
  const char16_t longer[] = u"-RXYZ";
  EXPECT_EQ(ReadHandOverText(kHandOverKind, longer, 4), u"-R");
  // An odd count drops the half unit at the end.
  EXPECT_EQ(ReadHandOverText(kHandOverKind, longer, 5), u"-R");
  EXPECT_EQ(ReadHandOverText(kHandOverKind, longer, 1), u"");
  EXPECT_EQ(ReadHandOverText(kHandOverKind, longer, 0), u"");
  EXPECT_EQ(ReadHandOverText(kHandOverKind, nullptr, 100), u"");
  // The text ends at the first NUL even when the count goes on.
  const char16_t embedded[] = {u'-', u'R', 0, u'X', 0};
  EXPECT_EQ(ReadHandOverText(kHandOverKind, embedded, sizeof(embedded)), u"-R");
  EXPECT_EQ(ReadHandOverText(2, withNul, sizeof(withNul)), u"");
}

TEST(HandOverText, LargeAndUnalignedPayloadsAreSafe) {
  std::vector<unsigned char> bytes(1 + 2 * 100000, 'a');
  // Starting at an odd address: the units are copied out, not read in place.
  const std::u16string text = ReadHandOverText(kHandOverKind, bytes.data() + 1, bytes.size() - 1);
  EXPECT_EQ(text.size(), 100000u);
}

TEST(HandOverText, OnlyTheExactDashRReloads) {
  EXPECT_TRUE(IsReloadRequest(u"-R"));
  for (const char16_t* other : {u"-r", u"/R", u"-R ", u" -R", u"", u"-R -R"}) {
    EXPECT_FALSE(IsReloadRequest(other));
  }
}
