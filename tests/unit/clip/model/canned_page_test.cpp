#include "clip/model/canned_page.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "base/text_codec.h"
#include "hotkeys/hotkey_action.h"
#include "settings/settings_store.h"
#include "support/fake_clipboard.h"
#include "support/fake_locale.h"
#include "support/memory_file_system.h"
#include "support/system_code_page.h"
#include "util/file_listing.h"

namespace {

using Items = std::vector<std::u16string>;

const std::u16string kExeDir = u"C:\\Kelvo\\";
const std::u16string kMain = u"C:\\Kelvo\\TEXTDATA.txt";
const std::u16string kSet1 = u"C:\\Kelvo\\set1.txt";
const std::u16string kSet2 = u"D:\\Texts\\set2.txt";
const std::u16string kCannotRead = u"定型文ファイルを読み込めません。\n";
const std::u16string kRefused = u"\n読み込めるようになるまで、定型文は変更できません。";

class CannedPageTest : public ::testing::Test {
 protected:
  // The settings file's ClipboardList section holds these lines.
  void Settings(std::string lines) {
    files.files[u"C:\\Kelvo\\Kelvo.INI"] = "[ClipboardList]\r\n" + lines;
    ini = std::make_unique<UsrIniFile>(u"C:\\Kelvo\\Kelvo.INI", files, SystemCodePage());
  }
  void Put(const std::u16string& path, std::u16string_view text) {
    files.files[path] = Utf16ToUtf8(text);
  }
  std::u16string Text(const std::u16string& path) {
    return DecodeText(files.files.at(path), SystemCodePage()).text;
  }
  // The page set up with the current file holding the text.
  void SetUp(std::u16string_view text) {
    Put(kMain, text);
    if (!ini) Settings("");
    const CannedResult result = page.LoadSettings(*ini, kExeDir);
    ASSERT_FALSE(result.message) << testing::PrintToString(result.message->text);
  }
  static std::u16string MessageOf(const CannedResult& result) {
    return result.message ? result.message->text : u"(none)";
  }

