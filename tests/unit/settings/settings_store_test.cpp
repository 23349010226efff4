#include "settings/settings_store.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "base/text_codec.h"
#include "support/memory_file_system.h"
#include "support/system_code_page.h"
#include "support/text_encoding_print.h"

namespace {

using Lines = std::vector<std::u16string>;
using SectionDump = std::vector<std::pair<std::u16string, Lines>>;

const std::u16string kPath = u"C:\\Kelvo\\Kelvo.INI";

class SettingsStoreTest : public ::testing::Test {
 protected:
  void PutFile(std::u16string_view text, TextEncoding encoding = TextEncoding::Ansi) {
    const EncodedText encoded = EncodeText(text, encoding, SystemCodePage());
    ASSERT_EQ(encoded.encoding, encoding);
    files.files[kPath] = encoded.bytes;
  }
  DecodedText FileText() { return DecodeText(files.files.at(kPath), SystemCodePage()); }
  UsrIniFile Open() { return UsrIniFile(kPath, files, SystemCodePage()); }

  static SectionDump Dump(const UsrIniFile& ini) {
    SectionDump dump;
    for (const IniSection& section : ini.Sections) dump.emplace_back(section.name, section.lines);
    return dump;
  }

  MemoryFileSystem files;
};

// ---- Load

TEST_F(SettingsStoreTest, LoadKeepsCommentsAndKeysVerbatimAndDropsTheRest) {
  PutFile(
      u"; before any header\r\n"
      u"Top=1\r\n"
      u"\r\n"
      u"[General]\r\n"
      u"  Indented = value  \r\n"
      u"bare word\r\n"
      u"=no key\r\n"
      u";comment without equals\r\n"
      u"[]\r\n"
      u"[ ]\n"
      u"Blank=1\r"
      u"[Broken] \r\n"
      u"AfterBroken=2\r\n"
      u"[日本語]\r\n"
      u"キー=値\r\n"
      u"[Empty]\r\n");
  UsrIniFile ini = Open();
  const SectionDump expected = {
      {u"", {u"; before any header", u"Top=1"}},
      {u"General", {u"  Indented = value  ", u"=no key", u";comment without equals"}},
      {u" ", {u"Blank=1", u"AfterBroken=2"}},
      {u"日本語", {u"キー=値"}},
      {u"Empty", {}},
  };
  EXPECT_EQ(Dump(ini), expected);
  EXPECT_FALSE(ini.Modified);
  EXPECT_EQ(ini.FileName, kPath);
}

TEST_F(SettingsStoreTest, LoadOfAnEmptyFileLeavesOnlyTheUnnamedSection) {
  PutFile(u"");
  UsrIniFile ini = Open();
  EXPECT_EQ(Dump(ini), (SectionDump{{u"", {}}}));
}

TEST_F(SettingsStoreTest, AMissingFileLeavesAnEmptyStoreAnUnreadableOneKeepsTheStore) {
  UsrIniFile missing = Open();
  EXPECT_EQ(missing.LastLoad(), LoadResult::kMissing);
  EXPECT_TRUE(missing.Sections.empty());
  EXPECT_FALSE(missing.Modified);
  EXPECT_EQ(missing.ReadInteger(u"General", u"Version", 7), 7);

  PutFile(u"[General]\r\nVersion=169\r\n");
  UsrIniFile ini = Open();
  ini.WriteString(u"General", u"Editor", u"notepad.exe");
  files.unreadable.insert(kPath);
  EXPECT_EQ(ini.Load(), LoadResult::kUnreadable);
  EXPECT_EQ(ini.ReadInteger(u"General", u"Version", 0), 169);
  EXPECT_EQ(ini.ReadString(u"General", u"Editor", u""), u"notepad.exe");
  EXPECT_TRUE(ini.Modified) << "a failed load keeps Modified";
  EXPECT_FALSE(ini.UpdateFile()) << "a file that cannot be read is not replaced";
  EXPECT_EQ(files.files[kPath], "[General]\r\nVersion=169\r\n");
}

TEST_F(SettingsStoreTest, ReloadReplacesTheContentsAndClearsModified) {
  PutFile(u"[General]\r\nVersion=1\r\n");
  UsrIniFile ini = Open();
  ini.WriteInteger(u"General", u"Version", 2);
  PutFile(u"[Other]\r\nVersion=3\r\n");
  ini.Load();
  EXPECT_FALSE(ini.Modified);
  EXPECT_EQ(ini.ReadInteger(u"General", u"Version", 0), 0);
  EXPECT_EQ(ini.ReadInteger(u"Other", u"Version", 0), 3);
}

// ---- Reading

TEST_F(SettingsStoreTest, NamesCompareWithoutCaseAndTheFirstMatchWins) {
  PutFile(
      u"[General]\r\nEditor=first\r\nEDITOR=second\r\n"
      u"[general]\r\nEditor=other section\r\nOnlyHere=1\r\n"
      u"[ＰＯＰＵＰ]\r\nＫｅｙ=fullwidth\r\n"
      u"[Été]\r\nNom=latin\r\n",
      TextEncoding::Utf8Bom);
  UsrIniFile ini = Open();
  EXPECT_EQ(ini.ReadString(u"GENERAL", u"editor", u"-"), u"first");
  EXPECT_EQ(ini.ReadString(u"General", u"OnlyHere", u"-"), u"-");
  EXPECT_EQ(ini.ReadString(u"ｐｏｐｕｐ", u"ｋｅｙ", u"-"), u"fullwidth");
  EXPECT_EQ(ini.ReadString(u"ÉTÉ", u"NOM", u"-"), u"latin");
  EXPECT_EQ(ini.ReadString(u"Missing", u"Editor", u"-"), u"-");
}

TEST_F(SettingsStoreTest, ReadStringTakesTheValueAfterTheFirstEqualsSign) {
  PutFile(
      u"[S]\r\n"
      u"Spaced =before\r\n"
      u"Blank= 5\r\n"
      u"Trailing=5 \r\n"
      u"Equals=a=b\r\n"
      u";Commented=1\r\n"
      u"Quoted=\"a b\"\r\n"
      u"InnerQuotes=\"a\"b\"\r\n"
      u"OneQuote=\"\r\n"
      u"TwoQuotes=\"\"\r\n"
      u"ThreeQuotes=\"\"\"\r\n"
      u"HalfQuoted=\"a\r\n"
      u"Empty=\r\n");
  UsrIniFile ini = Open();
  const struct {
    std::u16string key;
    std::u16string expected;
  } cases[] = {
      {u"Spaced", u"default"},  // the key is "Spaced " with its blank
      {u"Spaced ", u"before"},    {u"Blank", u" 5"},          {u"Trailing", u"5 "},
      {u"Equals", u"a=b"},        {u"Commented", u"default"}, {u";Commented", u"1"},
      {u"Quoted", u"a b"},        {u"InnerQuotes", u"a\"b"},  {u"OneQuote", u"\""},
      {u"TwoQuotes", u"default"}, {u"ThreeQuotes", u"\""},    {u"HalfQuoted", u"\"a"},
      {u"Empty", u"default"},     {u"Missing", u"default"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ini.ReadString(u"S", c.key, u"default"), c.expected);
  }
  EXPECT_EQ(ini.ReadInteger(u"S", u"Blank", -1), 5);
  EXPECT_EQ(ini.ReadInteger(u"S", u"Trailing", -1), -1);
}

TEST_F(SettingsStoreTest, TypedReadsFallBackToTheirDefault) {
  PutFile(
      u"[S]\r\n"
      u"Hex=$FF\r\nHex0x=0x1F\r\nHexX=x10\r\nNeg=-3\r\nExp=1e3\r\nUnit=10px\r\nQuoted=\"12\"\r\n"
      u"Red=$0000FF\r\nWindow=0xff000005\r\nHuge=4294967296\r\n"
      u"Two=2\r\nMinus=-1\r\nZero=0\r\nTrue=true\r\nYes=yes\r\nEmpty=\r\n");
  UsrIniFile ini = Open();
  const struct {
    std::u16string key;
    std::int32_t expected;
  } integers[] = {
      {u"Hex", 255}, {u"Hex0x", 31},  {u"HexX", 16}, {u"Neg", -3},   {u"Exp", 99},
      {u"Unit", 99}, {u"Quoted", 12}, {u"Huge", 99}, {u"Empty", 99}, {u"Missing", 99},
  };
  for (const auto& c : integers) {
    EXPECT_EQ(ini.ReadInteger(u"S", c.key, 99), c.expected);
  }
  EXPECT_EQ(ini.ReadColor(u"S", u"Red", 0), 0x000000FFu);
  EXPECT_EQ(ini.ReadColor(u"S", u"Window", 0), 0xFF000005u);
  EXPECT_EQ(ini.ReadColor(u"S", u"Unit", 0xFF000008u), 0xFF000008u);

  const struct {
    std::u16string key;
    bool whenDefaultFalse;
    bool whenDefaultTrue;
  } bools[] = {
      {u"Two", true, true},      {u"Minus", true, true}, {u"Zero", false, false},
      {u"True", false, true},    {u"Yes", false, true},  {u"Empty", false, true},
      {u"Missing", false, true},
  };
  for (const auto& c : bools) {
    EXPECT_EQ(ini.ReadBool(u"S", c.key, false), c.whenDefaultFalse);
    EXPECT_EQ(ini.ReadBool(u"S", c.key, true), c.whenDefaultTrue);
  }
}

TEST_F(SettingsStoreTest, ReadFontTakesMissingKeysFromTheBaseFont) {
  PutFile(
      u"[Full]\r\nFontName=ＭＳ ゴシック\r\nFontSize=9\r\nFontCharset=0\r\nFontBold=1\r\n"
      u"FontItalic=1\r\n"
      u"[Partial]\r\nFontSize=14\r\n");
  UsrIniFile ini = Open();
  const FontDescription base{u"Meiryo", 10, 1, true, true};

  const FontDescription full = ini.ReadFont(u"Full", &base);
  EXPECT_EQ(full.name, u"ＭＳ ゴシック");
  EXPECT_EQ(full.size, 9);
  EXPECT_EQ(full.charset, 0);
  EXPECT_TRUE(full.bold);
  EXPECT_TRUE(full.italic);

  const FontDescription partial = ini.ReadFont(u"Partial", &base);
  EXPECT_EQ(partial.name, u"Meiryo");
  EXPECT_EQ(partial.size, 14);
  EXPECT_EQ(partial.charset, 128) << "the character set never comes from the base font";
  EXPECT_TRUE(partial.bold);
  EXPECT_TRUE(partial.italic);

  const FontDescription none = ini.ReadFont(u"Missing", nullptr);
  EXPECT_EQ(none.name, u"");
  EXPECT_EQ(none.size, 11);
  EXPECT_EQ(none.charset, 128);
  EXPECT_FALSE(none.bold);
  EXPECT_FALSE(none.italic);
}

// ---- Writing

TEST_F(SettingsStoreTest, WriteStringReplacesInPlaceOrAppends) {
  PutFile(u"[General]\r\n;note\r\nEditor=old\r\nKeep=1\r\n[General]\r\nEditor=second\r\n");
  UsrIniFile ini = Open();
  ini.WriteString(u"general", u"Editor", u"new");
  ini.WriteString(u"General", u"Added", u"\"quoted\" ");
  ini.WriteString(u"New", u"Key", u"");
  ini.WriteInteger(u"New", u"Negative", -5);
  ini.WriteBool(u"New", u"On", true);
  ini.WriteBool(u"New", u"Off", false);
  const SectionDump expected = {
      {u"", {}},
      {u"General", {u";note", u"Editor=new", u"Keep=1", u"Added=\"quoted\" "}},
      {u"General", {u"Editor=second"}},
      {u"New", {u"Key=", u"Negative=-5", u"On=1", u"Off=0"}},
  };
  EXPECT_EQ(Dump(ini), expected);
  EXPECT_EQ(ini.ReadString(u"New", u"Key", u"default"), u"default");
}

TEST_F(SettingsStoreTest, AValueInDoubleQuotesReadsBackWithItsQuotes) {
  UsrIniFile ini = Open();
  const std::u16string values[] = {u"\"quoted\"", u"\"\"", u"\"", u"\"a\" b",
                                   u"\"C:\\My Files\\a.txt\""};
  for (const std::u16string& value : values) ini.WriteString(u"Q", u"Key", value);
  EXPECT_EQ(ini.Sections.back().lines, (Lines{u"Key=\"\"C:\\My Files\\a.txt\"\""}));
  ASSERT_TRUE(ini.UpdateFile());
  for (const std::u16string& value : values) {
    ini.WriteString(u"Q", u"Key", value);
    ASSERT_TRUE(ini.UpdateFile());
    EXPECT_EQ(Open().ReadString(u"Q", u"Key", u"default"), value);
  }
}

TEST_F(SettingsStoreTest, OnlyARealChangeSetsModified) {
  PutFile(u"[General]\r\nEditor=vi\r\neditor2=x\r\n");
  const struct {
    const char* name;
    std::u16string key;
    std::u16string value;
    bool modifies;
  } steps[] = {
      {"same value", u"Editor", u"vi", false},
      {"same value, key in other case", u"EDITOR", u"vi", true},
      {"now identical", u"EDITOR", u"vi", false},
      {"other value", u"Editor", u"emacs", true},
      {"value differs in case only", u"Editor", u"EMACS", true},
      {"new key", u"Added", u"1", true},
      {"new key again", u"Added", u"1", false},
  };
  UsrIniFile ini = Open();
  for (const auto& step : steps) {
    ini.Modified = false;
    ini.WriteString(u"General", step.key, step.value);
    EXPECT_EQ(ini.Modified, step.modifies) << step.name;
  }
  EXPECT_EQ(ini.Sections[1].lines, (Lines{u"Editor=EMACS", u"editor2=x", u"Added=1"}));
}

TEST_F(SettingsStoreTest, AddSectionKeepsEarlierLineListsValid) {
  UsrIniFile ini = Open();
  std::vector<std::u16string>& first = ini.AddSection(u"A");
  for (int i = 0; i < 100; ++i) ini.AddSection(u"A");
  first.push_back(u"Key=1");
  EXPECT_EQ(ini.ReadString(u"A", u"Key", u""), u"1");
  EXPECT_EQ(ini.Sections.size(), 101u);
}

// ---- UpdateFile

TEST_F(SettingsStoreTest, UpdateFileWritesSectionsEachFollowedByOneBlankLine) {
  PutFile(u";top\r\n[General]\r\n\r\n\r\nVersion=1\r\n[Empty]\r\n[Last]\r\nA=1");
  UsrIniFile ini = Open();
  ini.WriteString(u"Last", u"B", u"2");
  ASSERT_TRUE(ini.UpdateFile());
  EXPECT_EQ(files.files[kPath],
            ";top\r\n\r\n"
            "[General]\r\nVersion=1\r\n\r\n"
            "[Empty]\r\n\r\n"
            "[Last]\r\nA=1\r\nB=2\r\n\r\n");
  EXPECT_FALSE(ini.Modified);
}

TEST_F(SettingsStoreTest, UpdateFileWithoutPreambleStartsWithTheFirstHeader) {
  UsrIniFile ini = Open();
  ini.WriteString(u"General", u"Version", u"169");
  ini.WriteString(u"HotKey1", u"Key", u"");
  ASSERT_TRUE(ini.UpdateFile());
  EXPECT_EQ(files.files[kPath], "[General]\r\nVersion=169\r\n\r\n[HotKey1]\r\nKey=\r\n\r\n");
}

TEST_F(SettingsStoreTest, UpdateFileWritesOnlyWhenModified) {
  PutFile(u"[General]\r\nVersion=169\r\n");
  UsrIniFile ini = Open();
  ini.WriteString(u"General", u"Version", u"169");
  EXPECT_TRUE(ini.UpdateFile());
  EXPECT_EQ(files.writeCount, 0);
  ini.WriteString(u"General", u"Version", u"170");
  EXPECT_TRUE(ini.UpdateFile());
  EXPECT_TRUE(ini.UpdateFile());
  EXPECT_EQ(files.writeCount, 1);
}

TEST_F(SettingsStoreTest, ReadWriteReadKeepsEverythingTheProgramDoesNotKnow) {
  const std::u16string original =
      u"; ユーザーのメモ\r\n"
      u"[General]\r\n"
      u"Version=169\r\n"
      u"Unknown Key = kept as is \r\n"
      u"\r\n"
      u"[General]\r\n"
      u"Version=1\r\n"
      u"\r\n";
  PutFile(original);
  {
    UsrIniFile ini = Open();
    ini.Modified = true;
    ASSERT_TRUE(ini.UpdateFile());
  }
  EXPECT_EQ(FileText().text,
            u"; ユーザーのメモ\r\n\r\n" + original.substr(original.find(u"[General]")));
  UsrIniFile again = Open();
  EXPECT_EQ(again.ReadInteger(u"General", u"Version", 0), 169);
  EXPECT_EQ(again.ReadString(u"General", u"Unknown Key ", u""), u" kept as is ");
}

// A failed write leaves the old file as it was and keeps the changes for a later attempt.
TEST_F(SettingsStoreTest, FailedUpdateKeepsTheOldFileAndRetriesLater) {
  PutFile(u"[General]\r\nVersion=1\r\n");
  const std::string before = files.files[kPath];
  UsrIniFile ini = Open();
  ini.WriteInteger(u"General", u"Version", 2);
  files.failNextWrite = true;
  EXPECT_FALSE(ini.UpdateFile());
  EXPECT_TRUE(ini.Modified);
  EXPECT_EQ(files.files[kPath], before);
  EXPECT_TRUE(ini.UpdateFile());
  EXPECT_FALSE(ini.Modified);
  EXPECT_EQ(Open().ReadInteger(u"General", u"Version", 0), 2);
}

// ---- Encodings

TEST_F(SettingsStoreTest, FilesAreWrittenBackInTheEncodingTheyWereReadIn) {
  const struct {
    TextEncoding encoding;
    std::string start;  // how the written bytes begin
  } cases[] = {
      {TextEncoding::Ansi, "[\x90\xDD\x92\xE8]"},  // "[設定]" in Shift_JIS
      {TextEncoding::Utf8, "[\xE8\xA8\xAD\xE5\xAE\x9A]"},
      {TextEncoding::Utf8Bom, "\xEF\xBB\xBF[\xE8\xA8\xAD"},
      {TextEncoding::Utf16Le, std::string("\xFF\xFE[\0\x2D\x8A", 6)},
      {TextEncoding::Utf16Be, std::string("\xFE\xFF\0[\x8A\x2D", 6)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.encoding));
    PutFile(u"[設定]\r\n名前=日本語のテキスト\r\n", c.encoding);
    UsrIniFile ini = Open();
    EXPECT_EQ(ini.Encoding(), c.encoding);
    ini.WriteString(u"設定", u"追加", u"ｶﾀｶﾅ①");
    ASSERT_TRUE(ini.UpdateFile());
    EXPECT_EQ(ini.Encoding(), c.encoding);
    EXPECT_EQ(files.files[kPath].substr(0, c.start.size()), c.start);
    EXPECT_EQ(FileText().encoding, c.encoding);

    UsrIniFile again = Open();
    EXPECT_EQ(again.ReadString(u"設定", u"名前", u""), u"日本語のテキスト");
    EXPECT_EQ(again.ReadString(u"設定", u"追加", u""), u"ｶﾀｶﾅ①");
    EXPECT_EQ(again.Encoding(), c.encoding);
  }
}

