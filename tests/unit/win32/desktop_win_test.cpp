#include "win32/desktop_win.h"
#include "win32/system_control_win.h"

#include <gtest/gtest.h>

#include <chrono>

#include "platform/clock.h"
#include "support/hung_window_win.h"

namespace {

constexpr wchar_t kClass[] = L"KelvoDesktopTest";
constexpr wchar_t kHungClass[] = L"KelvoDesktopHungTest";

// A window of the test's own thread, standing in for Kelvo's main window.
class OwnWindow {
 public:
  OwnWindow() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kClass;
    RegisterClassW(&wc);
    hwnd_ = CreateWindowExW(0, kClass, L"Kelvo desktop test", WS_OVERLAPPEDWINDOW, 10, 10, 200, 100,
                            nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  }
  ~OwnWindow() {
    if (hwnd_) DestroyWindow(hwnd_);
  }
  OwnWindow(const OwnWindow&) = delete;
  OwnWindow& operator=(const OwnWindow&) = delete;
  HWND hwnd() const { return hwnd_; }

 private:
  HWND hwnd_ = nullptr;
};

using Clock = std::chrono::steady_clock;

TEST(WinDesktopTest, BringingKelvoToTheFrontLeavesWaitingMessagesAlone) {
  OwnWindow kelvo;
  ASSERT_NE(kelvo.hwnd(), nullptr);
  WinDesktop desktop(kelvo.hwnd());
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  ASSERT_TRUE(PostMessageW(kelvo.hwnd(), WM_HOTKEY, 7, 0));
  PostQuitMessage(3);

  desktop.BringKelvoToFront();

  // Neither the hotkey nor the request to end was taken from the queue.
  ASSERT_TRUE(PeekMessageW(&msg, kelvo.hwnd(), WM_HOTKEY, WM_HOTKEY, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 7u);
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 3u);
}

TEST(WinDesktopTest, AWindowThatDoesNotAnswerHoldsUpNeitherPlacementNorBroadcast) {
  OwnWindow kelvo;
  WinDesktop desktop(kelvo.hwnd());
  WinSystemControl system(kelvo.hwnd());
  HungWindow hung(kHungClass, L"Kelvo hung desktop", /*minimised=*/false);
  ASSERT_NE(hung.hwnd(), nullptr);
  const auto start = Clock::now();
  desktop.SetPosition(reinterpret_cast<WindowHandle>(hung.hwnd()), 20, 30, 250, 150);
  system.MonitorPower(1);
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(3));
  hung.Release();
  // Placed once it answers again.
  RECT r{};
  for (int i = 0; i < 500 && !(GetWindowRect(hung.hwnd(), &r) && r.left == 20); ++i) Sleep(10);
  EXPECT_EQ(r.left, 20);
  EXPECT_EQ(r.right - r.left, 250);
}

TEST(WinDesktopTest, TheFocusIsNotGivenToAWindowThatHasStoppedAnswering) {
  OwnWindow kelvo;
  WinDesktop desktop(kelvo.hwnd());
  HungWindow hung(kHungClass, L"Kelvo hung focus", /*minimised=*/false, 20000);
  ASSERT_NE(hung.hwnd(), nullptr);
  // The system calls a window hung after some seconds without an answer.
  const auto deadline = Clock::now() + std::chrono::seconds(12);
  while (!IsHungAppWindow(hung.hwnd()) && Clock::now() < deadline) Sleep(50);
  ASSERT_TRUE(IsHungAppWindow(hung.hwnd()));
  ASSERT_TRUE(desktop.AttachInput(hung.ThreadId(), true));
  const auto start = Clock::now();
  desktop.SetFocus(reinterpret_cast<WindowHandle>(hung.hwnd()));
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(3));
  desktop.AttachInput(hung.ThreadId(), false);
}

}  // namespace
