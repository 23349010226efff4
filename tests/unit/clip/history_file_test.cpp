#include "clip/history_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/text_codec.h"
#include "support/fake_locale.h"
#include "support/memory_file_system.h"
#include "support/system_code_page.h"

namespace {

const std::string kBom = "\xEF\xBB\xBF";
const double kThen = DaysFromDateTime({2015, 3, 5, 4, 9, 4, 7});
const double kNow = DaysFromDateTime({2025, 6, 1, 0, 12, 0, 0});
constexpr double kOneSecond = 1.0 / 86400;

std::vector<std::u16string> Texts(const std::vector<HistoryRec>& items) {
  std::vector<std::u16string> texts;
  for (const HistoryRec& rec : items) texts.push_back(rec.Text);
  return texts;
}

class HistoryFileTest : public ::testing::Test {
 protected:
  HistoryRead Parse(const std::string& bytes) {
    return ParseHistoryFile(bytes, SystemCodePage(), locale, kNow);
  }
  // Written and read again.
  std::vector<HistoryRec> RoundTrip(const std::vector<HistoryRec>& items) {
    const HistoryRead read = Parse(HistoryFileBytes(items, locale));
    EXPECT_EQ(read.status, HistoryReadStatus::kLoaded);
    return read.items;
  }

  FakeLocale locale;
};

}  // namespace

TEST_F(HistoryFileTest, WritesFourLinesPerEntryInUtf8WithAMark) {
  const std::vector<HistoryRec> items{HistoryRec(u"abc", kThen),
                                      HistoryRec(u"日本\r\nx", DaysFromDateTime({2001, 1, 2})),
                                      HistoryRec(u"a\rb\n", kThen)};
  EXPECT_EQ(HistoryFileBytes(items, locale),
            kBom +
                "CreTime=2015/03/05 9:04:07\r\nLineCount=1\r\nabc\r\n\r\n"
                "CreTime=2001/01/02\r\nLineCount=2\r\n" +
                Utf16ToUtf8(u"日本") + "\r\nx\r\n\r\n" +
                "CreTime=2015/03/05 9:04:07\r\nLineCount=3\r\na\rb\n\r\n\r\n");
  EXPECT_EQ(HistoryFileBytes({}, locale), kBom);
}

TEST_F(HistoryFileTest, EveryTextComesBackExactlyWithItsTimeToTheSecond) {
  const std::u16string texts[] = {u"abc",
                                  u"abc\r\n",
                                  u"a\nb",
                                  u"a\rb",
                                  u"x\r",
                                  u"\r\n\r\n",
                                  u"\n",
                                  u"CreTime=2001/01/01\r\nLineCount=5\r\n\r\nz",
                                  u"LineCount=5",
                                  u"line\r\n\r\nCreTime=x\r\nLineCount=1\r\n",
                                  u" leading and trailing \t",
                                  u"日本語\u3000テキスト\r\n２行目",
                                  u"emoji \U0001F600 pair",
                                  u"lone \xD800 surrogate"};
  std::vector<HistoryRec> items;
  for (const auto& text : texts) items.emplace_back(text, kThen + 0.4 * kOneSecond);
  items.emplace_back(u"last", kThen - 1);
  const std::vector<HistoryRec> back = RoundTrip(items);
  ASSERT_EQ(back.size(), items.size());
  for (std::size_t i = 0; i < items.size(); ++i) {
    EXPECT_EQ(back[i].Text, items[i].Text) << i;
    EXPECT_EQ(back[i].LineCount, items[i].LineCount) << i;
    EXPECT_NEAR(back[i].CreTime, items[i].CreTime, kOneSecond / 2) << i;
  }
}

TEST_F(HistoryFileTest, LoneSurrogatesAreKeptByWritingUtf16) {
  const std::string bytes = HistoryFileBytes({HistoryRec(u"a\xDC00", kThen)}, locale);
  EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
  EXPECT_EQ(HistoryFileBytes({HistoryRec(u"a", kThen)}, locale).substr(0, 3), kBom);
}

