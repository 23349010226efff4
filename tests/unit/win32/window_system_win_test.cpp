#include "win32/window_system_win.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "hotkeys/window_matching.h"
#include "support/fake_dialogs.h"
#include "support/hung_window_win.h"
#include "win32/key_input_win.h"
#include "win32/locale_win.h"

namespace {

constexpr wchar_t kTestClass[] = L"KelvoWindowSystemTest";

void PumpMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// Waits for a condition that the window manager brings about asynchronously.
template <typename Condition>
bool WaitFor(Condition condition) {
  for (int i = 0; i < 500; ++i) {
    PumpMessages();
    if (condition()) return true;
    Sleep(10);
  }
  return false;
}

class WinWindowSystemTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kTestClass;
    RegisterClassExW(&wc);
  }

  void TearDown() override {
    for (HWND wnd : created_) {
      if (IsWindow(wnd)) DestroyWindow(wnd);
    }
    PumpMessages();
  }

  HWND Create(const std::wstring& title, bool visible = true) {
    HWND wnd = CreateWindowExW(0, kTestClass, title.c_str(),
                               WS_OVERLAPPEDWINDOW | (visible ? WS_VISIBLE : 0), 10, 10, 200, 100,
                               nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    created_.push_back(wnd);
    PumpMessages();
    return wnd;
  }

  static WindowHandle H(HWND wnd) { return reinterpret_cast<WindowHandle>(wnd); }

  static std::ptrdiff_t IndexOf(const std::vector<WindowHandle>& list, HWND wnd) {
    const auto it = std::find(list.begin(), list.end(), H(wnd));
    return it == list.end() ? -1 : it - list.begin();
  }

  WinWindowSystem windows_;
  std::vector<HWND> created_;
};

TEST_F(WinWindowSystemTest, ListsTopLevelWindowsTopmostFirst) {
  HWND lower = Create(L"Kelvo test lower");
  HWND upper = Create(L"Kelvo test upper");
  SetWindowPos(upper, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  auto list = windows_.TopLevelWindows();
  ASSERT_GE(IndexOf(list, lower), 0);
  ASSERT_GE(IndexOf(list, upper), 0);
  EXPECT_LT(IndexOf(list, upper), IndexOf(list, lower));

  SetWindowPos(lower, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  list = windows_.TopLevelWindows();
  EXPECT_LT(IndexOf(list, lower), IndexOf(list, upper));
}

TEST_F(WinWindowSystemTest, ReadsTitleClassAndVisibility) {
  HWND shown = Create(L"Kelvo テスト window");
  HWND hidden = Create(L"Kelvo hidden", /*visible=*/false);
  EXPECT_EQ(windows_.Title(H(shown)), u"Kelvo テスト window");
  EXPECT_EQ(windows_.ClassName(H(shown)), u"KelvoWindowSystemTest");
  EXPECT_TRUE(windows_.IsVisible(H(shown)));
  EXPECT_FALSE(windows_.IsVisible(H(hidden)));
}

TEST_F(WinWindowSystemTest, LongTitleIsCut) {
  HWND wnd = Create(std::wstring(3000, L'x'));
  EXPECT_EQ(windows_.Title(H(wnd)), std::u16string(2046, u'x'));
}

TEST_F(WinWindowSystemTest, GoneWindowReadsAsNothing) {
  HWND wnd = Create(L"Kelvo gone");
  DestroyWindow(wnd);
  EXPECT_FALSE(windows_.IsVisible(H(wnd)));
  EXPECT_EQ(windows_.Title(H(wnd)), u"");
  EXPECT_EQ(windows_.ClassName(H(wnd)), u"");
}

TEST_F(WinWindowSystemTest, MinimiseRestoreAndClose) {
  HWND wnd = Create(L"Kelvo minimise");
  windows_.ShowWindow(H(wnd), kSwMinimize);
  EXPECT_TRUE(WaitFor([&] { return windows_.IsIconic(H(wnd)); }));
  windows_.SendRestore(H(wnd));
  EXPECT_TRUE(WaitFor([&] { return !windows_.IsIconic(H(wnd)); }));
  EXPECT_TRUE(windows_.SetForeground(H(wnd)));
  windows_.PostClose(H(wnd));
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(wnd); }));
}

TEST_F(WinWindowSystemTest, FoundWindowsTakeTurnsInFront) {
  HWND lower = Create(L"Kelvo find lower");
  HWND upper = Create(L"Kelvo find upper");
  Create(L"Kelvo other", /*visible=*/false);
  SetWindowPos(upper, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  const WindowTests tests = {u"KelvoWindowSystemTest", u"", u"", u"/^Kelvo find/"};
  const WinLocale locale;
  FakeDialogs dialogs;
  std::vector<WindowHandle> list;
  ASSERT_TRUE(FindWindows(tests, list, windows_, locale, dialogs));
  EXPECT_EQ(list, (std::vector<WindowHandle>{H(upper), H(lower)}));

  ActivateWindows(list, windows_);
  EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == lower; }));
  // The window manager restacks the activated window on its own time.
  EXPECT_TRUE(WaitFor([&] {
    return FindWindows(tests, list, windows_, locale, dialogs) &&
           list == std::vector<WindowHandle>{H(lower), H(upper)};
  }));
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(WinWindowSystemTest, AWindowThatDoesNotAnswerHoldsNothingUp) {
  HungWindow hung(L"KelvoHungWindowTest", L"Kelvo hung", /*minimised=*/true);
  ASSERT_NE(hung.hwnd(), nullptr);
  ASSERT_TRUE(windows_.IsIconic(H(hung.hwnd())));
  const auto start = std::chrono::steady_clock::now();
  windows_.SendRestore(H(hung.hwnd()));
  windows_.ShowWindow(H(hung.hwnd()), kSwMaximize);
  windows_.SetForeground(H(hung.hwnd()));
  // The window stops answering for 10 s; the restore alone may wait 1.5 s of them.
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(4));
  // Once it answers again, it carries out what it was asked.
  hung.Release();
  EXPECT_TRUE(WaitFor([&] { return IsZoomed(hung.hwnd()) != FALSE; }));
}

