#include "popup_menu/model/launcher_layout.h"

#include <gtest/gtest.h>

#include "support/fake_locale.h"

namespace {

// 7 pixels a character, 9 in the accelerator's font; "|" is 13 high.
class FixedMeasure : public LauncherTextMeasure {
 public:
  int Width(std::u16string_view text, bool accelerator) const override {
    return static_cast<int>(text.size()) * (accelerator ? 9 : 7);
  }
  int BarHeight() const override { return 13; }
};

PopupItem Item(int tag, bool measured = true) {
  PopupItem item;
  item.Tag = tag;
  item.Measured = measured;
  item.Caption = u"-";
  return item;
}

LauncherOptions Colours() {
  LauncherOptions o;
  o.FgColorL = 1, o.BgColorL = 2, o.SelFgColorL = 3, o.SelBgColorL = 4;
  o.FgColorP = 5, o.BgColorP = 6, o.SelFgColorP = 7, o.SelBgColorP = 8;
  o.AkColor = 9, o.SelAkColor = 10;
  return o;
}

struct Run {
  std::u16string text;
  int x, y;
  std::uint32_t colour;
  bool accelerator;
  bool operator==(const TextRun& r) const {
    return text == r.text && x == r.x && y == r.y && colour == r.colour &&
           accelerator == r.accelerator;
  }
};

void ExpectRuns(const ItemPaint& paint, const std::vector<Run>& want) {
  ASSERT_EQ(paint.runs.size(), want.size());
  for (std::size_t i = 0; i < want.size(); ++i) {
    EXPECT_TRUE(want[i] == paint.runs[i]) << "run " << i << " x=" << paint.runs[i].x;
  }
}

const FixedMeasure kMeasure;

}  // namespace

TEST(LauncherLayoutTest, MeasuringAddsPaddingRaisedHeightAndMinimums) {
  LauncherOptions o;
  const PopupItem entry = Item(0x101);
  EXPECT_EQ(MeasureLauncherItem(entry, u"Editor", o, kMeasure, 8).width, 6 * 7 + 12);
  EXPECT_EQ(MeasureLauncherItem(entry, u"Editor", o, kMeasure, 8).height, 13);
  o.SelRaised = true;
  EXPECT_EQ(MeasureLauncherItem(entry, u"Editor", o, kMeasure, 8).height, 15);
  o.ItemHeight = 10;  // smaller than the font: the font wins
  EXPECT_EQ(MeasureLauncherItem(entry, u"x", o, kMeasure, 8).height, 15);
  o.ItemHeight = 30;
  o.MinWidth = 200;
  const ItemSize size = MeasureLauncherItem(Item(0x1004), u"-", o, kMeasure, 8);
  EXPECT_EQ(size.height, 30);
  EXPECT_EQ(size.width, 200);
  // Line separators, blank separators and the boundary keep the platform's small height.
  EXPECT_EQ(MeasureLauncherItem(Item(0x205, false), u"-", o, kMeasure, 8).height, 8);
  EXPECT_EQ(MeasureLauncherItem(Item(0x2001, false), u"-", o, kMeasure, 8).height, 8);
}

TEST(LauncherLayoutTest, ColoursBySectionAndSelection) {
  const LauncherOptions o = Colours();
  const LayoutRect r{0, 0, 100, 20};
  EXPECT_EQ(LayoutLauncherItem(Item(0x101), u"a", r, false, o, kMeasure).background, 2u);
  EXPECT_EQ(LayoutLauncherItem(Item(0x101), u"a", r, true, o, kMeasure).background, 4u);
  EXPECT_EQ(LayoutLauncherItem(Item(0x104), u"a", r, false, o, kMeasure).background, 6u);
  const ItemPaint selectedPaste = LayoutLauncherItem(Item(0x104), u"a", r, true, o, kMeasure);
  EXPECT_EQ(selectedPaste.background, 8u);
  ExpectRuns(selectedPaste, {{u"a", 8, 3, 7, false}});
}

