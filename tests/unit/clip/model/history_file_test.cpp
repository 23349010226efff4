#include "clip/model/history_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/text_codec.h"
#include "support/fake_locale.h"
#include "support/history_texts.h"
#include "support/memory_file_system.h"
#include "support/system_code_page.h"

namespace {

const std::string kBom = "\xEF\xBB\xBF";
const std::string kRecord = "CreTime=2015/03/05 9:04:07\r\nLineCount=";
const double kThen = DaysFromDateTime({2015, 3, 5, 4, 9, 4, 7});
const double kNow = DaysFromDateTime({2025, 6, 1, 0, 12, 0, 0});
constexpr double kHalfSecond = 0.5 / 86400;

HistoryRead Parse(const std::string& bytes, const Locale& locale = FakeLocale()) {
  return ParseHistoryFile(bytes, SystemCodePage(), locale, kNow);
}

}  // namespace

TEST(HistoryFileTest, WritesFourLinesPerEntryCountingTheLinesTheReaderCuts) {
  FakeLocale locale;
  EXPECT_EQ(HistoryFileBytes({HistoryRec(u"日本\r\nx", DaysFromDateTime({2001, 1, 2})),
                              HistoryRec(u"a\rb\n", kThen)},
                             locale),
            kBom + "CreTime=2001/01/02\r\nLineCount=2\r\n" + Utf16ToUtf8(u"日本") +
                "\r\nx\r\n\r\n" + kRecord + "3\r\na\rb\n\r\n\r\n");
  EXPECT_EQ(HistoryFileBytes({}, locale), kBom);
  // UTF-8 cannot hold a lone surrogate: such a file is written in UTF-16.
  EXPECT_EQ(HistoryFileBytes({HistoryRec(u"a\xDC00", kThen)}, locale).substr(0, 2), "\xFF\xFE");
}

TEST(HistoryFileTest, EveryTextComesBackExactlyWithItsSecondInBothLayouts) {
  const Texts texts{u"abc\r\n",      u"a\nb",
                    u"a\rb",         u"x\r",
                    u"\r\n\r\n",     u"\xD800",
                    u"日本語\u3000", u"line\r\n\r\nCreTime=2001/01/01\r\nLineCount=1\r\n"};
  std::vector<HistoryRec> items;
  for (const auto& text : texts) items.emplace_back(text, kThen + 0.4 * 2 * kHalfSecond);
  items.emplace_back(u"pm", kThen + 0.5);
  FakeLocale slashes;
  DotDateLocale dots;
  for (const Locale* locale : std::initializer_list<const Locale*>{&slashes, &dots}) {
    const HistoryRead read = Parse(HistoryFileBytes(items, *locale), *locale);
    ASSERT_EQ(read.items.size(), items.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
      EXPECT_EQ(read.items[i].Text(), items[i].Text()) << i;
      EXPECT_EQ(read.items[i].LineCount, items[i].LineCount) << i;
      EXPECT_NEAR(read.items[i].CreTime, items[i].CreTime, kHalfSecond) << i;
    }
  }
}

TEST(HistoryFileTest, ReadsAnyMarkAndTheCodePageWithoutOneAndOldCounts) {
  const std::u16string file = u"creTIME=2015/03/05\nlinecount=2\n日本\rb\n\n";
  std::string utf16 = "\xFF\xFE";
  for (char16_t c : file) utf16 += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
  for (const std::string& bytes : {utf16, *SystemCodePage().FromUnicodeExact(file)}) {
    const HistoryRead read = Parse(bytes);
    EXPECT_EQ(TextsOf(read.items), (Texts{u"日本\rb"}));
    EXPECT_EQ(read.items.at(0).CreTime, DaysFromDateTime({2015, 3, 5}));
  }
  // Files whose counts were the text's LFs, each text followed by CR LF, still read.
  EXPECT_EQ(
      TextsOf(Parse(kRecord + "2\r\na\r\nb\r\n\r\n" + kRecord + "1\r\nabc\r\n\r\n\r\n").items),
      (Texts{u"a\r\nb", u"abc"}));
}

