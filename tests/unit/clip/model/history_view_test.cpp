#include "clip/model/history_view.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/fake_locale.h"
#include "support/fake_model.h"
#include "support/history_texts.h"

namespace {

constexpr double kTime = 42000.5;

class HistoryViewTest : public ::testing::Test {
 protected:
  void Load(const Texts& texts) {
    history.Clear();
    for (const auto& text : texts) history.Append(HistoryRec(text, kTime));
    view.FillHistList(0);
  }
  Texts Shown() const {
    Texts texts;
    for (std::size_t row = 0; row < view.RowCount(); ++row) {
      texts.push_back(view.SelText(static_cast<int>(row)));
    }
    return texts;
  }

  FakeLocale locale;
  THistoryList history;
  HistoryView view{history, locale};
};

}  // namespace

TEST_F(HistoryViewTest, FiltersSearchTheDisplayTextOnly) {
  const std::u16string longer = std::u16string(128, u'q') + u"foo";
  Load({u"foo", u"BAR", u"baz", u"a b", u"x1", longer});
  view.Extract(u"foo bar");
  EXPECT_EQ(Shown(), (Texts{u"foo", u"BAR"}));
  view.Release();
  view.Extract(u"\\s");
  EXPECT_EQ(Shown(), (Texts{u"a b"}));
  view.Release();
  view.Extract(u"1");  // the entry index takes no part
  EXPECT_EQ(Shown(), (Texts{u"x1"}));
  EXPECT_EQ(view.Selected(), 0);
  view.Release();
  view.Except(u"foo BA");
  EXPECT_EQ(Shown(), (Texts{u"a b", u"x1", longer}));
  view.Except(u"   ");  // no words: Except removes nothing, Extract everything
  EXPECT_EQ(view.RowCount(), 3u);
  view.Extract(u"   ");
  EXPECT_EQ(view.Selected(), -1);
}

TEST_F(HistoryViewTest, FiltersMatchAcrossWidthAndKanaUntilFoldWidthKanaIsOff) {
  const Texts rows{u"ｶﾞｲﾄﾞﾌﾞｯｸ", u"がいどぶっく",     u"ガイド",
                   u"カイド",    u"型番ＡＢＣ１２３", u"abc 123"};
  Load(rows);
  EXPECT_TRUE(view.FoldsWidthKana());
  view.Extract(u"ガイド");
  EXPECT_EQ(Shown(), (Texts{u"ｶﾞｲﾄﾞﾌﾞｯｸ", u"がいどぶっく", u"ガイド"}));
  view.Release();
  view.Extract(u"ａｂｃ１２");
  EXPECT_EQ(Shown(), (Texts{u"型番ＡＢＣ１２３"}));
  view.Release();
  view.Except(u"ぶっく 123");
  EXPECT_EQ(Shown(), (Texts{u"ガイド", u"カイド"}));

  FakeModel fake;
  view.LoadSettings(
      *fake.Load("[General]\nVersion=169\n[ClipboardList]\nFoldWidthKana=0\n").IniFile);
  EXPECT_FALSE(view.FoldsWidthKana());
  view.Release();
  view.Extract(u"ガイド");
  EXPECT_EQ(Shown(), (Texts{u"ガイド"}));
  view.Release();
  view.Extract(u"ABC");  // letter case is still ignored
  EXPECT_EQ(Shown(), (Texts{u"abc 123"}));
  view.LoadSettings(*fake.Load("[General]\nVersion=169\n").IniFile);
  EXPECT_TRUE(view.FoldsWidthKana()) << "on by default";
}

TEST_F(HistoryViewTest, SearchesAfterAChangeOfTheHistorySeeItsEntriesAsTheyAreNow) {
  Load({u"alpha", u"beta", u"gamma"});
  view.Extract(u"a");
  EXPECT_EQ(Shown(), (Texts{u"alpha", u"beta", u"gamma"}));
  history.Insert(0, HistoryRec(u"delta", kTime));
  history.Delete(2);  // beta
  view.FillHistList(0);
  view.Extract(u"el");
  EXPECT_EQ(Shown(), (Texts{u"delta"}));
  view.Sort(HistorySort::kText);  // alpha, delta, gamma
  view.Extract(u"mm");
  EXPECT_EQ(Shown(), (Texts{u"gamma"}));
  history.Assign({HistoryRec(u"omega", kTime), HistoryRec(u"gamma", kTime)});
  view.FillHistList(0);
  view.Except(u"mm");
  EXPECT_EQ(Shown(), (Texts{u"omega"}));
  history.Clear();
  history.Append(HistoryRec(u"ｶﾞ", kTime));
  history.MergeBelow({HistoryRec(u"mu", kTime)});
  view.FillHistList(0);
  view.Extract(u"が mu");
  EXPECT_EQ(Shown(), (Texts{u"ｶﾞ", u"mu"}));
}

