#include "util/title_pattern.h"

#include <gtest/gtest.h>

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

TEST(TitlePatternTest, BudgetCoversAGroupRepeatedOverTheLongestTitle) {
  const auto pattern = TitlePattern::Compile(u"^(?:(.)\\1?)*x$");
  ASSERT_TRUE(pattern.has_value());
  EXPECT_TRUE(pattern->Matches(std::u16string(2045, u'a') + u"x"));
}

TEST(TitlePatternTest, MovedPatternStillMatches) {
  auto pattern = TitlePattern::Compile(u"b+");
  ASSERT_TRUE(pattern.has_value());
  TitlePattern moved = std::move(*pattern);
  EXPECT_TRUE(moved.Matches(u"abba"));
  EXPECT_FALSE(moved.Matches(u"aaa"));
}

}  // namespace
