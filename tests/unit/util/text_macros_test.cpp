#include "util/text_macros.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <random>
#include <vector>

#include "platform/clock.h"
#include "support/fake_locale.h"

namespace {

// Thursday, 5 March 2015, 09:04:07.
std::u16string Expand(std::u16string_view text, const LocalDateTime& now = FakeClock().now) {
  FakeClock clock;
  clock.now = now;
  return ExpandMacros(text, clock, FakeLocale());
}

TEST(ExpandMacrosTest, ExpandsEachMacro) {
  const struct {
    std::u16string text;
    std::u16string expanded;
  } cases[] = {
      {u"\\Y/\\0m/\\0d(\\w) \\T", u"2015/03/05(木) 09:04:07"},
      {u"\\M \\d, \\y", u"Mar 5, 15"},
      {u"\\MM", u"March"},
      {u"\\m", u"3"},
      {u"\\0d.\\d", u"05.5"},
      {u"\\WW \\W \\w", u"Thursday Thu 木"},
      {u"\\H\\N\\S", u"090407"},
      {u"a\\nb", u"a\r\nb"},  // CR LF, not a lone LF
      {u"a\\tb", u"a\tb"},
      {u"\\Y\\Y", u"20152015"},  // every occurrence
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Expand(c.text), c.expanded);
  }
}

TEST(ExpandMacrosTest, LeavesOtherTextAlone) {
  const std::u16string cases[] = {
      u"Y MM m d T",                       // no backslash at all
      u"C:\\Program Files\\Kelvo\\x.txt",  // backslashes not starting a macro
      u"\\",
      u"end\\",
      u"\\0x",
  };
  for (const auto& text : cases) {
    EXPECT_EQ(Expand(text), text);
  }
}

TEST(ExpandMacrosTest, OrderDecidesOverlaps) {
  const struct {
    std::u16string text;
    LocalDateTime now;
    std::u16string expanded;
  } cases[] = {
      // a longer macro wins over its prefix
      {u"\\MM-\\M", {2015, 3, 5, 4, 9, 4, 7}, u"March-Mar"},
      {u"\\0m-\\m", {2015, 3, 5, 4, 9, 4, 7}, u"03-3"},
      {u"\\WW-\\W", {2015, 3, 5, 4, 9, 4, 7}, u"Thursday-Thu"},
      // an expansion completes a later macro with the backslash before it
      {u"\\\\W", {2015, 3, 1, 0, 9, 4, 7}, u"07un"},        // Sunday: \Sun, then \S
      {u"\\\\W", {2015, 3, 5, 4, 9, 4, 7}, u"09:04:07hu"},  // Thursday: \Thu, then \T
      // ... and even the same macro again, since the search starts over after each replacement
      {u"\\\\M", {2015, 3, 5, 4, 9, 4, 7}, u"Marar"},
      {u"\\\\n", {2015, 3, 5, 4, 9, 4, 7}, u"\\\r\n"},  // CR LF cannot complete anything
      // ... also when the new occurrence begins before the replaced one
      {u"\\M\\MM", {2015, 3, 5, 4, 9, 4, 7}, u"Marcharch"},
      {u"\\W\\WW", {2015, 3, 4, 3, 9, 4, 7}, u"Wednesdayednesday"},
      {u"\\0\\0m", {2015, 3, 5, 4, 9, 4, 7}, u"\\003"},  // "\00" is no macro
      // two-digit fields at the ends of their ranges
      {u"\\y \\0m \\0d \\T", {2009, 12, 31, 4, 23, 59, 0}, u"09 12 31 23:59:00"},
      {u"\\y \\T", {2100, 1, 1, 5, 0, 0, 9}, u"00 00:00:09"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Expand(c.text, c.now), c.expanded);
  }
}

TEST(ExpandMacrosTest, TimeUsesTheLocaleSeparator) {
  class DotLocale : public FakeLocale {
   public:
    std::u16string TimeSeparator() const override { return u"."; }
  };
  FakeClock clock;
  EXPECT_EQ(ExpandMacros(u"\\T", clock, DotLocale()), u"09.04.07");
}

TEST(ExpandMacrosTest, EveryReplacementUsesUpABackslash) {
  // Each \M completes another one with the backslash before it, a thousand times over.
  std::u16string expected = u"M";
  for (int i = 0; i < 1000; ++i) expected += u"ar";
  expected += u"ch";
  EXPECT_EQ(Expand(std::u16string(1000, u'\\') + u"MM"), expected);

  // A separator with a backslash would make a new \T with every replacement.
  class BackslashLocale : public FakeLocale {
   public:
    std::u16string TimeSeparator() const override { return u"\\T"; }
  };
  FakeClock clock;
  EXPECT_EQ(ExpandMacros(u"\\T", clock, BackslashLocale()), u"09:04:07");
}

// Answers each reading with the next time of a list; the last one repeats.
class SteppingClock : public Clock {
 public:
  explicit SteppingClock(std::vector<LocalDateTime> times) : times_(std::move(times)) {}
  LocalDateTime Now() const override {
    const LocalDateTime now = times_[std::min(reads_, times_.size() - 1)];
    ++reads_;
    return now;
  }
  std::size_t reads() const { return reads_; }

 private:
  std::vector<LocalDateTime> times_;
  mutable std::size_t reads_ = 0;
};

