#include "clip/history.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

namespace {

std::vector<std::u16string> Texts(const THistoryList& list) {
  std::vector<std::u16string> texts;
  for (const HistoryRec& rec : list.Items()) texts.push_back(rec.Text);
  return texts;
}

THistoryList ListOf(const std::vector<std::pair<std::u16string, double>>& entries) {
  THistoryList list;
  for (const auto& [text, time] : entries) list.Append(HistoryRec(text, time));
  return list;
}

}  // namespace

TEST(HistoryRecTest, DisplayTextIsTheFirst128UnitsWithLineBreaksAsLf) {
  const std::u16string exact(128, u'x');
  EXPECT_EQ(HistoryRec(exact, 0).DispText, exact);
  const HistoryRec longer(exact + u"y", 0);
  EXPECT_EQ(longer.DispText, exact + u"...");
  EXPECT_EQ(longer.DispText.size(), 131u);

  const HistoryRec mixed(u"a\r\nb\rc", 0);
  EXPECT_EQ(mixed.DispText, u"a\nb\nc");
  EXPECT_EQ(mixed.LineCount, 2);  // a lone CR is no line break for the count
  // The cut comes first: a CR LF pair cut in two shows its CR as a line break.
  const HistoryRec cut(std::u16string(127, u'x') + u"\r\nz", 0);
  EXPECT_EQ(cut.DispText, std::u16string(127, u'x') + u"\n...");
}

TEST(HistoryRecTest, LineCountsFollowTheLfRule) {
  EXPECT_EQ(HistoryRec(u"", 0).LineCount, 0);
  EXPECT_EQ(HistoryRec(u"abc", 0).LineCount, 1);
  EXPECT_EQ(HistoryRec(u"abc\n", 0).LineCount, 1);
  EXPECT_EQ(HistoryRec(u"a\nb", 0).LineCount, 2);
  EXPECT_EQ(HistoryRec(u"\r", 0).LineCount, 1);
}

TEST(HistoryRecTest, TextOrderFoldsOnlyAsciiLetters) {
  EXPECT_EQ(CompareHistoryText(u"abc", u"ABC"), 0);
  EXPECT_LT(CompareHistoryText(u"ab", u"ABC"), 0);  // a prefix first
  EXPECT_GT(CompareHistoryText(u"b", u"A"), 0);
  // "_" (0x5F) lies between "Z" (0x5A) and "a" (0x61): after folding it comes after letters.
  EXPECT_LT(CompareHistoryText(u"a", u"_"), 0);
  EXPECT_NE(CompareHistoryText(u"é", u"É"), 0);
  EXPECT_NE(CompareHistoryText(u"ａ", u"Ａ"), 0);
}

TEST(HistoryListTest, SortsByTheirKeysAndTies) {
  THistoryList list =
      ListOf({{u"b", 3}, {u"A", 5}, {u"c", 5}, {u"a\nb\nc", 1}, {u"123456789", 2}, {u"12345", 4}});
  list.Sort(HistorySort::kText);
  EXPECT_EQ(Texts(list),
            (std::vector<std::u16string>{u"12345", u"123456789", u"A", u"a\nb\nc", u"b", u"c"}));
  list.Sort(HistorySort::kTime);  // newest first, ties by text
  EXPECT_EQ(Texts(list),
            (std::vector<std::u16string>{u"A", u"c", u"12345", u"b", u"123456789", u"a\nb\nc"}));
  list.Sort(HistorySort::kLength);  // longest first, ties by text
  EXPECT_EQ(Texts(list),
            (std::vector<std::u16string>{u"123456789", u"12345", u"a\nb\nc", u"A", u"b", u"c"}));
  list.Sort(HistorySort::kLineCount);  // most lines, then longest, then text
  EXPECT_EQ(Texts(list),
            (std::vector<std::u16string>{u"a\nb\nc", u"123456789", u"12345", u"A", u"b", u"c"}));
}

TEST(HistoryListTest, InsertDeleteAndAssign) {
  THistoryList list = ListOf({{u"a", 0}, {u"c", 0}});
  list.Insert(1, HistoryRec(u"b", 0));
  list.Insert(3, HistoryRec(u"d", 0));
  EXPECT_EQ(Texts(list), (std::vector<std::u16string>{u"a", u"b", u"c", u"d"}));
  list.Delete(0);
  list.Delete(2);
  EXPECT_EQ(Texts(list), (std::vector<std::u16string>{u"b", u"c"}));
  list.Assign({HistoryRec(u"x", 0)});
  EXPECT_EQ(Texts(list), (std::vector<std::u16string>{u"x"}));
  list.Clear();
  EXPECT_TRUE(list.Empty());
}

TEST(HistoryTimeTest, DaysCountFrom30December1899) {
  EXPECT_EQ(DaysFromDateTime({1899, 12, 30, 6, 0, 0, 0}), 0.0);
  EXPECT_EQ(DaysFromDateTime({1900, 1, 1, 1, 18, 0, 0}), 2.75);
  EXPECT_EQ(DaysFromDateTime({2000, 3, 1, 3, 0, 0, 0}), 36586.0);  // after a leap day of 2000
  EXPECT_LT(DaysFromDateTime({1800, 1, 1, 3, 0, 0, 0}), 0.0);

  const LocalDateTime back = DateTimeFromDays(DaysFromDateTime({2015, 3, 5, 4, 9, 4, 7}));
  EXPECT_EQ(back.year, 2015);
  EXPECT_EQ(back.month, 3);
  EXPECT_EQ(back.day, 5);
  EXPECT_EQ(back.weekday, 4);  // Thursday
  EXPECT_EQ(back.hour, 9);
  EXPECT_EQ(back.minute, 4);
  EXPECT_EQ(back.second, 7);
}

TEST(HistoryTimeTest, EverySecondOfADayComesBackToTheSecond) {
  for (int second = 0; second < 86400; second += 7) {
    const LocalDateTime when{2024, 2, 29, 4, second / 3600, second / 60 % 60, second % 60};
    // A little off, as a time an expanded line took, still reads as the same second.
    const LocalDateTime back = DateTimeFromDays(DaysFromDateTime(when) - 2 * 1.157e-7);
    ASSERT_EQ(back.hour * 3600 + back.minute * 60 + back.second, second);
    ASSERT_EQ(back.day, 29);
  }
}

TEST(HistoryTimeTest, TimesOutsideTheCalendarAreHeldAtItsEnds) {
  const LocalDateTime early = DateTimeFromDays(-1e12);
  EXPECT_EQ(early.year, 1601);
  EXPECT_EQ(early.month, 1);
  EXPECT_EQ(early.day, 1);
  const LocalDateTime late = DateTimeFromDays(1e300);
  EXPECT_EQ(late.year, 9999);
  EXPECT_EQ(late.second, 59);
  EXPECT_EQ(DateTimeFromDays(std::numeric_limits<double>::quiet_NaN()).year, 1601);
}
