#include "util/title_pattern.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

namespace {

TEST(TitlePatternTest, MatchesAnywhereWithCaseAndNonEmptyMatches) {
  const struct {
    std::u16string pattern;
    std::u16string text;
    bool matches;
  } cases[] = {
      {u"Mail", u"Re: Mail from Bob", true},
      {u"mail", u"Mail", false},
      {u"^Mail.*Inbox$", u"Mail - Inbox", true},
      {u"^Mail.*Inbox$", u"Mail - Inbox (3)", false},
      {u"x*", u"abc", false},  // only empty matches
      {u"x*", u"axc", true},
      {u"", u"abc", false},
      {u"", u"", false},
      {u"受信", u"メール - 受信トレイ", true},
      {u"^.$", u"\U0001F600", true},  // a surrogate pair is one character
      {u"^a$", u"a\r\nb", false},
      {u"(?m)^b$", u"a\rb", true},  // CR alone is a line break too
      {u"(?m)^b$", u"a\u2028b", true},
      {u"(?m)^b$",
       u"a\x85"
       u"b",
       true},
      {u"x", u"\xDC00x", true},  // a lone surrogate does not spoil the rest
  };
  for (const auto& c : cases) {
    const auto pattern = TitlePattern::Compile(c.pattern);
    ASSERT_TRUE(pattern.has_value());
    EXPECT_EQ(pattern->Matches(c.text), c.matches);
  }
}

TEST(TitlePatternTest, InvalidPatternsDoNotCompile) {
  for (std::u16string_view pattern : {u"([", u"(", u"a{2,1}", u"*", u"\\", u"(?<n>a)(?<n>b)"}) {
    EXPECT_FALSE(TitlePattern::Compile(pattern).has_value());
  }
  EXPECT_FALSE(TitlePattern::Compile(std::u16string(1, u'\xD800')).has_value());
}

TEST(TitlePatternTest, RunawayBacktrackingReportsNoMatch) {
  const auto pattern = TitlePattern::Compile(u"(a+)+$");
  ASSERT_TRUE(pattern.has_value());
  EXPECT_FALSE(pattern->Matches(std::u16string(40, u'a') + u"b"));
  EXPECT_FALSE(pattern->Matches(std::u16string(2000, u'a') + u"b"));
  EXPECT_TRUE(pattern->Matches(std::u16string(2000, u'a')));
}

TEST(TitlePatternTest, GivingUpIsToldApartFromNoMatch) {
  const auto pattern = TitlePattern::Compile(u"(a+)+$");
  ASSERT_TRUE(pattern.has_value());
  EXPECT_EQ(pattern->Match(std::u16string(2000, u'a') + u"b"), PatternMatch::kGaveUp);
  EXPECT_EQ(pattern->Match(u"aab"), PatternMatch::kNoMatch);
  EXPECT_EQ(pattern->Match(u"xaa"), PatternMatch::kMatch);
}

TEST(TitlePatternTest, CaselessPatternsFoldEveryScriptsCase) {
  const auto caseless = TitlePattern::Compile(u"^straße [a-c]+ Ωμέγα$", true);
  ASSERT_TRUE(caseless.has_value());
  EXPECT_TRUE(caseless->Matches(u"STRAßE ABC ωΜΈΓΑ"));
  EXPECT_FALSE(caseless->Matches(u"strasse abc ωμέγα"));
  EXPECT_FALSE(TitlePattern::Compile(u"^straße$")->Matches(u"STRAßE"));
}

TEST(TitlePatternTest, BudgetCoversAGroupRepeatedOverTheLongestTitle) {
  const auto pattern = TitlePattern::Compile(u"^(?:(.)\\1?)*x$");
  ASSERT_TRUE(pattern.has_value());
  EXPECT_TRUE(pattern->Matches(std::u16string(2045, u'a') + u"x"));
}

// Budgets that count afresh at every starting place let these run for seconds on a title of the
// longest length (2,046 units). The bound is generous for sanitizer builds; a release build takes
// a few milliseconds at most.
TEST(TitlePatternTest, EveryMatchEndsQuicklyOnTheLongestTitle) {
  constexpr auto kBound = std::chrono::milliseconds(100);
  const std::u16string letters(2046, u'a');
  const std::u16string lettersThenB = std::u16string(2045, u'a') + u"b";
  const std::u16string kana(2046, u'\u3042');
  std::u16string runs;  // "aaa…ab" again and again: every starting place backtracks a while
  while (runs.size() < 2046) runs += std::u16string(15, u'a') + u"b";
  runs.resize(2045);
  runs += u"b";
  const struct {
    std::u16string pattern;
    const std::u16string& title;
    bool matches;
  } cases[] = {
      {u".*......++\\x00|\u2026", letters, false},
      {u".*......++\\x00|\u2026", kana, false},
      {u"(a+)+$", lettersThenB, false},
      {u"(a+)+$", runs, false},
      {u"(a+)+$", letters, true},
      {u"(?:(?!.{2046}x).)*x|b", letters, false},  // a long repeat that fails at every step
      {u"(.*)\\1\\1x|b", letters, false},          // back references
      {u"\\A(?:.*?){1,50}x", letters, false},
      {u"(?:.*+x|c)", kana, false},  // reads the rest of the title from every starting place
  };
  for (const auto& c : cases) {
    const auto pattern = TitlePattern::Compile(c.pattern);
    ASSERT_TRUE(pattern.has_value());
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(pattern->Matches(c.title), c.matches);
    EXPECT_LT(std::chrono::steady_clock::now() - start, kBound);
  }
}

TEST(TitlePatternTest, MovedPatternStillMatches) {
  auto pattern = TitlePattern::Compile(u"b+");
  ASSERT_TRUE(pattern.has_value());
  TitlePattern moved = std::move(*pattern);
  EXPECT_TRUE(moved.Matches(u"abba"));
  EXPECT_FALSE(moved.Matches(u"aaa"));
}

}  // namespace
