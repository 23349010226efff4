// The command launcher as a user meets it: its hotkey shows the box where it was left, typed
// letters complete and list the keywords, Enter runs the keyword's entry as its hotkey would, and
// the same hotkey hides the box again.
#include <gtest/gtest.h>
#include <windows.h>

#include <objidl.h>
#include <shlobj.h>

#include <cctype>
#include <chrono>
#include <initializer_list>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "desktop_driver.h"
#include "kelvo_session.h"

namespace {

constexpr UINT kHotMods = MOD_CONTROL | MOD_ALT | MOD_SHIFT;

HWND LauncherOf(DWORD processId) { return TopWindowOf(processId, L"TCmdLncForm"); }

std::wstring Text(HWND hwnd) {
  wchar_t text[512] = {};
  // Sent, not GetWindowText: that reads no control of another process.
  SendMessageW(hwnd, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text));
  return text;
}

std::string Rows(HWND combo) {
  std::string rows;
  const LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    wchar_t text[512] = {};
    SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
    rows += Narrow(text) + ";";
  }
  return rows;
}

// Types lower-case letters as key presses.
void Type(const std::string& letters) {
  for (char c : letters) PressHotKey(0, static_cast<UINT>(std::toupper(c)));
}

bool CreateShortcut(const std::wstring& linkPath, const std::wstring& target,
                    const std::wstring& arguments) {
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return false;
  bool saved = false;
  IShellLinkW* link = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                 reinterpret_cast<void**>(&link)))) {
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->SetPath(target.c_str())) &&
        SUCCEEDED(link->SetArguments(arguments.c_str())) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
      saved = SUCCEEDED(file->Save(linkPath.c_str(), TRUE));
      file->Release();
    }
    link->Release();
  }
  CoUninitialize();
  return saved;
}

class CmdLauncherTest : public ::testing::Test {
 protected:
  [[nodiscard]] bool Start(const std::string& launcher, const std::string& more = "") {
    Program();
    WriteSettings(launcher, more);
    return kelvo.Start();
  }
  // The settings file: the launcher's hotkey, its options, calendar and calc, and more sections.
  void WriteSettings(const std::string& launcher, const std::string& more) {
    kelvo.WriteIni(
        CrLf("[General]\nVersion=169\nKeyWait=10\n"
             "[HotKey1]\nKey=Ctrl+Alt+Shift+K\nCommand=CMDLAUNCHER\n"
             "[CmdLauncher]\n" +
             launcher + "\n[CmdKwd1]\nKey=calendar\nExecute1=" + program_ +
             "\nExeParam1=from-calendar\n"
             "[CmdKwd2]\nKey=calc\nExecute1=" +
             program_ + "\nExeParam1=from-calc 2\n" + more));
  }
  // The recorder in Kelvo's folder, copied there at the first call.
  const std::string& Program() {
    if (program_.empty()) program_ = Narrow(kelvo.CopyProgram(L"record_args.exe"));
    return program_;
  }
  // A keyword section n that runs the recorder with `argument`.
  std::string Keyword(int n, const std::string& keyword, const std::string& argument) {
    return "[CmdKwd" + std::to_string(n) + "]\nKey=" + keyword + "\nExecute1=" + Program() +
           "\nExeParam1=" + argument + "\n";
  }
  // A shortcut in the folder "links" (LaunchDir=links) that runs the recorder with `argument`.
  [[nodiscard]] bool Shortcut(const std::wstring& name, const std::wstring& argument) {
    const std::wstring dir = kelvo.Folder() + L"\\links";
    CreateDirectoryW(dir.c_str(), nullptr);
    return CreateShortcut(dir + L"\\" + name, kelvo.CopyProgram(L"record_args.exe"), argument);
  }
  // Presses the launcher's hotkey and waits until the box is in front.
  HWND Open() {
    PressHotKey(kHotMods, 'K');
    HWND box = nullptr;
    WaitFor([&] {
      box = LauncherOf(kelvo.ProcessId());
      return box && IsWindowVisible(box) && GetForegroundWindow() == box;
    });
    if (box) combo_ = FindWindowExW(box, nullptr, L"ComboBox", nullptr);
    return box;
  }
  std::string Recorded() {
    std::string text;
    WaitFor([&] { return !(text = kelvo.ReadFileBytes(L"record_args.txt")).empty(); });
    return text;
  }
  DWORD EditSelection() const {
    return static_cast<DWORD>(SendMessageW(combo_, CB_GETEDITSEL, 0, 0));
  }

