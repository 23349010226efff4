// The about box, the settings editor and the main menu of the tray icon, as a user meets them.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "desktop_driver.h"
#include "kelvo_session.h"

namespace {

constexpr UINT kHotMods = MOD_CONTROL | MOD_ALT | MOD_SHIFT;
constexpr UINT kTrayMessage = WM_APP + 1;

std::wstring ChildText(HWND parent, const std::wstring& prefix) {
  struct Search {
    std::wstring prefix, found;
  } search{prefix, {}};
  EnumChildWindows(
      parent,
      [](HWND child, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        wchar_t text[256] = {};
        GetWindowTextW(child, text, 256);
        if (std::wstring(text).rfind(s->prefix, 0) == 0) {
          s->found = text;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// The popup menu Kelvo shows (class "#32768").
bool MenuOpen() {
  HWND menu = FindWindowW(L"#32768", nullptr);
  return menu && IsWindowVisible(menu);
}

class MainMenuTest : public ::testing::Test {
 protected:
  [[nodiscard]] bool Start(const std::string& text) {
    kelvo.WriteIni(CrLf("[General]\nVersion=169\n" + text));
    return kelvo.Start();
  }
  // A right click on the tray icon; false when no menu opens.
  [[nodiscard]] bool OpenTrayMenu() {
    PostMessageW(kelvo.MainWindow(), kTrayMessage, 0, WM_RBUTTONUP);
    return WaitFor(MenuOpen);
  }
  bool AboutShown() { return IsWindowVisible(kelvo.MainWindow()) != FALSE; }

  KelvoSession kelvo;
};

}  // namespace

TEST_F(MainMenuTest, VersionShowsTheAboutBoxAndAnotherHotKeyHidesIt) {
  ASSERT_TRUE(
      Start("[HotKey1]\nKey=Ctrl+Alt+Shift+V\nCommand=VERSION\n"
            "[HotKey2]\nKey=Ctrl+Alt+Shift+W\nCommand=SETPOS_FGWND *\n"));
  PressHotKey(kHotMods, 'V');
  ASSERT_TRUE(WaitFor([&] { return AboutShown(); }));
  EXPECT_EQ(ChildText(kelvo.MainWindow(), L"Version"), L"Version 1.6.9.0");
  EXPECT_EQ(ChildText(kelvo.MainWindow(), L"フリー"), L"フリーソフトウェア");
  PressHotKey(kHotMods, 'W');
  EXPECT_TRUE(WaitFor([&] { return !AboutShown(); }));
}

TEST_F(MainMenuTest, TheAboutBoxLinkNamesTheGuidePage) {
  ASSERT_TRUE(Start("[HotKey1]\nKey=Ctrl+Alt+Shift+V\nCommand=VERSION\n"));
  PressHotKey(kHotMods, 'V');
  ASSERT_TRUE(WaitFor([&] { return AboutShown(); }));
  EXPECT_NE(FindWindowExW(kelvo.MainWindow(), nullptr, L"Static", L"Kelvo-README.html"), nullptr)
      << "the link opens the guide page for the browser";
}

TEST_F(MainMenuTest, AboutItemShowsTheBoxAndEnterClosesIt) {
  ASSERT_TRUE(Start(""));
  ASSERT_TRUE(OpenTrayMenu());
  PressHotKey(0, 'A');
  ASSERT_TRUE(WaitFor([&] { return AboutShown(); }));
  ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == kelvo.MainWindow(); }));
  PressHotKey(0, VK_RETURN);
  EXPECT_TRUE(WaitFor([&] { return !AboutShown(); }));
}

TEST_F(MainMenuTest, EditIniStartsTheEditorWithTheSettingsFile) {
  const std::wstring editor = kelvo.CopyProgram(L"record_args.exe");
  ASSERT_TRUE(
      Start("Editor=" + Narrow(editor) + "\n[HotKey1]\nKey=Ctrl+Alt+Shift+E\nCommand=EDIT_INI\n"));
  PressHotKey(kHotMods, 'E');
  std::string recorded;
  ASSERT_TRUE(
      WaitFor([&] { return !(recorded = kelvo.ReadFileBytes(L"record_args.txt")).empty(); }));
  EXPECT_NE(recorded.find(" " + Narrow(kelvo.IniPath()) + "\n"), std::string::npos) << recorded;
}

TEST_F(MainMenuTest, EditItemOfTheTrayMenuUsesTheEditParameters) {
  const std::wstring editor = kelvo.CopyProgram(L"record_args.exe");
  ASSERT_TRUE(Start("Editor=" + Narrow(editor) + "\nEditParam=-n $FILE$ -e\n"));
  ASSERT_TRUE(OpenTrayMenu());
  PressHotKey(0, 'E');
  std::string recorded;
  ASSERT_TRUE(
      WaitFor([&] { return !(recorded = kelvo.ReadFileBytes(L"record_args.txt")).empty(); }));
  EXPECT_NE(recorded.find(" -n " + Narrow(kelvo.IniPath()) + " -e\n"), std::string::npos)
      << recorded;
}

TEST_F(MainMenuTest, ExitItemEndsTheProgramAndReleasesItsHotKeys) {
  ASSERT_TRUE(Start("[HotKey1]\nKey=Ctrl+Alt+Shift+X\nDescription=x\n[HotKey2]\nKey=Win+Alt+F8\n"));
  ASSERT_FALSE(CanRegister(kHotMods, 'X'));
  ASSERT_TRUE(OpenTrayMenu());
  PressHotKey(0, 'X');
  EXPECT_EQ(kelvo.WaitForExit(), 0);
  EXPECT_TRUE(CanRegister(kHotMods, 'X'));
  EXPECT_TRUE(CanRegister(MOD_WIN | MOD_ALT, VK_F8));
}