TEST_F(HistoryFileTest, ReadsEveryMarkAndTheCodePageWithoutOne) {
  const std::u16string file =
      u"CreTime=2015/03/05 9:04:07\r\nLineCount=1\r\n日本語\r\n\r\n"
      u"creTIME=2015/03/05\nlinecount=2\na\rb\n\n";
  std::string utf16le = "\xFF\xFE", utf16be = "\xFE\xFF";
  for (char16_t c : file) {
    utf16le += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
    utf16be += {static_cast<char>(c >> 8), static_cast<char>(c & 0xFF)};
  }
  const std::string shiftJis = *SystemCodePage().FromUnicodeExact(file);
  for (const std::string& bytes : {kBom + Utf16ToUtf8(file), utf16le, utf16be, shiftJis}) {
    const HistoryRead read = Parse(bytes);
    EXPECT_EQ(read.status, HistoryReadStatus::kLoaded);
    EXPECT_EQ(Texts(read.items), (std::vector<std::u16string>{u"日本語", u"a\rb"}));
    ASSERT_EQ(read.items.size(), 2u);
    EXPECT_NEAR(read.items[0].CreTime, kThen, kOneSecond / 2);
    EXPECT_EQ(read.items[1].CreTime, DaysFromDateTime({2015, 3, 5}));
  }
}

TEST_F(HistoryFileTest, OldFilesWithLfCountsStillRead) {
  // Written by counting the text's LF lines: every text ends with the CR LF that follows it.
  const std::string old =
      "CreTime=2015/03/05 9:04:07\r\nLineCount=1\r\nabc\r\n\r\n"
      "CreTime=2015/03/05 9:04:07\r\nLineCount=2\r\na\r\nb\r\n\r\n"
      "CreTime=2015/03/05 9:04:07\r\nLineCount=1\r\nends with a break\r\n\r\n\r\n";
  const HistoryRead read = Parse(old);
  EXPECT_EQ(Texts(read.items),
            (std::vector<std::u16string>{u"abc", u"a\r\nb", u"ends with a break"}));
  EXPECT_EQ(read.items[1].LineCount, 2);
}

TEST_F(HistoryFileTest, StrayAndBrokenRecordsAreSkippedAndTheRestRead) {
  const std::string file =
      "junk before\r\n"
      // Two times in a row: the second is taken for the count line and the record is lost.
      "CreTime=2015/03/05 9:04:07\r\nCreTime=2015/03/05 9:04:08\r\nLineCount=1\r\nlost\r\n\r\n"
      // A count of 0 skips its record; its text is then looked at like any other line.
      "CreTime=2015/03/05 9:04:07\r\nLineCount=0\r\nCreTime=2015/03/05 10:00:00\r\n"
      "LineCount=1\r\nafter zero\r\n\r\n"
      "CreTime=2015/03/05 9:04:07\r\nLineCount=x\r\nnot a number\r\n\r\n"
      "CreTime=2015/03/05 9:04:07\r\nLineCount=1\r\nkept\r\n\r\n"
      // The end of the file cuts the last record short.
      "CreTime=2015/03/05 9:04:07\r\nLineCount=3\r\ncut\r\n";
  const HistoryRead read = Parse(file);
  EXPECT_EQ(read.status, HistoryReadStatus::kLoaded);
  EXPECT_EQ(Texts(read.items), (std::vector<std::u16string>{u"after zero", u"kept"}));
  EXPECT_NEAR(read.items[0].CreTime, DaysFromDateTime({2015, 3, 5, 4, 10, 0, 0}), kOneSecond / 2);
}

TEST_F(HistoryFileTest, ACountBeyondTheFileDoesNotSwallowTheRecordsAfterIt) {
  for (const char* count : {"7", "99999999", "2147483647", "99999999999"}) {
    const std::string file = std::string("CreTime=2015/03/05 9:04:07\r\nLineCount=") + count +
                             "\r\nfirst\r\n\r\n"
                             "CreTime=2015/03/05 9:04:07\r\nLineCount=1\r\nsecond\r\n\r\n";
    EXPECT_EQ(Texts(Parse(file).items), (std::vector<std::u16string>{u"second"})) << count;
  }
  // Exactly the lines that are left is no fault.
  EXPECT_EQ(Texts(Parse("CreTime=2015/03/05\r\nLineCount=2\r\na\r\nb").items),
            (std::vector<std::u16string>{u"a\r\nb"}));
}