  KelvoSession kelvo;
  std::string program_;
  HWND combo_ = nullptr;
};

}  // namespace

TEST_F(CmdLauncherTest, HotKeyShowsTheBoxTypingCompletesAndEnterRunsTheKeyword) {
  ASSERT_TRUE(Start("SkipInput=1\nPosX=120\nPosY=90\n"));
  HWND box = Open();
  ASSERT_NE(box, nullptr) << "the launcher did not open";
  ASSERT_NE(combo_, nullptr);
  RECT bounds{};
  GetWindowRect(box, &bounds);
  EXPECT_EQ(bounds.left, 120);
  EXPECT_EQ(bounds.top, 90);
  EXPECT_EQ(Text(box), L"Kelvo");
  EXPECT_TRUE(GetWindowLongW(box, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(Rows(combo_), "calc;calendar;");

  // c completes to the common part "cal" and shows the first keyword with the rest selected.
  Type("c");
  ASSERT_TRUE(WaitFor([&] { return Text(combo_) == L"calc"; })) << Narrow(Text(combo_));
  EXPECT_EQ(Rows(combo_), "calc;calendar;");
  EXPECT_TRUE(WaitFor([&] { return LOWORD(EditSelection()) == 3; })) << EditSelection();
  // Ctrl+C changes nothing: were its c taken, "calc" alone would be left and e would not fit.
  PressHotKey(MOD_CONTROL, 'C');
  // A letter that continues no keyword is dropped.
  Type("x");
  Type("e");
  ASSERT_TRUE(WaitFor([&] { return Text(combo_) == L"calendar"; })) << Narrow(Text(combo_));
  EXPECT_EQ(Rows(combo_), "calendar;");
  // Enter runs the record; the box hides first.
  PressHotKey(0, VK_RETURN);
  EXPECT_NE(Recorded().find("from-calendar"), std::string::npos);
  EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(box); }));
  std::string ini;

  // Shown again it starts afresh where it was; the same hotkey hides it and stores its place.
  box = Open();
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(Text(combo_), L"");
  SetWindowPos(box, nullptr, 200, 150, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  PressHotKey(kHotMods, 'K');
  EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(box); }));
  EXPECT_TRUE(WaitFor([&] {
    ini = kelvo.ReadIni();
    return ini.find("PosX=200\r\n") != std::string::npos &&
           ini.find("PosY=150\r\n") != std::string::npos;
  })) << ini;
  EXPECT_EQ(kelvo.Stop(), 0);
}

TEST_F(CmdLauncherTest, EscClosesTheListThenTheBox) {
  ASSERT_TRUE(Start(""));
  HWND box = Open();
  ASSERT_NE(box, nullptr);
  Type("ca");
  ASSERT_TRUE(WaitFor([&] { return SendMessageW(combo_, CB_GETDROPPEDSTATE, 0, 0) != FALSE; }));
  EXPECT_EQ(Text(combo_), L"calc");
  PressHotKey(0, VK_ESCAPE);
  ASSERT_TRUE(WaitFor([&] { return SendMessageW(combo_, CB_GETDROPPEDSTATE, 0, 0) == FALSE; }));
  EXPECT_TRUE(IsWindowVisible(box));
  PressHotKey(0, VK_ESCAPE);
  EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(box); }));
  EXPECT_TRUE(kelvo.ReadFileBytes(L"record_args.txt").empty());
  EXPECT_EQ(kelvo.Stop(), 0);
}

TEST_F(CmdLauncherTest, CnfExecuteRunsTheOnlyMatchWithoutEnter) {
  ASSERT_TRUE(Start("CnfExecute=1\nExeDelay=100\n"));
  HWND box = Open();
  ASSERT_NE(box, nullptr);
  Type("calc");
  EXPECT_NE(Recorded().find("from-calc 2"), std::string::npos);
  EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(box); }));
  EXPECT_EQ(kelvo.Stop(), 0);
}