TEST_F(SettingsStoreTest, AnAnsiFileThatWouldLoseACharacterBecomesUtf8WithMark) {
  PutFile(u"[General]\r\nEditor=メモ帳\r\n");
  UsrIniFile ini = Open();
  ASSERT_EQ(ini.Encoding(), TextEncoding::Ansi);
  ini.WriteString(u"FindHistory", u"Item1", u"café 😀");
  ASSERT_TRUE(ini.UpdateFile());
  EXPECT_EQ(ini.Encoding(), TextEncoding::Utf8Bom);
  EXPECT_EQ(files.files[kPath].substr(0, 3), "\xEF\xBB\xBF");

  UsrIniFile again = Open();
  EXPECT_EQ(again.Encoding(), TextEncoding::Utf8Bom);
  EXPECT_EQ(again.ReadString(u"General", u"Editor", u""), u"メモ帳");
  EXPECT_EQ(again.ReadString(u"FindHistory", u"Item1", u""), u"café 😀");
}

TEST_F(SettingsStoreTest, ANewFileIsAnsiUnlessACharacterNeedsUtf8) {
  {
    UsrIniFile ini = Open();
    EXPECT_EQ(ini.Encoding(), TextEncoding::Ansi);
    ini.WriteString(u"General", u"Editor", u"秀丸");
    ASSERT_TRUE(ini.UpdateFile());
    EXPECT_EQ(FileText().encoding, TextEncoding::Ansi);
  }
  files.files.clear();
  {
    UsrIniFile ini = Open();
    ini.WriteString(u"General", u"Editor", u"€dit");
    ASSERT_TRUE(ini.UpdateFile());
    EXPECT_EQ(ini.Encoding(), TextEncoding::Utf8Bom);
    EXPECT_EQ(Open().ReadString(u"General", u"Editor", u""), u"€dit");
  }
}

