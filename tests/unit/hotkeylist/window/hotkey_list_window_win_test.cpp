#include "hotkeylist/window/hotkey_list_window_win.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "support/fake_model.h"

namespace {

class HotKeyListWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Load(
        "[General]\nVersion=169\n"
        "[HotKey1]\nKey=Ctrl+B\nDescription=second\n"
        "[HotKey2]\nKey=Ctrl+A\nCommand=hotkey_list\n"
        "[HotKey3]\nKey=Win+Shift+F12\nExecute1=C:\\x\\run.bat\n"
        "[CmdKwd1]\nKey=mail\nDescription=keyword\n");
    ASSERT_TRUE(window.Create());
    list = FindWindowExW(window.Handle(), nullptr, L"ListBox", nullptr);
    button = FindWindowExW(window.Handle(), nullptr, L"Button", nullptr);
    ASSERT_NE(list, nullptr);
    ASSERT_NE(button, nullptr);
  }

  void Load(const std::string& settings) { fake.Load(settings); }

  std::vector<std::wstring> Rows() const {
    std::vector<std::wstring> rows;
    const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
      wchar_t text[256] = {};
      SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
      rows.push_back(text);
    }
    return rows;
  }

  RECT Bounds() const {
    RECT r{};
    GetWindowRect(window.Handle(), &r);
    return r;
  }

  std::string Settings() { return fake.Settings(); }

  FakeModel fake;
  MemoryFileSystem& files = fake.files;
  FakeLocale& locale = fake.locale;
  MainModel& model = fake.model;
  THotKeyHelp window{model, locale};
  HWND list = nullptr;
  HWND button = nullptr;
};

}  // namespace

TEST_F(HotKeyListWindowTest, IsASizableWindowWithOnlyTheCloseBoxAndTheDesignedLayout) {
  wchar_t caption[64] = {};
  GetWindowTextW(window.Handle(), caption, 64);
  EXPECT_STREQ(caption, L"ホットキー一覧");
  const LONG style = GetWindowLongW(window.Handle(), GWL_STYLE);
  EXPECT_TRUE(style & WS_THICKFRAME);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
  EXPECT_FALSE(window.Visible());
  const UINT dpi = GetDpiForWindow(window.Handle());
  const auto scale = [dpi](int x) { return MulDiv(x, static_cast<int>(dpi), 96); };

  RECT client{};
  GetClientRect(window.Handle(), &client);
  EXPECT_EQ(client.right, scale(484));
  EXPECT_EQ(client.bottom, scale(361));
  RECT listRect{};
  GetWindowRect(list, &listRect);
  MapWindowPoints(nullptr, window.Handle(), reinterpret_cast<POINT*>(&listRect), 2);
  EXPECT_EQ(listRect.left, 0);
  EXPECT_EQ(listRect.top, 0);
  EXPECT_EQ(listRect.right, client.right + scale(8));
  EXPECT_EQ(listRect.bottom, client.bottom - scale(38));
  RECT buttonRect{};
  GetWindowRect(button, &buttonRect);
  MapWindowPoints(nullptr, window.Handle(), reinterpret_cast<POINT*>(&buttonRect), 2);
  EXPECT_EQ(buttonRect.right, client.right - scale(25));
  EXPECT_EQ(buttonRect.bottom, client.bottom - scale(7));
  EXPECT_EQ(buttonRect.right - buttonRect.left, scale(75));
  EXPECT_EQ(buttonRect.bottom - buttonRect.top, scale(25));
  wchar_t buttonText[16] = {};
  GetWindowTextW(button, buttonText, 16);
  EXPECT_STREQ(buttonText, L"閉じる");
  EXPECT_TRUE(GetWindowLongW(button, GWL_STYLE) & BS_DEFPUSHBUTTON);

  // The controls stay anchored when the window grows.
  const RECT before = Bounds();
  SetWindowPos(window.Handle(), nullptr, 0, 0, before.right - before.left + 100,
               before.bottom - before.top + 50, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  GetClientRect(window.Handle(), &client);
  GetWindowRect(list, &listRect);
  MapWindowPoints(nullptr, window.Handle(), reinterpret_cast<POINT*>(&listRect), 2);
  EXPECT_EQ(listRect.right, client.right + scale(8));
  EXPECT_EQ(listRect.bottom, client.bottom - scale(38));
  GetWindowRect(button, &buttonRect);
  MapWindowPoints(nullptr, window.Handle(), reinterpret_cast<POINT*>(&buttonRect), 2);
  EXPECT_EQ(buttonRect.right, client.right - scale(25));
  EXPECT_EQ(buttonRect.bottom, client.bottom - scale(7));
}

TEST_F(HotKeyListWindowTest, ShowListsTheHotKeysSortedWithRowsOneAndAHalfFontsHigh) {
  window.ShowList();
  EXPECT_TRUE(window.Visible());
  EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"Ctrl+A\tコマンド: HOTKEY_LIST", L"Ctrl+B\tsecond",
                                               L"Win+Shift+F12\trun.bat"}));
  const auto font = reinterpret_cast<HFONT>(SendMessageW(list, WM_GETFONT, 0, 0));
  ASSERT_NE(font, nullptr);
  LOGFONTW logFont{};
  GetObjectW(font, sizeof(logFont), &logFont);
  EXPECT_EQ(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0), std::abs(logFont.lfHeight) * 3 / 2);
  UpdateWindow(window.Handle());  // draws every row once

  // A reload shows at the next show.
  Load("[General]\nVersion=169\n[HotKey1]\nKey=Ctrl+Z\nSound=a.wav\n");
  window.ShowList();
  EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"Ctrl+Z\tサウンド: a.wav"}));
}