TEST_F(CmdLauncherTest, AShortcutUnderLaunchDirIsAKeyword) {
  ASSERT_TRUE(Shortcut(L"zeta.tool.lnk", L"from-link"));
  ASSERT_TRUE(Start("LaunchDir=links\n"));
  HWND box = Open();
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(Rows(combo_), "calc;calendar;zeta.tool;");
  Type("z");
  ASSERT_TRUE(WaitFor([&] { return Text(combo_) == L"zeta.tool"; }));
  PressHotKey(0, VK_RETURN);
  EXPECT_NE(Recorded().find("from-link"), std::string::npos);
  EXPECT_EQ(kelvo.Stop(), 0);
}

// The folder is listed after a load, on a thread of its own: a shortcut added before a reload
// joins the open box's rows once listed, without the box being opened again.
TEST_F(CmdLauncherTest, AShortcutAddedBeforeAReloadJoinsTheOpenBox) {
  ASSERT_TRUE(Shortcut(L"zeta.tool.lnk", L"from-zeta"));
  ASSERT_TRUE(Start("LaunchDir=links\n"));
  HWND box = Open();
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(Rows(combo_), "calc;calendar;zeta.tool;");
  ASSERT_TRUE(Shortcut(L"alpha.tool.lnk", L"from-alpha"));
  constexpr DWORD kHandedOver = 0xFFFFFFFF;
  EXPECT_EQ(kelvo.StartAgain(L"-R"), kHandedOver);
  EXPECT_TRUE(WaitFor([&] { return Rows(combo_) == "alpha.tool;calc;calendar;zeta.tool;"; }))
      << Rows(combo_);
  EXPECT_TRUE(IsWindowVisible(box));
  Type("a");
  ASSERT_TRUE(WaitFor([&] { return Text(combo_) == L"alpha.tool"; }));
  PressHotKey(0, VK_RETURN);
  EXPECT_TRUE(WaitFor([&] { return Recorded().find("from-alpha") != std::string::npos; }));
  EXPECT_EQ(kelvo.Stop(), 0);
}

TEST_F(CmdLauncherTest, NoTitleBarFollowsAReload) {
  ASSERT_TRUE(Start(""));
  HWND box = Open();
  ASSERT_NE(box, nullptr);
  EXPECT_TRUE(GetWindowLongW(box, GWL_STYLE) & WS_CAPTION);
  std::string ini = kelvo.ReadIni();
  const std::string section = "[CmdLauncher]\r\n";
  ini.insert(ini.find(section) + section.size(), "NoTitleBar=1\r\n");
  kelvo.WriteIni(ini);
  constexpr DWORD kHandedOver = 0xFFFFFFFF;  // a second start hands over and ends with -1
  EXPECT_EQ(kelvo.StartAgain(L"-R"), kHandedOver);
  EXPECT_TRUE(WaitFor([&] { return (GetWindowLongW(box, GWL_STYLE) & WS_CAPTION) == 0; }));
  EXPECT_EQ(kelvo.Stop(), 0);
}

// The box keeps its font and layout from show to show; a reload that changes them is seen at the
// next show.
TEST_F(CmdLauncherTest, AReloadedFontAndListWidthShowAtTheNextShow) {
  ASSERT_TRUE(Start("ListWidth=200\nFontSize=9\n"));
  HWND box = Open();
  ASSERT_NE(box, nullptr);
  const auto comboRect = [&] {
    RECT r{};
    GetWindowRect(combo_, &r);
    return r;
  };
  const RECT before = comboRect();
  EXPECT_EQ(before.right - before.left, 200);
  PressHotKey(0, VK_ESCAPE);
  ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(box); }));
  ASSERT_EQ(Open(), box);
  const RECT again = comboRect();
  EXPECT_TRUE(EqualRect(&before, &again)) << "a show with nothing changed keeps the layout";
  PressHotKey(0, VK_ESCAPE);
  ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(box); }));
  std::string ini = kelvo.ReadIni();
  for (const auto& [from, to] :
       {std::pair{"ListWidth=200", "ListWidth=320"}, std::pair{"FontSize=9", "FontSize=20"}}) {
    ini.replace(ini.find(from), std::string(from).size(), to);
  }
  kelvo.WriteIni(ini);
  constexpr DWORD kHandedOver = 0xFFFFFFFF;  // a second start hands over and ends with -1
  EXPECT_EQ(kelvo.StartAgain(L"-R"), kHandedOver);
  ASSERT_EQ(Open(), box);
  const RECT after = comboRect();
  EXPECT_EQ(after.right - after.left, 320);
  EXPECT_GT(after.bottom - after.top, before.bottom - before.top) << "the larger font's box";
  EXPECT_EQ(kelvo.Stop(), 0);
}