TEST_F(SettingsStoreTest, AFailedLoadKeepsTheEncodingOfTheLastRead) {
  PutFile(u"[General]\r\nVersion=1\r\n", TextEncoding::Utf16Be);
  UsrIniFile ini = Open();
  files.unreadable.insert(kPath);
  ini.Load();
  EXPECT_EQ(ini.Encoding(), TextEncoding::Utf16Be);
  files.unreadable.clear();
  ini.WriteInteger(u"General", u"Version", 2);
  ASSERT_TRUE(ini.UpdateFile());
  EXPECT_EQ(FileText().encoding, TextEncoding::Utf16Be);
}

// ---- Edits made by other programs

TEST_F(SettingsStoreTest, AWriteKeepsAnEditMadeElsewhereAndAppliesOnlyItsOwnKeys) {
  PutFile(u"[General]\r\nEditor=notepad.exe\r\n[HotKeyList]\r\nLeft=1\r\nTop=1\r\n");
  UsrIniFile ini = Open();
  ini.WriteInteger(u"HotKeyList", u"Left", 40);
  ini.WriteInteger(u"HotKeyList", u"Top", 50);
  // The user saves the file in another editor, as UTF-8, before Kelvo writes.
  PutFile(
      u"[General]\r\nEditor=秀丸.exe\r\n[HotKey1]\r\nKey=Ctrl+Alt+N\r\n"
      u"[HotKeyList]\r\nLeft=7\r\n",
      TextEncoding::Utf8Bom);
  ASSERT_TRUE(ini.UpdateFile());
  EXPECT_EQ(FileText().text,
            u"[General]\r\nEditor=秀丸.exe\r\n\r\n[HotKey1]\r\nKey=Ctrl+Alt+N\r\n\r\n"
            u"[HotKeyList]\r\nLeft=40\r\nTop=50\r\n\r\n");
  EXPECT_EQ(FileText().encoding, TextEncoding::Utf8Bom);
  EXPECT_EQ(ini.ReadString(u"HotKey1", u"Key", u""), u"Ctrl+Alt+N");
  EXPECT_FALSE(ini.Modified);

  // Once written, the store matches the file again: a further change is written as usual and
  // the keys applied before are not applied a second time over a later edit.
  PutFile(u"[HotKeyList]\r\nLeft=3\r\nTop=3\r\n");
  ini.WriteInteger(u"HotKeyList", u"Top", 60);
  ASSERT_TRUE(ini.UpdateFile());
  EXPECT_EQ(FileText().text, u"[HotKeyList]\r\nLeft=3\r\nTop=60\r\n\r\n");
}

