#include "clip/history_time_text.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "support/fake_locale.h"

namespace {

std::string Ascii(std::u16string_view text) {
  std::string out;
  for (char16_t c : text) out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
  return out;
}

std::string Shown(const std::optional<LocalDateTime>& t) {
  if (!t) return "none";
  char text[40];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d w%d", t->year, t->month, t->day,
                t->hour, t->minute, t->second, t->weekday);
  return text;
}

// The designator before the time, as Japanese 12-hour layouts write it: "午後 1:05:06".
class DesignatorFirstLocale : public FakeLocale {
 public:
  std::u16string LongTime(const LocalDateTime& t) const override {
    return std::u16string(t.hour < 12 ? u"午前 " : u"午後 ") + Num(t.hour % 12, 1) + u":" +
           Num(t.minute, 2) + u":" + Num(t.second, 2);
  }
};

// A month named in words (no digit group for it) and the weekday's name before the date.
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

constexpr LocalDateTime kAfternoon{2015, 3, 5, 4, 13, 4, 7};
constexpr LocalDateTime kMidnight{1999, 12, 31, 5, 0, 0, 0};
constexpr LocalDateTime kNoon{2020, 2, 29, 6, 12, 0, 1};
constexpr LocalDateTime kAfterMidnight{2020, 2, 29, 6, 0, 0, 1};

}  // namespace

TEST(HistoryTimeTextTest, WritesDateBlankTimeOrTheDateAloneAtMidnight) {
  FakeLocale fake;
  DotDateLocale dots;
  EXPECT_EQ(HistoryTimeText(fake).Format(kAfternoon), u"2015/03/05 13:04:07");
  EXPECT_EQ(HistoryTimeText(fake).Format(kMidnight), u"1999/12/31");
  EXPECT_EQ(HistoryTimeText(dots).Format(kAfternoon), u"5.3.15 1:04:07 PM");
  EXPECT_EQ(HistoryTimeText(dots).Format(kAfterMidnight), u"29.2.20 12:00:01 AM");
}

TEST(HistoryTimeTextTest, ReadsBackWhatItWroteInEveryLayout) {
  FakeLocale fake;
  DotDateLocale dots;
  DesignatorFirstLocale designatorFirst;
  WordyLocale wordy;
  const Locale* locales[] = {&fake, &dots, &designatorFirst, &wordy};
  for (const Locale* locale : locales) {
    const HistoryTimeText text(*locale);
    for (const LocalDateTime& when : {kAfternoon, kMidnight, kNoon, kAfterMidnight}) {
      const std::u16string written = text.Format(when);
      EXPECT_EQ(Shown(text.Parse(written, 2025)), Shown(when)) << Ascii(written);
    }
  }
}

TEST(HistoryTimeTextTest, ReadsTheDigitGroupsLeniently) {
  FakeLocale fake;
  const HistoryTimeText text(fake);
  // Other separators and blanks still read; the weekday is the date's own.
  EXPECT_EQ(Shown(text.Parse(u"  2015-3-5   9.4.7 ", 2025)), "2015-03-05 09:04:07 w4");
  for (const char16_t* bad :
       {u"", u"2015/03/05 13:04", u"2015/13/05", u"2015/02/29", u"2015/03/05 24:00:00",
        u"2015/03/05 13:60:00", u"1600/12/31", u"10000/01/01", u"2015/03/05 13:04:07 1", u"abc",
        u"99999999999999999999/1/1"}) {
    EXPECT_EQ(Shown(text.Parse(bad, 2025)), "none") << Ascii(bad);
  }
}

TEST(HistoryTimeTextTest, TwoDigitYearsFallInTheHundredYearsUpToNextYear) {
  DotDateLocale dots;
  const HistoryTimeText text(dots);
  EXPECT_EQ(text.Parse(u"1.1.26", 2025)->year, 2026);
  EXPECT_EQ(text.Parse(u"1.1.27", 2025)->year, 1927);
  EXPECT_EQ(text.Parse(u"1.1.99", 2025)->year, 1999);
  EXPECT_EQ(text.Parse(u"1.1.00", 2025)->year, 2000);
  EXPECT_FALSE(text.Parse(u"1.1.100", 2025));
  // The designator decides the half of the day; 12 is noon or midnight.
  EXPECT_EQ(text.Parse(u"1.1.20 12:30:00 AM", 2025)->hour, 0);
  EXPECT_EQ(text.Parse(u"1.1.20 12:30:00 PM", 2025)->hour, 12);
  EXPECT_EQ(text.Parse(u"1.1.20 11:30:00 PM", 2025)->hour, 23);
  EXPECT_FALSE(text.Parse(u"1.1.20 13:30:00 PM", 2025));
}