TEST(HistoryFileTest, BrokenRecordsAreSkippedAndTheRestRead) {
  const std::string file =
      "junk\r\n" + kRecord.substr(0, 28) + kRecord + "1\r\nlost: two times in a row\r\n\r\n" +
      kRecord + "0\r\nCreTime=2015/03/05 10:00:00\r\nLineCount=1\r\nafter a zero count\r\n" +
      kRecord + "x\r\nnot a number\r\n" + kRecord + "2147483647\r\nhuge\r\n" + kRecord +
      "12\r\nbeyond the end\r\n\r\n" + kRecord + "1\r\nkept\r\n\r\n" + kRecord + "3\r\ncut\r\n";
  EXPECT_EQ(TextsOf(Parse(file).items), (Texts{u"after a zero count", u"kept"}));
  // A time that does not read takes the one of the record before, or now.
  const HistoryRead read = Parse("CreTime=yesterday\r\nLineCount=1\r\na\r\n" + kRecord +
                                 "1\r\nb\r\nCreTime=2015/02/30 9:04:07\r\nLineCount=1\r\nc\r\n");
  ASSERT_EQ(TextsOf(read.items), (Texts{u"a", u"b", u"c"}));
  EXPECT_EQ(read.items[0].CreTime, kNow);
  EXPECT_NEAR(read.items[1].CreTime, kThen, kHalfSecond);
  EXPECT_EQ(read.items[2].CreTime, read.items[1].CreTime);
}

TEST(HistoryFileTest, EmptyFilesAreEmptyHistoriesAndOtherFilesAreRefused) {
  for (const std::string& empty :
       {std::string(), kBom, kBom + "\r\n\r\n", std::string("\xFF\xFE")}) {
    EXPECT_EQ(Parse(empty).status, HistoryReadStatus::kLoaded);
  }
  EXPECT_EQ(Parse("[General]\r\nKey=1\r\n").status, HistoryReadStatus::kUnreadable);
  EXPECT_EQ(Parse(kRecord + "0\r\nx\r\n").status, HistoryReadStatus::kUnreadable);

  MemoryFileSystem files;
  FakeLocale locale;
  const std::u16string path = u"C:\\K\\CLIPDATA.txt";
  auto read = [&] { return ReadHistoryFile(files, SystemCodePage(), locale, path, kNow); };
  EXPECT_EQ(read().status, HistoryReadStatus::kMissing);
  ASSERT_TRUE(WriteHistoryFile(files, locale, path, {HistoryRec(u"x", kThen)}));
  files.failNextWrite = true;
  EXPECT_FALSE(WriteHistoryFile(files, locale, path, {}));  // the old file stays
  EXPECT_EQ(TextsOf(read().items), (Texts{u"x"}));
  files.unreadable.insert(path);
  EXPECT_EQ(read().status, HistoryReadStatus::kUnreadable);
}

namespace {

struct StoreFixture {
  HistoryStoreResult Store() {
    return StoreHistoryFile(files, SystemCodePage(), locale, kPath, kNow, history, blocked);
  }
  std::vector<std::u16string> Texts() const {
    std::vector<std::u16string> texts;
    for (const HistoryRec& rec : history.Items()) texts.emplace_back(rec.Text());
    return texts;
  }
  std::vector<std::u16string> FileTexts() {
    std::vector<std::u16string> texts;
    for (const HistoryRec& rec : Parse(files.files.at(kPath)).items) texts.emplace_back(rec.Text());
    return texts;
  }

  const std::u16string kPath = u"C:\\Kelvo\\CLIPDATA.txt";
  MemoryFileSystem files;
  FakeLocale locale;
  THistoryList history;
  bool blocked = false;
};

}  // namespace

