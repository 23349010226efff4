#include "clip/model/clip_capture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/number_text.h"
#include "settings/settings_store.h"
#include "support/fake_clipboard.h"
#include "support/fake_locale.h"
#include "support/history_texts.h"
#include "support/memory_file_system.h"
#include "support/system_code_page.h"

namespace {

class CaptureTest : public ::testing::Test {
 protected:
  CaptureTest() { Configure({}); }
  void Configure(CaptureSettings settings) {
    capture.Configure(settings);
    capture.Capturing = true;
  }
  CaptureResult Copy(const std::u16string& text, bool markedPrivate = false) {
    clipboard.SetByOtherProgram(text, markedPrivate);
    return capture.CaptureClip(clipboard, history, CannedBodies(canned, clock, locale));
  }
  Texts Entries() const { return TextsOf(history.Items()); }

  FakeClock clock;
  FakeLocale locale;
  FakeClipboard clipboard;
  ClipCapture capture{clock, locale};
  THistoryList history;
  Texts canned;
};

}  // namespace

TEST(CaptureSettingsTest, ReadsTheSectionUpToTheFirstMissingWord) {
  MemoryFileSystem files;
  files.files[u"C:\\K\\Kelvo.INI"] =
      "[ClipboardList]\r\nEnable=1\r\nMaxItems=-1\r\nExceptWord1=pass\r\nExceptWord2=/^[0-9]+$/\r\n"
      "ExceptWord4=never read\r\n";
  const CaptureSettings s = ReadCaptureSettings(
      UsrIniFile(u"C:\\K\\Kelvo.INI", files, SystemCodePage()), files, u"C:\\K\\");
  EXPECT_TRUE(s.Enable);
  EXPECT_FALSE(s.SaveHistory);
  EXPECT_EQ(s.ClipDataPath, u"C:\\K\\CLIPDATA.txt");
  EXPECT_EQ(s.MaxTextLen, 0);
  EXPECT_EQ(s.ExceptWords, (Texts{u"pass", u"/^[0-9]+$/"}));
  EXPECT_EQ(HistoryLimit(s.MaxItems), kMaxHistoryItems);
  EXPECT_EQ(HistoryLimit(INT32_MAX), kMaxHistoryItems);
  EXPECT_EQ(HistoryLimit(50), 50u);
}

TEST_F(CaptureTest, NewTextsGoOnTopCopiesMoveUpAndMaxItemsDropsTheOldest) {
  CaptureSettings settings;
  settings.MaxItems = 3;
  Configure(settings);
  for (const char16_t* text : {u"c", u"b", u"a"}) ASSERT_EQ(Copy(text), CaptureResult::kCaptured);
  EXPECT_EQ(history.At(0).CreTime, DaysFromDateTime(clock.now));
  EXPECT_EQ(Copy(u"a"), CaptureResult::kSameAsTop);
  EXPECT_EQ(Copy(u"c"), CaptureResult::kCaptured);
  EXPECT_EQ(Entries(), (Texts{u"c", u"a", u"b"}));
  EXPECT_EQ(Copy(u"A"), CaptureResult::kCaptured);  // case counts
  EXPECT_EQ(Entries(), (Texts{u"A", u"c", u"a"}));
  settings.MaxItems = 0;
  Configure(settings);
  EXPECT_EQ(Copy(u"x"), CaptureResult::kCaptured);
  EXPECT_TRUE(history.Empty());
}

TEST_F(CaptureTest, RulesInOrderFromPrivateCopiesToLimits) {
  CaptureSettings settings;
  settings.MaxTextLen = 10;
  settings.MaxLineCnt = 2;
  Configure(settings);
  capture.Capturing = false;
  EXPECT_EQ(Copy(u"x"), CaptureResult::kNotCapturing);
  capture.Capturing = true;
  EXPECT_EQ(Copy(u"secret", true), CaptureResult::kPrivate);
  EXPECT_EQ(clipboard.reads, 0);  // neither copy was even read
  EXPECT_EQ(Copy(u""), CaptureResult::kNoText);
  clipboard.busy = true;
  EXPECT_EQ(capture.CaptureClip(clipboard, history, CannedBodies()), CaptureResult::kNoText);
  clipboard.busy = false;
  EXPECT_EQ(Copy(std::u16string(10, u'x')), CaptureResult::kCaptured);
  EXPECT_EQ(Copy(std::u16string(11, u'y')), CaptureResult::kTooLong);
  // A read that would end in half a surrogate pair must still show the text as too long.
  EXPECT_EQ(Copy(std::u16string(9, u'z') + u"\U0001F600"), CaptureResult::kTooLong);
  EXPECT_EQ(Copy(std::u16string(8, u'z') + u"\U0001F600"), CaptureResult::kCaptured);
  EXPECT_EQ(Copy(u"a\nb\n"), CaptureResult::kCaptured);
  EXPECT_EQ(Copy(u"a\nb\nc"), CaptureResult::kTooManyLines);
  EXPECT_EQ(history.Count(), 3u);
}

