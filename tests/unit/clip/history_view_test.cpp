#include "clip/history_view.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/fake_locale.h"

namespace {

using Texts = std::vector<std::u16string>;
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
  Texts Entries() const {
    Texts texts;
    for (const HistoryRec& rec : history.Items()) texts.push_back(rec.Text);
    return texts;
  }

  FakeLocale locale;
  THistoryList history;
  HistoryView view{history, locale};
};

}  // namespace

TEST_F(HistoryViewTest, RowsShowEveryEntryAndTheSelectionStaysInside) {
  view.FillHistList(0);
  EXPECT_EQ(view.Selected(), -1);
  EXPECT_EQ(view.RowToHistIndex(-1), -1);
  EXPECT_EQ(view.SelText(-1), u"");
  Load({u"a", u"b", u"c"});
  EXPECT_EQ(view.Selected(), 0);
  view.FillHistList(7);
  EXPECT_EQ(view.Selected(), 2);
  EXPECT_EQ(view.SelText(-1), u"c");
  EXPECT_EQ(view.RowToHistIndex(3), -1);
  // A row whose entry has gone (the history changed under the rows) finds nothing.
  history.Delete(2);
  EXPECT_EQ(view.RowToHistIndex(-1), -1);
  EXPECT_EQ(view.SelText(2), u"");
}

TEST_F(HistoryViewTest, ExtractKeepsRowsWithAnyWordAndExceptRemovesThem) {
  Load({u"foo", u"BAR", u"baz", u"a b", u"x1", std::u16string(128, u'q') + u"foo"});
  view.Extract(u"foo bar");
  EXPECT_EQ(Shown(), (Texts{u"foo", u"BAR"}));  // text beyond 128 units is not searched
  EXPECT_EQ(view.Selected(), 0);
  view.Release();
  view.Extract(u"\\s");
  EXPECT_EQ(Shown(), (Texts{u"a b"}));
  view.Release();
  view.Extract(u"1");  // the entry index takes no part
  EXPECT_EQ(Shown(), (Texts{u"x1"}));
  view.Release();
  view.Except(u"foo BA");
  EXPECT_EQ(Shown(), (Texts{u"a b", u"x1", std::u16string(128, u'q') + u"foo"}));
  view.Except(u"   ");  // no words: Except removes nothing
  EXPECT_EQ(view.RowCount(), 3u);
  view.Extract(u"   ");  // and Extract everything
  EXPECT_EQ(view.RowCount(), 0u);
  EXPECT_EQ(view.Selected(), -1);
}

TEST_F(HistoryViewTest, StatusShowsRowsEntriesAndTheSize) {
  Load({u"a1", u"b", u"c1", u"d", u"e1", u"f", u"g1", u"h", u"i", u"j"});
  EXPECT_EQ(view.StatusRows(), u"  1/ 10");
  EXPECT_EQ(view.StatusSize(), u"       2文字/     1行");
  view.Extract(u"1");
  view.Select(1);
  EXPECT_EQ(view.StatusRows(), u"  2/  4(10)");
  view.Select(-1);
  EXPECT_EQ(view.StatusRows(), u"-/4(10)");
  EXPECT_EQ(view.StatusSize(), u"");
  Load({std::u16string(100000, u'x') + u"\n\n"});
  EXPECT_EQ(view.StatusSize(), u"  100002文字/     2行");
}

TEST_F(HistoryViewTest, PreviewFromPreviewLnLines) {
  Load({u"1\n2\n3"});
  EXPECT_EQ(view.PreviewText(3), std::optional<std::u16string>(u"1\n2\n3"));
  EXPECT_FALSE(view.PreviewText(4));
  EXPECT_FALSE(view.PreviewText(0));
}

TEST_F(HistoryViewTest, DeletingARowKeepsTheOtherRowsOnTheirEntries) {
  Load({u"a", u"b", u"c", u"d", u"e"});
  view.Except(u"b");
  view.Select(1);  // "c"
  ASSERT_TRUE(view.DeleteSelected());
  EXPECT_EQ(Entries(), (Texts{u"a", u"b", u"d", u"e"}));
  EXPECT_EQ(Shown(), (Texts{u"a", u"d", u"e"}));
  EXPECT_EQ(view.Selected(), 1);
  view.Select(2);
  ASSERT_TRUE(view.DeleteSelected());  // the last row: the new last row is selected
  EXPECT_EQ(Shown(), (Texts{u"a", u"d"}));
  EXPECT_EQ(view.Selected(), 1);
  view.Select(-1);
  EXPECT_FALSE(view.DeleteSelected());
}