// A backup or virus-scanning program held the file when Kelvo started: what the run captured
// is stored above the file's own entries once the file can be read, never instead of them.
TEST(HistoryStoreTest, AFileThatCouldNotBeReadAtTheStartIsMergedBelowTheRunsEntries) {
  StoreFixture s;
  s.files.files[s.kPath] = HistoryFileBytes(
      {HistoryRec(u"from file\r\n", kThen), HistoryRec(u"both\r\n", kThen)}, s.locale);
  s.blocked = true;
  s.history.Append(HistoryRec(u"captured\r\n", kNow));
  s.history.Append(HistoryRec(u"both\r\n", kNow));

  s.files.unreadable.insert(s.kPath);
  const std::string before = s.files.files[s.kPath];
  EXPECT_EQ(s.Store(), HistoryStoreResult::kUnreadable);
  EXPECT_EQ(s.files.files[s.kPath], before) << "never written over while it cannot be read";
  EXPECT_TRUE(s.blocked);

  s.files.unreadable.clear();
  s.files.busyWrites[s.kPath] = 1;  // another program is writing it: not read half-written
  EXPECT_EQ(s.Store(), HistoryStoreResult::kUnreadable);
  EXPECT_EQ(s.Store(), HistoryStoreResult::kMerged);
  EXPECT_FALSE(s.blocked);
  const std::vector<std::u16string> merged{u"captured\r\n", u"both\r\n", u"from file\r\n"};
  EXPECT_EQ(s.Texts(), merged);
  EXPECT_EQ(s.FileTexts(), merged);
  EXPECT_EQ(s.Store(), HistoryStoreResult::kStored) << "read once, then only written";
}

TEST(HistoryStoreTest, AFailedWriteLeavesTheFileAndIsToldWithItsPath) {
  StoreFixture s;
  s.history.Append(HistoryRec(u"x", kNow));
  s.files.failNextWrite = true;
  EXPECT_EQ(s.Store(), HistoryStoreResult::kWriteFailed);
  EXPECT_EQ(s.files.files.count(s.kPath), 0u);
  EXPECT_EQ(s.Store(), HistoryStoreResult::kStored);
  // A file gone since the start is written anew; the run's entries are all there is.
  s.blocked = true;
  s.files.files.erase(s.kPath);
  EXPECT_EQ(s.Store(), HistoryStoreResult::kStored);
  EXPECT_EQ(s.FileTexts(), std::vector<std::u16string>{u"x"});

  const std::u16string message =
      HistoryStoreFailureMessage(HistoryStoreResult::kWriteFailed, s.kPath);
  EXPECT_NE(message.find(s.kPath), std::u16string::npos);
  EXPECT_NE(message.find(u"読み取り専用"), std::u16string::npos);
  EXPECT_EQ(HistoryStoreLogValue(HistoryStoreResult::kWriteFailed, s.kPath, u"2025/06/01 12:00:00"),
            u"保存失敗 2025/06/01 12:00:00 " + s.kPath);
  EXPECT_EQ(HistoryStoreLogValue(HistoryStoreResult::kUnreadable, s.kPath, u"t").substr(0, 5),
            u"読込失敗 ");
}

TEST(HistoryFileTest, AUtf8FileReadsAsTheSameFileInUtf16) {
  // Kelvo's own files are read record by record from their bytes, other files after decoding
  // them whole: both must find the same records, ill-formed bytes and broken records included.
  const std::string file = "junk \xE3\x81\r\n" + kRecord +
                           "2\r\n\xF0\x9F\x98\x80 \xE6\x97\xA5\xFF\rb\xC3\r\n\r\n" + kRecord +
                           "9\r\nbeyond the end\r\n" + kRecord + "1\r\n\xED\xA0\x80x\n" + kRecord +
                           "1\r\nlast without a break";
  const std::u16string text = Utf8ToUtf16(file);
  std::string utf16 = "\xFF\xFE";
  for (char16_t c : text) utf16 += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
  const HistoryRead fromUtf8 = Parse(kBom + file);
  EXPECT_EQ(TextsOf(fromUtf8.items), TextsOf(Parse(utf16).items));
  EXPECT_EQ(TextsOf(fromUtf8.items), (Texts{u"\U0001F600 日\uFFFD\rb\uFFFD", u"\uFFFD\uFFFD\uFFFDx",
                                            u"last without a break"}));
}
