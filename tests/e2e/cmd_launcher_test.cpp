// The command launcher as a user meets it: its hotkey shows the box where it was left, typed
// letters complete and list the keywords, Enter runs the keyword's entry as its hotkey would, and
// the same hotkey hides the box again.
#include <gtest/gtest.h>
#include <windows.h>

#include <objidl.h>
#include <shlobj.h>

#include <cctype>
#include <string>
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
    program_ = Narrow(kelvo.CopyProgram(L"record_args.exe"));
    kelvo.WriteIni(
        CrLf("[General]\nVersion=169\nKeyWait=10\n"
             "[HotKey1]\nKey=Ctrl+Alt+Shift+K\nCommand=CMDLAUNCHER\n"
             "[CmdLauncher]\n" +
             launcher + "\n[CmdKwd1]\nKey=calendar\nExecute1=" + program_ +
             "\nExeParam1=from-calendar\n"
             "[CmdKwd2]\nKey=calc\nExecute1=" +
             program_ + "\nExeParam1=from-calc 2\n" + more));
    return kelvo.Start();
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
  EXPECT_EQ(LOWORD(EditSelection()), 3);
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
  const std::wstring dir = kelvo.Folder() + L"\\links";
  CreateDirectoryW(dir.c_str(), nullptr);
  const std::wstring program = kelvo.CopyProgram(L"record_args.exe");
  ASSERT_TRUE(CreateShortcut(dir + L"\\zeta.tool.lnk", program, L"from-link"));
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
