// The launcher menu as a user meets it: opened by its hotkey, walked with the keyboard, its
// programs and shortcuts started, its texts pasted into the window that was in front.
#include <gtest/gtest.h>
#include <windows.h>

#include <objbase.h>
#include <shlobj.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "desktop_driver.h"
#include "kelvo_session.h"
#include "win32/com_win.h"

namespace {

constexpr UINT kHotMods = MOD_CONTROL | MOD_ALT | MOD_SHIFT;

bool MenuOpen() {
  HWND menu = FindWindowW(L"#32768", nullptr);
  return menu && IsWindowVisible(menu);
}

void WriteFile(const std::wstring& path, const std::string& bytes) {
  std::ofstream out(std::filesystem::path(path), std::ios::binary);
  out << bytes;
}

bool MakeShortcut(const std::wstring& link, const std::wstring& target, const wchar_t* args) {
  ComInitialization com;
  ComRef<IShellLinkW> shell;
  ComRef<IPersistFile> file;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              shell.PutVoid()))) {
    return false;
  }
  shell->SetPath(target.c_str());
  shell->SetArguments(args);
  return SUCCEEDED(shell->QueryInterface(IID_IPersistFile, file.PutVoid())) &&
         SUCCEEDED(file->Save(link.c_str(), TRUE));
}

class LauncherMenuTest : public ::testing::Test {
 protected:
  // Kelvo with the menu on Ctrl+Alt+Shift+M and the definition file given (UTF-8).
  [[nodiscard]] bool Start(const std::string& definition, const std::string& general = "",
                           const std::string& more = "") {
    WriteFile(kelvo.Folder() + L"\\menu.txt", CrLf(definition));
    kelvo.WriteIni(CrLf("[General]\nVersion=169\n" + general +
                        "\n[HotKey1]\nKey=Ctrl+Alt+Shift+M\nCommand=POPUPMENU\n" + more +
                        "\n[PopupMenu]\nPopupFile=menu.txt\nPopupDir=links\nPosX=40\nPosY=40\n"));
    return kelvo.Start();
  }
  [[nodiscard]] bool Open() {
    PressHotKey(kHotMods, 'M');
    return WaitFor(MenuOpen);
  }
  void Key(UINT vk) { PressHotKey(0, vk); }
  std::string Recorded(const std::wstring& name) {
    std::string text;
    WaitFor([&] { return !(text = kelvo.ReadFileBytes(name)).empty(); });
    return text;
  }
  [[nodiscard]] bool InFront(const TestWindow& window) {
    SetForegroundWindow(window.hwnd());
    return WaitFor([&] { return GetForegroundWindow() == window.hwnd(); });
  }
  std::string Folder() { return Narrow(kelvo.Folder()); }

  KelvoSession kelvo;
};

std::wstring ThisYear() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return std::to_wstring(now.wYear);
}

}  // namespace

TEST_F(LauncherMenuTest, ArrowKeysOpenTheTreesSubmenuAndEnterStartsItsShortcut) {
  const std::wstring program = kelvo.CopyProgram(L"record_args.exe");
  CreateDirectoryW((kelvo.Folder() + L"\\links").c_str(), nullptr);
  CreateDirectoryW((kelvo.Folder() + L"\\links\\Tools").c_str(), nullptr);
  ASSERT_TRUE(MakeShortcut(kelvo.Folder() + L"\\links\\Tools\\tool.lnk", program, L"--from-link"));
  TestWindow front(L"Front");
  ASSERT_TRUE(InFront(front));
  ASSERT_TRUE(Start("&Other\tnothing.exe\n--\n"));
  ASSERT_TRUE(Open());
  Key(VK_DOWN);
  Key(VK_RIGHT);
  Key(VK_RETURN);
  EXPECT_NE(Recorded(L"record_args.txt").find("--from-link"), std::string::npos);
  EXPECT_TRUE(WaitFor([] { return !MenuOpen(); }));
}

TEST_F(LauncherMenuTest, AcceleratorStartsAQuotedPathWithBlanksAndItsParameters) {
  const std::wstring dir = kelvo.Folder() + L"\\rec dir";
  CreateDirectoryW(dir.c_str(), nullptr);
  ASSERT_TRUE(CopyFileW(kelvo.CopyProgram(L"record_args.exe").c_str(),
                        (dir + L"\\record_args.exe").c_str(), FALSE));
  TestWindow front(L"Front");
  ASSERT_TRUE(InFront(front));
  ASSERT_TRUE(Start("Fir&st\tnothing.exe\n&Run\t\"" + Folder() +
                    "\\rec dir\\record_args.exe\" --one \"two three\"\n--\n"));
  ASSERT_TRUE(Open());
  Key('R');
  const std::string recorded = Recorded(L"rec dir\\record_args.txt");
  EXPECT_NE(recorded.find("rec dir\\record_args.exe\" --one \"two three\""), std::string::npos)
      << recorded;
}

