#include "clip/model/clip_window_model.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/fake_clipboard.h"
#include "support/fake_model.h"
#include "support/history_texts.h"

namespace {

constexpr char16_t kHistoryFile[] = u"C:\\Tools\\History.txt";
constexpr char kSettings[] =
    "[ClipboardList]\nEnable=1\nSaveHistory=1\nClipDataFile=C:\\Tools\\History.txt\n"
    "TextDataFile=C:\\Tools\\Canned.txt\n";

class ClipWindowModelTest : public ::testing::Test {
 protected:
  void WriteFile(const Texts& texts, const std::u16string& path = kHistoryFile) {
    std::vector<HistoryRec> items;
    for (const auto& text : texts) items.emplace_back(text, 42000.5);
    ASSERT_TRUE(WriteHistoryFile(fake.files, fake.locale, path, items));
  }
  Texts FileTexts(const std::u16string& path = kHistoryFile) {
    return TextsOf(ReadHistoryFile(fake.files, SystemCodePage(), fake.locale, path, 0).items);
  }
  void Start(const std::string& settings = kSettings) {
    fake.Load(settings);
    model.SetUp(*fake.model.IniFile);
  }
  void Copy(const std::u16string& text) {
    clipboard.SetByOtherProgram(text);
    model.ClipboardChanged();
  }
  Texts History() const { return TextsOf(model.History().Items()); }
  std::u16string ErrorLog() {
    return fake.model.IniFile->ReadString(u"ErrorLog", kHistoryErrorLogKey, u"");
  }
  void Run(ClipAction action, std::u16string findText = u"") {
    model.Run(action, ClipActionContext{std::move(findText), true});
  }

  FakeModel fake;
  FakeClipboard clipboard;
  ClipWindowModel model{fake.model,
                        {fake.files, SystemCodePage(), fake.locale, fake.clock, clipboard, {}}};
};

}  // namespace

// The file read at start-up arrives after the first copies: the store keeps what the run
// captured on top and the file's own entries below, never this run's entries alone.
TEST_F(ClipWindowModelTest, TheFirstSetUpReadsTheFileAndAStoreMergesTheRunAboveIt) {
  WriteFile({u"old 1", u"old 2"});
  Start();
  Copy(u"new");
  model.StoreHistory(true);
  EXPECT_EQ(FileTexts(), (Texts{u"new", u"old 1", u"old 2"}));
  EXPECT_EQ(History(), (Texts{u"new", u"old 1", u"old 2"}));
  EXPECT_TRUE(model.TakeEffects().boxes.empty());
}

TEST_F(ClipWindowModelTest, AReloadReadsTheFileAgainOnlyWhenItIsNewToTheRun) {
  WriteFile({u"old"});
  // The file system here tells letter case apart; Windows' does not.
  WriteFile({u"old"}, u"C:\\Tools\\HISTORY.TXT");
  WriteFile({u"other"}, u"C:\\Tools\\Other.txt");
  Start();
  model.HistoryArrived();
  Copy(u"new");
  model.Rows().FillHistList(0);
  model.Rows().Select(1);
  ASSERT_TRUE(model.Rows().DeleteSelected());
  // The same file (its name in other letter case): what the user deleted stays deleted.
  std::string same = kSettings;
  same.replace(same.find("History.txt"), 11, "HISTORY.TXT");
  Start(same);
  EXPECT_EQ(History(), (Texts{u"new"}));
  // Another file is merged below what the run holds.
  std::string other = kSettings;
  other.replace(other.find("History.txt"), 11, "Other.txt");
  Start(other);
  EXPECT_EQ(History(), (Texts{u"new", u"other"}));
}

// A file held by another program at start-up is never written over; once it can be read again
// its entries come back below the run's. The failure is told once per run.
TEST_F(ClipWindowModelTest, AnUnreadableFileIsNotOverwrittenAndTheFailureIsToldOnce) {
  WriteFile({u"kept"});
  fake.files.unreadable.insert(kHistoryFile);
  Start();
  Copy(u"new");
  model.StoreHistory(true);
  EXPECT_EQ(model.TakeEffects().boxes.size(), 1u);
  EXPECT_NE(ErrorLog().find(u"History.txt"), std::u16string::npos);
  fake.files.unreadable.erase(kHistoryFile);
  EXPECT_EQ(FileTexts(), (Texts{u"kept"}));
  fake.files.unreadable.insert(kHistoryFile);
  model.StoreHistory(true);
  EXPECT_TRUE(model.TakeEffects().boxes.empty());

  fake.files.unreadable.erase(kHistoryFile);
  model.StoreHistoryAtExit(true);
  EXPECT_EQ(FileTexts(), (Texts{u"new", u"kept"}));
}