TEST(ExpandMacrosTest, NamesComeFromTheFirstReadingAndNumbersFromTheirTurn) {
  // Across midnight on 31 March (Tuesday) to 1 April (Wednesday): the names were read first.
  SteppingClock clock({{2015, 3, 31, 2, 23, 59, 59}, {2015, 4, 1, 3, 0, 0, 0}});
  EXPECT_EQ(ExpandMacros(u"\\MM \\m \\W \\d", clock, FakeLocale()), u"March 4 Tue 1");
}

// The rule as written: for each macro in turn, replace its first occurrence in the whole text
// until there is none.
std::u16string ExpandByTheRule(std::u16string text, const LocalDateTime& t) {
  const std::u16string_view month = std::array<std::u16string_view, 12>{
      u"January", u"February", u"March",     u"April",   u"May",      u"June",
      u"July",    u"August",   u"September", u"October", u"November", u"December"}[t.month - 1];
  const std::u16string_view day =
      std::array<std::u16string_view, 7>{u"Sunday",   u"Monday", u"Tuesday", u"Wednesday",
                                         u"Thursday", u"Friday", u"Saturday"}[t.weekday];
  const auto two = [](int v) {
    return std::u16string{static_cast<char16_t>(u'0' + v / 10 % 10),
                          static_cast<char16_t>(u'0' + v % 10)};
  };
  const auto one = [&](int v) { return v < 10 ? two(v).substr(1) : two(v); };
  const std::pair<std::u16string, std::u16string> steps[] = {
      {u"\\n", u"\r\n"},
      {u"\\t", u"\t"},
      {u"\\Y", two(t.year / 100) + two(t.year)},
      {u"\\y", two(t.year)},
      {u"\\MM", std::u16string(month)},
      {u"\\M", std::u16string(month.substr(0, 3))},
      {u"\\0m", two(t.month)},
      {u"\\m", one(t.month)},
      {u"\\0d", two(t.day)},
      {u"\\d", one(t.day)},
      {u"\\WW", std::u16string(day)},
      {u"\\W", std::u16string(day.substr(0, 3))},
      {u"\\w", std::u16string(u"日月火水木金土").substr(t.weekday, 1)},
      {u"\\T", two(t.hour) + u":" + two(t.minute) + u":" + two(t.second)},
      {u"\\H", two(t.hour)},
      {u"\\N", two(t.minute)},
      {u"\\S", two(t.second)},
  };
  for (const auto& [macro, value] : steps) {
    for (std::size_t at = text.find(macro); at != std::u16string::npos; at = text.find(macro)) {
      text.replace(at, macro.size(), value);
    }
  }
  return text;
}

// Random texts made of backslashes and the letters of the macros and their expansions, where
// expansions complete macros with what stands before them, on a Sunday in March and a Wednesday
// in May (whose names begin with the letters of their own macros).
TEST(ExpandMacrosTest, AgreesWithTheRuleOnTextsThatChainMacros) {
  std::mt19937 random(20);
  const std::u16string alphabet = u"\\\\\\MWSTmnd0ywHNYtaeu ";
  for (const LocalDateTime& now :
       {LocalDateTime{2015, 3, 1, 0, 9, 4, 7}, LocalDateTime{2016, 5, 4, 3, 23, 0, 59}}) {
    for (int round = 0; round < 3000; ++round) {
      std::u16string text;
      const int length = static_cast<int>(random() % 24);
      for (int i = 0; i < length; ++i) text += alphabet[random() % alphabet.size()];
      ASSERT_EQ(Expand(text, now), ExpandByTheRule(text, now)) << round;
    }
  }
}

// Each replacement used to move the rest of the text: a canned item of 80,000 rows took seconds
// at every copy. The work is linear now; a quadratic one would take minutes here.
TEST(ExpandMacrosTest, ManyMacrosInALongTextAreExpandedInLinearWork) {
  std::u16string text;
  for (int i = 0; i < 400000; ++i) text += u"\\n\\T";
  const auto start = std::chrono::steady_clock::now();
  const std::u16string expanded = Expand(text);
  const auto seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_EQ(expanded.size(), 400000u * 10);
  EXPECT_EQ(expanded.substr(0, 10), u"\r\n09:04:07");
  EXPECT_LT(seconds, 20.0);
}

TEST(ExpandMacrosTest, DateMacrosAreToldFromEscapesThatExpandTheSameAtAnyTime) {
  for (const char16_t* dated : {u"\\Y", u"a\\0d", u"\\\\M", u"x\\S", u"\\w", u"\\N\\n"}) {
    EXPECT_TRUE(HasDateMacros(dated)) << std::u16string_view(dated).size();
  }
  for (const char16_t* fixed :
       {u"plain", u"a\\nb\\tc", u"C:\\Program Files\\x", u"end\\", u"\\\\n", u""}) {
    EXPECT_FALSE(HasDateMacros(fixed));
  }
}

TEST(ExpandMacrosTest, TextWithoutBackslashDoesNotReadTheClock) {
  SteppingClock clock({{2015, 3, 5, 4, 9, 4, 7}});
  EXPECT_EQ(ExpandMacros(u"plain", clock, FakeLocale()), u"plain");
  EXPECT_EQ(clock.reads(), 0u);
}

}  // namespace
