#include "check/settings_checker.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "support/fake_hotkey_registrar.h"
#include "support/fake_keyboard_layout.h"
#include "support/fake_locale.h"
#include "support/fake_model.h"
#include "support/memory_file_system.h"
#include "support/system_code_page.h"

namespace {

constexpr char16_t kIni[] = u"C:\\Tools\\Kelvo.INI";

class FakeProgramFinder : public ProgramFinder {
 public:
  bool Exists(const std::u16string& program) const override { return known.count(program) != 0; }
  std::set<std::u16string> known{u"notepad.exe", u"explorer.exe", u"calc.exe", u"cmd.exe"};
};

std::string Narrow(const std::u16string& text) {
  std::string out;
  for (char16_t c : text) out += c < 128 ? static_cast<char>(c) : '?';
  return out;
}

class SettingsCheckerTest : public ::testing::Test {
 protected:
  CheckReport Check(const std::string& settings, bool kelvoRunning = false) {
    files.files[kIni] = CrLf(settings);
    return CheckSettings(kIni, Services(kelvoRunning), 169);
  }
  CheckServices Services(bool kelvoRunning) {
    return CheckServices{files, SystemCodePage(), locale,      keyboard, registrar,
                         0x77,  programs,         kelvoRunning};
  }
  // "line:E" or "line:W" for each finding of the file, in report order.
  static std::vector<std::string> Places(const CheckReport& report, const std::u16string& file) {
    std::vector<std::string> places;
    for (const Finding& f : report.Findings()) {
      if (f.file == file)
        places.push_back(std::to_string(f.line) + (f.severity == Severity::kError ? ":E" : ":W"));
    }
    return places;
  }
  // The first finding at that line of the settings file; an empty one when there is none.
  static Finding At(const CheckReport& report, int line) {
    for (const Finding& f : report.Findings()) {
      if (f.file == u"Kelvo.INI" && f.line == line) return f;
    }
    return {};
  }

  MemoryFileSystem files;
  FakeLocale locale;
  FakeKeyboardLayout keyboard;
  FakeHotKeyRegistrar registrar;
  FakeProgramFinder programs;
};

// One mistake of each kind, each on its own line (numbered on the right).
constexpr char kSeeded[] =
    "[General]\n"                          // 1
    "Version=169\n"                        // 2
    "KeyWait=fast\n"                       // 3  not a number
    "[Genral]\n"                           // 4  unknown section
    "x=1\n"                                // 5
    "[HotKey1]\n"                          // 6
    "Key=Ctrl+Alt+N\n"                     // 7
    "Exeucte1=notepad.exe\n"               // 8  unknown key
    "ActivateWndTitleM1=/(unclosed/\n"     // 9  pattern
    "[HotKey2]\n"                          // 10
    "Key=Ctrl+Alt+Ent\n"                   // 11 key name
    "[HotKey3]\n"                          // 12
    "Key=ctrl+alt+n\n"                     // 13 same combination as HotKey1
    "[HotKey4]\n"                          // 14
    "Key=Ctrl+Alt+F5\n"                    // 15 taken by another program
    "[HotKey5]\n"                          // 16
    "Key=Ctrl+Alt+Del\n"                   // 17 kept by Windows
    "Command=RECYCEL\n"                    // 18 unknown command
    "[HotKey6]\n"                          // 19
    "Key=Ctrl+Alt+F6\n"                    // 20
    "Execute1=C:\\Missing\\tool.exe\n"     // 21 missing program
    "Sound=missing.wav\n"                  // 22 missing sound
    "Execute2=\\\\server\\share\\x.exe\n"  // 23 network path, not checked
    "SendKey1=CTRL,,/CTRL\n"               // 24 empty token
    "[CmdLauncher]\n"                      // 25
    "ExeDelay=99999\n"                     // 26 out of range
    "[PopupMenu]\n"                        // 27
    "FgColorL=0x12000000\n"                // 28 not a colour
    "PopupFile=menu.txt\n"                 // 29 (its line 2 closes no submenu)
    "[ClipboardList]\n"                    // 30
    "ExceptWord1=/[/\n"                    // 31 pattern
    "TextDataBtn1=gone.txt\n"              // 32 missing set file
    "bare line\n"                          // 33 dropped at the next write
    "[HotKey6]\n"                          // 34 second section of a name
    "Key=Ctrl+Alt+F7\n"                    // 35
    "ExeParam3=-x\n";                      // 36 (not read: the section is not)

}  // namespace