TEST_F(HotKeyListWindowTest, FirstShowIsCentredAtTheDefaultSizeLaterShowsUseTheStoredBounds) {
  const RECT before = Bounds();
  window.ShowList();
  const RECT first = Bounds();
  const UINT dpi = GetDpiForWindow(window.Handle());
  EXPECT_EQ(first.right - first.left, MulDiv(500, static_cast<int>(dpi), 96));
  EXPECT_EQ(first.bottom - first.top, MulDiv(400, static_cast<int>(dpi), 96));
  // Centred for the size the window had before the show.
  EXPECT_EQ(first.left, (GetSystemMetrics(SM_CXSCREEN) - (before.right - before.left)) / 2);
  EXPECT_EQ(first.top, (GetSystemMetrics(SM_CYSCREEN) - (before.bottom - before.top)) / 2);
  window.HideWithoutSaving();

  Load(
      "[General]\nVersion=169\n[HotKeyList]\nWinLeft=30\nWinTop=40\nWinWidth=600\n"
      "WinHeight=450\n");
  window.ShowList();
  const RECT stored = Bounds();
  EXPECT_EQ(stored.left, 30);
  EXPECT_EQ(stored.top, 40);
  EXPECT_EQ(stored.right - stored.left, 600);
  EXPECT_EQ(stored.bottom - stored.top, 450);
}

TEST_F(HotKeyListWindowTest, EveryWayOfClosingStoresTheBoundsAndWritesTheFile) {
  struct Way {
    const char* name;
    void (*close)(HWND window, HWND list, HWND button);
  };
  const Way ways[] = {
      {"Esc in the list",
       [](HWND, HWND list, HWND) { SendMessageW(list, WM_KEYDOWN, VK_ESCAPE, 0); }},
      {"Enter in the list",
       [](HWND, HWND list, HWND) { SendMessageW(list, WM_KEYDOWN, VK_RETURN, 0); }},
      {"Esc on the button",
       [](HWND, HWND, HWND button) { SendMessageW(button, WM_KEYDOWN, VK_ESCAPE, 0); }},
      {"Enter on the button",
       [](HWND, HWND, HWND button) { SendMessageW(button, WM_KEYDOWN, VK_RETURN, 0); }},
      {"the button", [](HWND, HWND, HWND button) { SendMessageW(button, BM_CLICK, 0, 0); }},
      {"the close box", [](HWND window, HWND, HWND) { SendMessageW(window, WM_CLOSE, 0, 0); }},
  };
  int left = 10;
  for (const Way& way : ways) {
    window.ShowList();
    ASSERT_TRUE(window.Visible()) << way.name;
    SetWindowPos(window.Handle(), nullptr, ++left, 20, 520, 410, SWP_NOZORDER | SWP_NOACTIVATE);
    const int writes = files.writeCount;
    way.close(window.Handle(), list, button);
    EXPECT_FALSE(window.Visible()) << way.name;
    EXPECT_TRUE(IsWindow(window.Handle())) << way.name;
    EXPECT_EQ(files.writeCount, writes + 1) << way.name;
    const std::string text = Settings();
    EXPECT_NE(text.find("[HotKeyList]\r\nWinLeft=" + std::to_string(left) +
                        "\r\nWinTop=20\r\nWinWidth=520\r\nWinHeight=410\r\n"),
              std::string::npos)
        << way.name << "\n"
        << text;
  }
}

TEST_F(HotKeyListWindowTest, AHideWithoutSavingWritesNothing) {
  window.ShowList();
  SetWindowPos(window.Handle(), nullptr, 5, 6, 300, 200, SWP_NOZORDER | SWP_NOACTIVATE);
  const std::string before = Settings();
  const int writes = files.writeCount;
  window.HideWithoutSaving();
  EXPECT_FALSE(window.Visible());
  EXPECT_EQ(files.writeCount, writes);
  EXPECT_EQ(Settings(), before);
  EXPECT_FALSE(model.IniFile->Modified);
}
