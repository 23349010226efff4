#include "clip/canned_page.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/text_codec.h"
#include "core/settings_store.h"
#include "support/fake_clipboard.h"
#include "support/fake_locale.h"
#include "support/memory_file_system.h"
#include "support/system_code_page.h"

namespace {

using Items = std::vector<std::u16string>;

const std::u16string kExeDir = u"C:\\Kelvo\\";
const std::u16string kIni = u"C:\\Kelvo\\Kelvo.INI";
const std::u16string kMain = u"C:\\Kelvo\\TEXTDATA.txt";
const std::u16string kSet1 = u"C:\\Kelvo\\set1.txt";
const std::u16string kSet2 = u"D:\\Texts\\set2.txt";

const std::u16string kDuplicate = u"同じ文がすでに登録されています";

class CannedPageTest : public ::testing::Test {
 protected:
  // The settings file's ClipboardList section holds these lines.
  void Settings(std::string lines) {
    files.files[kIni] = "[ClipboardList]\r\n" + lines;
    ini = std::make_unique<UsrIniFile>(kIni, files, SystemCodePage());
  }
  void Put(const std::u16string& path, std::u16string_view text) {
    files.files[path] = Utf16ToUtf8(text);
  }
  std::u16string Text(const std::u16string& path) {
    return DecodeText(files.files.at(path), SystemCodePage()).text;
  }
  // A page set up with the main file holding these lines (LF-separated).
  void SetUp(std::u16string_view lines) {
    Put(kMain, lines);
    if (!ini) Settings("");
    const CannedResult result = page.LoadSettings(*ini, kExeDir);
    ASSERT_FALSE(result.message) << testing::PrintToString(result.message->text);
  }
  void Select(int row) { page.Select(row); }