TEST_F(CmdLauncherTest, APlaceOnAMonitorThatIsGoneComesBackOnScreen) {
  ASSERT_TRUE(Start("PosX=-20000\nPosY=30000\n"));
  HWND box = Open();
  ASSERT_NE(box, nullptr);
  RECT bounds{};
  GetWindowRect(box, &bounds);
  RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  RECT inside{};
  EXPECT_TRUE(IntersectRect(&inside, &bounds, &screen) && EqualRect(&inside, &bounds))
      << bounds.left << "," << bounds.top;
  // The stored place changes only when the box hides.
  EXPECT_NE(kelvo.ReadIni().find("PosX=-20000"), std::string::npos);
  PressHotKey(0, VK_ESCAPE);
  std::string ini;
  EXPECT_TRUE(WaitFor([&] {
    return (ini = kelvo.ReadIni()).find("PosX=" + std::to_string(bounds.left) + "\r\n") !=
           std::string::npos;
  })) << ini;
  EXPECT_EQ(kelvo.Stop(), 0);
}

namespace {

// One row of the keyword box's key table: keys pressed after the box opened, then what the box
// shows and what Enter runs. Every row also checks that Enter runs the keyword the box shows (or
// nothing when the box shows no keyword).
struct KeyRow {
  const char* what;
  std::vector<std::pair<UINT, UINT>> keys;  // (modifiers, key)
  const wchar_t* text;                      // nullptr: whatever the box shows
  int selStart = -1;                        // -1: not checked
  int selEnd = -1;
  int listOpen = -1;  // 1 open, 0 closed, -1 not checked
};

std::vector<std::pair<UINT, UINT>> Letters(const char* letters) {
  std::vector<std::pair<UINT, UINT>> keys;
  for (const char* c = letters; *c; ++c) keys.push_back({0, static_cast<UINT>(std::toupper(*c))});
  return keys;
}

std::vector<std::pair<UINT, UINT>> Then(std::vector<std::pair<UINT, UINT>> keys,
                                        std::initializer_list<std::pair<UINT, UINT>> more) {
  keys.insert(keys.end(), more.begin(), more.end());
  return keys;
}

}  // namespace

class CmdLauncherKeyTest : public CmdLauncherTest {
 protected:
  // Runs the rows in one session with these options: each opens the box afresh.
  void RunRows(const std::string& options, const std::vector<KeyRow>& rows) {
    ASSERT_TRUE(
        Start(options, "[CmdKwd3]\nKey=cmd\nExecute1=" + program_ + "\nExeParam1=from-cmd\n"));
    for (const KeyRow& row : rows) {
      SCOPED_TRACE(std::string(row.what) + " with " + options);
      DeleteFileW((kelvo.Folder() + L"\\record_args.txt").c_str());
      HWND box = Open();
      ASSERT_NE(box, nullptr);
      for (const auto& [mods, key] : row.keys) PressHotKey(mods, key);
      const auto matches = [&] {
        const DWORD sel = EditSelection();
        const bool open = SendMessageW(combo_, CB_GETDROPPEDSTATE, 0, 0) != FALSE;
        return (!row.text || Text(combo_) == row.text) &&
               (row.selStart < 0 || LOWORD(sel) == row.selStart) &&
               (row.selEnd < 0 || HIWORD(sel) == row.selEnd) &&
               (row.listOpen < 0 || open == (row.listOpen == 1));
      };
      EXPECT_TRUE(WaitFor(matches, std::chrono::seconds(10)))
          << "box \"" << Narrow(Text(combo_)) << "\", selection " << LOWORD(EditSelection()) << "-"
          << HIWORD(EditSelection()) << ", list "
          << (SendMessageW(combo_, CB_GETDROPPEDSTATE, 0, 0) ? "open" : "closed");
      ExpectEnterRunsWhatTheBoxShows(box);
    }
    EXPECT_EQ(kelvo.Stop(), 0);
  }