TEST_F(SettingsStoreTest, AFileMissingForAMomentIsLookedForAgainForUpToASecond) {
  PutFile(u"[General]\r\nVersion=169\r\n");
  UsrIniFile ini = Open();
  EXPECT_TRUE(files.pauses.empty()) << "a first start does not wait for a missing file";
  files.missingReads[kPath] = 3;  // an editor's delete-and-rename
  EXPECT_EQ(ini.Load(), LoadResult::kLoaded);
  EXPECT_EQ(files.pauses.size(), 3u);

  files.pauses.clear();
  files.missingReads[kPath] = 1000;
  ini.WriteInteger(u"General", u"KeyWait", 20);
  EXPECT_FALSE(ini.UpdateFile()) << "a file that stays away is not made anew from the store";
  int waited = 0;
  for (int pause : files.pauses) waited += pause;
  EXPECT_EQ(waited, 1000);
  EXPECT_TRUE(ini.Modified);
  files.missingReads.clear();
  ASSERT_TRUE(ini.UpdateFile()) << "the file is back: the change is written into it";
  EXPECT_EQ(FileText().text, u"[General]\r\nVersion=169\r\nKeyWait=20\r\n\r\n");
}

// A drive unplugged for a moment, or an editor slower than the second's look: a reload that
// finds the user's file gone must not put the first-start contents in its place.
TEST_F(SettingsStoreTest, AFileThatVanishedKeepsTheStoreAndIsNeverBlankedWhenItReturns) {
  const std::u16string user =
      u"[General]\r\nEditor=notepad.exe\r\n[HotKey1]\r\nKey=Ctrl+Alt+V\r\n"
      u"[ClipboardList]\r\nExceptWord1=/^pass/\r\n";
  PutFile(user);
  UsrIniFile ini = Open();
  const std::string bytes = files.files[kPath];
  files.files.erase(kPath);
  files.failAllWrites = true;  // the folder is gone too
  EXPECT_EQ(ini.Load(), LoadResult::kVanished);
  EXPECT_EQ(ini.ReadString(u"HotKey1", u"Key", u""), u"Ctrl+Alt+V") << "the store is kept";
  ini.WriteInteger(u"ClipboardList", u"PosX", 5);
  EXPECT_FALSE(ini.UpdateFile());
  EXPECT_EQ(files.failedWriteCount, 0) << "nothing is written while the file is gone";

  files.failAllWrites = false;
  files.files[kPath] = bytes;
  ini.WriteInteger(u"ClipboardList", u"PosX", 10);
  ASSERT_TRUE(ini.UpdateFile());
  EXPECT_EQ(FileText().text,
            u"[General]\r\nEditor=notepad.exe\r\n\r\n[HotKey1]\r\nKey=Ctrl+Alt+V\r\n\r\n"
            u"[ClipboardList]\r\nExceptWord1=/^pass/\r\nPosX=10\r\n\r\n");
  EXPECT_EQ(ini.Load(), LoadResult::kLoaded);
}

