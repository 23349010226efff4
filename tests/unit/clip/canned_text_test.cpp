#include "clip/canned_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/fake_locale.h"

namespace {

using Kind = CannedRowPiece::Kind;

TEST(CannedTextTest, ItemFormsShowAndPasteTheirParts) {
  FakeClock clock;
  FakeLocale locale;
  const struct {
    std::u16string item;
    std::u16string label;
    std::u16string paste;
  } cases[] = {
      // The body is trimmed first, then expanded: the blanks around "\n" stay inside.
      {u"Greeting\t Hello\\nWorld ", u"Greeting", u"Hello\r\nWorld"},
      {u"L\t\t  body \t", u"L", u"body"},
      {u"L\tA\tB", u"L", u"A\tB"},     // only the first TAB separates
      {u" abc ", u" abc ", u" abc "},  // a plain item keeps its blanks
      {u"-", u"-", u""},
      {u" -", u" -", u" -"},  // only exactly "-" is a separator
      {u"-\tdash", u"-", u"dash"},
      {u"Label\t", u"Label", u""},
      {u"", u"", u""},
      {u"日付\t\\Y/\\0m/\\0d (\\w)", u"日付", u"2015/03/05 (木)"},
      {u"\\T", u"\\T", u"09:04:07"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CannedLabel(c.item), c.label) << testing::PrintToString(c.item);
    EXPECT_EQ(CannedPasteText(c.item, clock, locale), c.paste) << testing::PrintToString(c.item);
  }
  EXPECT_TRUE(IsCannedSeparator(u"-"));
  EXPECT_FALSE(IsCannedSeparator(u"--"));
}

TEST(CannedTextTest, RowPiecesSplitAtTheFirstOfEachEscape) {
  struct Piece {
    Kind kind;
    std::u16string text;
    bool operator==(const Piece&) const = default;
  };
  auto pieces = [](std::u16string_view label) {
    std::vector<Piece> out;
    for (const CannedRowPiece& p : CannedRowPieces(label))
      out.push_back({p.kind, std::u16string(p.text)});
    return out;
  };
  using V = std::vector<Piece>;
  EXPECT_EQ(pieces(u"plain"), (V{{Kind::kText, u"plain"}}));
  EXPECT_EQ(pieces(u"a\\tb\\nc"), (V{{Kind::kText, u"a"},
                                     {Kind::kTabMark, u""},
                                     {Kind::kText, u"b"},
                                     {Kind::kLineBreakMark, u""},
                                     {Kind::kText, u"c"}}));
  // A mark at the start draws no empty text before it; one at the end ends the row.
  EXPECT_EQ(pieces(u"\\n\\nx\\t"), (V{{Kind::kLineBreakMark, u""},
                                      {Kind::kLineBreakMark, u""},
                                      {Kind::kText, u"x"},
                                      {Kind::kTabMark, u""}}));
  // Other escapes are drawn as typed.
  EXPECT_EQ(pieces(u"\\Y\\\\"), (V{{Kind::kText, u"\\Y\\\\"}}));
  EXPECT_TRUE(pieces(u"-").empty());
  EXPECT_EQ(pieces(u""), (V{{Kind::kText, u""}}));
}

TEST(CannedTextTest, MarkGlyphsDependOnTheFont) {
  EXPECT_EQ(CannedMarkGlyph(Kind::kTabMark, u"ＭＳ Ｐゴシック"), u"\u21C0");
  EXPECT_EQ(CannedMarkGlyph(Kind::kLineBreakMark, u"MS UI Gothic"), u"\u21B4");
  EXPECT_EQ(CannedMarkGlyph(Kind::kTabMark, u"Meiryo UI"), u"→");
  EXPECT_EQ(CannedMarkGlyph(Kind::kLineBreakMark, u"MSGothic"), u"↓");
}

TEST(CannedTextTest, OneLineTextEscapesEveryLineEndAndTab) {
  EXPECT_EQ(OneLineText(u"a\r\nb"), u"a\\nb");
  EXPECT_EQ(OneLineText(u"a\nb"), u"a\\nb");
  EXPECT_EQ(OneLineText(u"a\rb\n\r\r\nc\td"), u"a\\nb\\n\\n\\nc\\td");
  // A text that already holds escapes is stored unchanged, so a paste expands them later.
  EXPECT_EQ(OneLineText(u"x\\ty\\n"), u"x\\ty\\n");
}

TEST(CannedTextTest, EditFieldsRoundTrip) {
  const CannedEditFields labelled = EditFieldsOf(u"  Name \t Hello\\nWorld\\tX");
  EXPECT_EQ(labelled.label, u"Name");
  EXPECT_EQ(labelled.body, u" Hello\r\nWorld\tX");  // the body is not trimmed
  EXPECT_EQ(ItemOfEditFields(labelled.label, labelled.body), u"Name\t Hello\\nWorld\\tX");

  const CannedEditFields plain = EditFieldsOf(u"plain\\n");
  EXPECT_EQ(plain.label, u"");
  EXPECT_EQ(plain.body, u"plain\r\n");
  EXPECT_EQ(ItemOfEditFields(u"", plain.body), u"plain\\n");

  // Clearing the label stores the body alone, without a TAB.
  EXPECT_EQ(ItemOfEditFields(u"", u"body\tpart"), u"body\\tpart");
  // A TAB or a line break pasted into a field cannot split the item or move the label's end.
  EXPECT_EQ(ItemOfEditFields(u"a\tb", u"x\ny\rz"), u"a\\tb\tx\\ny\\nz");
}

TEST(CannedTextTest, StatusTexts) {
  EXPECT_EQ(CannedStatusRows(-1, 5), u"");
  EXPECT_EQ(CannedStatusRows(0, 5), u"  1/  5");
  EXPECT_EQ(CannedStatusRows(1233, 2000), u"1234/2000");
  EXPECT_EQ(CannedStatusText(u"a\r\nb\tc\nd"), u"a\\nb\\tc\nd");
}

TEST(CannedTextTest, ClipboardCommandChoosesASet) {
  EXPECT_EQ(CannedSetOfCommand(u"CLIPBOARD_T"), std::nullopt);
  EXPECT_EQ(CannedSetOfCommand(u"CLIPBOARD_T3"), 2);
  EXPECT_EQ(CannedSetOfCommand(u"CLIPBOARD_T1"), 0);
  EXPECT_EQ(CannedSetOfCommand(u"CLIPBOARD_T8"), 7);
  EXPECT_EQ(CannedSetOfCommand(u"CLIPBOARD_TX"), 0);  // not a number: set 1
  EXPECT_EQ(CannedSetOfCommand(u"CLIPBOARD_T9"), -1);
  EXPECT_EQ(CannedSetOfCommand(u"CLIPBOARD_T0"), -1);
  EXPECT_EQ(CannedSetOfCommand(u"CLIPBOARD_T-2147483648"), -1);
  EXPECT_EQ(CannedSetOfCommand(u"CLIPBOARD_T2147483647"), -1);
}

TEST(CannedTextTest, EscapeMenuCodesAreTheCaptionsFirstWords) {
  ASSERT_EQ(kCannedEscapeMenu.size(), 17u);
  EXPECT_EQ(kCannedEscapeMenu[0].caption, u"\\n  改行");
  EXPECT_EQ(kCannedEscapeMenu[4].caption, u"\\MM 月 January～December");
  EXPECT_EQ(kCannedEscapeMenu[13].caption, u"\\T  時刻  hh:mm:ss");
  for (const CannedEscapeItem& item : kCannedEscapeMenu) {
    EXPECT_EQ(item.code, item.caption.substr(0, item.caption.find(u' ')));
    // Every code is one that expands.
    FakeClock clock;
    FakeLocale locale;
    EXPECT_EQ(CannedPasteText(item.code, clock, locale).find(u'\\'), std::u16string::npos)
        << testing::PrintToString(std::u16string(item.code));
  }
}

}  // namespace