TEST_F(CaptureTest, ExclusionWordsArePlainWordsOrCaselessPatterns) {
  CaptureSettings settings;
  settings.ExceptWords = {u"pass", u"/^[0-9]+$/", u"//", u"/secret\\d/", u"/(a+)+$/"};
  Configure(settings);
  EXPECT_FALSE(capture.Exclusions().BrokenPattern());
  EXPECT_EQ(Copy(u"my PASSWORD"), CaptureResult::kExcluded);
  EXPECT_EQ(Copy(u"12345"), CaptureResult::kExcluded);
  EXPECT_EQ(Copy(u"12345x"), CaptureResult::kCaptured);
  EXPECT_EQ(Copy(u"a // b"), CaptureResult::kExcluded);  // "//" is a plain word
  EXPECT_EQ(Copy(u"The SECRET7"), CaptureResult::kExcluded);
  // A pattern that runs out of its budget keeps the text out.
  EXPECT_EQ(Copy(std::u16string(5000, u'a') + u"!"), CaptureResult::kExcluded);
  EXPECT_EQ(Copy(u"aa!"), CaptureResult::kCaptured);

  settings.ExceptWords = {u"/(unclosed/", u"/[also/"};
  Configure(settings);
  EXPECT_EQ(capture.Exclusions().BrokenPattern(), std::u16string(u"/(unclosed/"));
  EXPECT_EQ(Copy(u"anything"), CaptureResult::kExcluded);
}

TEST_F(CaptureTest, CannedTextsAreNotRecorded) {
  canned = {u"-", u"Greeting\t  Hello\\nWorld ", u"Date\t\\Y/\\0m/\\0d", u"plain item"};
  EXPECT_EQ(Copy(u"  Hello\r\nWorld\r\n"), CaptureResult::kCanned);  // blanks and breaks aside
  EXPECT_EQ(Copy(u"2015/03/05"), CaptureResult::kCanned);            // expanded at the copy
  EXPECT_EQ(Copy(u"plain item"), CaptureResult::kCanned);
  EXPECT_EQ(Copy(u"Greeting"), CaptureResult::kCaptured);  // a label is no text
  EXPECT_EQ(Copy(u"-"), CaptureResult::kCaptured);         // separators are skipped
  clock.now.day = 6;
  EXPECT_EQ(Copy(u"2015/03/05"), CaptureResult::kCaptured);
}

// A copy made anywhere on the system is compared with every canned body: the bodies without date
// macros are expanded once for the set, not again at every copy. The clock is read only for the
// new entry's time and for the one body that holds a date.
TEST_F(CaptureTest, OnlyBodiesWithDateMacrosAreExpandedAtACopy) {
  std::u16string rows;
  for (int i = 0; i < 80000; ++i) rows += u"row\\n";
  canned = {u"Rows\t" + rows, u"Date\t\\Y/\\0m/\\0d", u"Path C:\\new\\file"};
  for (int i = 0; i < 1000; ++i) canned.push_back(u"item " + IntToText(i) + u"\\n");
  const CannedBodies bodies(canned, clock, locale);
  clock.reads = 0;
  EXPECT_EQ(capture.CaptureText(u"a copy", history, bodies), CaptureResult::kCaptured);
  const int readsPerCopy = clock.reads;
  EXPECT_LE(readsPerCopy, 12) << "the dated body's expansion and the entry's time only";
  EXPECT_EQ(capture.CaptureText(u"2015/03/05", history, bodies), CaptureResult::kCanned);
  EXPECT_EQ(capture.CaptureText(u"item 999\r\n", history, bodies), CaptureResult::kCanned);
  EXPECT_EQ(capture.CaptureText(u"Path C:\r\new\\file", history, bodies), CaptureResult::kCanned);
  std::u16string expanded;
  for (int i = 0; i < 80000; ++i) expanded += u"row\r\n";
  EXPECT_EQ(capture.CaptureText(expanded, history, bodies), CaptureResult::kCanned);
}
