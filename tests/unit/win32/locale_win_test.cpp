#include "win32/locale_win.h"
#include "win32/clock_win.h"

#include <gtest/gtest.h>

namespace {

TEST(WinLocaleTest, UpperCaseAndComparison) {
  const WinLocale locale;
  EXPECT_EQ(locale.ToUpper(u"abc xyz äö"), u"ABC XYZ ÄÖ");
  EXPECT_EQ(locale.ToUpper(u"ａｂｃ日本"), u"ＡＢＣ日本");
  EXPECT_EQ(locale.ToUpper(u""), u"");

  EXPECT_EQ(locale.CompareNoCase(u"Kelvo", u"kELVO"), 0);
  EXPECT_LT(locale.CompareNoCase(u"apple", u"Banana"), 0);
  EXPECT_GT(locale.CompareNoCase(u"Banana", u"apple"), 0);
  EXPECT_NE(locale.CompareCase(u"Kelvo", u"kelvo"), 0);
  EXPECT_EQ(locale.CompareCase(u"Kelvo", u"Kelvo"), 0);
  EXPECT_LT(locale.CompareNoCase(u"", u"a"), 0);
  EXPECT_GT(locale.CompareCase(u"a", u""), 0);
  EXPECT_EQ(locale.CompareNoCase(u"", u""), 0);
  // A directory sorts before the paths inside it.
  EXPECT_LT(locale.CompareNoCase(u"C:\\Menu", u"C:\\Menu\\a.lnk"), 0);
}

TEST(WinLocaleTest, DateAndTimeTexts) {
  const WinLocale locale;
  const LocalDateTime when{2015, 3, 5, 4, 9, 4, 7};
  const std::u16string date = locale.ShortDate(when);
  EXPECT_NE(date.find(u"2015"), std::u16string::npos) << date.size();
  EXPECT_NE(date.find(u"5"), std::u16string::npos);
  const std::u16string time = locale.LongTime(when);
  EXPECT_NE(time.find(u"04"), std::u16string::npos);
  EXPECT_NE(time.find(u"07"), std::u16string::npos);
  const std::u16string separator = locale.TimeSeparator();
  ASSERT_FALSE(separator.empty());
  EXPECT_NE(time.find(separator), std::u16string::npos);
}

TEST(WinClockTest, NowIsAPlausibleLocalTime) {
  const LocalDateTime now = WinClock().Now();
  EXPECT_GE(now.year, 2020);
  EXPECT_GE(now.month, 1);
  EXPECT_LE(now.month, 12);
  EXPECT_GE(now.weekday, 0);
  EXPECT_LE(now.weekday, 6);
  EXPECT_LE(now.hour, 23);
}

}  // namespace
