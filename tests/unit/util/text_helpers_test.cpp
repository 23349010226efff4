#include "util/text_helpers.h"

#include <gtest/gtest.h>

#include "support/fake_locale.h"

namespace {

TEST(TextHelpersTest, TextBeforeAndAfterDifferWhenSeparatorIsMissing) {
  const struct {
    std::u16string text;
    std::u16string separator;
    std::u16string before;
    std::u16string after;
  } cases[] = {
      {u"abc", u"x", u"abc", u""},
      {u"CLIPBOARD_T12", u"CLIPBOARD_T", u"", u"12"},
      {u"CLIPBOARD_T", u"CLIPBOARD_T", u"", u""},
      {u"a,b,c", u",", u"a", u"b,c"},  // first occurrence only
      {u"key=", u"=", u"key", u""},
      {u"", u",", u"", u""},
      {u"abc", u"", u"abc", u""},  // an empty separator never occurs
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TextBefore(c.text, c.separator), c.before);
    EXPECT_EQ(TextAfter(c.text, c.separator), c.after);
  }
}

TEST(TextHelpersTest, PosTextIgnoresCaseAndCountsFromOne) {
  const FakeLocale locale;
  const struct {
    std::u16string part;
    std::u16string text;
    std::size_t pos;
  } cases[] = {
      {u"b", u"abc", 2},    {u"B", u"abc", 2}, {u"abc", u"ABC", 1},
      {u"c", u"abcabc", 3}, {u"x", u"abc", 0}, {u"", u"abc", 0},
      {u"abcd", u"abc", 0}, {u"", u"", 0},     {u"定", u"設定", 2},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PosText(c.part, c.text, locale), c.pos);
  }
}

TEST(TextHelpersTest, CountLinesCountsAnUnfinishedLastLine) {
  const struct {
    std::u16string text;
    std::size_t lines;
  } cases[] = {
      {u"", 0},   {u"a", 1},    {u"a\nb", 2},   {u"a\nb\n", 2},
      {u"\n", 1}, {u"\n\n", 2}, {u"a\r\nb", 2}, {u"a\rb", 1},  // CR alone is no line
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CountLines(c.text), c.lines);
  }
}

struct MatchCase {
  std::u16string words;
  std::u16string text;
  bool all;
  bool negate;
  bool caseSensitive;
  bool result;
};

void ExpectMatches(const MatchCase* begin, const MatchCase* end) {
  const FakeLocale locale;
  for (const MatchCase* c = begin; c != end; ++c) {
    EXPECT_EQ(MatchWords(c->words, c->text, c->all, c->negate, c->caseSensitive, locale),
              c->result);
  }
}

TEST(MatchWordsTest, AllOrAnyWithAndWithoutNegation) {
  const MatchCase cases[] = {
      {u"abc def", u"only DEF", true, false, false, false},
      {u"abc def", u"only DEF", false, false, false, true},
      {u"abc def", u"abc and def", true, false, false, true},
      {u"abc def", u"nothing", false, false, false, false},
      // negate: a word is a hit when it is missing
      {u"abc def", u"only DEF", true, true, false, false},
      {u"abc def", u"only DEF", false, true, false, true},
      {u"abc def", u"nothing", true, true, false, true},
      {u"abc def", u"abc def", false, true, false, false},
      // letter case
      {u"abc", u"ABC", true, false, true, false},
      {u"abc", u"xabcx", true, false, true, true},
  };
  ExpectMatches(std::begin(cases), std::end(cases));
}

TEST(MatchWordsTest, NoWordsPassOnlyWhenTheWordsTextIsEmptyOrAllIsSet) {
  const MatchCase cases[] = {
      {u"", u"text", true, false, false, true},
      {u"", u"text", false, false, false, true},
      {u"   ", u"text", true, false, false, true},
      {u"   ", u"text", false, false, false, false},
      {u"\u3000 \u3000", u"text", false, false, false, false},
  };
  ExpectMatches(std::begin(cases), std::end(cases));
}