TEST_F(LauncherMenuTest, PasteEntryReachesTheEditByPasteMessageWithItsDateMacro) {
  TestWindow pad(L"Paste Pad");
  ASSERT_TRUE(InFront(pad));
  ASSERT_TRUE(Start("--\n&Year\tY=\\Y & more\n"));
  ASSERT_TRUE(Open());
  Key('Y');
  EXPECT_TRUE(WaitFor([&] { return pad.EditText() == L"Y=" + ThisYear() + L" & more"; }))
      << Narrow(pad.EditText());
  EXPECT_EQ(GetForegroundWindow(), pad.hwnd());
}

// The items are listed beside the load: a menu opened at once after a reload still shows what
// the reload read.
TEST_F(LauncherMenuTest, AMenuOpenedRightAfterAReloadShowsTheNewItems) {
  TestWindow pad(L"Reload Items Pad");
  ASSERT_TRUE(InFront(pad));
  ASSERT_TRUE(Start("--\n&Old\told\n"));
  WriteFile(kelvo.Folder() + L"\\menu.txt", CrLf("--\n&New\tnew\n"));
  ASSERT_EQ(kelvo.StartAgain(L"-R"), 0xFFFFFFFFu);  // returns once the reload has run
  ASSERT_TRUE(InFront(pad));
  ASSERT_TRUE(Open());
  Key('N');
  EXPECT_TRUE(WaitFor([&] { return pad.EditText() == L"new"; })) << Narrow(pad.EditText());
}

// With neither a file nor a folder the menu is made without a thread: a reload to such settings
// must still drop the items of the last load. The typing hotkey waits while a menu is open, so
// its text shows that none opened (the keys are without Alt, which would close a menu).
TEST_F(LauncherMenuTest, AReloadToSettingsWithoutAMenuLeavesNoneOfTheOldItems) {
  constexpr UINT kMods = MOD_CONTROL | MOD_SHIFT;
  TestWindow pad(L"No Menu Pad");
  ASSERT_TRUE(InFront(pad));
  ASSERT_TRUE(Start("--\n&Old\told\n"));
  ASSERT_TRUE(Open());  // the old items are taken into the menu
  Key(VK_ESCAPE);
  ASSERT_TRUE(WaitFor([&] { return !MenuOpen() && GetForegroundWindow() == pad.hwnd(); }));
  kelvo.WriteIni(
      CrLf("[General]\nVersion=169\n[HotKey1]\nKey=Ctrl+Shift+M\nCommand=POPUPMENU\n"
           "[HotKey2]\nKey=Ctrl+Shift+U\nSendKey1=U,/U\n"));
  ASSERT_EQ(kelvo.StartAgain(L"-R"), 0xFFFFFFFFu);  // returns once the reload has run
  ASSERT_TRUE(InFront(pad));
  PressHotKey(kMods, 'M');
  PressHotKey(kMods, 'U');
  EXPECT_TRUE(WaitFor([&] { return pad.EditText() == L"u"; })) << Narrow(pad.EditText());
  EXPECT_FALSE(MenuOpen());
}

TEST_F(LauncherMenuTest, PasteEntryIsTypedAsCtrlVForOtherClasses) {
  TestWindow pad(L"Typed Pad");
  ASSERT_TRUE(InFront(pad));
  ASSERT_TRUE(Start("&Hello\\Y\n", "WmPasteClass=TEDIT\n"));
  ASSERT_TRUE(Open());
  Key('H');
  EXPECT_TRUE(WaitFor([&] { return pad.EditText() == L"&Hello" + ThisYear(); }))
      << Narrow(pad.EditText());
}

TEST_F(LauncherMenuTest, EscapeClosesTheMenuAndGivesTheForegroundBack) {
  TestWindow pad(L"Escape Pad");
  ASSERT_TRUE(InFront(pad));
  ASSERT_TRUE(Start("A\n"));
  ASSERT_TRUE(Open());
  EXPECT_NE(GetForegroundWindow(), pad.hwnd());
  Key(VK_ESCAPE);
  EXPECT_TRUE(WaitFor([&] { return !MenuOpen() && GetForegroundWindow() == pad.hwnd(); }));
  EXPECT_TRUE(pad.EditText().empty());
}

