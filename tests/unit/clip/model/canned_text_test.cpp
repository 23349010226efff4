#include "clip/model/canned_text.h"

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
    std::u16string item, label, paste;
  } cases[] = {
      // The body is trimmed first, then expanded: the blanks around "\n" stay inside.
      {u"Greeting\t Hello\\nWorld ", u"Greeting", u"Hello\r\nWorld"},
      {u"L\tA\tB\t ", u"L", u"A\tB"},  // only the first TAB separates
      {u" abc ", u" abc ", u" abc "},  // a plain item keeps its blanks
      {u"-", u"-", u""},
      {u" -", u" -", u" -"},  // only exactly "-" is a separator
      {u"-\tdash", u"-", u"dash"},
      {u"日付\t\\Y/\\0m/\\0d (\\w) \\T", u"日付", u"2015/03/05 (木) 09:04:07"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CannedLabel(c.item), c.label) << testing::PrintToString(c.item);
    EXPECT_EQ(CannedPasteText(c.item, clock, locale), c.paste) << testing::PrintToString(c.item);
  }
}

TEST(CannedTextTest, RowPiecesSplitAtEachEscapeMark) {
  const auto pieces = [](std::u16string_view label) {
    std::u16string shown;  // marks as | and ~
    for (const CannedRowPiece& p : AllPieces(CannedRowPieces(label))) {
      if (p.kind == Kind::kText) {
        EXPECT_FALSE(p.text.empty() && !label.empty()) << "an empty piece";
        shown += u"[" + std::u16string(p.text) + u"]";
      } else {
        shown += p.kind == Kind::kTabMark ? u"|" : u"~";
      }
    }
    return shown;
  };
  EXPECT_EQ(pieces(u"a\\tb\\nc"), u"[a]|[b]~[c]");
  EXPECT_EQ(pieces(u"\\n\\nx\\t"), u"~~[x]|");
  EXPECT_EQ(pieces(u"\\Y\\\\"), u"[\\Y\\\\]");  // other escapes are drawn as typed
  EXPECT_EQ(pieces(u"-"), u"");
  EXPECT_EQ(CannedMarkGlyph(Kind::kTabMark, u"ＭＳ Ｐゴシック"), u"\u21C0");
  EXPECT_EQ(CannedMarkGlyph(Kind::kLineBreakMark, u"MS UI Gothic"), u"\u21B4");
  EXPECT_EQ(CannedMarkGlyph(Kind::kLineBreakMark, u"MSGothic"), u"↓");
}

TEST(CannedTextTest, TextsBecomeOneLineAndEditFieldsRoundTrip) {
  EXPECT_EQ(OneLineText(u"a\r\nb\nc\rd\n\r\te"), u"a\\nb\\nc\\nd\\n\\n\\te");
  // A text that already holds escapes is stored unchanged, so a paste expands them later.
  EXPECT_EQ(OneLineText(u"x\\ty\\n"), u"x\\ty\\n");

  const CannedEditFields labelled = EditFieldsOf(u"  Name \t Hello\\nWorld\\tX");
  EXPECT_EQ(labelled.label, u"Name");
  EXPECT_EQ(labelled.body, u" Hello\r\nWorld\tX");  // the body is not trimmed
  EXPECT_EQ(ItemOfEditFields(labelled.label, labelled.body), u"Name\t Hello\\nWorld\\tX");
  EXPECT_EQ(EditFieldsOf(u"plain\\n").label, u"");
  // Clearing the label stores the body alone, without a TAB.
  EXPECT_EQ(ItemOfEditFields(u"", labelled.body), u" Hello\\nWorld\\tX");
  // A TAB or a line break pasted into a field cannot split the item or move the label's end.
  EXPECT_EQ(ItemOfEditFields(u"a\tb", u"x\ny\rz"), u"a\\tb\tx\\ny\\nz");
}

TEST(CannedTextTest, StatusTexts) {
  EXPECT_EQ(CannedStatusRows(-1, 5), u"");
  EXPECT_EQ(CannedStatusRows(0, 5), u"  1/  5");
  EXPECT_EQ(CannedStatusRows(1233, 2000), u"1234/2000");
  EXPECT_EQ(CannedStatusText(u"a\r\nb\tc"), u"a\\nb\\tc");
}

TEST(CannedTextTest, EscapeMenuCodesAreTheCaptionsFirstWordsAndExpand) {
  FakeClock clock;
  FakeLocale locale;
  EXPECT_EQ(kCannedEscapeMenu[4].caption, u"\\MM 月 January～December");
  for (const CannedEscapeItem& item : kCannedEscapeMenu) {
    EXPECT_EQ(item.code, item.caption.substr(0, item.caption.find(u' ')));
    EXPECT_EQ(CannedPasteText(item.code, clock, locale).find(u'\\'), std::u16string::npos)
        << testing::PrintToString(std::u16string(item.code));
  }
}

}  // namespace