TEST_F(HistoryFileTest, ATimeThatDoesNotReadTakesThePreviousOneOrNow) {
  const std::string file =
      "CreTime=yesterday\r\nLineCount=1\r\na\r\n\r\n"
      "CreTime=2015/03/05 9:04:07\r\nLineCount=1\r\nb\r\n\r\n"
      "CreTime=2015/02/30 9:04:07\r\nLineCount=1\r\nc\r\n\r\n"
      "CreTime=\r\nLineCount=1\r\nd\r\n\r\n";
  const HistoryRead read = Parse(file);
  ASSERT_EQ(Texts(read.items), (std::vector<std::u16string>{u"a", u"b", u"c", u"d"}));
  EXPECT_EQ(read.items[0].CreTime, kNow);
  EXPECT_NEAR(read.items[1].CreTime, kThen, kOneSecond / 2);
  EXPECT_EQ(read.items[2].CreTime, read.items[1].CreTime);
  EXPECT_EQ(read.items[3].CreTime, read.items[1].CreTime);
}

TEST_F(HistoryFileTest, EmptyFilesLoadEmptyAndOtherFilesWithoutRecordsAreRefused) {
  for (const std::string& empty :
       {std::string(), kBom, kBom + "\r\n\r\n", std::string("\xFF\xFE")}) {
    const HistoryRead read = Parse(empty);
    EXPECT_EQ(read.status, HistoryReadStatus::kLoaded);
    EXPECT_TRUE(read.items.empty());
  }
  for (const std::string& other : {std::string("[General]\r\nKey=1\r\n"),
                                   std::string("CreTime=2015/03/05\r\nLineCount=0\r\nx\r\n")}) {
    EXPECT_EQ(Parse(other).status, HistoryReadStatus::kUnreadable);
  }
}

TEST_F(HistoryFileTest, ReadsAndWritesThroughTheFileSystem) {
  MemoryFileSystem files;
  const std::u16string path = u"C:\\K\\CLIPDATA.txt";
  EXPECT_EQ(ReadHistoryFile(files, SystemCodePage(), locale, path, kNow).status,
            HistoryReadStatus::kMissing);
  ASSERT_TRUE(WriteHistoryFile(files, locale, path, {HistoryRec(u"x", kThen)}));
  const HistoryRead read = ReadHistoryFile(files, SystemCodePage(), locale, path, kNow);
  EXPECT_EQ(read.status, HistoryReadStatus::kLoaded);
  EXPECT_EQ(Texts(read.items), (std::vector<std::u16string>{u"x"}));

  // A failed write leaves the old file.
  files.failNextWrite = true;
  EXPECT_FALSE(WriteHistoryFile(files, locale, path, {}));
  EXPECT_EQ(Texts(ReadHistoryFile(files, SystemCodePage(), locale, path, kNow).items),
            (std::vector<std::u16string>{u"x"}));
  files.unreadable.insert(path);
  EXPECT_EQ(ReadHistoryFile(files, SystemCodePage(), locale, path, kNow).status,
            HistoryReadStatus::kUnreadable);
}

TEST_F(HistoryFileTest, AnotherLocaleReadsItsOwnFiles) {
  DotDateLocale dots;
  const std::vector<HistoryRec> items{HistoryRec(u"pm", kThen + 0.5), HistoryRec(u"am", kThen)};
  const std::string bytes = HistoryFileBytes(items, dots);
  EXPECT_NE(bytes.find("CreTime=5.3.15 9:04:07 PM\r\n"), std::string::npos);
  const HistoryRead read = ParseHistoryFile(bytes, SystemCodePage(), dots, kNow);
  ASSERT_EQ(read.items.size(), 2u);
  EXPECT_NEAR(read.items[0].CreTime, kThen + 0.5, kOneSecond / 2);
  EXPECT_NEAR(read.items[1].CreTime, kThen, kOneSecond / 2);
}
