#include "clip/clip_capture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/settings_store.h"
#include "support/fake_clipboard.h"
#include "support/fake_locale.h"
#include "support/memory_file_system.h"
#include "support/system_code_page.h"

namespace {

using Texts = std::vector<std::u16string>;

Texts TextsOf(const THistoryList& list) {
  Texts texts;
  for (const HistoryRec& rec : list.Items()) texts.push_back(rec.Text);
  return texts;
}

class CaptureTest : public ::testing::Test {
 protected:
  CaptureTest() { Configure({}); }

  void Configure(CaptureSettings settings) {
    capture.Configure(settings);
    capture.Capturing = true;
  }
  CaptureResult Copy(const std::u16string& text, bool markedPrivate = false) {
    clipboard.SetByOtherProgram(text, markedPrivate);
    return capture.CaptureClip(clipboard, history, canned);
  }
  // Copies the texts so that the history lists them in this order.
  void Fill(const Texts& texts) {
    for (auto it = texts.rbegin(); it != texts.rend(); ++it) {
      ASSERT_EQ(Copy(*it), CaptureResult::kCaptured);
    }
  }

  FakeClock clock;
  FakeLocale locale;
  FakeClipboard clipboard;
  ClipCapture capture{clock, locale};
  THistoryList history;
  Texts canned;
};

}  // namespace

TEST(CaptureSettingsTest, ReadsTheSectionWithDefaultsAndResolvesTheFile) {
  MemoryFileSystem files;
  files.files[u"C:\\K\\Kelvo.INI"] = "[General]\r\n";
  UsrIniFile empty(u"C:\\K\\Kelvo.INI", files, SystemCodePage());
  const CaptureSettings d = ReadCaptureSettings(empty, files, u"C:\\K\\");
  EXPECT_FALSE(d.Enable);
  EXPECT_FALSE(d.SaveHistory);
  EXPECT_EQ(d.ClipDataPath, u"C:\\K\\CLIPDATA.txt");
  EXPECT_EQ(d.MaxItems, 50);
  EXPECT_EQ(d.MaxTextLen, 0);
  EXPECT_EQ(d.MaxLineCnt, 0);
  EXPECT_TRUE(d.ExceptWords.empty());

  files.files[u"C:\\K\\Kelvo.INI"] =
      "[ClipboardList]\r\nEnable=1\r\nSaveHistory=1\r\nClipDataFile=D:\\h.txt\r\nMaxItems=-1\r\n"
      "MaxTextLen=10\r\nMaxLineCnt=2\r\nExceptWord1=pass\r\nExceptWord2=/^[0-9]+$/\r\n"
      "ExceptWord4=never read\r\n";
  UsrIniFile set(u"C:\\K\\Kelvo.INI", files, SystemCodePage());
  const CaptureSettings s = ReadCaptureSettings(set, files, u"C:\\K\\");
  EXPECT_TRUE(s.Enable);
  EXPECT_TRUE(s.SaveHistory);
  EXPECT_EQ(s.ClipDataPath, u"D:\\h.txt");
  EXPECT_EQ(s.MaxItems, -1);
  EXPECT_EQ(s.MaxTextLen, 10);
  EXPECT_EQ(s.MaxLineCnt, 2);
  EXPECT_EQ(s.ExceptWords, (Texts{u"pass", u"/^[0-9]+$/"}));  // up to the first missing key

  files.files[u"C:\\K\\Kelvo.INI"] = "[ClipboardList]\r\nClipDataFile=sub\\h.txt\r\n";
  UsrIniFile relative(u"C:\\K\\Kelvo.INI", files, SystemCodePage());
  EXPECT_EQ(ReadCaptureSettings(relative, files, u"C:\\K\\").ClipDataPath, u"C:\\K\\sub\\h.txt");
}

TEST(CaptureSettingsTest, HistoryLimitOfMaxItems) {
  EXPECT_EQ(HistoryLimit(0), 0u);
  EXPECT_EQ(HistoryLimit(50), 50u);
  EXPECT_EQ(HistoryLimit(-1), kMaxHistoryItems);
  EXPECT_EQ(HistoryLimit(INT32_MAX), kMaxHistoryItems);
}

TEST_F(CaptureTest, NewTextsGoOnTopAndCopiesMoveUp) {
  Fill({u"a", u"b", u"c", u"d", u"e"});
  EXPECT_EQ(history.At(0).CreTime, DaysFromDateTime(clock.now));
  EXPECT_EQ(Copy(u"a"), CaptureResult::kSameAsTop);
  EXPECT_EQ(Copy(u"e"), CaptureResult::kCaptured);  // the fifth entry moves to the top
  EXPECT_EQ(TextsOf(history), (Texts{u"e", u"a", u"b", u"c", u"d"}));
  // Texts differing only in case or in a line break are different texts.
  EXPECT_EQ(Copy(u"E"), CaptureResult::kCaptured);
  EXPECT_EQ(Copy(u"E\r\n"), CaptureResult::kCaptured);
  EXPECT_EQ(history.Count(), 7u);
}

TEST_F(CaptureTest, MaxItemsDropsTheOldestAndZeroKeepsNothing) {
  CaptureSettings settings;
  settings.MaxItems = 3;
  Configure(settings);
  Fill({u"a", u"b", u"c"});
  EXPECT_EQ(Copy(u"new"), CaptureResult::kCaptured);
  EXPECT_EQ(TextsOf(history), (Texts{u"new", u"a", u"b"}));
  settings.MaxItems = 0;
  Configure(settings);
  EXPECT_EQ(Copy(u"x"), CaptureResult::kCaptured);
  EXPECT_TRUE(history.Empty());
  settings.MaxItems = -5;  // no limit but the program's own
  Configure(settings);
  Fill({u"3", u"2", u"1"});
  EXPECT_EQ(history.Count(), 3u);
}