  MemoryFileSystem files;
  FakeClock clock;
  FakeLocale locale;
  FakeClipboard clipboard;
  std::unique_ptr<UsrIniFile> ini;
  CannedTextPage page{files, SystemCodePage(), clock, locale};
};

// ---- Set-up and sets

TEST_F(CannedPageTest, SetUpReadsTheFileAndTheSetsOrCreatesAnEmptyFile) {
  Settings("");
  EXPECT_FALSE(page.LoadSettings(*ini, kExeDir).message);
  EXPECT_EQ(files.files.at(kMain), "");  // the first start, beside Kelvo.exe
  EXPECT_FALSE(page.SetBarShown());

  Put(kSet2, u"x");
  Settings(
      "TextDataFile=mine.txt\r\nTextDataBtn2=set1.txt\r\nTextDataBtn3=D:\\Texts\\set2.txt\r\n");
  Put(u"C:\\Kelvo\\mine.txt", u"a\r\nb\rc\n\nd\r\n");
  page.LoadSettings(*ini, kExeDir);
  EXPECT_EQ(page.TextDataPath(), u"C:\\Kelvo\\mine.txt");
  EXPECT_EQ(page.Items(), (Items{u"a", u"b", u"c", u"", u"d"}));
  EXPECT_EQ(page.Selected(), -1);
  EXPECT_TRUE(page.SetBarShown());
  EXPECT_EQ(page.TextDataFiles()[1], kSet1);
  EXPECT_EQ(page.TextDataFiles()[2], kSet2);
  // A set naming a missing file shows the bar with its button disabled.
  for (int set = -1; set <= kCannedSets; ++set) EXPECT_EQ(page.SetButtonEnabled(set), set == 2);
}

namespace {

// The set a CLIPBOARD_T hotkey chooses.
int CannedSetOf(std::u16string_view command) {
  return *std::get<InternalAction>(ParseHotKeyAction(command)).cannedSet;
}

}  // namespace

TEST_F(CannedPageTest, SelectTextDataSwitchesOnlyToASetWhoseFileExists) {
  Settings(
      "TextDataBtn1=set1.txt\r\nTextDataBtn2=D:\\Texts\\set2.txt\r\nTextDataBtn3=gone.txt\r\n");
  SetUp(u"main");
  Put(kSet2, u"first\nsecond");
  // CLIPBOARD_T3 names a missing file; sets 1 and 4 to 8 have none; 0 and 9 do not exist.
  for (int set : {-1, 0, CannedSetOf(u"CLIPBOARD_T3"), 3, 8}) {
    const CannedResult result = page.SelectTextData(set, *ini);
    EXPECT_FALSE(result.changed || result.message) << set;
    EXPECT_EQ(page.TextDataPath(), kMain);
  }
  EXPECT_TRUE(page.SelectTextData(CannedSetOf(u"CLIPBOARD_T2"), *ini).changed);
  EXPECT_EQ(page.Items(), (Items{u"first", u"second"}));
  EXPECT_EQ(page.StatusRows(), u"  1/  2");
  // A file elsewhere is written with its full path, one in Kelvo's folder (or below it, in any
  // letter case) by its name there, so that the folder can move.
  EXPECT_EQ(ini->ReadString(u"ClipboardList", u"TextDataFile", u""), kSet2);
  page.AddTextItem(u"third", -1);
  EXPECT_EQ(Text(kSet2), u"first\r\nsecond\r\nthird\r\n");
  EXPECT_EQ(Text(kMain), u"main");
  Put(kSet1, u"one");
  EXPECT_TRUE(page.SelectTextData(0, *ini).changed);
  EXPECT_EQ(ini->ReadString(u"ClipboardList", u"TextDataFile", u""), u"set1.txt");
  EXPECT_EQ(AppRelativePath(u"c:\\kelvo\\Sub\\x.txt", kExeDir), u"Sub\\x.txt");
  EXPECT_EQ(AppRelativePath(u"C:\\Kelvo2\\x.txt", kExeDir), u"C:\\Kelvo2\\x.txt");
  EXPECT_EQ(AppRelativePath(u"C:\\Kelvo\\", kExeDir), u"C:\\Kelvo\\");
}

// ---- Changes

TEST_F(CannedPageTest, AddTextItemInsertsBeforePositionOrAppendsAndTheSelectionStays) {
  SetUp(u"a\nb\nc");
  page.Select(1);
  page.AddTextItem(u"end", -1);
  page.AddTextItem(u"past", 9);
  page.AddTextItem(u"count", 5);
  page.AddTextItem(u"first", 0);
  page.AddTextItem(u"mid", 3);
  EXPECT_EQ(page.Items(), (Items{u"first", u"a", u"b", u"mid", u"c", u"end", u"past", u"count"}));
  EXPECT_EQ(page.SelText(), u"b");
  EXPECT_EQ(Text(kMain), u"first\r\na\r\nb\r\nmid\r\nc\r\nend\r\npast\r\ncount\r\n");
}

TEST_F(CannedPageTest, RegisteringMakesOneLineAndRefusesDuplicatesOfAnyCase) {
  SetUp(u"HELLO\nLabel\tbody");
  EXPECT_FALSE(page.AddTextItem(u"", -1).changed);
  const CannedResult duplicate = page.AddTextItem(u"Hello", -1);
  EXPECT_FALSE(duplicate.changed);
  EXPECT_EQ(MessageOf(duplicate), u"同じ文がすでに登録されています");
  EXPECT_EQ(duplicate.message->caption, u"警告");
  EXPECT_EQ(duplicate.message->flags, kMbOk | kMbIconExclamation);

  clipboard.SetByOtherProgram(u"a\r\nb");
  EXPECT_TRUE(page.RegFromClip(clipboard).changed);
  EXPECT_TRUE(page.AddTextItem(u"A\nB", -1).message);  // the same line
  page.Select(1);
  clipboard.SetByOtherProgram(u"x\ty\\t");
  EXPECT_TRUE(page.InsFromClip(clipboard).changed);
  EXPECT_TRUE(page.AddTextItem(u"body", -1).changed);  // a labelled item's body is no duplicate
  EXPECT_EQ(page.Items(), (Items{u"HELLO", u"x\\ty\\t", u"Label\tbody", u"a\\nb", u"body"}));
}

TEST_F(CannedPageTest, TheDuplicateTestIgnoresCharacterWidthButNotKana) {
  SetUp(u"ＡＢＣ１２３\nｶﾞｲﾄﾞ\nカタカナ");
  for (const std::u16string text : {u"abc123", u"Abc１２３", u"ガイド", u"ｶﾞｲﾄﾞ"}) {
    EXPECT_EQ(MessageOf(page.AddTextItem(text, -1)), u"同じ文がすでに登録されています");
  }
  // Other kana, another mark or other text are new items.
  for (const std::u16string text : {u"かたかな", u"カイド", u"ｶﾟｲﾄﾞ", u"ABC124"}) {
    EXPECT_TRUE(page.AddTextItem(text, -1).changed);
  }
  EXPECT_EQ(page.Count(), 7u);
}

TEST_F(CannedPageTest, SeparatorsAndDeletes) {
  SetUp(u"a\nb");
  page.InsSepItem();  // at the end without a selection
  page.Select(0);
  page.InsSepItem();
  page.InsSepItem();
  EXPECT_EQ(page.Items(), (Items{u"-", u"-", u"a", u"b", u"-"}));
  EXPECT_EQ(page.Selected(), 2);
  page.Select(1);
  EXPECT_FALSE(page.CanPaste() || page.CanEditItem());
  // A delete keeps the position, or takes the new last row.
  page.DeleteSelected();
  EXPECT_EQ(page.SelText(), u"a");
  page.Select(3);
  page.DeleteSelected();
  EXPECT_EQ(page.Selected(), 2);
  EXPECT_EQ(Text(kMain), u"-\r\na\r\nb\r\n");
}

TEST_F(CannedPageTest, DragMovesTheSelectedItemToTheTargetIndex) {
  const Items unmoved{u"0", u"1", u"2", u"3", u"4"};
  const struct {
    int from, to;
    Items items;
  } cases[] = {
      {0, 3, {u"1", u"2", u"3", u"0", u"4"}},
      {3, 0, {u"3", u"0", u"1", u"2", u"4"}},
      {1, 4, {u"0", u"2", u"3", u"4", u"1"}},
      {2, -1, unmoved},  // outside any row
      {2, 5, unmoved},
      {2, 2, unmoved},
  };
  for (const auto& c : cases) {
    SetUp(u"0\n1\n2\n3\n4");
    const int writes = files.writeCount;
    page.Select(c.from);
    page.MoveSelected(c.to);
    EXPECT_EQ(page.Items(), c.items) << c.from << " to " << c.to;
    EXPECT_EQ(files.writeCount, writes + (c.items != unmoved ? 1 : 0));
    EXPECT_EQ(page.Selected(), c.items != unmoved ? c.to : c.from);
  }
  // The drop mark is under rows below the selected one, above the others.
  EXPECT_EQ(page.DropMarkerEdge(3), DropEdge::kBottom);
  EXPECT_EQ(page.DropMarkerEdge(2), DropEdge::kTop);
  page.Select(-1);
  EXPECT_FALSE(page.AcceptsDrop());
}

// The window adds the rows again only when this version moves: a set read again as it was must
// keep it, every change must move it.
TEST_F(CannedPageTest, TheItemsVersionMovesOnlyWhenTheItemsChange) {
  Settings("TextDataBtn1=set1.txt\r\n");
  SetUp(u"a\nb");
  Put(kSet1, u"a\r\nb\r\n");  // the same lines in another file
  auto version = page.ItemsVersion();
  const auto moved = [&] {
    const bool was = page.ItemsVersion() != version;
    version = page.ItemsVersion();
    return was;
  };
  page.LoadSettings(*ini, kExeDir);
  EXPECT_FALSE(moved()) << "the same file read again";
  page.SelectTextData(0, *ini);
  EXPECT_FALSE(moved()) << "another set with the same lines";
  page.Select(0);
  page.AddTextItem(u"c", -1);
  EXPECT_TRUE(moved()) << "an insert";
  page.MoveSelected(2);
  EXPECT_TRUE(moved()) << "a move";
  page.DeleteSelected();
  EXPECT_TRUE(moved()) << "a delete";
  Put(kSet1, u"x");
  page.Reload();
  EXPECT_TRUE(moved()) << "a file changed on disk and read again";
  page.Reload();
  EXPECT_FALSE(moved()) << "read again unchanged";
}

// ---- Editing

TEST_F(CannedPageTest, EditingReplacesTheItemAndClearingTheLabelLeavesTheBody) {
  SetUp(u"first\n L \tHello\\nWorld\nlast");
  page.Select(1);
  const auto fields = page.BeginEdit();
  ASSERT_TRUE(fields);
  EXPECT_EQ(fields->label, u"L");
  EXPECT_EQ(fields->body, u"Hello\r\nWorld");
  EXPECT_FALSE(page.ListEnabled());
  EXPECT_EQ(page.SelText(), u"");
  EXPECT_TRUE(page.EditOk(u"", fields->body + u"\r\n\t!").changed);
  EXPECT_FALSE(page.Editing());
  EXPECT_EQ(Text(kMain), u"first\r\nHello\\nWorld\\n\\t!\r\nlast\r\n");

  const int writes = files.writeCount;
  page.BeginEdit();
  page.CancelEdit();
  page.BeginEdit();
  page.EditOk(u"", u"Hello\r\nWorld\r\n\t!");  // unchanged: nothing to write
  EXPECT_EQ(files.writeCount, writes);
}

TEST_F(CannedPageTest, WhileEditingTheListStaysAndSwitchesEndTheEdit) {
  Settings("TextDataBtn1=set1.txt\r\n");
  Put(kSet1, u"other 0\nother 1");
  SetUp(u"a\nb");
  page.Select(0);
  page.BeginEdit();
  EXPECT_FALSE(page.CanDelete() || page.CanInsSep() || page.CanReload() || page.CanPaste() ||
               page.CanRegFromClip(true) || page.CanEditTextData(u"notepad.exe"));
  EXPECT_FALSE(page.DeleteSelected().changed || page.InsSepItem().changed ||
               page.MoveSelected(1).changed || page.AddTextItem(u"x", 0).changed);
  page.Select(1);  // ignored
  // Registering a history entry from the other page appends; the edited row stays.
  EXPECT_TRUE(page.AddTextItem(u"from history", -1).changed);
  page.EditOk(u"", u"edited");
  EXPECT_EQ(page.Items(), (Items{u"edited", u"b", u"from history"}));

  // CLIPBOARD_T1 while the panel is open: OK must not write into the other set.
  page.BeginEdit();
  EXPECT_TRUE(page.SelectTextData(0, *ini).changed);
  EXPECT_FALSE(page.Editing());
  EXPECT_FALSE(page.EditOk(u"", u"typed").changed);
  EXPECT_EQ(Text(kSet1), u"other 0\nother 1");
  page.BeginEdit();
  page.Reload();
  EXPECT_FALSE(page.Editing());
  page.BeginEdit();
  page.LoadSettings(*ini, kExeDir);
  EXPECT_FALSE(page.Editing());
}

TEST_F(CannedPageTest, EditingTheFileNeedsAnEditorAndTheFile) {
  SetUp(u"a");
  EXPECT_TRUE(page.CanEditTextData(u"notepad.exe"));
  EXPECT_FALSE(page.CanEditTextData(u""));
  files.files.erase(kMain);
  EXPECT_FALSE(page.CanEditTextData(u"notepad.exe") || page.CanReload());
}

// ---- Encodings

TEST_F(CannedPageTest, ChangesKeepTheFilesEncoding) {
  for (TextEncoding encoding : {TextEncoding::Ansi, TextEncoding::Utf8, TextEncoding::Utf8Bom,
                                TextEncoding::Utf16Le, TextEncoding::Utf16Be}) {
    files.files[kMain] = EncodeText(u"挨拶\tこんにちは\r\n-\r\n", encoding, SystemCodePage()).bytes;
    Settings("");
    page.LoadSettings(*ini, kExeDir);
    page.AddTextItem(u"ありがとう", -1);
    EXPECT_EQ(
        files.files[kMain],
        EncodeText(u"挨拶\tこんにちは\r\n-\r\nありがとう\r\n", encoding, SystemCodePage()).bytes)
        << static_cast<int>(encoding);
  }
  // An ANSI file that gains a character Shift_JIS lacks becomes UTF-8 with a mark.
  files.files[kMain] = "\x93\xFA\x96\x7B\r\n";  // 日本
  page.Reload();
  page.AddTextItem(u"笑顔\U0001F600", -1);
  EXPECT_EQ(files.files[kMain], "\xEF\xBB\xBF" + Utf16ToUtf8(u"日本\r\n笑顔\U0001F600\r\n"));
}

TEST_F(CannedPageTest, LinesKelvoDidNotChangeKeepTheirBytes) {
  // A UTF-8 file with a line pasted from a Shift_JIS file, of the same text as another line.
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
  page.BeginEdit();
  const CannedResult edit = page.EditOk(u"", u"edited");
  EXPECT_TRUE(page.Editing());  // what was typed is not lost
  page.CancelEdit();
  for (const CannedResult& result : {edit, page.AddTextItem(u"new", 0), page.InsSepItem(),
                                     page.DeleteSelected(), page.MoveSelected(0)}) {
    EXPECT_FALSE(result.changed);
    EXPECT_EQ(MessageOf(result), u"定型文ファイルを保存できません。\n" + kMain);
    EXPECT_EQ(result.message->caption, u"エラー");
  }
  EXPECT_EQ(page.Items(), (Items{u"a", u"b", u"c"}));
  EXPECT_EQ(page.Selected(), 1);
  EXPECT_EQ(files.files[kMain], before);
}

TEST_F(CannedPageTest, AFileThatCannotBeReadIsNeverOverwritten) {
  Put(kMain, u"precious");
  files.unreadable.insert(kMain);
  Settings("");
  EXPECT_EQ(MessageOf(page.LoadSettings(*ini, kExeDir)), kCannotRead + kMain);
  EXPECT_EQ(MessageOf(page.AddTextItem(u"new", -1)), kCannotRead + kMain + kRefused);
  EXPECT_TRUE(page.SaveTextData().message);
  EXPECT_EQ(files.writeCount, 0);
  files.unreadable.clear();
  EXPECT_TRUE(page.Reload().changed);
  EXPECT_TRUE(page.AddTextItem(u"new", -1).changed);
  EXPECT_EQ(Text(kMain), u"precious\r\nnew\r\n");

  // Unreadable at a reload, or only when the change is written: the items stay for pasting.
  files.unreadable.insert(kMain);
  EXPECT_FALSE(page.Reload().changed);
  EXPECT_EQ(page.SelText(), u"precious");
  files.unreadable.clear();
  EXPECT_TRUE(page.DeleteSelected().message);
  page.Reload();
  files.unreadable.insert(kMain);
  EXPECT_EQ(MessageOf(page.AddTextItem(u"b", -1)), kCannotRead + kMain + kRefused);
  EXPECT_EQ(Text(kMain), u"precious\r\nnew\r\n");
  // Once it is gone, a change creates it anew from the items held.
  files.unreadable.clear();
  files.files.erase(kMain);
  EXPECT_TRUE(page.AddTextItem(u"b", -1).changed);
  EXPECT_EQ(Text(kMain), u"precious\r\nnew\r\nb\r\n");
}

TEST_F(CannedPageTest, ASetThatCannotBeReadLeavesTheCurrentSet) {
  Settings("TextDataBtn1=set1.txt\r\n");
  Put(kSet1, u"other");
  SetUp(u"a");
  files.unreadable.insert(kSet1);
  const CannedResult result = page.SelectTextData(0, *ini);
  EXPECT_FALSE(result.changed);
  EXPECT_EQ(MessageOf(result), kCannotRead + kSet1);
  EXPECT_EQ(page.TextDataPath(), kMain);
  EXPECT_EQ(ini->ReadString(u"ClipboardList", u"TextDataFile", u"unset"), u"unset");
  EXPECT_TRUE(page.AddTextItem(u"b", -1).changed);
}

TEST_F(CannedPageTest, FilesLargerThan16MbAreRefusedAndNeverWritten) {
  files.files[kMain] = std::string(kMaxCannedFileBytes + 1, 'a');
  Settings("");
  EXPECT_EQ(MessageOf(page.LoadSettings(*ini, kExeDir)),
            u"定型文ファイルが大きすぎるため読み込めません（16 MB まで）。\n" + kMain);
  EXPECT_EQ(page.Count(), 0u);
  EXPECT_TRUE(page.AddTextItem(u"x", -1).message);

  // A clipboard text that would make the file too large to read is refused.
  files.files[kMain] = "\xEF\xBB\xBF" + std::string(kMaxCannedFileBytes - 13, 'a');
  page.Reload();
  clipboard.SetByOtherProgram(u"0123456789");
  const CannedResult tooMuch = page.RegFromClip(clipboard);
  EXPECT_EQ(MessageOf(tooMuch),
            u"定型文ファイルが大きくなりすぎるため保存できません（16 MB まで）。\n" + kMain);
  EXPECT_EQ(page.Count(), 1u);
  EXPECT_EQ(files.writeCount, 0);
}

TEST_F(CannedPageTest, AFileSavedByAnotherProgramIsReadInsteadOfOverwritten) {
  SetUp(u"a\nb");
  page.Select(1);
  Put(kMain, u"x\r\ny\r\nz\r\n");  // saved in the editor after Kelvo read it
  const CannedResult result = page.AddTextItem(u"new", -1);
  EXPECT_TRUE(result.changed);
  EXPECT_EQ(MessageOf(result),
            u"定型文ファイルがほかのプログラムで変更されていたため、読み込み直しました。"
            u"もう一度操作してください。\n" +
                kMain);
  EXPECT_EQ(page.Items(), (Items{u"x", u"y", u"z"}));
  EXPECT_EQ(Text(kMain), u"x\r\ny\r\nz\r\n");
  EXPECT_FALSE(page.AddTextItem(u"new", -1).message);  // made again, it is written
  EXPECT_EQ(Text(kMain), u"x\r\ny\r\nz\r\nnew\r\n");
}

TEST_F(CannedPageTest, AnEditMeetingAFileSavedElsewhereStaysOpenAndItsOkWritesIntoTheNewFile) {
  const std::u16string kKept =
      u"定型文ファイルがほかのプログラムで変更されていたため、読み込み直しました。"
      u"編集中の内容はそのまま残っています。もう一度 OK を押すと保存します。\n";
  SetUp(u"a\nb\nc");
  page.Select(1);
  page.BeginEdit();
  Put(kMain, u"new first\r\na\r\nb\r\nc\r\n");
  const CannedResult first = page.EditOk(u"", u"edited");
  EXPECT_EQ(MessageOf(first), kKept + kMain);
  EXPECT_EQ(first.message->caption, u"警告");
  EXPECT_TRUE(page.Editing());  // the panel keeps what was typed
  EXPECT_EQ(page.Items(), (Items{u"new first", u"a", u"b", u"c"}));
  EXPECT_EQ(page.Selected(), 2);  // the edited item, where the file holds it now
  EXPECT_FALSE(page.EditOk(u"", u"edited").message);
  EXPECT_FALSE(page.Editing());
  EXPECT_EQ(Text(kMain), u"new first\r\na\r\nedited\r\nc\r\n");

  // The other program removed the edited item: the text goes in at its place, nothing else is
  // written over.
  page.Select(2);
  page.BeginEdit();
  Put(kMain, u"only\r\n");
  EXPECT_EQ(MessageOf(page.EditOk(u"L", u"mine")), kKept + kMain);
  EXPECT_FALSE(page.EditOk(u"L", u"mine").message);
  EXPECT_EQ(Text(kMain), u"only\r\nL\tmine\r\n");
  EXPECT_EQ(page.Selected(), 1);
}

TEST_F(CannedPageTest, AMissingFileIsWrittenAgainAndAFailedCreationIsReported) {
  SetUp(u"a");
  files.files.erase(kMain);
  EXPECT_FALSE(page.AddTextItem(u"b", -1).message);
  files.files.erase(kMain);
  EXPECT_FALSE(page.LoadSettings(*ini, kExeDir).message);  // a set-up writes the items back
  EXPECT_EQ(Text(kMain), u"a\r\nb\r\n");

  files.files.erase(kMain);
  files.failAllWrites = true;
  EXPECT_EQ(MessageOf(page.LoadSettings(*ini, kExeDir)),
            u"定型文ファイルを保存できません。\n" + kMain);
  files.failAllWrites = false;
  EXPECT_TRUE(page.AddTextItem(u"c", -1).changed);
  EXPECT_EQ(Text(kMain), u"a\r\nb\r\nc\r\n");
}

}  // namespace
