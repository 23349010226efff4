// The hotkey list as a user meets it: opened by its hotkey, rows sorted with their summaries,
// closed with Esc (which stores its place) and hidden by any other hotkey (which stores nothing).
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "desktop_driver.h"
#include "kelvo_session.h"

namespace {

constexpr UINT kHotMods = MOD_CONTROL | MOD_ALT | MOD_SHIFT;
constexpr wchar_t kListCaption[] = L"ホットキー一覧";

std::vector<std::wstring> ListRows(HWND list) {
  std::vector<std::wstring> rows;
  const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, i, 0);
    std::wstring text(length > 0 ? static_cast<std::size_t>(length) + 1 : 1, L'\0');
    const LRESULT copied = SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    rows.push_back(text);
  }
  return rows;
}

std::string Joined(const std::vector<std::wstring>& rows) {
  std::string out;
  for (const std::wstring& row : rows) out += Narrow(row) + "\n";
  return out;
}

class HotKeyListTest : public ::testing::Test {
 protected:
  [[nodiscard]] bool Start() {
    kelvo.WriteIni(
        CrLf("[General]\nVersion=169\nKeyWait=10\n\n"
             "[HotKey1]\nKey=Ctrl+Alt+Shift+L\nCommand=hotkey_list\n"
             "[HotKey2]\nKey=Ctrl+Alt+Shift+M\nDescription=メモ帳を開く\n"
             "Execute1=C:\\Windows\\notepad.exe\n"
             "[HotKey3]\nKey=Ctrl+Alt+Shift+E\nExecute1=C:\\Tools\\App.EXE\nExeParam1=-x\n"
             "[HotKey4]\nKey=Ctrl+Alt+Shift+W\nActivateWndClass1=Notepad\n"
             "ActivateWndTitleM1=/memo/\n"
             "[HotKey5]\nKey=Ctrl+Alt+Shift+Z\nZrMacro=test.mac\n"
             "[HotKey6]\nKey=Ctrl+Alt+Shift+K\nSendKey1=abc\n"
             "[HotKey7]\nKey=Ctrl+Alt+Shift+N\nSound=missing.wav\n"
             "[HotKey8]\nKey=Ctrl+Alt+Shift+D\nExecute2=C:\\Tools\\later.exe\n"
             "[CmdKwd1]\nKey=memo\nDescription=a keyword\n"));
    return kelvo.Start();
  }
  // Opens the list with its hotkey and waits until it is in front.
  HWND OpenList() {
    PressHotKey(kHotMods, 'L');
    HWND window = nullptr;
    if (!WaitFor([&] {
          window = FindCaptionedWindow(kelvo.ProcessId(), kListCaption);
          return window != nullptr && GetForegroundWindow() == window;
        })) {
      ADD_FAILURE() << "the list did not come to the front: it is "
                    << (window ? "shown behind" : "not shown") << "; "
                    << TypingContext(kelvo.MainWindow());
      return nullptr;
    }
    return window;
  }

  KelvoSession kelvo;
};

}  // namespace

TEST_F(HotKeyListTest, ListsEveryHotKeySortedAndStoresItsPlaceOnlyWhenClosed) {
  ASSERT_TRUE(Start());
  HWND window = OpenList();
  ASSERT_NE(window, nullptr) << "the hotkey list did not open";
  HWND list = FindWindowExW(window, nullptr, L"ListBox", nullptr);
  ASSERT_NE(list, nullptr);
  const std::vector<std::wstring> expected = {
      L"Shift+Ctrl+Alt+D\t",
      L"Shift+Ctrl+Alt+E\tApp.EXE -x",
      L"Shift+Ctrl+Alt+K\t",
      L"Shift+Ctrl+Alt+L\tコマンド: HOTKEY_LIST",
      L"Shift+Ctrl+Alt+M\tメモ帳を開く",
      L"Shift+Ctrl+Alt+N\tサウンド: missing.wav",
      L"Shift+Ctrl+Alt+W\tアクティブ: Notepad,/memo/",
      L"Shift+Ctrl+Alt+Z\tZRマクロ: test.mac",
  };
  EXPECT_EQ(Joined(ListRows(list)), Joined(expected));

  // Esc closes it and stores where it was.
  RECT bounds{};
  GetWindowRect(window, &bounds);
  EXPECT_EQ(kelvo.ReadIni().find("[HotKeyList]"), std::string::npos);
  PressHotKey(0, VK_ESCAPE);
  ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(window); }));
  std::string ini;
  ASSERT_TRUE(
      WaitFor([&] { return (ini = kelvo.ReadIni()).find("WinHeight=") != std::string::npos; }));
  const auto has = [&](const std::string& line) {
    return ini.find(line + "\r\n") != std::string::npos;
  };
  EXPECT_TRUE(has("[HotKeyList]")) << ini;
  EXPECT_TRUE(has("WinLeft=" + std::to_string(bounds.left))) << ini;
  EXPECT_TRUE(has("WinTop=" + std::to_string(bounds.top))) << ini;
  EXPECT_TRUE(has("WinWidth=" + std::to_string(bounds.right - bounds.left))) << ini;
  EXPECT_TRUE(has("WinHeight=" + std::to_string(bounds.bottom - bounds.top))) << ini;

  // Opened again it comes back where it was; another hotkey hides it and stores nothing.
  window = OpenList();
  ASSERT_NE(window, nullptr);
  RECT again{};
  GetWindowRect(window, &again);
  EXPECT_TRUE(EqualRect(&bounds, &again));
  SetWindowPos(window, nullptr, again.left + 40, again.top + 30, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  const std::string before = kelvo.ReadIni();
  PressHotKey(kHotMods, 'N');
  EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(window); }));
  EXPECT_EQ(kelvo.ReadIni(), before);
  EXPECT_EQ(kelvo.Stop(), 0);
  // Ending the program writes nothing of the moved window either.
  EXPECT_EQ(kelvo.ReadIni(), before);
}

