// The release zip as a Windows user meets it: unzipped into a folder whose path holds a blank and
// Japanese characters, Kelvo.exe started from there, the settings file created beside it, the
// samples copied in and their hotkeys working, and Kelvo ended by one of them.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "clip_driver.h"
#include "desktop_driver.h"
#include "kelvo_session.h"
#include "util/text_file.h"
#include "win32/code_page_win.h"
#include "win32/version_info_win.h"
#include "win32/wide_win.h"
#include "zip_reader.h"

namespace {

constexpr wchar_t kInnerFolder[] = L"ユーザー データ\\Kelvo 1.6.9 版";
constexpr char kBom[] = "\xEF\xBB\xBF";
const std::vector<std::string> kEntries = {
    "Kelvo.exe",        "KelvoCheck.exe",       "Kelvo-README.txt",      "Kelvo-README.html",
    "sample/Kelvo.INI", "sample/KelvoMenu.txt", "sample/KelvoText1.txt", "sample/KelvoText2.txt"};
// The sample's hotkeys this test presses.
constexpr UINT kCtrlAlt = MOD_CONTROL | MOD_ALT;
constexpr UINT kHotKeyListKey = 'L';  // Ctrl+Alt+L: HOTKEY_LIST
constexpr UINT kExitKey = 'Q';        // Ctrl+Alt+Shift+Q: EXIT

// build/dist/Kelvo-<major.minor.release>.zip, named by the version of the Kelvo.exe beside the
// driver (scripts/dev package makes it; the test command runs that first).
std::wstring PackagePath() {
  std::u16string version = FileVersionText(U16((ThisProgramsFolder() + L"\\Kelvo.exe").c_str()));
  version = version.substr(0, version.find_last_of(u'.'));
  return ThisProgramsFolder() + L"\\..\\dist\\Kelvo-" + std::wstring(W(version)) + L".zip";
}

std::string ReadBytes(const std::wstring& path) {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Every line ends with CR LF: no lone CR or LF anywhere.
bool OnlyCrLf(const std::string& bytes) {
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r' && (i + 1 == bytes.size() || bytes[i + 1] != '\n')) return false;
    if (bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r')) return false;
  }
  return !bytes.empty() && bytes.back() == '\n';
}

// The first line of the text that starts with `start`, without its line end.
std::string LineStartingWith(const std::string& text, const std::string& start) {
  const std::size_t at = text.find("\r\n" + start);
  if (at == std::string::npos) return {};
  return text.substr(at + 2, text.find("\r\n", at + 2) - at - 2);
}

// Where `part` starts in the UTF-8 line, in the columns of a fixed font: ASCII takes one column,
// Japanese characters take two.
int DisplayColumn(const std::string& line, const std::string& part) {
  const std::size_t end = line.find(part);
  if (end == std::string::npos) return -1;
  int columns = 0;
  for (std::size_t i = 0; i < end; ++i) {
    const auto byte = static_cast<unsigned char>(line[i]);
    if (byte < 0x80) {
      ++columns;
    } else if ((byte & 0xC0) != 0x80) {
      columns += 2;
    }
  }
  return columns;
}

// The zip's entries, unpacked into `folder` ("/" becomes "\"); the names in zip order.
std::vector<std::string> Unzip(const std::vector<ZipEntry>& entries, const std::wstring& folder) {
  std::vector<std::string> names;
  for (const ZipEntry& entry : entries) {
    std::wstring path = folder + L"\\";
    for (char c : entry.name) path += c == '/' ? L'\\' : static_cast<wchar_t>(c);
    CreateDirectoryW(path.substr(0, path.find_last_of(L'\\')).c_str(), nullptr);
    WriteBytes(path, entry.bytes);
    names.push_back(entry.name);
  }
  return names;
}

// The hotkey sections of a settings text that have a key, as Kelvo would register them.
int HotKeysWithKey(const std::u16string& settings) {
  int count = 0;
  bool inHotKey = false;
  for (const std::u16string& line : SplitLines(settings)) {
    if (line.size() > 2 && line.front() == u'[' && line.back() == u']') {
      inHotKey = line.rfind(u"[HotKey", 0) == 0 && line != u"[HotKeyList]";
    } else if (inHotKey && line.rfind(u"Key=", 0) == 0 && line.size() > 4) {
      ++count;
    }
  }
  return count;
}

class PackageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string zip = ReadBytes(PackagePath());
    ASSERT_FALSE(zip.empty()) << "no package at " << Narrow(PackagePath())
                              << " (scripts/dev package builds it)";
    std::string error;
    const auto read = ReadZip(zip, error);
    ASSERT_TRUE(read) << error;
    entries = *read;
  }