// A first start that could not write its file (a folder not writable yet) holds the first-start
// contents as changes; a file the user puts there afterwards is read, not blanked by them.
TEST_F(SettingsStoreTest, AFileThatAppearsAfterAFirstStartIsTakenWithoutTheStoresChanges) {
  UsrIniFile ini = Open();
  ini.WriteString(u"General", u"Editor", u"");
  ini.WriteString(u"HotKey1", u"Key", u"");
  files.failNextWrite = true;
  EXPECT_FALSE(ini.UpdateFile());
  PutFile(u"[General]\r\nEditor=mine.exe\r\n[HotKey1]\r\nKey=Ctrl+Alt+V\r\n");
  const std::string bytes = files.files[kPath];
  ini.WriteInteger(u"ClipboardList", u"PosX", 10);
  EXPECT_FALSE(ini.UpdateFile());
  EXPECT_EQ(files.files[kPath], bytes);
  EXPECT_FALSE(ini.Modified);
  EXPECT_EQ(ini.ReadString(u"HotKey1", u"Key", u""), u"Ctrl+Alt+V");
  ini.WriteInteger(u"ClipboardList", u"PosX", 20);
  ASSERT_TRUE(ini.UpdateFile()) << "from now on the store matches the file";
  EXPECT_EQ(FileText().text,
            u"[General]\r\nEditor=mine.exe\r\n\r\n[HotKey1]\r\nKey=Ctrl+Alt+V\r\n\r\n"
            u"[ClipboardList]\r\nPosX=20\r\n\r\n");
}

