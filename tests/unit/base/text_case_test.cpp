#include "base/text_case.h"

#include <gtest/gtest.h>

namespace {

TEST(TextCaseTest, EqualsNoCaseFoldsLatinLettersOnly) {
  const struct {
    std::u16string a;
    std::u16string b;
    bool equal;
  } cases[] = {
      {u"General", u"GENERAL", true},
      {u"hotkey1", u"HotKey1", true},
      {u"", u"", true},
      {u"Key", u"Key ", false},
      {u"Key", u"Kez", false},
      {u"Été", u"ÉTÉ", true},
      {u"ÀÞ", u"àþ", true},
      {u"×", u"÷", false},  // multiplication and division signs are not letters
      {u"ß", u"ß", true},
      {u"ＡＢＣ", u"ａｂｃ", true},
      {u"ＡＢＣ", u"ABC", false},  // full-width and ASCII letters stay distinct
      {u"設定", u"設定", true},
      {u"@", u"`", false},  // neighbours of the ASCII letter ranges
      {u"[", u"{", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(EqualsNoCase(c.a, c.b), c.equal);
    EXPECT_EQ(EqualsNoCase(c.b, c.a), c.equal);
  }
}

}  // namespace