TEST_F(HistoryViewTest, StatusAndPreview) {
  Load({u"a1", u"b", u"c1", u"d", u"e1", u"f", u"g1", u"h", u"i", u"j"});
  EXPECT_EQ(view.StatusRows(), u"  1/ 10");
  EXPECT_EQ(view.StatusSize(), u"       2文字/     1行");
  view.Extract(u"1");
  view.Select(1);
  EXPECT_EQ(view.StatusRows(), u"  2/  4(10)");
  view.Select(-1);
  EXPECT_EQ(view.StatusRows(), u"-/4(10)");
  EXPECT_EQ(view.StatusSize(), u"");
  Load({u"1\n2\n3"});
  EXPECT_EQ(view.PreviewText(3), std::optional<std::u16string>(u"1\n2\n3"));
  EXPECT_FALSE(view.PreviewText(4));
  EXPECT_FALSE(view.PreviewText(0));
}

TEST_F(HistoryViewTest, DeletesKeepTheOtherRowsOnTheirEntries) {
  Load({u"a", u"b", u"c", u"d", u"e"});
  view.Except(u"b");
  view.Select(1);  // "c"
  ASSERT_TRUE(view.DeleteSelected());
  EXPECT_EQ(Shown(), (Texts{u"a", u"d", u"e"}));
  view.Select(2);
  ASSERT_TRUE(view.DeleteSelected());  // the last row: the new last row is selected
  EXPECT_EQ(view.Selected(), 1);
  view.Except(u"a");  // only "d" is shown of "a", "b", "d"
  view.DeleteAllShown();
  EXPECT_EQ(TextsOf(history.Items()), (Texts{u"a", u"b"}));
  EXPECT_EQ(Shown(), (Texts{u"a", u"b"}));
}

TEST_F(HistoryViewTest, ExpandingAFullHistoryDropsTheOldestButNeverALineOfTheEntry) {
  Load({u"x", u"a\n\nb", u"a", u"c\r\nd\re\n"});
  view.Select(3);
  ASSERT_TRUE(view.CanExpand());
  // At the end of a full history its lines would fall beyond the limit: refused, nothing changes.
  EXPECT_EQ(view.ExpandLines(4), ExpandResult::kWouldCut);
  EXPECT_EQ(history.Count(), 4u);
  ASSERT_EQ(view.ExpandLines(6), ExpandResult::kExpanded);
  EXPECT_EQ(TextsOf(history.Items()), (Texts{u"x", u"a\n\nb", u"a", u"c", u"d", u"e"}));
  // Now full: the entry's lines take the place of the oldest entries; a line equal to another
  // entry stays a second entry.
  view.Select(1);
  ASSERT_EQ(view.ExpandLines(6), ExpandResult::kExpanded);
  EXPECT_EQ(TextsOf(history.Items()), (Texts{u"x", u"a", u"b", u"a", u"c", u"d"}));
  EXPECT_EQ(history.At(1).CreTime, kTime);
  EXPECT_DOUBLE_EQ(history.At(2).CreTime, kTime - 2 * 1.157e-7);  // an empty line counts
  EXPECT_EQ(view.Selected(), 1);
  // An entry at or beyond the limit (a longer file was loaded) has no room for any line.
  Load({u"0", u"1", u"a\nb"});
  view.Select(2);
  EXPECT_EQ(view.ExpandLines(2), ExpandResult::kWouldCut);
  EXPECT_EQ(history.Count(), 3u);
  view.Select(-1);
  EXPECT_EQ(view.ExpandLines(9), ExpandResult::kNothing);
}

TEST(PushHistoryItemTest, TheWordMovesToTheTopFoundWithoutRegardToCase) {
  FakeLocale locale;
  std::vector<std::u16string> items;
  PushHistoryItem(items, u"first", locale);  // the first word of an empty history gets in
  EXPECT_EQ(items, (std::vector<std::u16string>{u"first"}));
  items = {u"one", u"Two", u"three"};
  PushHistoryItem(items, u"two", locale);
  PushHistoryItem(items, u"TWO", locale);  // already on top: nothing moves
  PushHistoryItem(items, u"", locale);
  EXPECT_EQ(items, (std::vector<std::u16string>{u"two", u"one", u"three"}));
}