TEST(MatchWordsTest, FullWidthBlanksSplitOnlyAfterTheLastBlank) {
  // "a　b c" splits into "a　b" and "c".
  const MatchCase cases[] = {
      {u"a\u3000b c", u"a\u3000b c", true, false, true, true},
      {u"a\u3000b c", u"a b c", true, false, true, false},  // "a　b" is one word
      {u"a\u3000b c", u"a\u3000b", true, false, true, false},
      // "x y\u3000z" splits into x, y and z
      {u"x y\u3000z", u"zyx", true, false, true, true},
      {u"x\u3000\u3000y", u"yx", true, false, true, true},
      {u"  x  y  ", u"yx", true, false, true, true},
  };
  ExpectMatches(std::begin(cases), std::end(cases));
}

TEST(MatchWordsTest, EscapesStandForBlankAndTab) {
  const MatchCase cases[] = {
      {u"new\\sline", u"a new line", true, false, false, true},
      {u"new\\sline", u"newline", true, false, false, false},
      {u"a\\tb", u"a\tb", true, false, true, true},
      {u"a\\tb", u"a\\tb", true, false, true, false},
  };
  ExpectMatches(std::begin(cases), std::end(cases));
}

}  // namespace

namespace {

// Japanese rows as a history holds them, against words typed in other widths and kana.
TEST(SearchWordsTest, FoldingFindsOtherWidthsAndKanaButNotOtherText) {
  const FakeLocale locale;
  const struct {
    std::u16string words;
    std::u16string text;
    bool found;
  } cases[] = {
      {u"ABC", u"型番ＡＢＣ-１２３", true},
      {u"abc-123", u"型番ＡＢＣ-１２３", true},
      {u"１２３", u"order 123", true},
      {u"カタカナ", u"ｶﾀｶﾅの行", true},
      {u"ｶﾀｶﾅ", u"かたかなの行", true},
      {u"がいど", u"ｶﾞｲﾄﾞﾌﾞｯｸ", true},  // a mark written as a half-width unit of its own
      {u"ﾊﾟｽ", u"パスワード", true},
      {u"ばす", u"パスワード", false},  // voiced is not semi-voiced
      {u"カイド", u"ガイド", false},    // nor plain
      {u"ト", u"ガイド", false},        // ド is not ト
      {u"かな", u"仮名", false},
      {u"ABC", u"ＡＢＤ", false},
  };
  for (const auto& c : cases) {
    const SearchWords search(c.words, false, locale, true);
    EXPECT_EQ(search.Match(c.text, true, false), c.found) << c.found;
  }
}

TEST(SearchWordsTest, CaselessScriptsNeedNoLocaleAndOthersStillGetIt) {
  // A locale that upper-cases é as a real one would; the shortcut must not skip it.
  class AccentLocale : public FakeLocale {
   public:
    std::u16string ToUpper(std::u16string_view text) const override {
      std::u16string out = FakeLocale::ToUpper(text);
      for (char16_t& c : out) {
        if (c == u'é') c = u'É';
      }
      ++calls;
      return out;
    }
    mutable int calls = 0;
  } locale;
  const SearchWords search(u"café ｆｏｏ", false, locale, false);
  locale.calls = 0;
  EXPECT_TRUE(search.Match(u"ＦＯＯ：日本語のテキスト、カタカナ", false, false));
  EXPECT_EQ(locale.calls, 0);
  EXPECT_TRUE(search.Match(u"CAFÉ", false, false));
  EXPECT_EQ(locale.calls, 1);
  // The kept searched form matches as the text does.
  std::u16string form;
  search.SearchedForm(u"Café", form);
  EXPECT_EQ(form, u"CAFÉ");
  EXPECT_TRUE(search.MatchSearchedForm(form, false, false));
}

}  // namespace