TEST(LauncherLayoutTest, SeparatorsShowLinesAndTheBoundarysPasteBackground) {
  const LauncherOptions o = Colours();
  const LayoutRect r{0, 10, 100, 19};
  const ItemPaint launchLine = LayoutLauncherItem(Item(0x201, false), u"-", r, false, o, kMeasure);
  EXPECT_FALSE(launchLine.pasteFill);
  ASSERT_TRUE(launchLine.etchedLine);
  EXPECT_EQ(launchLine.etchedLine->top, 14);
  const ItemPaint boundary = LayoutLauncherItem(Item(0x205, false), u"-", r, false, o, kMeasure);
  EXPECT_EQ(boundary.background, 2u);  // launch background above the line
  ASSERT_TRUE(boundary.pasteFill);
  EXPECT_EQ(boundary.pasteFill->top, 14);
  EXPECT_TRUE(LayoutLauncherItem(Item(0x204, false), u"-", r, false, o, kMeasure).pasteFill);
  const ItemPaint blank = LayoutLauncherItem(Item(0x1004), u"-", r, true, o, kMeasure);
  EXPECT_TRUE(blank.runs.empty());
  EXPECT_FALSE(blank.etchedLine);
  EXPECT_FALSE(blank.raisedEdge);
}

TEST(LauncherLayoutTest, AcceleratorIsDrawnApartAndOnlyTheFirstAmpersandCounts) {
  LauncherOptions o = Colours();
  o.SelRaised = true;
  const LayoutRect r{10, 20, 200, 40};  // text at y = 20 + (20 - 13) / 2 = 23
  const ItemPaint paint = LayoutLauncherItem(Item(0x101), u"Sa&ve && go", r, true, o, kMeasure);
  EXPECT_TRUE(paint.raisedEdge);
  ExpectRuns(paint,
             {{u"Sa", 18, 23, 3, false}, {u"v", 32, 23, 10, true}, {u"e && go", 41, 23, 3, false}});
  EXPECT_FALSE(LayoutLauncherItem(Item(0x101), u"x", r, false, o, kMeasure).raisedEdge);
  // A trailing "&": the part before it only, nothing underlined.
  ExpectRuns(LayoutLauncherItem(Item(0x104), u"End&", r, false, o, kMeasure),
             {{u"End", 18, 23, 5, false}});
}

TEST(LauncherLayoutTest, AcceleratorFont) {
  LauncherOptions o;
  EXPECT_TRUE(AcceleratorUnderlined(o));
  EXPECT_FALSE(AcceleratorAddsBold(o));
  o.NoAkUnderline = true;
  o.AkBold = true;
  EXPECT_FALSE(AcceleratorUnderlined(o));
  EXPECT_TRUE(AcceleratorAddsBold(o));
  o.Font.bold = true;  // already bold: nothing to add, nothing to take away later
  EXPECT_FALSE(AcceleratorAddsBold(o));
}

TEST(LauncherLayoutTest, MenuCharactersExecuteOneMatchAndStepThroughSeveral) {
  const FakeLocale locale;
  const std::vector<std::u16string> labels{u"&Calc", u"", u"e&dit", u"&copy", u"End&", u"&Cut"};
  using A = MenuCharAnswer::Action;
  const MenuCharAnswer d = MatchAccelerator(labels, u'D', std::nullopt, locale);
  EXPECT_EQ(d.action, A::kExecute);
  EXPECT_EQ(d.index, 2u);
  EXPECT_EQ(MatchAccelerator(labels, u'x', std::nullopt, locale).action, A::kNone);
  EXPECT_EQ(MatchAccelerator(labels, u'&', std::nullopt, locale).action, A::kNone);
  EXPECT_EQ(MatchAccelerator(labels, u'c', std::nullopt, locale).index, 0u);
  EXPECT_EQ(MatchAccelerator(labels, u'c', std::nullopt, locale).action, A::kSelect);
  EXPECT_EQ(MatchAccelerator(labels, u'c', 0, locale).index, 3u);
  EXPECT_EQ(MatchAccelerator(labels, u'c', 3, locale).index, 5u);
  EXPECT_EQ(MatchAccelerator(labels, u'c', 5, locale).index, 0u);  // wraps around
}