  void ExpectEnterRunsWhatTheBoxShows(HWND box) {
    if (!IsWindowVisible(box)) {  // the keys hid it: nothing runs
      WaitFor([] { return false; }, std::chrono::milliseconds(300));
      EXPECT_EQ(kelvo.ReadFileBytes(L"record_args.txt"), "");
      return;
    }
    const std::wstring shown = Text(combo_);
    const std::map<std::wstring, std::string> runs = {
        {L"calc", "from-calc 2"}, {L"calendar", "from-calendar"}, {L"cmd", "from-cmd"}};
    const bool open = SendMessageW(combo_, CB_GETDROPPEDSTATE, 0, 0) != FALSE;
    PressHotKey(0, VK_RETURN);
    const auto found = runs.find(shown);
    if (found != runs.end()) {
      const std::string recorded = Recorded();
      EXPECT_NE(recorded.find(found->second), std::string::npos)
          << "the box showed " << Narrow(shown) << "; Enter ran: " << recorded;
      EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(box); }));
      return;
    }
    // Nothing to run: an open list closes the box anyway, a closed one leaves it as it is.
    if (open) {
      EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(box); }));
    } else {
      WaitFor([] { return false; }, std::chrono::milliseconds(300));
      EXPECT_TRUE(IsWindowVisible(box));
      PressHotKey(0, VK_ESCAPE);
      EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(box); }));
    }
    WaitFor([] { return false; }, std::chrono::milliseconds(300));
    EXPECT_EQ(kelvo.ReadFileBytes(L"record_args.txt"), "") << "the box showed " << Narrow(shown);
  }
};

TEST_F(CmdLauncherKeyTest, EveryKeyWithTheListDroppingDown) {
  RunRows(
      "",
      {
          {"letters", Letters("ca"), L"calc", 2, 4, 1},
          {"Backspace with the list open", Then(Letters("cal"), {{0, VK_BACK}}), L"calc", 2, 4, 1},
          {"Backspace to an empty prefix", Then(Letters("c"), {{0, VK_BACK}}), L"", 0, 0, 0},
          {"Backspace in an empty box", {{0, VK_BACK}}, L"", -1, -1, 0},
          {"Esc closes the list", Then(Letters("ca"), {{0, VK_ESCAPE}}), L"calc", 2, 4, 0},
          {"Left keeps the list open", Then(Letters("ca"), {{0, VK_LEFT}}), L"calc", -1, -1, 1},
          {"Right keeps the list open", Then(Letters("ca"), {{0, VK_RIGHT}}), L"calc", -1, -1, 1},
          {"Down moves through the list", Then(Letters("ca"), {{0, VK_DOWN}}), L"calendar", 2, 8,
           1},
          {"Up opens a closed list", Then(Letters("ca"), {{0, VK_ESCAPE}, {0, VK_UP}}), L"calc", -1,
           -1, 1},
          {"Delete takes the completion", Then(Letters("cal"), {{0, VK_DELETE}}), nullptr},
          {"another key closes the list", Then(Letters("ca"), {{0, VK_HOME}}), L"calc", -1, -1, 0},
          {"a character with Ctrl changes nothing", Then(Letters("ca"), {{MOD_CONTROL, 'M'}}),
           L"calc", 2, 4, 1},
          {"a letter no keyword continues", Letters("cx"), L"calc", 1, 4, 1},
      });
}