// Another program writing the file while Kelvo checks it before a write: the half-written file
// is not taken for the user's edit; the write waits for a later try.
TEST_F(SettingsStoreTest, TheCheckBeforeAWriteNeverReadsAFileAnotherProgramIsWriting) {
  PutFile(u"[General]\r\nVersion=169\r\n");
  UsrIniFile ini = Open();
  ini.WriteInteger(u"General", u"KeyWait", 20);
  files.files[kPath] = "[General]\r\nVer";  // half written
  files.busyWrites[kPath] = 1;
  EXPECT_FALSE(ini.UpdateFile());
  EXPECT_EQ(files.files[kPath], "[General]\r\nVer");
  PutFile(u"[General]\r\nVersion=169\r\nEditor=e.exe\r\n");
  ASSERT_TRUE(ini.UpdateFile());
  EXPECT_EQ(FileText().text, u"[General]\r\nVersion=169\r\nEditor=e.exe\r\nKeyWait=20\r\n\r\n");
}

TEST_F(SettingsStoreTest, AStoreThatNeverReadTheFileWritesOnlyOverTheFileItFinds) {
  PutFile(u"[General]\r\nEditor=mine.exe\r\n");
  files.unreadable.insert(kPath);  // locked by another program at start-up
  UsrIniFile ini = Open();
  EXPECT_EQ(ini.LastLoad(), LoadResult::kUnreadable);
  ini.WriteInteger(u"HotKeyList", u"Left", 5);
  EXPECT_FALSE(ini.UpdateFile());
  files.unreadable.clear();
  ASSERT_TRUE(ini.UpdateFile());
  EXPECT_EQ(FileText().text, u"[General]\r\nEditor=mine.exe\r\n\r\n[HotKeyList]\r\nLeft=5\r\n\r\n");

  files.files.erase(kPath);
  files.unreadable.insert(kPath);
  UsrIniFile blind = Open();
  files.unreadable.clear();
  blind.WriteInteger(u"HotKeyList", u"Left", 5);
  EXPECT_FALSE(blind.UpdateFile()) << "too little to stand for a file that is gone";
  EXPECT_EQ(files.files.count(kPath), 0u);
}