TEST_F(SettingsCheckerTest, EachMistakeIsReportedOnceAtItsLine) {
  registrar.MarkTaken(kModControl | kModAlt, 0x74);  // Ctrl+Alt+F5
  files.files[u"C:\\Tools\\menu.txt"] = CrLf("&A\ta.exe\n<\n");
  const CheckReport report = Check(kSeeded);
  EXPECT_EQ(Places(report, u"Kelvo.INI"),
            (std::vector<std::string>{"3:W", "4:E", "8:E", "9:E", "11:E", "13:E", "15:E", "17:E",
                                      "18:E", "21:E", "22:W", "23:W", "24:E", "26:W", "28:W",
                                      "31:E", "32:W", "33:W", "34:W"}));
  EXPECT_EQ(Places(report, u"menu.txt"), (std::vector<std::string>{"2:W"}));
  EXPECT_EQ(report.ExitCode(), 1);

  EXPECT_EQ(At(report, 4).fix, u"[General] ではありませんか。");
  EXPECT_EQ(At(report, 8).fix, u"Execute1 ではありませんか。");
  EXPECT_EQ(At(report, 11).fix, u"Ctrl+Alt+End ではありませんか。");
  EXPECT_EQ(At(report, 18).fix, u"RECYCLE ではありませんか。");
  EXPECT_NE(At(report, 9).problem.find(u"missing closing parenthesis"), std::u16string::npos)
      << Narrow(At(report, 9).problem);
  EXPECT_NE(At(report, 13).problem.find(u"[HotKey1]"), std::u16string::npos);
  EXPECT_NE(At(report, 26).problem.find(u"Kelvo は 10000 を使います"), std::u16string::npos);
  EXPECT_NE(At(report, 3).problem.find(u"既定値 50"), std::u16string::npos);
  // Each registration tried was released at once.
  EXPECT_TRUE(registrar.registeredIds().empty());
}

TEST_F(SettingsCheckerTest, CommandsAreJudgedAsKelvoReadsThem) {
  const CheckReport report = Check(
      "[General]\nVersion=169\n"
      "[HotKey1]\nKey=Ctrl+A\nCommand=recycle \n"                   // 3, 4, 5: a known command
      "[HotKey2]\nKey=Ctrl+B\nCommand=RECYCLE NOW\n"                // 6, 7, 8: unknown when pressed
      "[HotKey3]\nKey=Ctrl+C\nCommand=SETPOS_FGWND 1 2 3 4 5\n"     // 9, 10, 11: five items
      "[HotKey4]\nKey=Ctrl+D\nCommand=CLIPBOARD_T9\n"               // 12, 13, 14
      "[HotKey5]\nKey=Ctrl+E\nCommand= \nExecute1=notepad.exe\n");  // 15-18: slots are read
  EXPECT_EQ(Places(report, u"Kelvo.INI"), (std::vector<std::string>{"8:E", "11:E"}));
  EXPECT_EQ(At(report, 8).fix, u"RECYCLE ではありませんか。");
}

TEST_F(SettingsCheckerTest, TheShippedSamplesReportNothing) {
#ifdef KELVO_SAMPLE_DIR
  for (const char* name :
       {"Kelvo.INI", "KelvoMenu.txt", "KelvoText1.txt", "KelvoText2.txt", "CLIPDATA.txt"}) {
    std::ifstream in(std::string(KELVO_SAMPLE_DIR) + "/" + name, std::ios::binary);
    ASSERT_TRUE(in) << name;
    std::u16string path = u"C:\\Tools\\";
    for (const char* c = name; *c; ++c) path += static_cast<char16_t>(*c);
    files.files[path] = std::string(std::istreambuf_iterator<char>(in), {});
  }
  files.files[u"C:\\Windows\\System32\\cmd.exe"] = "MZ";
  files.directories.insert(u"C:");
  files.directories.insert(u"C:\\");
  const CheckReport report = CheckSettings(kIni, Services(false), 169);
  for (const Finding& f : report.Findings())
    ADD_FAILURE() << Narrow(f.file) << "(" << f.line << "): " << Narrow(f.problem);
  EXPECT_EQ(report.ExitCode(), 0);
  EXPECT_EQ(report.Text(), u"問題は見つかりませんでした。\r\n");
#endif
}

TEST_F(SettingsCheckerTest, ExitCodesTellErrorsFromWarningsFromUnreadableFiles) {
  EXPECT_EQ(Check("[General]\nVersion=169\n").ExitCode(), 0);
  EXPECT_EQ(Check("[General]\nVersion=169\nKeyWait=x\n").ExitCode(), 0) << "a warning only";
  EXPECT_EQ(Check("[General]\nVersion=169\nKeyWiat=1\n").ExitCode(), 1);
  files.unreadable.insert(kIni);
  EXPECT_EQ(Check("[General]\n").ExitCode(), 2);
  files.unreadable.clear();
  files.unreadable.insert(u"C:\\Tools\\KelvoText1.txt");
  files.files[u"C:\\Tools\\KelvoText1.txt"] = "x";
  const CheckReport report =
      Check("[General]\nVersion=169\n[ClipboardList]\nTextDataFile=KelvoText1.txt\n");
  EXPECT_EQ(report.ExitCode(), 2);
  EXPECT_EQ(report.Findings().at(0).file, u"KelvoText1.txt");
}

TEST_F(SettingsCheckerTest, ReportTextNamesFileLineSeverityAndFix) {
  const CheckReport report = Check("[General]\nVersion=169\n[HotKey1]\nKey=Ctrl+A\nExeucte1=x\n");
  EXPECT_EQ(report.Text(),
            u"Kelvo.INI(5): エラー: [HotKey1] Exeucte1 は Kelvo の知らないキーです。 → Execute1 "
            u"ではありませんか。\r\nエラー 1 件、警告 0 件\r\n");
}