  MemoryFileSystem files;
  FakeClock clock;
  FakeLocale locale;
  FakeClipboard clipboard;
  std::unique_ptr<UsrIniFile> ini;
  CannedTextPage page{files, SystemCodePage(), clock, locale};
};

// ---- Set-up and sets

TEST_F(CannedPageTest, FirstStartCreatesAnEmptyFileBesideKelvo) {
  Settings("");
  const CannedResult result = page.LoadSettings(*ini, kExeDir);
  EXPECT_FALSE(result.message);
  EXPECT_EQ(page.TextDataPath(), kMain);
  ASSERT_EQ(files.files.count(kMain), 1u);
  EXPECT_EQ(files.files[kMain], "");
  EXPECT_EQ(page.Count(), 0u);
  EXPECT_FALSE(page.SetBarShown());
}

TEST_F(CannedPageTest, SetUpReadsTheFileAndTheSets) {
  Put(kSet2, u"x");
  Settings(
      "TextDataFile=mine.txt\r\nTextDataBtn1=set1.txt\r\nTextDataBtn3=D:\\Texts\\set2.txt\r\n");
  Put(u"C:\\Kelvo\\mine.txt", u"a\r\nb\rc\n\nd\r\n");
  page.LoadSettings(*ini, kExeDir);
  EXPECT_EQ(page.TextDataPath(), u"C:\\Kelvo\\mine.txt");
  EXPECT_EQ(page.Items(), (Items{u"a", u"b", u"c", u"", u"d"}));
  EXPECT_EQ(page.Selected(), -1);
  EXPECT_TRUE(page.SetBarShown());
  EXPECT_EQ(page.TextDataFiles()[0], kSet1);
  EXPECT_EQ(page.TextDataFiles()[1], u"");
  EXPECT_EQ(page.TextDataFiles()[2], kSet2);
  EXPECT_FALSE(page.SetButtonEnabled(0));  // set1.txt does not exist
  EXPECT_FALSE(page.SetButtonEnabled(1));
  EXPECT_TRUE(page.SetButtonEnabled(2));
  EXPECT_FALSE(page.SetButtonEnabled(8));
}

TEST_F(CannedPageTest, OneSetNamingAMissingFileShowsTheBarWithEveryButtonDisabled) {
  Settings("TextDataBtn2=missing.txt\r\n");
  page.LoadSettings(*ini, kExeDir);
  EXPECT_TRUE(page.SetBarShown());
  for (int set = 0; set < kCannedSets; ++set) EXPECT_FALSE(page.SetButtonEnabled(set)) << set;
}

TEST_F(CannedPageTest, SelectTextDataSwitchesOnlyToASetWhoseFileExists) {
  Settings(
      "TextDataBtn1=set1.txt\r\nTextDataBtn2=D:\\Texts\\set2.txt\r\nTextDataBtn3=gone.txt\r\n");
  SetUp(u"main");
  Put(kSet2, u"first\nsecond");
  for (int set : {-1, 0, 2, 3, 8}) {
    const CannedResult result = page.SelectTextData(set, *ini);
    EXPECT_FALSE(result.changed) << set;
    EXPECT_FALSE(result.message) << set;
    EXPECT_EQ(page.TextDataPath(), kMain);
    EXPECT_EQ(page.Items(), Items{u"main"});
  }
  // The bare command does not switch, CLIPBOARD_T3 names set index 2, whose file is missing.
  EXPECT_EQ(CannedSetOfCommand(u"CLIPBOARD_T"), std::nullopt);
  EXPECT_FALSE(page.SelectTextData(*CannedSetOfCommand(u"CLIPBOARD_T3"), *ini).changed);

  const CannedResult result = page.SelectTextData(*CannedSetOfCommand(u"CLIPBOARD_T2"), *ini);
  EXPECT_TRUE(result.changed);
  EXPECT_EQ(page.TextDataPath(), kSet2);
  EXPECT_EQ(page.Items(), (Items{u"first", u"second"}));
  EXPECT_EQ(page.Selected(), 0);
  EXPECT_EQ(page.StatusRows(), u"  1/  2");
  EXPECT_EQ(ini->ReadString(u"ClipboardList", u"TextDataFile", u""), kSet2);
  // Changes now go to the set's file.
  page.AddTextItem(u"third", -1);
  EXPECT_EQ(Text(kSet2), u"first\r\nsecond\r\nthird\r\n");
  EXPECT_EQ(Text(kMain), u"main");
}

// ---- Registering

TEST_F(CannedPageTest, AddTextItemInsertsBeforePositionOrAppends) {
  SetUp(u"a\nb\nc");
  page.Select(1);
  struct Step {
    const char16_t* text;
    int position;
    Items items;
    int selected;  // the selected item moves with its row
  } steps[] = {
      {u"end", -1, {u"a", u"b", u"c", u"end"}, 1},
      {u"past", 9, {u"a", u"b", u"c", u"end", u"past"}, 1},
      {u"count", 5, {u"a", u"b", u"c", u"end", u"past", u"count"}, 1},
      {u"first", 0, {u"first", u"a", u"b", u"c", u"end", u"past", u"count"}, 2},
      {u"mid", 3, {u"first", u"a", u"b", u"mid", u"c", u"end", u"past", u"count"}, 2},
  };
  for (const Step& step : steps) {
    const CannedResult result = page.AddTextItem(step.text, step.position);
    EXPECT_TRUE(result.changed);
    EXPECT_FALSE(result.message);
    EXPECT_EQ(page.Items(), step.items) << testing::PrintToString(std::u16string(step.text));
    EXPECT_EQ(page.Selected(), step.selected);
  }
  EXPECT_EQ(Text(kMain), u"first\r\na\r\nb\r\nmid\r\nc\r\nend\r\npast\r\ncount\r\n");
}

TEST_F(CannedPageTest, RegisteringMakesOneLineAndRefusesDuplicatesOfAnyCase) {
  SetUp(u"HELLO\nLabel\tbody");
  EXPECT_FALSE(page.AddTextItem(u"", -1).changed);

  const CannedResult duplicate = page.AddTextItem(u"Hello", -1);
  EXPECT_FALSE(duplicate.changed);
  ASSERT_TRUE(duplicate.message);
  EXPECT_EQ(duplicate.message->text, kDuplicate);
  EXPECT_EQ(duplicate.message->caption, u"警告");
  EXPECT_EQ(duplicate.message->flags, kMbOk | kMbIconExclamation);

  EXPECT_TRUE(page.AddTextItem(u"a\r\nb", -1).changed);
  // The same text with LF only is now a duplicate of the stored line.
  EXPECT_EQ(page.AddTextItem(u"A\nB", -1).message->text, kDuplicate);
  EXPECT_TRUE(page.AddTextItem(u"x\ty\\t", -1).changed);
  // Only the whole item counts, not a labelled item's body.
  EXPECT_TRUE(page.AddTextItem(u"body", -1).changed);
  EXPECT_EQ(page.Items(), (Items{u"HELLO", u"Label\tbody", u"a\\nb", u"x\\ty\\t", u"body"}));
  EXPECT_EQ(files.writeCount, 3);
}

TEST_F(CannedPageTest, RegisteringFromTheClipboard) {
  SetUp(u"a\nb");
  EXPECT_FALSE(page.RegFromClip(clipboard).changed);  // no text
  clipboard.SetByOtherProgram(u"copied\r\ntext");
  EXPECT_FALSE(page.InsFromClip(clipboard).changed);  // no row selected
  page.RegFromClip(clipboard);
  page.Select(1);
  clipboard.SetByOtherProgram(u"inserted");
  page.InsFromClip(clipboard);
  EXPECT_EQ(page.Items(), (Items{u"a", u"inserted", u"b", u"copied\\ntext"}));
  EXPECT_EQ(page.Selected(), 2);
  EXPECT_TRUE(clipboard.writes.empty());
}

TEST_F(CannedPageTest, SeparatorsGoBeforeTheSelectionOrAtTheEnd) {
  SetUp(u"a\nb");
  page.InsSepItem();
  page.Select(0);
  page.InsSepItem();
  page.InsSepItem();  // no duplicate test
  EXPECT_EQ(page.Items(), (Items{u"-", u"-", u"a", u"b", u"-"}));
  EXPECT_EQ(page.Selected(), 2);
  page.Select(0);
  EXPECT_EQ(page.SelText(), u"");
  EXPECT_FALSE(page.CanPaste());
}

// ---- Deleting and moving

TEST_F(CannedPageTest, DeleteKeepsThePositionOrTakesTheNewLastRow) {
  SetUp(u"a\nb\nc");
  EXPECT_FALSE(page.DeleteSelected().changed);  // nothing selected
  page.Select(1);
  EXPECT_TRUE(page.DeleteSelected().changed);
  EXPECT_EQ(page.Items(), (Items{u"a", u"c"}));
  EXPECT_EQ(page.Selected(), 1);
  page.DeleteSelected();
  EXPECT_EQ(page.Selected(), 0);
  page.DeleteSelected();
  EXPECT_EQ(page.Selected(), -1);
  EXPECT_EQ(page.StatusRows(), u"");
  EXPECT_EQ(files.files[kMain], "");
}

TEST_F(CannedPageTest, DragMovesTheSelectedItemToTheTargetIndex) {
  const struct {
    int from;
    int to;
    Items items;
  } cases[] = {
      {0, 3, {u"1", u"2", u"3", u"0", u"4"}},
      {3, 0, {u"3", u"0", u"1", u"2", u"4"}},
      {1, 4, {u"0", u"2", u"3", u"4", u"1"}},
      {2, -1, {u"0", u"1", u"2", u"3", u"4"}},  // dropped outside any row
      {2, 5, {u"0", u"1", u"2", u"3", u"4"}},
      {2, 2, {u"0", u"1", u"2", u"3", u"4"}},
  };
  for (const auto& c : cases) {
    SetUp(u"0\n1\n2\n3\n4");
    const int writes = files.writeCount;
    page.Select(c.from);
    ASSERT_TRUE(page.AcceptsDrop());
    const CannedResult result = page.MoveSelected(c.to);
    EXPECT_EQ(page.Items(), c.items) << c.from << " to " << c.to;
    const bool moved = c.items != Items{u"0", u"1", u"2", u"3", u"4"};
    EXPECT_EQ(result.changed, moved);
    EXPECT_EQ(files.writeCount, writes + (moved ? 1 : 0));
    EXPECT_EQ(page.Selected(), moved ? c.to : c.from);
  }
}

TEST_F(CannedPageTest, DropMarkIsBelowRowsUnderTheSelectionAndAboveTheOthers) {
  SetUp(u"0\n1\n2\n3");
  page.Select(2);
  EXPECT_EQ(page.DropMarkerEdge(3), DropEdge::kBottom);
  EXPECT_EQ(page.DropMarkerEdge(2), DropEdge::kTop);
  EXPECT_EQ(page.DropMarkerEdge(0), DropEdge::kTop);
  page.Select(-1);
  EXPECT_FALSE(page.AcceptsDrop());
}

// ---- Editing

TEST_F(CannedPageTest, EditingReplacesTheItemAndClearingTheLabelLeavesTheBody) {
  SetUp(u"first\n L \tHello\\nWorld\nlast");
  page.Select(1);
  const auto fields = page.BeginEdit();
  ASSERT_TRUE(fields);
  EXPECT_EQ(fields->label, u"L");
  EXPECT_EQ(fields->body, u"Hello\r\nWorld");
  EXPECT_TRUE(page.Editing());
  EXPECT_FALSE(page.ListEnabled());
  EXPECT_EQ(page.SelText(), u"");  // the list is disabled while editing
  page.Select(0);                  // ignored while editing
  EXPECT_EQ(page.Selected(), 1);

  const CannedResult result = page.EditOk(u"", fields->body + u"\r\n\t!");
  EXPECT_TRUE(result.changed);
  EXPECT_FALSE(page.Editing());
  EXPECT_EQ(page.Items(), (Items{u"first", u"Hello\\nWorld\\n\\t!", u"last"}));
  EXPECT_EQ(Text(kMain), u"first\r\nHello\\nWorld\\n\\t!\r\nlast\r\n");

  page.BeginEdit();
  page.EditOk(u"New", u"body");
  EXPECT_EQ(page.Items()[1], u"New\tbody");
  const int writes = files.writeCount;
  page.BeginEdit();
  page.CancelEdit();
  page.BeginEdit();
  page.EditOk(u"New", u"body");  // unchanged: nothing to write
  EXPECT_EQ(files.writeCount, writes);
  EXPECT_EQ(page.Items()[1], u"New\tbody");
}

TEST_F(CannedPageTest, ReloadOrSetSwitchEndsTheEditSoOkCannotWriteElsewhere) {
  Settings("TextDataBtn1=set1.txt\r\n");
  Put(kSet1, u"other 0\nother 1");
  SetUp(u"a\nb");
  page.Select(1);
  page.BeginEdit();
  // CLIPBOARD_T1 while the panel is open.
  EXPECT_TRUE(page.SelectTextData(0, *ini).changed);
  EXPECT_FALSE(page.Editing());
  EXPECT_TRUE(page.ListEnabled());
  EXPECT_FALSE(page.EditOk(u"", u"typed").changed);
  EXPECT_EQ(Text(kSet1), u"other 0\nother 1");
  EXPECT_EQ(Text(kMain), u"a\nb");

  page.Select(1);
  page.BeginEdit();
  page.Reload();
  EXPECT_FALSE(page.Editing());
  page.EditOk(u"", u"typed");
  EXPECT_EQ(page.Items(), (Items{u"other 0", u"other 1"}));

  page.BeginEdit();
  page.LoadSettings(*ini, kExeDir);
  EXPECT_FALSE(page.Editing());
}

TEST_F(CannedPageTest, WhileEditingOnlyAppendingChangesTheList) {
  SetUp(u"a\nb");
  page.Select(0);
  page.BeginEdit();
  EXPECT_FALSE(page.InsSepItem().changed);
  EXPECT_FALSE(page.DeleteSelected().changed);
  EXPECT_FALSE(page.MoveSelected(1).changed);
  EXPECT_FALSE(page.AddTextItem(u"x", 0).changed);
  // Registering a history entry from the other page appends; the edited row stays.
  EXPECT_TRUE(page.AddTextItem(u"from history", -1).changed);
  page.EditOk(u"", u"edited");
  EXPECT_EQ(page.Items(), (Items{u"edited", u"b", u"from history"}));
}

TEST_F(CannedPageTest, ActionsAreDisabledWhileThePanelIsOpen) {
  SetUp(u"a\n-");
  page.Select(0);
  EXPECT_TRUE(page.CanPaste());
  EXPECT_TRUE(page.CanEditItem());
  EXPECT_TRUE(page.CanDelete());
  EXPECT_TRUE(page.CanRegFromClip(true));
  EXPECT_FALSE(page.CanRegFromClip(false));
  EXPECT_TRUE(page.CanInsFromClip(true));
  EXPECT_TRUE(page.CanInsSep());
  EXPECT_TRUE(page.CanReload());
  EXPECT_TRUE(page.CanEditTextData(u"notepad.exe"));
  EXPECT_FALSE(page.CanEditTextData(u""));
  page.BeginEdit();
  EXPECT_FALSE(page.CanPaste());
  EXPECT_FALSE(page.CanEditItem());
  EXPECT_FALSE(page.CanDelete());
  EXPECT_FALSE(page.CanRegFromClip(true));
  EXPECT_FALSE(page.CanInsFromClip(true));
  EXPECT_FALSE(page.CanInsSep());
  EXPECT_FALSE(page.CanReload());
  EXPECT_FALSE(page.CanEditTextData(u"notepad.exe"));
  EXPECT_FALSE(page.BeginEdit());
  page.CancelEdit();
  page.Select(1);  // a separator can be neither pasted nor edited
  EXPECT_FALSE(page.CanPaste());
  EXPECT_FALSE(page.CanEditItem());
  EXPECT_TRUE(page.CanDelete());
  files.files.erase(kMain);
  EXPECT_FALSE(page.CanReload());
  EXPECT_FALSE(page.CanEditTextData(u"notepad.exe"));
}

TEST_F(CannedPageTest, StatusShowsThePasteWithVisibleEscapes) {
  SetUp(u"x\nDate\t\\Y-\\0m\\n\\tend ");
  page.Select(1);
  EXPECT_EQ(page.StatusRows(), u"  2/  2");
  EXPECT_EQ(page.SelText(), u"2015-03\r\n\tend");
  EXPECT_EQ(page.StatusText(), u"2015-03\\n\\tend");
  EXPECT_EQ(page.SelText(0), u"x");
  EXPECT_EQ(page.SelText(2), u"");
}

// ---- Encodings

TEST_F(CannedPageTest, ChangesKeepTheFilesEncoding) {
  const struct {
    const char* name;
    TextEncoding encoding;
  } cases[] = {{"shift_jis", TextEncoding::Ansi},
               {"utf-8", TextEncoding::Utf8},
               {"utf-8 bom", TextEncoding::Utf8Bom},
               {"utf-16 le", TextEncoding::Utf16Le},
               {"utf-16 be", TextEncoding::Utf16Be}};
  for (const auto& c : cases) {
    files.files[kMain] =
        EncodeText(u"挨拶\tこんにちは\r\n-\r\n", c.encoding, SystemCodePage()).bytes;
    Settings("");
    page.LoadSettings(*ini, kExeDir);
    page.AddTextItem(u"ありがとう", -1);
    EXPECT_EQ(
        files.files[kMain],
        EncodeText(u"挨拶\tこんにちは\r\n-\r\nありがとう\r\n", c.encoding, SystemCodePage()).bytes)
        << c.name;
  }
}

TEST_F(CannedPageTest, AnAnsiFileThatGainsAnEmojiBecomesUtf8WithAMark) {
  files.files[kMain] = "\x93\xFA\x96\x7B\r\n";  // 日本 in Shift_JIS
  Settings("");
  page.LoadSettings(*ini, kExeDir);
  page.AddTextItem(u"笑顔\U0001F600", -1);
  EXPECT_EQ(files.files[kMain], "\xEF\xBB\xBF" + Utf16ToUtf8(u"日本\r\n笑顔\U0001F600\r\n"));
  page.Reload();
  EXPECT_EQ(page.Items(), (Items{u"日本", u"笑顔\U0001F600"}));
}

TEST_F(CannedPageTest, LinesKelvoDidNotChangeKeepTheirBytes) {
  // A UTF-8 file with one line pasted from a Shift_JIS file, twice the same text.
  const std::string sjisLine = "\x93\xFA\x96\x7B";
  files.files[kMain] = Utf16ToUtf8(u"日本\r\n") + sjisLine + "\r\n" + Utf16ToUtf8(u"語\r\n");
  Settings("");
  page.LoadSettings(*ini, kExeDir);
  ASSERT_EQ(page.Items(), (Items{u"日本", u"日本", u"語"}));
  page.Select(0);
  page.DeleteSelected();  // the UTF-8 one
  page.AddTextItem(u"追加", 0);
  EXPECT_EQ(files.files[kMain],
            Utf16ToUtf8(u"追加\r\n") + sjisLine + "\r\n" + Utf16ToUtf8(u"語\r\n"));
}

// ---- Failures

TEST_F(CannedPageTest, AFailedWriteKeepsTheFileAndTheList) {
  SetUp(u"a\nb\nc");
  page.Select(1);
  const std::string before = files.files[kMain];
  files.failAllWrites = true;
  const auto expectUnchanged = [&](const CannedResult& result, const char* what) {
    EXPECT_FALSE(result.changed) << what;
    ASSERT_TRUE(result.message) << what;
    EXPECT_EQ(result.message->text, u"定型文ファイルを保存できません。\n" + kMain) << what;
    EXPECT_EQ(result.message->caption, u"エラー");
    EXPECT_EQ(result.message->flags, kMbOk | kMbIconError);
    EXPECT_EQ(page.Items(), (Items{u"a", u"b", u"c"})) << what;
    EXPECT_EQ(page.Selected(), 1) << what;
    EXPECT_EQ(files.files[kMain], before) << what;
  };
  expectUnchanged(page.AddTextItem(u"new", 0), "add");
  expectUnchanged(page.InsSepItem(), "separator");
  expectUnchanged(page.DeleteSelected(), "delete");
  expectUnchanged(page.MoveSelected(0), "move");
  page.BeginEdit();
  expectUnchanged(page.EditOk(u"", u"edited"), "edit");
  // The edit stays open with what was typed; OK works once the file can be written.
  EXPECT_TRUE(page.Editing());
  files.failAllWrites = false;
  EXPECT_TRUE(page.EditOk(u"", u"edited").changed);
  EXPECT_FALSE(page.Editing());
  EXPECT_EQ(page.Items(), (Items{u"a", u"edited", u"c"}));
}

TEST_F(CannedPageTest, AFileThatCannotBeReadIsNeverOverwritten) {
  Put(kMain, u"precious");
  files.unreadable.insert(kMain);
  Settings("");
  const CannedResult setUp = page.LoadSettings(*ini, kExeDir);
  ASSERT_TRUE(setUp.message);
  EXPECT_EQ(setUp.message->text, u"定型文ファイルを読み込めません。\n" + kMain);
  EXPECT_EQ(setUp.message->caption, u"エラー");

  const CannedResult added = page.AddTextItem(u"new", -1);
  EXPECT_FALSE(added.changed);
  ASSERT_TRUE(added.message);
  EXPECT_EQ(added.message->text, u"定型文ファイルを読み込めません。\n" + kMain +
                                     u"\n読み込めるようになるまで、定型文は変更できません。");
  EXPECT_TRUE(page.InsSepItem().message);
  EXPECT_TRUE(page.SaveTextData().message);
  EXPECT_EQ(page.Count(), 0u);
  EXPECT_EQ(files.writeCount, 0);

  // Once it reads again, changes are written.
  files.unreadable.clear();
  EXPECT_TRUE(page.Reload().changed);
  EXPECT_EQ(page.Selected(), 0);
  EXPECT_TRUE(page.AddTextItem(u"new", -1).changed);
  EXPECT_EQ(Text(kMain), u"precious\r\nnew\r\n");
}

TEST_F(CannedPageTest, AReloadThatCannotReadKeepsTheItemsAndRefusesChanges) {
  SetUp(u"a\nb");
  files.unreadable.insert(kMain);
  const CannedResult reload = page.Reload();
  EXPECT_FALSE(reload.changed);
  ASSERT_TRUE(reload.message);
  EXPECT_EQ(page.Items(), (Items{u"a", u"b"}));
  page.Select(0);
  EXPECT_EQ(page.SelText(), u"a");  // still pastes
  EXPECT_TRUE(page.DeleteSelected().message);
  EXPECT_EQ(page.Items(), (Items{u"a", u"b"}));
  EXPECT_EQ(files.writeCount, 0);
}

TEST_F(CannedPageTest, ASetThatCannotBeReadLeavesTheCurrentSet) {
  Settings("TextDataBtn1=set1.txt\r\n");
  Put(kSet1, u"other");
  SetUp(u"a");
  files.unreadable.insert(kSet1);
  const CannedResult result = page.SelectTextData(0, *ini);
  EXPECT_FALSE(result.changed);
  ASSERT_TRUE(result.message);
  EXPECT_EQ(result.message->text, u"定型文ファイルを読み込めません。\n" + kSet1);
  EXPECT_EQ(page.TextDataPath(), kMain);
  EXPECT_EQ(page.Items(), Items{u"a"});
  EXPECT_EQ(ini->ReadString(u"ClipboardList", u"TextDataFile", u"unset"), u"unset");
  EXPECT_TRUE(page.AddTextItem(u"b", -1).changed);  // the current file is fine
}

TEST_F(CannedPageTest, FilesLargerThan16MbAreRefused) {
  files.files[kMain] = std::string(kMaxCannedFileBytes + 1, 'a');
  Settings("");
  const CannedResult setUp = page.LoadSettings(*ini, kExeDir);
  ASSERT_TRUE(setUp.message);
  EXPECT_EQ(setUp.message->text,
            u"定型文ファイルが大きすぎるため読み込めません（16 MB まで）。\n" + kMain);
  EXPECT_EQ(page.Count(), 0u);
  EXPECT_TRUE(page.AddTextItem(u"x", -1).message);
  EXPECT_EQ(files.files[kMain].size(), kMaxCannedFileBytes + 1);

  // Nothing Kelvo writes grows past what it reads: a clipboard text that would is refused.
  files.files[kMain] = "\xEF\xBB\xBF" + std::string(kMaxCannedFileBytes - 13, 'a');
  page.Reload();
  ASSERT_EQ(page.Count(), 1u);
  clipboard.SetByOtherProgram(u"0123456789");
  const CannedResult tooMuch = page.RegFromClip(clipboard);
  EXPECT_FALSE(tooMuch.changed);
  ASSERT_TRUE(tooMuch.message);
  EXPECT_EQ(tooMuch.message->text,
            u"定型文ファイルが大きくなりすぎるため保存できません（16 MB まで）。\n" + kMain);
  EXPECT_EQ(page.Count(), 1u);
  EXPECT_EQ(files.writeCount, 0);
}

TEST_F(CannedPageTest, AFileSavedByAnotherProgramIsReadInsteadOfOverwritten) {
  SetUp(u"a\nb");
  page.Select(1);
  // The user saved the file in the editor after Kelvo read it.
  Put(kMain, u"x\r\ny\r\nz\r\n");
  const CannedResult result = page.AddTextItem(u"new", -1);
  EXPECT_TRUE(result.changed);
  ASSERT_TRUE(result.message);
  EXPECT_EQ(result.message->text,
            u"定型文ファイルがほかのプログラムで変更されていたため、読み込み直しました。"
            u"もう一度操作してください。\n" + kMain);
  EXPECT_EQ(result.message->caption, u"警告");
  EXPECT_EQ(page.Items(), (Items{u"x", u"y", u"z"}));
  EXPECT_EQ(page.Selected(), 0);
  EXPECT_EQ(Text(kMain), u"x\r\ny\r\nz\r\n");
  // Made again, the change is written on top of what the editor saved.
  EXPECT_FALSE(page.AddTextItem(u"new", -1).message);
  EXPECT_EQ(Text(kMain), u"x\r\ny\r\nz\r\nnew\r\n");

  // An open edit ends: its row may hold another item now.
  page.Select(1);
  page.BeginEdit();
  Put(kMain, u"only");
  EXPECT_TRUE(page.EditOk(u"", u"edited").message);
  EXPECT_FALSE(page.Editing());
  EXPECT_EQ(page.Items(), Items{u"only"});
  EXPECT_EQ(Text(kMain), u"only");
}

TEST_F(CannedPageTest, AFileThatBecameUnreadableIsNotWritten) {
  SetUp(u"a");
  files.unreadable.insert(kMain);
  const CannedResult result = page.AddTextItem(u"b", -1);
  EXPECT_FALSE(result.changed);
  ASSERT_TRUE(result.message);
  EXPECT_EQ(result.message->text, u"定型文ファイルを読み込めません。\n" + kMain +
                                      u"\n読み込めるようになるまで、定型文は変更できません。");
  files.unreadable.clear();
  EXPECT_TRUE(page.AddTextItem(u"b", -1).message);  // until it is read again
  page.Reload();
  EXPECT_FALSE(page.AddTextItem(u"b", -1).message);
  EXPECT_EQ(Text(kMain), u"a\r\nb\r\n");
}

TEST_F(CannedPageTest, AFileRemovedWhileKelvoRunsIsWrittenAgainByTheNextChange) {
  SetUp(u"a");
  files.files.erase(kMain);
  EXPECT_FALSE(page.AddTextItem(u"b", -1).message);
  EXPECT_EQ(Text(kMain), u"a\r\nb\r\n");
}

TEST_F(CannedPageTest, AFileRemovedWhileKelvoRunsGetsItsItemsBackAtTheNextSetUp) {
  SetUp(u"a\nb");
  files.files.erase(kMain);
  const CannedResult result = page.LoadSettings(*ini, kExeDir);
  EXPECT_FALSE(result.message);
  EXPECT_EQ(Text(kMain), u"a\r\nb\r\n");
}

TEST_F(CannedPageTest, ASetUpThatCannotCreateTheFileSaysSo) {
  Settings("");
  files.failAllWrites = true;
  const CannedResult result = page.LoadSettings(*ini, kExeDir);
  ASSERT_TRUE(result.message);
  EXPECT_EQ(result.message->text, u"定型文ファイルを保存できません。\n" + kMain);
  // The page still works once the folder can be written.
  files.failAllWrites = false;
  EXPECT_TRUE(page.AddTextItem(u"a", -1).changed);
  EXPECT_EQ(Text(kMain), u"a\r\n");
}

}  // namespace