TEST_F(CaptureTest, LengthAndLineLimits) {
  CaptureSettings settings;
  settings.MaxTextLen = 10;
  settings.MaxLineCnt = 2;
  Configure(settings);
  EXPECT_EQ(Copy(std::u16string(10, u'x')), CaptureResult::kCaptured);
  EXPECT_EQ(Copy(std::u16string(11, u'y')), CaptureResult::kTooLong);
  // A text whose cut would end in half a surrogate pair is still seen as too long.
  EXPECT_EQ(Copy(std::u16string(10, u'z') + u"\U0001F600"), CaptureResult::kTooLong);
  EXPECT_EQ(Copy(std::u16string(9, u'z') + u"\U0001F600"), CaptureResult::kTooLong);
  EXPECT_EQ(Copy(std::u16string(8, u'z') + u"\U0001F600"), CaptureResult::kCaptured);
  EXPECT_EQ(Copy(u"a\nb\n"), CaptureResult::kCaptured);
  EXPECT_EQ(Copy(u"a\nb\nc"), CaptureResult::kTooManyLines);
  EXPECT_EQ(Copy(u"a\rb\rc\rd"), CaptureResult::kCaptured);  // lone CRs are no line breaks
}

TEST_F(CaptureTest, RulesApplyInOrderAndRejectionsChangeNothing) {
  Fill({u"top"});
  capture.Capturing = false;
  EXPECT_EQ(Copy(u"x"), CaptureResult::kNotCapturing);
  EXPECT_EQ(clipboard.reads, 1);
  capture.Capturing = true;
  // A password manager's copy is never even read.
  EXPECT_EQ(Copy(u"secret", true), CaptureResult::kPrivate);
  EXPECT_EQ(clipboard.reads, 1);
  clipboard.text.reset();
  clipboard.isPrivate = false;
  EXPECT_EQ(capture.CaptureClip(clipboard, history, canned), CaptureResult::kNoText);
  EXPECT_EQ(Copy(u""), CaptureResult::kNoText);
  clipboard.busy = true;
  EXPECT_EQ(capture.CaptureClip(clipboard, history, canned), CaptureResult::kNoText);
  clipboard.busy = false;
  EXPECT_EQ(TextsOf(history), (Texts{u"top"}));
}

TEST_F(CaptureTest, ExclusionWordsArePlainWordsOrCaselessPatterns) {
  CaptureSettings settings;
  settings.ExceptWords = {u"pass", u"/^[0-9]+$/", u"//", u"/", u"/secret\\d/"};
  Configure(settings);
  EXPECT_FALSE(capture.Exclusions().BrokenPattern());
  EXPECT_EQ(Copy(u"my PASSWORD"), CaptureResult::kExcluded);
  EXPECT_EQ(Copy(u"12345"), CaptureResult::kExcluded);
  EXPECT_EQ(Copy(u"12345x"), CaptureResult::kCaptured);
  EXPECT_EQ(Copy(u"a // b"), CaptureResult::kExcluded);  // "//" is a plain word
  EXPECT_EQ(Copy(u"a/b"), CaptureResult::kExcluded);     // and so is "/"
  EXPECT_EQ(Copy(u"The SECRET7"), CaptureResult::kExcluded);
  EXPECT_EQ(Copy(u"ｓｅｃｒｅｔ7"), CaptureResult::kCaptured);
}

TEST_F(CaptureTest, ABrokenPatternKeepsOutEveryTextThatReachesIt) {
  CaptureSettings settings;
  settings.ExceptWords = {u"/(unclosed/", u"/[also/"};
  Configure(settings);
  EXPECT_EQ(capture.Exclusions().BrokenPattern(), std::u16string(u"/(unclosed/"));
  EXPECT_EQ(Copy(u"anything"), CaptureResult::kExcluded);
  EXPECT_TRUE(history.Empty());
  // The rules before the words still answer first.
  EXPECT_EQ(Copy(u""), CaptureResult::kNoText);
}

TEST_F(CaptureTest, APatternThatGivesUpKeepsTheTextOut) {
  CaptureSettings settings;
  settings.ExceptWords = {u"/(a+)+$/"};
  Configure(settings);
  EXPECT_EQ(Copy(std::u16string(5000, u'a') + u"!"), CaptureResult::kExcluded);
  EXPECT_EQ(Copy(u"b!"), CaptureResult::kCaptured);
}

TEST_F(CaptureTest, CannedTextsAreNotRecorded) {
  canned = {u"-", u"Greeting\t  Hello\\nWorld ", u"Date\t\\Y/\\0m/\\0d", u"plain item", u"Tab\t"};
  EXPECT_EQ(Copy(u"  Hello\r\nWorld\r\n"), CaptureResult::kCanned);  // blanks and breaks aside
  EXPECT_EQ(Copy(u"2015/03/05"), CaptureResult::kCanned);            // expanded at the copy
  EXPECT_EQ(Copy(u"plain item"), CaptureResult::kCanned);
  EXPECT_EQ(Copy(u"Greeting"), CaptureResult::kCaptured);        // a label is not a text
  EXPECT_EQ(Copy(u"-"), CaptureResult::kCaptured);               // separators are skipped
  EXPECT_EQ(Copy(u"hello\r\nworld"), CaptureResult::kCaptured);  // case counts
  clock.now.day = 6;
  EXPECT_EQ(Copy(u"2015/03/05"), CaptureResult::kCaptured);
  EXPECT_TRUE(EqualsCannedText(u" 2015/03/06 ", canned, clock, locale));
  // An item whose body is empty stands for the empty text, which is never captured anyway.
  EXPECT_FALSE(EqualsCannedText(u"Tab", canned, clock, locale));
}
