#include "clip/model/history_time_text.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "support/fake_locale.h"

namespace {

std::string Shown(const std::optional<LocalDateTime>& t) {
  if (!t) return "none";
  char text[40];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", t->year, t->month, t->day,
                t->hour, t->minute, t->second);
  return text;
}

// The month and the weekday in words: "Thu 5 Mar 2015".
class WordyLocale : public FakeLocale {
 public:
  std::u16string ShortDate(const LocalDateTime& t) const override {
    static const char16_t* const kDays[] = {u"Sun", u"Mon", u"Tue", u"Wed", u"Thu", u"Fri", u"Sat"};
    static const char16_t* const kMonths[] = {u"Jan", u"Feb", u"Mar", u"Apr", u"May", u"Jun",
                                              u"Jul", u"Aug", u"Sep", u"Oct", u"Nov", u"Dec"};
    return std::u16string(kDays[t.weekday]) + u" " + Num(t.day, 1) + u" " + kMonths[t.month - 1] +
           u" " + Num(t.year, 4);
  }
};

}  // namespace

TEST(HistoryTimeTextTest, EveryLayoutReadsBackWhatItWrote) {
  FakeLocale slashes;
  DotDateLocale dots;
  WordyLocale wordy;
  EXPECT_EQ(HistoryTimeText(slashes).Format({2015, 3, 5, 4, 13, 4, 7}), u"2015/03/05 13:04:07");
  EXPECT_EQ(HistoryTimeText(slashes).Format({1999, 12, 31, 5, 0, 0, 0}), u"1999/12/31");
  EXPECT_EQ(HistoryTimeText(dots).Format({2020, 2, 29, 6, 0, 0, 1}), u"29.2.20 12:00:01 AM");
  for (const Locale* locale : std::initializer_list<const Locale*>{&slashes, &dots, &wordy}) {
    const HistoryTimeText text(*locale);
    for (const LocalDateTime& when :
         {LocalDateTime{2015, 3, 5, 4, 13, 4, 7}, LocalDateTime{1999, 12, 31, 5, 0, 0, 0},
          LocalDateTime{2020, 2, 29, 6, 12, 0, 1}, LocalDateTime{2020, 2, 29, 6, 0, 0, 1}}) {
      EXPECT_EQ(Shown(text.Parse(text.Format(when), 2025)), Shown(when));
    }
  }
}

TEST(HistoryTimeTextTest, ReadsDigitGroupsAndRefusesWhatIsNoDate) {
  FakeLocale slashes;
  const HistoryTimeText text(slashes);
  EXPECT_EQ(Shown(text.Parse(u"  2015-3-5   9.4.7 ", 2025)), "2015-03-05 09:04:07");
  for (const char16_t* bad :
       {u"", u"abc", u"2015/03/05 13:04", u"2015/03/05 13:04:07 1", u"2015/13/05", u"2015/02/29",
        u"2015/03/05 24:00:00", u"1600/12/31", u"10000/01/01", u"99999999999999999999/1/1"}) {
    EXPECT_FALSE(text.Parse(bad, 2025)) << Shown(text.Parse(bad, 2025));
  }
}

TEST(HistoryTimeTextTest, TwoDigitYearsAndTwelveHourClocks) {
  DotDateLocale dots;
  const HistoryTimeText text(dots);
  // The hundred years up to the year after now.
  EXPECT_EQ(text.Parse(u"1.1.26", 2025)->year, 2026);
  EXPECT_EQ(text.Parse(u"1.1.27", 2025)->year, 1927);
  EXPECT_EQ(text.Parse(u"1.1.00", 2025)->year, 2000);
  EXPECT_FALSE(text.Parse(u"1.1.100", 2025));
  EXPECT_EQ(text.Parse(u"1.1.20 12:30:00 AM", 2025)->hour, 0);
  EXPECT_EQ(text.Parse(u"1.1.20 12:30:00 PM", 2025)->hour, 12);
  EXPECT_EQ(text.Parse(u"1.1.20 11:30:00 PM", 2025)->hour, 23);
  EXPECT_FALSE(text.Parse(u"1.1.20 13:30:00 PM", 2025));
}
