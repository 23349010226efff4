#include "clip/model/history.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "base/text_codec.h"
#include "support/history_texts.h"

TEST(HistoryRecTest, DisplayTextAndLineCount) {
  const std::u16string exact(128, u'x');
  EXPECT_EQ(HistoryRec(exact, 0).DispText(), exact);
  EXPECT_EQ(HistoryRec(exact + u"y", 0).DispText(), exact + u"...");
  // Line breaks show as LF, after the cut: a CR LF pair cut in two shows its CR as a break.
  EXPECT_EQ(HistoryRec(u"a\r\nb\rc", 0).DispText(), u"a\nb\nc");
  EXPECT_EQ(HistoryRec(std::u16string(127, u'x') + u"\r\nz", 0).DispText(),
            std::u16string(127, u'x') + u"\n...");
  // An emoji across the cut is left out whole, never shown as half a pair.
  EXPECT_EQ(HistoryRec(std::u16string(127, u'x') + u"\U0001F600z", 0).DispText(),
            std::u16string(127, u'x') + u"...");
  EXPECT_EQ(HistoryRec(std::u16string(126, u'x') + u"\U0001F600z", 0).DispText(),
            std::u16string(126, u'x') + u"\U0001F600...");
  // Lines are LFs, plus one for a text that does not end with one; a lone CR is no break.
  const std::pair<std::u16string, int> counts[] = {
      {u"", 0}, {u"abc", 1}, {u"abc\n", 1}, {u"a\nb", 2}, {u"a\r\nb\rc", 2}};
  for (const auto& [text, lines] : counts) EXPECT_EQ(HistoryRec(text, 0).LineCount, lines);
}

TEST(HistoryListTest, SortsFoldOnlyAsciiLettersAndBreakTiesByText) {
  EXPECT_EQ(CompareHistoryText(u"abc", u"ABC"), 0);
  EXPECT_LT(CompareHistoryText(u"ab", u"ABC"), 0);
  EXPECT_LT(CompareHistoryText(u"a", u"_"), 0);  // "a" counts as "A" (0x41), before "_" (0x5F)
  EXPECT_NE(CompareHistoryText(u"é", u"É"), 0);

  THistoryList list;
  for (const auto& [text, time] : std::vector<std::pair<std::u16string, double>>{
           {u"b", 3}, {u"A", 5}, {u"c", 5}, {u"a\nb\nc", 1}, {u"123456789", 2}, {u"12345", 4}}) {
    list.Append(HistoryRec(text, time));
  }
  auto texts = [&] { return TextsOf(list.Items()); };
  list.Sort(HistorySort::kText);
  EXPECT_EQ(texts(), (Texts{u"12345", u"123456789", u"A", u"a\nb\nc", u"b", u"c"}));
  list.Sort(HistorySort::kTime);
  EXPECT_EQ(texts(), (Texts{u"A", u"c", u"12345", u"b", u"123456789", u"a\nb\nc"}));
  list.Sort(HistorySort::kLength);
  EXPECT_EQ(texts(), (Texts{u"123456789", u"12345", u"a\nb\nc", u"A", u"b", u"c"}));
  list.Sort(HistorySort::kLineCount);
  EXPECT_EQ(texts(), (Texts{u"a\nb\nc", u"123456789", u"12345", u"A", u"b", u"c"}));
}

TEST(HistoryTimeTest, DaysSince1899ComeBackToTheSecond) {
  EXPECT_EQ(DaysFromDateTime({1900, 1, 1, 1, 18, 0, 0}), 2.75);
  EXPECT_EQ(DaysFromDateTime({2000, 3, 1, 3, 0, 0, 0}), 36586.0);
  EXPECT_EQ(DateTimeFromDays(DaysFromDateTime({2015, 3, 5, 0, 9, 4, 7})).weekday, 4);
  for (int second = 0; second < 86400; second += 7) {
    const LocalDateTime when{2024, 2, 29, 4, second / 3600, second / 60 % 60, second % 60};
    // A little off, as the time of an expanded line, still reads as the same second.
    const LocalDateTime back = DateTimeFromDays(DaysFromDateTime(when) - 2 * 1.157e-7);
    ASSERT_EQ(back.hour * 3600 + back.minute * 60 + back.second, second);
    ASSERT_EQ(back.day, 29);
  }
  // Times outside the calendar the platform formats are held at its ends.
  EXPECT_EQ(DateTimeFromDays(-1e12).year, 1601);
  EXPECT_EQ(DateTimeFromDays(1e300).year, 9999);
  EXPECT_EQ(DateTimeFromDays(std::numeric_limits<double>::quiet_NaN()).year, 1601);
}

TEST(HistoryListTest, AFileReadAgainJoinsBelowWhatWasCapturedAndKeepsItsOwnRepeats) {
  THistoryList list;
  list.Append(HistoryRec(u"new", 2));
  list.Append(HistoryRec(u"shared", 2));
  // Short texts too: their characters live inside the string object that the merge moves.
  std::vector<HistoryRec> file;
  for (const char16_t* text : {u"shared", u"old", u"old", u"older", u"new"}) {
    file.emplace_back(text, 1);
  }
  list.MergeBelow(std::move(file));
  // What this run captured is not read twice; the file's entries stay as the file has them.
  EXPECT_EQ(TextsOf(list.Items()), (Texts{u"new", u"shared", u"old", u"old", u"older"}));

  // At set-up nothing was captured yet: the lines of an expanded entry that equal other entries
  // come back as they were stored.
  THistoryList fresh;
  std::vector<HistoryRec> expanded;
  for (const char16_t* text : {u"a", u"b", u"a"}) expanded.emplace_back(text, 1);
  fresh.MergeBelow(std::move(expanded));
  EXPECT_EQ(TextsOf(fresh.Items()), (Texts{u"a", u"b", u"a"}));
}

TEST(HistoryRecTest, ARecordOwnsItsTextAndItsCopyOwnsAnother) {
  const std::string utf8 = "a\r\n\xE6\x97\xA5\xF0\x9F\x98\x80\xFF\n";
  const HistoryRec decoded = HistoryRec::FromUtf8(utf8, 2.5);
  const HistoryRec made(Utf8ToUtf16(utf8), 2.5);
  EXPECT_EQ(decoded.Text(), made.Text());
  EXPECT_EQ(decoded.LineCount, 2);
  EXPECT_EQ(decoded.CreTime, 2.5);
  HistoryRec copy = decoded;
  EXPECT_EQ(copy.Text(), decoded.Text());
  EXPECT_NE(copy.Text().data(), decoded.Text().data());
  copy = HistoryRec(u"", 1);
  EXPECT_TRUE(copy.Text().empty());
  EXPECT_EQ(copy.LineCount, 0);
  HistoryRec moved = std::move(copy);
  moved = decoded;
  EXPECT_EQ(moved.Text(), made.Text());
  EXPECT_EQ(moved.LineCount, 2);
}