// A window of another thread that looks at its messages only every so often; one that hands its
// activation on to a window it owns the moment it gets it, as a program showing a prompt does.
class SlowWindow {
 public:
  explicit SlowWindow(DWORD everyMs, bool handsOn = false)
      : everyMs_(everyMs), handsOn_(handsOn), thread_([this] { Run(); }) {
    while (!hwnd_) Sleep(1);
  }
  ~SlowWindow() {
    stop_ = true;
    // Answers the window's thread while it ends (see HungWindow).
    while (!done_) {
      MSG msg;
      PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
      Sleep(1);
    }
    thread_.join();
  }
  HWND hwnd() const { return hwnd_; }
  HWND owned() const { return owned_; }
  // The thread's active window; the window itself once it has handled its activation.
  HWND Active() const {
    GUITHREADINFO info{sizeof(info)};
    return GetGUIThreadInfo(GetWindowThreadProcessId(hwnd_, nullptr), &info) ? info.hwndActive
                                                                             : HWND(-1);
  }

 private:
  void Run() {
    HWND wnd = CreateWindowExW(0, kTestClass, L"Kelvo slow", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10,
                               10, 200, 100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (handsOn_) {
      owned_ = CreateWindowExW(0, kTestClass, L"Kelvo prompt", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 30,
                               30, 100, 50, wnd, nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    hwnd_ = wnd;
    while (!stop_) {
      Sleep(everyMs_);
      PumpMessages();
      if (handsOn_ && GetActiveWindow() == wnd) SetActiveWindow(owned_);
    }
    if (owned_) DestroyWindow(owned_);
    DestroyWindow(wnd);
    done_ = true;
  }
  const DWORD everyMs_;
  const bool handsOn_;
  std::atomic<HWND> hwnd_{nullptr};
  std::atomic<HWND> owned_{nullptr};
  std::atomic<bool> stop_{false};
  std::atomic<bool> done_{false};
  std::thread thread_;
};

// The slow window in front, then another: the slow thread is left with no active window.
void LeaveWithoutActivation(const SlowWindow& slow, HWND other) {
  SetForegroundWindow(slow.hwnd());
  ASSERT_TRUE(WaitFor([&] { return slow.Active() != nullptr; }));
  SetForegroundWindow(other);
  ASSERT_TRUE(WaitFor([&] { return slow.Active() == nullptr; }));
}

TEST_F(WinWindowSystemTest, AnActivationForKeysReturnsOnceTheProgramHasTakenIt) {
  SlowWindow slow(100);
  HWND here = Create(L"Kelvo here");
  LeaveWithoutActivation(slow, here);
  EXPECT_TRUE(windows_.SetForegroundForKeys(H(slow.hwnd())));
  EXPECT_EQ(slow.Active(), slow.hwnd()) << "keys sent now would reach nobody";

  // A plain activation does not wait for the program.
  LeaveWithoutActivation(slow, here);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(windows_.SetForeground(H(slow.hwnd())));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(50));
  EXPECT_TRUE(WaitFor([&] { return slow.Active() == slow.hwnd(); }));

  // A window in front whose program has taken the activation is not waited for again.
  const auto again = std::chrono::steady_clock::now();
  EXPECT_TRUE(windows_.SetForegroundForKeys(H(slow.hwnd())));
  EXPECT_LT(std::chrono::steady_clock::now() - again, std::chrono::milliseconds(50));
}

TEST_F(WinWindowSystemTest, AProgramThatHandsItsActivationOnIsNotWaitedForLong) {
  SlowWindow prompt(5, /*handsOn=*/true);
  HWND here = Create(L"Kelvo here");
  LeaveWithoutActivation(prompt, here);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(windows_.SetForegroundForKeys(H(prompt.hwnd())));
  // The thread took the activation and moved it on: the keys go to its prompt.
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(150));
  EXPECT_TRUE(WaitFor([&] { return prompt.Active() == prompt.owned(); }));
}

TEST_F(WinWindowSystemTest, AProgramBusyForLongerIsWaitedForAFifthOfASecondAtMost) {
  SlowWindow busy(2000);
  HWND here = Create(L"Kelvo here");
  LeaveWithoutActivation(busy, here);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(windows_.SetForegroundForKeys(H(busy.hwnd())));
  // Waiting for the whole activation would take two seconds.
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(700));
}

TEST(WinKeyInputTest, InjectedKeyReadsAsDownUntilReleased) {
  WinKeyInput keys;
  constexpr std::uint8_t kF24 = VK_F24;  // a key no one has on the keyboard
  keys.SendKeyEvent(kF24, false);
  EXPECT_TRUE(WaitFor([&] { return keys.IsKeyDown(kF24); }));
  keys.SendKeyEvent(kF24, true);
  EXPECT_TRUE(WaitFor([&] { return !keys.IsKeyDown(kF24); }));
}

}  // namespace
