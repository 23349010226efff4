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

// While it lives, the shell opens .html files with the given program (the user's browser for
// the test); the association the test prefix had comes back afterwards. Wine's shell reads the
// classes of the machine, not a user's own.
class HtmlOpener {
 public:
  explicit HtmlOpener(const std::wstring& program) {
    HKEY key = nullptr;
    DWORD made = 0;
    RegCreateKeyExW(HKEY_CLASSES_ROOT, kExtensionKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                    &made);
    createdExtension_ = made == REG_CREATED_NEW_KEY;
    wchar_t old[256] = {};
    DWORD size = sizeof(old);
    if (RegQueryValueExW(key, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(old), &size) ==
        ERROR_SUCCESS) {
      oldProgId_ = old;
    }
    SetDefault(key, kProgId);
    RegCloseKey(key);
    RegCreateKeyExW(HKEY_CLASSES_ROOT, kCommandKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                    nullptr);
    SetDefault(key, L"\"" + program + L"\" \"%1\"");
    RegCloseKey(key);
  }
  ~HtmlOpener() {
    RegDeleteTreeW(HKEY_CLASSES_ROOT, kProgIdKey);
    if (createdExtension_) {
      RegDeleteTreeW(HKEY_CLASSES_ROOT, kExtensionKey);
    } else if (HKEY key; RegOpenKeyExW(HKEY_CLASSES_ROOT, kExtensionKey, 0, KEY_ALL_ACCESS,
                                       &key) == ERROR_SUCCESS) {
      SetDefault(key, oldProgId_);
      RegCloseKey(key);
    }
  }
  HtmlOpener(const HtmlOpener&) = delete;
  HtmlOpener& operator=(const HtmlOpener&) = delete;

 private:
  static constexpr wchar_t kExtensionKey[] = L".html";
  static constexpr wchar_t kProgId[] = L"KelvoTest.Html";
  static constexpr wchar_t kProgIdKey[] = L"KelvoTest.Html";
  static constexpr wchar_t kCommandKey[] = L"KelvoTest.Html\\shell\\open\\command";

  static void SetDefault(HKEY key, const std::wstring& value) {
    RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  }

  bool createdExtension_ = false;
  std::wstring oldProgId_;
};

// A click of the left mouse button on the middle of a control.
void ClickOn(HWND control) {
  RECT r{};
  GetWindowRect(control, &r);
  SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  INPUT clicks[2] = {};
  clicks[0].type = clicks[1].type = INPUT_MOUSE;
  clicks[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  clicks[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, clicks, sizeof(INPUT));
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

TEST_F(MainMenuTest, TheAboutBoxLinkOpensTheGuidePageBesideKelvo) {
  const HtmlOpener browser(kelvo.CopyProgram(L"record_args.exe"));
  ASSERT_TRUE(kelvo.CopyProgram(L"Kelvo-README.html").size() > 0);
  ASSERT_TRUE(Start("[HotKey1]\nKey=Ctrl+Alt+Shift+V\nCommand=VERSION\n"));
  PressHotKey(kHotMods, 'V');
  ASSERT_TRUE(WaitFor([&] { return AboutShown(); }));
  HWND link = FindWindowExW(kelvo.MainWindow(), nullptr, L"Static", L"Kelvo-README.html");
  ASSERT_NE(link, nullptr) << "the link names the guide page";
  ClickOn(link);
  std::string recorded;
  ASSERT_TRUE(
      WaitFor([&] { return !(recorded = kelvo.ReadFileBytes(L"record_args.txt")).empty(); }));
  EXPECT_NE(recorded.find(Narrow(kelvo.Folder() + L"\\Kelvo-README.html")), std::string::npos)
      << recorded;
  EXPECT_TRUE(WaitFor([&] { return !AboutShown(); })) << "the box hides when the link opens";
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