TEST_F(ClipWindowModelTest, AFailureAtTheSessionsEndIsLoggedWithoutABox) {
  Start();
  fake.files.failAllWrites = true;
  Copy(u"new");
  model.StoreHistory(false);
  EXPECT_TRUE(model.TakeEffects().boxes.empty());
  EXPECT_FALSE(ErrorLog().empty());
}

TEST_F(ClipWindowModelTest, TheWindowsEndStoresOnlyWhenTheExitDidNot) {
  Start();
  Copy(u"one");
  model.WindowGone();
  EXPECT_EQ(FileTexts(), (Texts{u"one"}));
  const int writes = fake.files.writeCount;
  model.StoreHistoryAtExit(false);
  model.WindowGone();
  EXPECT_EQ(fake.files.writeCount, writes + 1);
}

TEST_F(ClipWindowModelTest, WithoutSaveHistoryNothingIsReadOrWritten) {
  WriteFile({u"old"});
  std::string settings = kSettings;
  settings.replace(settings.find("SaveHistory=1"), 13, "SaveHistory=0");
  Start(settings);
  Copy(u"new");
  model.StoreHistory(true);
  EXPECT_EQ(History(), (Texts{u"new"}));
  EXPECT_EQ(FileTexts(), (Texts{u"old"}));
}

TEST_F(ClipWindowModelTest, PasteAndCopyTakeTheSelectedRowOfThePageShown) {
  Start();
  Copy(u"first");
  Copy(u"second");
  model.Shown();
  model.Rows().Select(1);
  Run(ClipAction::kPaste);
  EXPECT_EQ(model.TakeEffects().paste, u"first");
  // The canned page has no row selected: nothing to paste there.
  model.SelectPage(ClipPage::kCanned);
  EXPECT_FALSE(model.Enabled(ClipAction::kCopyClip, {}));
  Run(ClipAction::kCopyClip);
  EXPECT_EQ(model.TakeEffects().copy, std::nullopt);
}

TEST_F(ClipWindowModelTest, DeleteOnTheCannedPageNeverTouchesTheHistory) {
  Start();
  Copy(u"entry");
  model.Shown();
  model.Rows().Select(0);
  Run(ClipAction::kRegToText);
  EXPECT_EQ(model.Canned().Items(), (Texts{u"entry"}));
  model.SelectPage(ClipPage::kCanned);
  model.Canned().Select(0);
  Run(ClipAction::kDelItem);
  EXPECT_TRUE(model.Canned().Items().empty());
  EXPECT_EQ(History(), (Texts{u"entry"}));
}

TEST_F(ClipWindowModelTest, FiltersKeepTheirWordsAndReleaseShowsEveryEntry) {
  Start();
  for (const char16_t* text : {u"apple", u"banana", u"cherry"}) Copy(text);
  model.Shown();
  EXPECT_FALSE(model.Enabled(ClipAction::kListExtract, {u"", false}));
  Run(ClipAction::kListExtract, u"an");
  EXPECT_EQ(model.Rows().RowCount(), 1u);
  EXPECT_TRUE(model.TakeEffects().findItems);
  // The same word again leaves the box's list as it is.
  Run(ClipAction::kListExtract, u"an");
  EXPECT_FALSE(model.TakeEffects().findItems);
  Run(ClipAction::kListExcept, u"x");
  EXPECT_EQ(model.FindItems(), (Texts{u"x", u"an"}));
  Run(ClipAction::kListRelease);
  EXPECT_EQ(model.Rows().RowCount(), 3u);
}

TEST_F(ClipWindowModelTest, StoppingTheCaptureShowsInTheCaptionAndTakesNothing) {
  Start();
  Run(ClipAction::kStop);
  EXPECT_TRUE(model.TakeEffects().caption);
  EXPECT_NE(model.Caption().find(u"×"), std::u16string::npos);
  Copy(u"ignored");
  EXPECT_TRUE(History().empty());
  Run(ClipAction::kStop);
  Copy(u"taken");
  EXPECT_EQ(History(), (Texts{u"taken"}));
}

TEST_F(ClipWindowModelTest, AHistoryFileThatCannotBeReadLeavesTheHistoryAsItWas) {
  Start();
  Copy(u"mine");
  WriteFile({u"loaded"}, u"C:\\Tools\\Saved.txt");
  fake.files.unreadable.insert(u"C:\\Tools\\Saved.txt");
  model.LoadHistoryFrom(u"C:\\Tools\\Saved.txt");
  EXPECT_EQ(model.TakeEffects().boxes.size(), 1u);
  EXPECT_EQ(History(), (Texts{u"mine"}));
  fake.files.unreadable.clear();
  model.LoadHistoryFrom(u"C:\\Tools\\Saved.txt");
  EXPECT_EQ(History(), (Texts{u"loaded"}));
  fake.files.failAllWrites = true;
  model.SaveHistoryTo(u"C:\\Tools\\Saved.txt");
  EXPECT_EQ(model.TakeEffects().boxes.size(), 1u);
}