TEST_F(CmdLauncherKeyTest, EveryKeyWithTheListClosed) {
  RunRows("Dropdown=0\n",
          {
              {"letters put the caret at the start", Letters("ca"), L"calc", 0, 0, 0},
              {"Backspace", Then(Letters("cal"), {{0, VK_BACK}}), L"calc", 2, 4, 0},
              {"Delete with no selection empties the prefix", Then(Letters("ca"), {{0, VK_DELETE}}),
               L"", -1, -1, 0},
              {"Esc hides the box", Then(Letters("c"), {{0, VK_ESCAPE}}), nullptr},
              {"Down opens the list", Then(Letters("ca"), {{0, VK_DOWN}}), nullptr, -1, -1, 1},
              {"Right", Then(Letters("cal"), {{0, VK_RIGHT}}), L"calc", -1, -1, 0},
          });
}

TEST_F(CmdLauncherKeyTest, EveryKeyWithSkipInput) {
  RunRows("SkipInput=1\n",
          {
              {"a letter completes as far as the keywords agree", Letters("ca"), L"calc", 3, 4, 1},
              {"Backspace empties the prefix", Then(Letters("ca"), {{0, VK_BACK}}), L"", 0, 0, 0},
              {"a character with Ctrl changes nothing", Then(Letters("ca"), {{MOD_CONTROL, 'E'}}),
               L"calc", 3, 4, 1},
              {"Esc closes the list", Then(Letters("cal"), {{0, VK_ESCAPE}}), L"calc", 3, 4, 0},
          });
}

TEST_F(CmdLauncherTest, ListSizeSetsTheRowsOfTheOpenList) {
  std::string more;
  for (int i = 3; i <= 12; ++i) {
    more += "[CmdKwd" + std::to_string(i) + "]\nKey=ca" +
            std::string(1, static_cast<char>('a' + i)) + "\n";
  }
  ASSERT_TRUE(Start("ListSize=4\n", more));
  HWND box = Open();
  ASSERT_NE(box, nullptr);
  Type("ca");
  HWND list = nullptr;
  ASSERT_TRUE(WaitFor([&] {
    list = TopWindowOf(kelvo.ProcessId(), L"ComboLBox");
    return list && IsWindowVisible(list);
  }));
  RECT client{};
  GetClientRect(list, &client);
  const LRESULT itemHeight = SendMessageW(list, LB_GETITEMHEIGHT, 0, 0);
  ASSERT_GT(itemHeight, 0);
  EXPECT_EQ(client.bottom / itemHeight, 4) << client.bottom << " / " << itemHeight;
  EXPECT_EQ(kelvo.Stop(), 0);
}

namespace {

// The answer of the launcher to its registered message: the input method state of its box.
constexpr LRESULT kImeAnswered = 0x100;
constexpr LRESULT kImeOwnContext = 1;
constexpr LRESULT kImeOpen = 2;

LRESULT ImeState(HWND box) {
  static const UINT message = RegisterWindowMessageW(L"Kelvo.KeywordBoxIme");
  DWORD_PTR answer = 0;
  SendMessageTimeoutW(box, message, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer);
  return static_cast<LRESULT>(answer);
}

std::string ImeText(LRESULT state) {
  if (!(state & kImeAnswered)) return "no answer";
  return std::string(state & kImeOwnContext ? "own" : "thread's") + " context, " +
         (state & kImeOpen ? "open" : "closed");
}

}  // namespace