// ---- Files that mix encodings

TEST_F(SettingsStoreTest, AUtf8FileWithAShiftJisLineReadsAsUtf8AndKeepsEveryLineItDidNotChange) {
  // "古いメモ" pasted from an old Shift_JIS file: once as a bare note (dropped at a write), once
  // as a value; the rest is UTF-8, with a full-width "ＭＳ" the code page could not take back.
  const std::string sjisNote = "\x8C\xC3\x82\xA2\x83\x81\x83\x82";
  const std::string original = Utf16ToUtf8(u"[HotKey1]\r\nActivateWndTitle1=エクスプローラー\r\n") +
                               sjisNote + "\r\nMemo=" + sjisNote + "\r\n" +
                               Utf16ToUtf8(u"[Font]\r\nFontName=ＭＳ ゴシック\r\n");
  files.files[kPath] = original;
  UsrIniFile ini = Open();
  EXPECT_EQ(ini.Encoding(), TextEncoding::Utf8);
  EXPECT_EQ(ini.ReadString(u"HotKey1", u"ActivateWndTitle1", u""), u"エクスプローラー");
  EXPECT_EQ(ini.ReadString(u"HotKey1", u"Memo", u""), u"古いメモ");
  EXPECT_EQ(ini.ForeignLine(), 3);
  EXPECT_EQ(ini.ForeignText(), u"古いメモ");

  ini.WriteInteger(u"HotKeyList", u"WinLeft", 12);
  ASSERT_TRUE(ini.UpdateFile());
  EXPECT_EQ(files.files[kPath],
            Utf16ToUtf8(u"[HotKey1]\r\nActivateWndTitle1=エクスプローラー\r\n") + "Memo=" +
                sjisNote + "\r\n\r\n" + Utf16ToUtf8(u"[Font]\r\nFontName=ＭＳ ゴシック\r\n\r\n") +
                "[HotKeyList]\r\nWinLeft=12\r\n\r\n");
  UsrIniFile again = Open();
  EXPECT_EQ(again.ReadString(u"HotKey1", u"ActivateWndTitle1", u""), u"エクスプローラー");
  EXPECT_EQ(again.ReadString(u"Font", u"FontName", u""), u"ＭＳ ゴシック");
  EXPECT_EQ(again.ReadString(u"HotKey1", u"Memo", u""), u"古いメモ");
}

TEST_F(SettingsStoreTest, AShiftJisFileKeepsALineItCannotTakeBackAndALeadingByteOrderMarkSurvives) {
  // A Shift_JIS file with a byte sequence the code page does not map back to the same bytes.
  const std::string odd = "Odd=cut \x82\r\n";
  files.files[kPath] = "[General]\r\n" + odd + "Editor=\x83\x81\x83\x82.exe\r\n";
  UsrIniFile ini = Open();
  EXPECT_EQ(ini.Encoding(), TextEncoding::Ansi);
  EXPECT_EQ(ini.ForeignLine(), 2);
  EXPECT_EQ(ini.ReadString(u"General", u"Editor", u""), u"メモ.exe");
  ini.WriteString(u"General", u"Editor", u"メモ帳.exe");
  ASSERT_TRUE(ini.UpdateFile());
  EXPECT_EQ(files.files[kPath],
            "[General]\r\n" + odd + "Editor=\x83\x81\x83\x82\x92\xA0.exe\r\n\r\n");

  // A UTF-8 file without a mark whose first written line begins with U+FEFF.
  files.files[kPath] = Utf16ToUtf8(u"dropped line\r\n\uFEFFKey=1\r\n[General]\r\nName=名前\r\n");
  UsrIniFile marked = Open();
  EXPECT_EQ(marked.ReadString(u"", u"\uFEFFKey", u""), u"1");
  marked.WriteInteger(u"General", u"Version", 169);
  ASSERT_TRUE(marked.UpdateFile());
  EXPECT_EQ(Open().ReadString(u"", u"\uFEFFKey", u""), u"1");
  EXPECT_EQ(FileText().encoding, TextEncoding::Utf8Bom);
}

// ---- Item lists