TEST_F(SettingsCheckerTest, WhileKelvoRunsNoCombinationIsTriedAndTheReportSaysSo) {
  registrar.MarkTaken(kModControl, 'A');
  const CheckReport report = Check("[General]\nVersion=169\n[HotKey1]\nKey=Ctrl+A\n", true);
  EXPECT_TRUE(report.Findings().empty());
  EXPECT_TRUE(registrar.registrations().empty());
  ASSERT_EQ(report.Notes().size(), 1u);
  EXPECT_NE(report.Text().find(u"Kelvo が動作中"), std::u16string::npos);
}

TEST_F(SettingsCheckerTest, KeysKelvoSkipsAreNamedWithTheReason) {
  const CheckReport report = Check(
      "[General]\nVersion=169\n"
      "[HotKey1]\nKey=Ctrl+A\nCommand=EXIT\nExecute1=notepad.exe\n"       // 4, 5, 6
      "[HotKey2]\nKey=Ctrl+B\nExeParam2=-x\nExecute1=notepad.exe\n"       // 8, 9, 10
      "[HotKey3]\nKey=\nExeucte1=x\n"                                     // 12, 13: not read
      "[ClipboardList]\nExceptWord1=a\nExceptWord3=c\nExceptWord1=b\n");  // 15, 16, 17
  EXPECT_EQ(Places(report, u"Kelvo.INI"), (std::vector<std::string>{"6:W", "9:W", "16:W", "17:W"}));
  EXPECT_NE(At(report, 6).problem.find(u"Command"), std::u16string::npos);
  EXPECT_NE(At(report, 9).problem.find(u"Execute2"), std::u16string::npos);
  EXPECT_NE(At(report, 16).problem.find(u"ExceptWord2"), std::u16string::npos);
}

TEST_F(SettingsCheckerTest, AnOlderFileNamesTheValuesTheNextLoadRewrites) {
  const CheckReport report = Check("[General]\nVersion=164\nWmPasteClass=MyEdit\n");
  ASSERT_EQ(Places(report, u"Kelvo.INI"), (std::vector<std::string>{"3:W"}));
  EXPECT_NE(At(report, 3).problem.find(u"「EDIT;TEDIT」"), std::u16string::npos);
  EXPECT_TRUE(Check("[General]\nVersion=165\nWmPasteClass=MyEdit\n").Findings().empty());
}

TEST_F(SettingsCheckerTest, ALineInAnotherEncodingIsNamedAsKelvoNamesIt) {
  // UTF-8 lines, then one in Shift_JIS (メモ: 83 81 83 82).
  files.files[kIni] =
      "[General]\r\nVersion=169\r\nEditor=\xE3\x83\xA1\xE3\x83\xA2.exe\r\nZrEditor="
      "\x83\x81\x83\x82\r\n";
  programs.known.insert(u"メモ.exe");
  const CheckReport report = CheckSettings(kIni, Services(false), 169);
  EXPECT_EQ(Places(report, u"Kelvo.INI"), (std::vector<std::string>{"4:W", "4:E"}));
}

TEST_F(SettingsCheckerTest, MenuLinesThatGiveNoItemAreNamed) {
  std::string menu;
  for (int depth = 0; depth < 25; ++depth) menu += ">m\n";  // the 25th is too deep
  menu += "item\n--\n-p\n";
  menu += "--\n|\n";  // a second boundary, and a break with nothing after it
  files.files[u"C:\\Tools\\menu.txt"] = CrLf(menu);
  const CheckReport report = Check("[General]\nVersion=169\n[PopupMenu]\nPopupFile=menu.txt\n");
  EXPECT_EQ(Places(report, u"menu.txt"), (std::vector<std::string>{"25:W", "29:W", "30:W"}));
}

TEST_F(SettingsCheckerTest, ImeModeTakesOnlyItsWordsAndFoldWidthKanaIsKnown) {
  const CheckReport report = Check(
      "[General]\nVersion=169\n"
      "[CmdLauncher]\nImeMode=Off\n"                            // 4
      "[ClipboardList]\nFoldWidthKana=0\nFoldWidthKana2=1\n");  // 6, 7
  EXPECT_EQ(Places(report, u"Kelvo.INI"), (std::vector<std::string>{"7:E"}));
  const CheckReport wrong = Check("[General]\nVersion=169\n[CmdLauncher]\nImeMode=direct\n");
  ASSERT_EQ(Places(wrong, u"Kelvo.INI"), (std::vector<std::string>{"4:W"}));
  EXPECT_NE(At(wrong, 4).problem.find(u"既定値 auto"), std::u16string::npos);
  EXPECT_EQ(At(wrong, 4).fix, u"auto・off・keep のどれかを書きます。");
  EXPECT_TRUE(Check("[General]\nVersion=169\n[CmdLauncher]\nImeMode= keep \n").Findings().empty());
}