// Wine has no input method that composes kana, but its input method manager keeps the contexts
// and their open state as Windows does, and the box reports what its own thread reads of them.
TEST_F(CmdLauncherTest, TheBoxClosesItsOwnImeForPlainKeywordsAndGivesTheThreadsBackWhenItHides) {
  const struct {
    const char* imeMode;
    bool japaneseKeyword;
    bool own;
  } rows[] = {
      {"", false, true},  // every keyword plain ASCII: closed
      {"", true, false},  // a Japanese keyword: left as it is
      {"ImeMode=off", true, true},
      {"ImeMode=KEEP", false, false},
      {"ImeMode=typo", false, true},  // an unknown word is auto
  };
  ASSERT_TRUE(Start(""));
  for (const auto& row : rows) {
    SCOPED_TRACE(std::string(row.imeMode) + (row.japaneseKeyword ? " with メモ帳" : ""));
    WriteSettings(row.imeMode, row.japaneseKeyword ? Keyword(3, "メモ帳", "from-memo") : "");
    constexpr DWORD kHandedOver = 0xFFFFFFFF;
    ASSERT_EQ(kelvo.StartAgain(L"-R"), kHandedOver);
    HWND box = Open();
    ASSERT_NE(box, nullptr);
    const LRESULT expected = kImeAnswered | (row.own ? kImeOwnContext : 0);
    EXPECT_TRUE(WaitFor([&] { return ImeState(box) == expected; })) << ImeText(ImeState(box));
    // Letters reach the box as they are.
    Type("cale");
    EXPECT_TRUE(WaitFor([&] { return Text(combo_) == L"calendar"; })) << Narrow(Text(combo_));
    PressHotKey(0, VK_ESCAPE);
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(box); }));
    EXPECT_EQ(ImeState(box), kImeAnswered) << "hidden: " << ImeText(ImeState(box));
  }
  EXPECT_EQ(kelvo.Stop(), 0);
}

// Keywords in other widths and kana forms: typed characters arrive as an input method sends them,
// one UTF-16 unit at a time, and a half-width sound mark comes as a character of its own.
TEST_F(CmdLauncherTest, KeywordsMatchTypedTextOfAnotherWidth) {
  ASSERT_TRUE(Start("", Keyword(3, "ｶﾞｲﾄﾞ", "from-guide") + Keyword(4, "ガイア", "from-gaia") +
                            Keyword(5, "パスワード", "from-password") +
                            Keyword(6, "ﾊﾟｽﾀ", "from-pasta")));
  const struct {
    const char* what;
    std::wstring typed;
    // The selection starts after the typed part of the keyword the box shows, in its own units.
    std::map<std::wstring, int> selStart;
  } rows[] = {
      {"full-width kana against a half-width keyword", L"ガイ", {{L"ｶﾞｲﾄﾞ", 3}, {L"ガイア", 2}}},
      {"half-width kana and marks against a full-width keyword",
       L"ﾊﾟｽ",
       {{L"パスワード", 2}, {L"ﾊﾟｽﾀ", 3}}},
      {"a mark no keyword continues is dropped", L"ｶﾟﾞｲﾄ", {{L"ｶﾞｲﾄﾞ", 4}}},
      {"full-width letters", L"ＣＡＬ", {{L"calc", 3}, {L"calendar", 3}}},
  };
  const std::map<std::wstring, std::string> runs = {
      {L"ｶﾞｲﾄﾞ", "from-guide"}, {L"ガイア", "from-gaia"}, {L"パスワード", "from-password"},
      {L"ﾊﾟｽﾀ", "from-pasta"},  {L"calc", "from-calc"},   {L"calendar", "from-calendar"}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    DeleteFileW((kelvo.Folder() + L"\\record_args.txt").c_str());
    HWND box = Open();
    ASSERT_NE(box, nullptr);
    TypeText(row.typed);
    std::wstring shown;
    const auto selected = [&] {
      shown = Text(combo_);
      const auto found = row.selStart.find(shown);
      const DWORD sel = EditSelection();
      return found != row.selStart.end() && LOWORD(sel) == found->second &&
             HIWORD(sel) == shown.size();
    };
    // With one keyword left the caret stays at the start instead.
    const auto alone = [&] {
      shown = Text(combo_);
      return row.selStart.size() == 1 && row.selStart.count(shown) == 1 && EditSelection() == 0;
    };
    EXPECT_TRUE(WaitFor([&] { return selected() || alone(); }, std::chrono::seconds(10)))
        << "box \"" << Narrow(shown) << "\", selection " << LOWORD(EditSelection()) << "-"
        << HIWORD(EditSelection());
    PressHotKey(0, VK_RETURN);
    ASSERT_EQ(runs.count(shown), 1u) << Narrow(shown);
    const std::string recorded = Recorded();
    EXPECT_NE(recorded.find(runs.at(shown)), std::string::npos)
        << Narrow(shown) << " ran: " << recorded;
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(box); }));
  }
  EXPECT_EQ(kelvo.Stop(), 0);
}