TEST_F(LauncherMenuTest, ProgramThatCannotStartIsReported) {
  TestWindow front(L"Front");
  ASSERT_TRUE(InFront(front));
  ASSERT_TRUE(Start("&Bad\tC:\\nowhere\\missing.exe -x\n--\n"));
  ASSERT_TRUE(Open());
  Key('B');
  std::vector<MessageBoxInfo> boxes;
  ASSERT_TRUE(WaitFor([&] { return !(boxes = MessageBoxesOf(kelvo.ProcessId())).empty(); }));
  EXPECT_EQ(boxes[0].caption, L"エラー");
  EXPECT_EQ(boxes[0].text, L"[C:\\nowhere\\missing.exe] の実行に失敗しました");
  CloseMessageBox(boxes[0].hwnd);
}

TEST_F(LauncherMenuTest, ReloadAndASecondMenuAskedForWhileOpenWaitForTheMenu) {
  // Without Alt: pressing Alt closes an open menu, as it does on Windows.
  constexpr UINT kMods = MOD_CONTROL | MOD_SHIFT;
  TestWindow pad(L"Reload Pad");
  ASSERT_TRUE(InFront(pad));
  ASSERT_TRUE(CanRegister(kHotMods, 'N'));
  const std::string menuKeys =
      "[HotKey2]\nKey=Ctrl+Shift+L\nCommand=RECYCLE\n"
      "[HotKey4]\nKey=Ctrl+Shift+M\nCommand=POPUPMENU\n";
  ASSERT_TRUE(Start("--\n&Paste\tafter\n", "", menuKeys));
  PressHotKey(kMods, 'M');
  ASSERT_TRUE(WaitFor(MenuOpen));
  kelvo.WriteIni(CrLf("[General]\nVersion=169\n" + menuKeys +
                      "[HotKey3]\nKey=Ctrl+Alt+Shift+N\nCommand=VERSION\n"
                      "[PopupMenu]\nPopupFile=menu.txt\n"));
  PressHotKey(kMods, 'L');  // reload
  PressHotKey(kMods, 'M');  // another menu: none inside this one
  EXPECT_TRUE(CanRegister(kHotMods, 'N'));
  Key('P');
  // The chosen item ran from the menu it was chosen in, and the reload came after it.
  EXPECT_TRUE(WaitFor([&] { return pad.EditText() == L"after"; })) << Narrow(pad.EditText());
  // The reload registered the new hotkey: pressing it shows the about box. The key is pressed
  // rather than registered by the test, which could hold it at the moment Kelvo registers it.
  const auto aboutShown = [&] { return IsWindowVisible(kelvo.MainWindow()) != FALSE; };
  EXPECT_TRUE(WaitFor([&] {
    PressHotKey(kHotMods, 'N');
    return WaitFor(aboutShown, std::chrono::milliseconds(500));
  }));
  EXPECT_TRUE(kelvo.Running());
  EXPECT_FALSE(MenuOpen());
}

TEST_F(LauncherMenuTest, EveryKeyOfTheMenu) {
  TestWindow pad(L"Key table pad");
  ASSERT_TRUE(
      Start("--\n&First\tone\n&Second\ttwo\n&Alpha\talpha\nA&nother\tanother\n"
            "&Baker\tbaker\n&Beta\tbeta\n"));
  const struct {
    const char* what;
    std::vector<UINT> keys;
    const wchar_t* pasted;  // nullptr: the menu closes and nothing is pasted
  } rows[] = {
      {"Down selects the first item, Enter chooses it", {VK_DOWN, VK_RETURN}, L"one"},
      {"Down twice", {VK_DOWN, VK_DOWN, VK_RETURN}, L"two"},
      {"Up from the top wraps to the last item", {VK_DOWN, VK_UP, VK_RETURN}, L"beta"},
      {"an accelerator of one item chooses it", {'S'}, L"two"},
      {"accelerators ignore letter case", {'F'}, L"one"},
      // Of two items with the same accelerator neither runs: the key only moves the selection
      // between them (Wine's menus do not move it; the answer is tested as a unit).
      {"an accelerator of two items runs neither", {'B', VK_ESCAPE}, nullptr},
      {"an accelerator is the character after the &", {'N'}, L"another"},
      {"Esc closes the menu", {VK_ESCAPE}, nullptr},
      {"a key no item has leaves the menu open", {'Q', VK_DOWN, VK_RETURN}, L"one"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    SetWindowTextW(FindWindowExW(pad.hwnd(), nullptr, L"EDIT", nullptr), L"");
    ASSERT_TRUE(InFront(pad));
    ASSERT_TRUE(Open());
    for (UINT key : row.keys) Key(key);
    if (row.pasted) {
      EXPECT_TRUE(WaitFor([&] { return pad.EditText() == row.pasted; })) << Narrow(pad.EditText());
    }
    EXPECT_TRUE(WaitFor([] { return !MenuOpen(); }));
    if (!row.pasted) {
      EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == pad.hwnd(); }));
      EXPECT_EQ(pad.EditText(), L"");
    }
  }
}