  const ZipEntry* Entry(const std::string& name) const {
    for (const ZipEntry& entry : entries) {
      if (entry.name == name) return &entry;
    }
    return nullptr;
  }

  std::vector<ZipEntry> entries;
};

}  // namespace

TEST_F(PackageTest, HoldsTheProgramTheGuideAndTheSamplesInTheirWindowsForm) {
  std::vector<std::string> names;
  for (const ZipEntry& entry : entries) names.push_back(entry.name);
  EXPECT_EQ(names, kEntries) << "exactly these files, in this order (no Kelvo.debug)";

  const ZipEntry* exe = Entry("Kelvo.exe");
  ASSERT_NE(exe, nullptr);
  EXPECT_EQ(exe->bytes.substr(0, 2), "MZ");
  const ZipEntry* checker = Entry("KelvoCheck.exe");
  ASSERT_NE(checker, nullptr);
  EXPECT_EQ(checker->bytes.substr(0, 2), "MZ");

  // The guide for Notepad: UTF-8 with a byte-order mark, CR LF, Japanese first, no Markdown.
  const ZipEntry* guide = Entry("Kelvo-README.txt");
  ASSERT_NE(guide, nullptr);
  EXPECT_EQ(guide->bytes.substr(0, 3), kBom);
  EXPECT_TRUE(OnlyCrLf(guide->bytes));
  const std::size_t japanese = guide->bytes.find("\r\nKelvo 使い方\r\n");
  const std::size_t english = guide->bytes.find("\r\nKelvo User's guide\r\n");
  EXPECT_NE(japanese, std::string::npos);
  EXPECT_NE(english, std::string::npos);
  EXPECT_LT(japanese, english);
  for (const char* markup : {"|---|", "`", "##", "**", "```"}) {
    EXPECT_EQ(guide->bytes.find(markup), std::string::npos) << "Markdown left: " << markup;
  }
  // Tables are laid out in columns, Japanese characters counting two: the explanation of the
  // hotkey sections' action keys starts where that of Description does.
  const std::string actions = LineStartingWith(guide->bytes, "動作のキー ");
  const std::string description = LineStartingWith(guide->bytes, "Description  ホットキー一覧");
  ASSERT_FALSE(actions.empty());
  ASSERT_FALSE(description.empty());
  EXPECT_EQ(DisplayColumn(actions, "ActivateWndClass"), DisplayColumn(description, "ホットキー"))
      << actions << "\n"
      << description;

  // The guide for the browser, which the about box's link opens.
  const ZipEntry* page = Entry("Kelvo-README.html");
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(page->bytes.rfind("<!DOCTYPE html>\r\n", 0), 0u);
  EXPECT_NE(page->bytes.find("<meta charset=\"utf-8\">"), std::string::npos);
  EXPECT_NE(page->bytes.find(">Kelvo 使い方</h1>"), std::string::npos);
  EXPECT_NE(page->bytes.find("<th>キー</th>"), std::string::npos);
  EXPECT_EQ(page->bytes.find("|---|"), std::string::npos);

  // The samples: Shift_JIS (the ANSI code page of Japanese Windows) with CR LF, read by Kelvo's
  // own reader without a single line in another encoding.
  ASSERT_EQ(GetACP(), 932u) << "the tests run with the Japanese code page";
  const WinCodePage codePage;
  for (const std::string& name : kEntries) {
    if (name.rfind("sample/", 0) != 0) continue;
    const ZipEntry* sample = Entry(name);
    ASSERT_NE(sample, nullptr) << name;
    EXPECT_TRUE(OnlyCrLf(sample->bytes)) << name;
    EXPECT_FALSE(HasByteOrderMark(sample->bytes)) << name;
    KeptLineBytes kept;
    const DecodedLines decoded = DecodeLines(sample->bytes, codePage, kept);
    EXPECT_EQ(decoded.encoding, TextEncoding::Ansi) << name;
    EXPECT_EQ(decoded.firstForeignLine, 0) << name << ": " << Utf8(decoded.foreignText);
    EXPECT_TRUE(kept.empty()) << name << " holds bytes that do not read back as Shift_JIS";
  }
  const std::u16string settings = DecodeText(Entry("sample/Kelvo.INI")->bytes, codePage).text;
  EXPECT_NE(settings.find(u"[General]"), std::u16string::npos);
  EXPECT_NE(settings.find(u"\r\n; "), std::u16string::npos) << "the sample settings are commented";
}

