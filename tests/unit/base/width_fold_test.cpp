#include "base/width_fold.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(WidthFoldTest, WidthFormsFoldToTheirUsualForms) {
  const struct {
    std::u16string text;
    std::u16string folded;
  } cases[] = {
      {u"ＡＢＣ ａｂｃ １２３", u"ABC abc 123"},
      {u"！＂＃＼～", u"!\"#\\~"},
      {u"a\u3000b", u"a b"},  // the full-width blank
      {u"￥１００￠", u"¥100¢"},
      {u"ｶﾀｶﾅ", u"カタカナ"},
      {u"｢ﾃｽﾄ｣､｡･ｰ", u"「テスト」、。・ー"},
      {u"ｧｨｩｪｫｬｭｮｯ", u"ァィゥェォャュョッ"},
      // A sound mark joins the kana before it, whatever that kana is written as next.
      {u"ｶﾞｷﾞｸﾞｹﾞｺﾞｻﾞｼﾞｽﾞｾﾞｿﾞﾀﾞﾁﾞﾂﾞﾃﾞﾄﾞﾊﾞﾋﾞﾌﾞﾍﾞﾎﾞ", u"ガギグゲゴザジズゼゾダヂヅデドバビブベボ"},
      {u"ﾊﾟﾋﾟﾌﾟﾍﾟﾎﾟ", u"パピプペポ"},
      {u"ｳﾞﾜﾞｦﾞ", u"ヴヷヺ"},
      // A mark that no kana before it takes stays a mark of its own.
      {u"ｱﾞ", u"ア゛"},
      {u"ｶﾟ", u"カ゜"},
      {u"ﾞﾟ", u"゛゜"},
      {u"ｶﾞﾞ", u"ガ゛"},
      // Full-width kana and marks are already folded; a half-width mark does not join them.
      {u"ガカﾞ", u"ガカ゛"},
      {u"かな", u"かな"},  // width only: hiragana stays
      {u"漢字 é \U0001F600", u"漢字 é \U0001F600"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FoldWidthKana(c.text, KanaFold::kWidthOnly), c.folded);
  }
}

TEST(WidthFoldTest, KanaFoldingMakesHiraganaKatakana) {
  EXPECT_EQ(FoldWidthKana(u"かたかな", KanaFold::kWidthAndKana), u"カタカナ");
  EXPECT_EQ(FoldWidthKana(u"がっこう ゝゞ ぁゖ", KanaFold::kWidthAndKana), u"ガッコウ ヽヾ ァヶ");
  // One form for all three spellings.
  const std::u16string folded = FoldWidthKana(u"ガイド", KanaFold::kWidthAndKana);
  EXPECT_EQ(FoldWidthKana(u"ｶﾞｲﾄﾞ", KanaFold::kWidthAndKana), folded);
  EXPECT_EQ(FoldWidthKana(u"がいど", KanaFold::kWidthAndKana), folded);
  // Marks and signs that look alike are not the same text.
  EXPECT_NE(FoldWidthKana(u"カイド", KanaFold::kWidthAndKana), folded);
  EXPECT_EQ(FoldWidthKana(u"゛ー・", KanaFold::kWidthAndKana), u"゛ー・");
}

TEST(WidthFoldTest, OriginsLeadEachFoldedUnitBackToItsPlaceInTheText) {
  std::u16string folded;
  std::vector<std::uint32_t> origins;
  FoldWidthKana(u"aｶﾞｲﾄﾞＺ", KanaFold::kWidthOnly, folded, &origins);
  EXPECT_EQ(folded, u"aガイドZ");
  EXPECT_EQ(origins, (std::vector<std::uint32_t>{0, 1, 3, 4, 6, 7}));
  FoldWidthKana(u"", KanaFold::kWidthOnly, folded, &origins);
  EXPECT_EQ(origins, (std::vector<std::uint32_t>{0}));
}

TEST(WidthFoldTest, HalfWidthKanaThatStillTakeAMark) {
  for (char16_t c : std::u16string(u"ｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾊﾋﾌﾍﾎｳﾜｦ")) EXPECT_TRUE(TakesSoundMark(c));
  for (char16_t c : std::u16string(u"ｱｲｴｵﾅﾏﾒﾔﾗﾝｯｰﾞﾟカガa")) EXPECT_FALSE(TakesSoundMark(c));
  EXPECT_TRUE(SameKanaBase(u'カ', u'カ'));
  EXPECT_TRUE(SameKanaBase(u'カ', u'ガ'));
  EXPECT_TRUE(SameKanaBase(u'ハ', u'バ'));
  EXPECT_TRUE(SameKanaBase(u'ハ', u'パ'));
  EXPECT_TRUE(SameKanaBase(u'ウ', u'ヴ'));
  EXPECT_FALSE(SameKanaBase(u'カ', u'キ'));
  EXPECT_FALSE(SameKanaBase(u'カ', u'パ'));
  EXPECT_FALSE(SameKanaBase(u'ガ', u'カ'));
}

TEST(WidthFoldTest, PlainAsciiIsBelowU0080Only) {
  EXPECT_TRUE(IsPlainAscii(u""));
  EXPECT_TRUE(IsPlainAscii(u"calc-2 ~"));
  EXPECT_FALSE(IsPlainAscii(u"ｃａｌｃ"));
  EXPECT_FALSE(IsPlainAscii(u"caf\u00E9"));
  EXPECT_FALSE(IsPlainAscii(u"メモ"));
}

}  // namespace