TEST_F(SettingsStoreTest, LinesOfTheSameTextEachKeepTheirOwnBytes) {
  // "Memo=古いメモ" in UTF-8 and twice pasted from a Shift_JIS file.
  const std::string sjisMemo = "Memo=\x8C\xC3\x82\xA2\x83\x81\x83\x82";
  const std::string utf8Memo = Utf16ToUtf8(u"Memo=古いメモ");
  files.files[kPath] = "[A]\r\n" + utf8Memo + "\r\n" + Utf16ToUtf8(u"Name=名前\r\n") + "[B]\r\n" +
                       sjisMemo + "\r\n[C]\r\n" + sjisMemo + "\r\n" +
                       Utf16ToUtf8(u"Note=ノート\r\n");
  UsrIniFile ini = Open();
  ASSERT_EQ(ini.Encoding(), TextEncoding::Utf8);
  ini.WriteInteger(u"HotKeyList", u"WinLeft", 1);
  ASSERT_TRUE(ini.UpdateFile());
  EXPECT_EQ(files.files[kPath], "[A]\r\n" + utf8Memo + "\r\n" + Utf16ToUtf8(u"Name=名前\r\n") +
                                    "\r\n[B]\r\n" + sjisMemo + "\r\n\r\n[C]\r\n" + sjisMemo +
                                    "\r\n" + Utf16ToUtf8(u"Note=ノート\r\n") +
                                    "\r\n[HotKeyList]\r\nWinLeft=1\r\n\r\n");

  // A changed line and an added one of the same text leave the others their bytes.
  ini.WriteString(u"B", u"Memo", u"x");
  ini.WriteString(u"D", u"Memo", u"古いメモ");
  ASSERT_TRUE(ini.UpdateFile());
  EXPECT_EQ(files.files[kPath], "[A]\r\n" + utf8Memo + "\r\n" + Utf16ToUtf8(u"Name=名前\r\n") +
                                    "\r\n[B]\r\nMemo=x\r\n\r\n[C]\r\n" + sjisMemo + "\r\n" +
                                    Utf16ToUtf8(u"Note=ノート\r\n") +
                                    "\r\n[HotKeyList]\r\nWinLeft=1\r\n\r\n[D]\r\n" + utf8Memo +
                                    "\r\n\r\n");
}

TEST_F(SettingsStoreTest, AWriteThatWouldTipTheGuessOfAFileWithoutAMarkGivesItAMark) {
  // Two UTF-8 and two Shift_JIS lines: UTF-8 wins the tie. Once Kelvo replaces one UTF-8 value,
  // Shift_JIS would win, and the other UTF-8 line would read as different text.
  const std::string sjisLine = "Memo=\x8C\xC3\x82\xA2\x83\x81\x83\x82";  // 古いメモ
  files.files[kPath] = "[General]\r\n" + sjisLine + "\r\n" +
                       Utf16ToUtf8(u"EditParam=引数\r\nName=名前\r\n") + "Old=" + sjisLine + "\r\n";
  UsrIniFile ini = Open();
  ASSERT_EQ(ini.Encoding(), TextEncoding::Utf8);
  ini.WriteString(u"General", u"EditParam", u"-x");
  ASSERT_TRUE(ini.UpdateFile());
  EXPECT_EQ(ini.Encoding(), TextEncoding::Utf8Bom);
  EXPECT_EQ(files.files[kPath], "\xEF\xBB\xBF[General]\r\n" + sjisLine + "\r\nEditParam=-x\r\n" +
                                    Utf16ToUtf8(u"Name=名前\r\n") + "Old=" + sjisLine + "\r\n\r\n");
  UsrIniFile again = Open();
  EXPECT_EQ(again.ReadString(u"General", u"Name", u""), u"名前");
  EXPECT_EQ(again.ReadString(u"General", u"Memo", u""), u"古いメモ");

  // A Shift_JIS file whose only non-ASCII value would be valid UTF-8 in the code page.
  files.files[kPath] = "[General]\r\nVersion=169\r\n";
  UsrIniFile ansi = Open();
  ansi.WriteString(u"General", u"Name", u"ﾃｽ");
  ASSERT_TRUE(ansi.UpdateFile());
  EXPECT_EQ(Open().ReadString(u"General", u"Name", u""), u"ﾃｽ");
  EXPECT_EQ(FileText().encoding, TextEncoding::Utf8Bom);
}

TEST_F(SettingsStoreTest, ReadItemListStopsAtTheFirstEmptyValueAndSkipsRepeats) {
  PutFile(
      u"[FindHistory]\r\nItem1=abc\r\nItem2=検索\r\nItem3=abc\r\nItem4=ABC\r\nItem5=\r\n"
      u"Item6=after gap\r\n");
  UsrIniFile ini = Open();
  std::vector<std::u16string> entries = {u"stale"};
  ini.ReadItemList(entries, u"FindHistory", 10);
  EXPECT_EQ(entries, (Lines{u"abc", u"検索", u"ABC"}));
  ini.ReadItemList(entries, u"FindHistory", 2);
  EXPECT_EQ(entries, (Lines{u"abc", u"検索"}));
  ini.ReadItemList(entries, u"Missing", 10);
  EXPECT_TRUE(entries.empty());
}

TEST_F(SettingsStoreTest, WriteItemListWritesEveryKeyUpToTheMaximum) {
  UsrIniFile ini = Open();
  ini.WriteItemList({u"one", u"二"}, u"FindHistory", 4);
  EXPECT_EQ(ini.Sections.back().lines, (Lines{u"Item1=one", u"Item2=二", u"Item3=", u"Item4="}));
  ini.WriteItemList({u"three"}, u"FindHistory", 4);
  EXPECT_EQ(ini.Sections.back().lines, (Lines{u"Item1=three", u"Item2=", u"Item3=", u"Item4="}));
  std::vector<std::u16string> entries;
  ini.ReadItemList(entries, u"FindHistory", 4);
  EXPECT_EQ(entries, (Lines{u"three"}));
}

}  // namespace
