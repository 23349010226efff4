#include "win32/code_page_win.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

// The test prefix runs with a Japanese locale, so the ANSI code page is 932.
TEST(WinCodePageTest, TheAnsiCodePageIsShiftJis) { EXPECT_EQ(GetACP(), 932u); }

TEST(WinCodePageTest, JapaneseTextSurvivesARoundTrip) {
  const WinCodePage codePage;
  // "日本語①ｶﾅ" with an NEC special character and half-width katakana.
  const std::string sjis = "\x93\xFA\x96\x7B\x8C\xEA\x87\x40\xB6\xC5";
  EXPECT_EQ(codePage.ToUnicode(sjis), u"日本語①ｶﾅ");
  EXPECT_EQ(codePage.FromUnicodeExact(u"日本語①ｶﾅ"), sjis);
  EXPECT_EQ(codePage.FromUnicodeLossy(u"日本語①ｶﾅ"), sjis);
  EXPECT_EQ(codePage.ToUnicode(""), u"");
  EXPECT_EQ(codePage.FromUnicodeExact(u""), "");
}

TEST(WinCodePageTest, CharactersOutsideShiftJisAreNotExact) {
  const WinCodePage codePage;
  for (const std::u16string text : {u"café", u"5€", u"a\U0001F600b", u"한"}) {
    EXPECT_FALSE(codePage.FromUnicodeExact(text).has_value());
    const std::string lossy = codePage.FromUnicodeLossy(text);
    EXPECT_NE(lossy.find('?'), std::string::npos) << lossy;
    EXPECT_EQ(lossy.find('e'), std::string::npos) << "no best fit: " << lossy;
  }
}

}  // namespace