TEST_F(PackageTest, RunsFromAFolderWithABlankAndJapaneseInItsPathAndEndsByItsExitHotKey) {
  KelvoSession kelvo(kInnerFolder);
  ASSERT_FALSE(kelvo.Folder().empty());
  ASSERT_EQ(Unzip(entries, kelvo.Folder()), kEntries);

  // Double-clicked: the tray icon appears and the settings file is made beside Kelvo.exe.
  ASSERT_TRUE(kelvo.Start()) << "Kelvo did not start in " << Narrow(kelvo.Folder())
                             << " (exit code " << kelvo.WaitForExit() << ")";
  std::u16string settings;
  ASSERT_TRUE(WaitFor([&] {
    settings = kelvo.ReadIniText();
    return settings.find(u"[CmdKwd5]") != std::u16string::npos;
  })) << Utf8(settings);
  EXPECT_EQ(settings.rfind(u"[General]\r\nVersion=169\r\n", 0), 0u) << Utf8(settings);

  // The guide tells how to try the samples: copy them beside Kelvo.exe and reload.
  for (const std::string& name : kEntries) {
    if (name.rfind("sample/", 0) != 0) continue;
    const std::wstring file(name.begin() + 7, name.end());
    ASSERT_TRUE(CopyFileW((kelvo.Folder() + L"\\sample\\" + file).c_str(),
                          (kelvo.Folder() + L"\\" + file).c_str(), FALSE));
  }
  EXPECT_EQ(kelvo.StartAgain(L"-R"), 0xFFFFFFFFu);

  // Every sample hotkey with a key is registered and listed.
  PressHotKey(kCtrlAlt, kHotKeyListKey);
  HWND list = nullptr;
  ASSERT_TRUE(WaitFor([&] {
    list = FindCaptionedWindow(kelvo.ProcessId(), L"ホットキー一覧");
    return list != nullptr;
  })) << "the sample's Ctrl+Alt+L did not open the hotkey list";
  HWND rows = FindWindowExW(list, nullptr, L"ListBox", nullptr);
  ASSERT_NE(rows, nullptr);
  const int expected = HotKeysWithKey(kelvo.ReadIniText());
  EXPECT_GT(expected, 20);
  EXPECT_EQ(SendMessageW(rows, LB_GETCOUNT, 0, 0), expected);
  // The load said nothing: no line in a foreign encoding, no broken pattern.
  for (const MessageBoxInfo& box : MessageBoxesOf(kelvo.ProcessId())) {
    ADD_FAILURE() << Narrow(box.caption) << ": " << Narrow(box.text);
    CloseMessageBox(box.hwnd);
  }
  EXPECT_EQ(kelvo.ReadIni().find("[ErrorLog]"), std::string::npos) << "a sample hotkey failed";

  // The sample records the history in a plain file: its exclusion words keep passwords out, in
  // Japanese too.
  ASSERT_TRUE(SetClipboard(L"私のパスワードは abc"));
  ASSERT_TRUE(SetClipboard(L"暗証番号 1234"));
  ASSERT_TRUE(CopyAndWait(kelvo, "an ordinary copy"));
  EXPECT_EQ(Joined(StoredHistory(kelvo)), "an ordinary copy;");

  PressHotKey(kCtrlAlt | MOD_SHIFT, kExitKey);
  EXPECT_EQ(kelvo.WaitForExit(), 0);
}