// Shown again with the same rows, the list is not filled again, yet it opens as a filled list
// does: at the top, nothing selected, the caret on the first row.
TEST_F(HotKeyListTest, OpenedAgainItStartsAtTheTopWithNothingSelected) {
  ASSERT_TRUE(Start());
  HWND window = OpenList();
  ASSERT_NE(window, nullptr);
  HWND list = FindWindowExW(window, nullptr, L"ListBox", nullptr);
  ASSERT_NE(list, nullptr);
  const auto state = [&] {
    return std::to_string(SendMessageW(list, LB_GETCURSEL, 0, 0)) + " caret " +
           std::to_string(SendMessageW(list, LB_GETCARETINDEX, 0, 0)) + " top " +
           std::to_string(SendMessageW(list, LB_GETTOPINDEX, 0, 0));
  };
  EXPECT_EQ(state(), "-1 caret 0 top 0");
  // A short window, so that the last row scrolls the list.
  SetWindowPos(window, nullptr, 0, 0, 300, 160, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  for (int press = 0; press < 20 && SendMessageW(list, LB_GETCURSEL, 0, 0) != 7; ++press) {
    PressHotKey(0, VK_DOWN);
    Sleep(100);
  }
  ASSERT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 7) << state();
  EXPECT_GT(SendMessageW(list, LB_GETTOPINDEX, 0, 0), 0);
  PressHotKey(0, VK_ESCAPE);
  ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(window); }));
  ASSERT_EQ(OpenList(), window);
  EXPECT_EQ(state(), "-1 caret 0 top 0");
  EXPECT_EQ(ListRows(list).size(), 8u);
}

TEST(HotKeyListReload, AReloadHotKeyHidesTheListEveryTime) {
  KelvoSession kelvo;
  kelvo.WriteIni(
      CrLf("[General]\nVersion=169\n[HotKey1]\nKey=Ctrl+Alt+Shift+L\n"
           "Command=HOTKEY_LIST\n[HotKey2]\nKey=Ctrl+Alt+Shift+R\nCommand=RECYCLE\n"));
  ASSERT_TRUE(kelvo.Start());
  for (int round = 0; round < 3; ++round) {
    PressHotKey(MOD_CONTROL | MOD_ALT | MOD_SHIFT, 'L');
    HWND list = nullptr;
    const auto shown = [&] {
      list = FindCaptionedWindow(kelvo.ProcessId(), L"ホットキー一覧");
      return list && IsWindowVisible(list);
    };
    if (!WaitFor(shown)) {
      // Tells a lost key press from a list that does not open.
      const std::string context = TypingContext(kelvo.MainWindow());
      PressHotKey(MOD_CONTROL | MOD_ALT | MOD_SHIFT, 'L');
      const bool second = WaitFor(shown, std::chrono::seconds(10));
      FAIL() << "round " << round << ": the list did not open; " << context << "; a second press "
             << (second ? "opened it" : "did not open it either");
    }
    const long long loads = kelvo.LoadsDone();
    ASSERT_GE(loads, 1);
    PressHotKey(MOD_CONTROL | MOD_ALT | MOD_SHIFT, 'R');
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(list); })) << round;
    // The list hides before the reload has registered the hotkeys again; a press in between is
    // lost, so the next round waits for the reload to finish.
    ASSERT_TRUE(WaitFor([&] { return kelvo.LoadsDone() > loads; })) << round;
  }
  EXPECT_EQ(kelvo.Stop(), 0);
}
