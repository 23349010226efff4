// A paste of the launcher menu types keys only into a control that had the focus.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "clip_driver.h"
#include "desktop_driver.h"
#include "kelvo_session.h"

namespace {

constexpr UINT kHotMods = MOD_CONTROL | MOD_ALT | MOD_SHIFT;
constexpr WORD kSentinel = VK_F24;

// A window in front whose thread has no focused control (the test takes the focus away), as a
// program that keeps the keyboard to itself may leave it; it counts the keys that reach it.
class FocuslessWindow {
 public:
  FocuslessWindow() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = &Procedure;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"KelvoFocusless";
    RegisterClassW(&wc);
    hwnd_ = CreateWindowExW(0, wc.lpszClassName, L"No Focus", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 120,
                            120, 300, 200, nullptr, nullptr, wc.hInstance, nullptr);
    PumpMessages();
  }
  ~FocuslessWindow() { DestroyWindow(hwnd_); }
  HWND hwnd() const { return hwnd_; }
  static int keys;       // key-down messages other than the sentinel
  static bool sentinel;  // the sentinel key arrived

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
      case WM_KEYDOWN:
      case WM_SYSKEYDOWN:
        if (wp == kSentinel) {
          sentinel = true;
        } else {
          ++keys;
        }
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
  }
  HWND hwnd_ = nullptr;
};
int FocuslessWindow::keys = 0;
bool FocuslessWindow::sentinel = false;

bool MenuOpen() {
  HWND menu = FindWindowW(L"#32768", nullptr);
  return menu && IsWindowVisible(menu);
}

}  // namespace

// Ctrl+V typed with no focused control would go to whatever has the keyboard then: the text is
// placed on the clipboard for the user to paste, and no key is typed.
TEST(PasteSafety, ALauncherPasteIntoAWindowWithoutAFocusedControlTypesNoKey) {
  KelvoSession kelvo;
  std::ofstream(std::filesystem::path(kelvo.Folder() + L"\\menu.txt"), std::ios::binary)
      << CrLf("&Paste\tpasted text\n");
  kelvo.WriteIni(
      CrLf("[General]\nVersion=169\n[HotKey1]\nKey=Ctrl+Alt+Shift+M\n"
           "Command=POPUPMENU\n[PopupMenu]\nPopupFile=menu.txt\nPosX=40\nPosY=40\n"));
  ASSERT_TRUE(kelvo.Start());
  ASSERT_TRUE(SetClipboard(L"copied before"));
  FocuslessWindow window;
  SetForegroundWindow(window.hwnd());
  ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == window.hwnd(); }));
  SetFocus(nullptr);
  ASSERT_EQ(GetFocus(), nullptr);
  PressHotKey(kHotMods, 'M');
  ASSERT_TRUE(WaitFor(MenuOpen));
  PumpMessages();
  FocuslessWindow::keys = 0;  // the hotkey's own modifiers
  PressHotKey(0, 'P');
  ASSERT_TRUE(WaitFor([] { return ClipboardText() == L"pasted text"; })) << Narrow(ClipboardText());
  ASSERT_TRUE(WaitFor([&] { return !MenuOpen() && GetForegroundWindow() == window.hwnd(); }));
  // Kelvo has finished the paste once it answers; a key sent after it arrives after its keys.
  ASSERT_TRUE(kelvo.Answers());
  PressHotKey(0, kSentinel);
  ASSERT_TRUE(WaitFor([] { return FocuslessWindow::sentinel; }));
  EXPECT_EQ(FocuslessWindow::keys, 0) << "Ctrl+V reached the window";
  EXPECT_EQ(kelvo.Stop(), 0);
}