TEST_F(HistoryViewTest, DeleteAllShownDeletesExactlyTheShownEntries) {
  Load({u"a", u"b", u"c", u"d", u"e"});
  view.Except(u"b d");
  view.DeleteAllShown();
  EXPECT_EQ(Entries(), (Texts{u"b", u"d"}));
  EXPECT_EQ(Shown(), (Texts{u"b", u"d"}));
  EXPECT_EQ(view.Selected(), 0);
  view.DeleteAllShown();
  EXPECT_TRUE(history.Empty());
  EXPECT_FALSE(view.CanDeleteAll());
}

TEST_F(HistoryViewTest, ExpandingPutsTheLinesInTheEntrysPlaceWithStepsInTime) {
  Load({u"x", u"y", u"a\n\nb", u"z"});
  view.Select(2);
  ASSERT_TRUE(view.CanExpand());
  ASSERT_TRUE(view.ExpandLines(50));
  EXPECT_EQ(Entries(), (Texts{u"x", u"y", u"a", u"b", u"z"}));
  EXPECT_EQ(history.At(2).CreTime, kTime);
  EXPECT_DOUBLE_EQ(history.At(3).CreTime, kTime - 2 * 1.157e-7);
  EXPECT_EQ(view.Selected(), 2);
  EXPECT_EQ(view.RowCount(), 5u);
  // A sort by time keeps the lines in their order.
  view.Sort(HistorySort::kTime);
  EXPECT_EQ(Entries(), (Texts{u"a", u"x", u"y", u"z", u"b"}));
}

TEST_F(HistoryViewTest, ExpandingKeepsDuplicatesAndEveryKindOfLineBreak) {
  Load({u"a\r\nb\rc\n", u"b"});
  ASSERT_TRUE(view.ExpandLines(50));
  EXPECT_EQ(Entries(), (Texts{u"a", u"b", u"c", u"b"}));
  EXPECT_FALSE(view.CanExpand());  // "a" has one line
}

TEST_F(HistoryViewTest, ExpandingThatWouldDropAnythingDoesNothing) {
  Load({u"0", u"1", u"2", u"l1\nl2\nl3\nl4"});
  view.Select(3);
  EXPECT_FALSE(view.ExpandLines(5));  // 3 + 4 entries would not fit in 5
  EXPECT_EQ(history.Count(), 4u);
  EXPECT_EQ(view.Selected(), 3);
  EXPECT_TRUE(view.ExpandLines(7));
  EXPECT_EQ(history.Count(), 7u);
  // Already over the limit (a longer file was loaded): nothing is dropped either.
  Load({u"0", u"1", u"2", u"a\nb"});
  view.Select(3);
  EXPECT_FALSE(view.ExpandLines(3));
  EXPECT_EQ(history.Count(), 4u);
}

TEST_F(HistoryViewTest, SortingRebuildsTheRowsWithoutFilters) {
  Load({u"b", u"a", u"c"});
  view.Except(u"a");
  ASSERT_TRUE(view.Filtered());
  view.Sort(HistorySort::kText);
  EXPECT_EQ(Shown(), (Texts{u"a", u"b", u"c"}));
  EXPECT_FALSE(view.Filtered());
  EXPECT_TRUE(view.CanSort());
  EXPECT_TRUE(view.CanFilter(u"a"));
  EXPECT_FALSE(view.CanFilter(u""));
}

TEST(PushHistoryItemTest, TheWordMovesToTheTopFoundWithoutRegardToCase) {
  FakeLocale locale;
  std::vector<std::u16string> items{u"one", u"Two", u"three"};
  PushHistoryItem(items, u"two", locale);
  EXPECT_EQ(items, (std::vector<std::u16string>{u"two", u"one", u"three"}));
  PushHistoryItem(items, u"TWO", locale);  // already on top: nothing moves
  EXPECT_EQ(items, (std::vector<std::u16string>{u"two", u"one", u"three"}));
  PushHistoryItem(items, u"four", locale);
  PushHistoryItem(items, u"", locale);
  EXPECT_EQ(items, (std::vector<std::u16string>{u"four", u"two", u"one", u"three"}));
}
