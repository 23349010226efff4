// Hotkey benchmark under Wine:
//  (a) from injecting a hotkey (SendInput) to the window it activates being in the foreground,
//      for Kelvo with one activate test against a minimal program that registered the same
//      combination and activates the window itself (measured in the same run);
//  (b) from a hotkey to the key it types arriving in the window it activated, for a plain window
//      and for a program that hands its activation on to an owned window as it gets it;
//  (c) ten hotkeys, each activating another window, pressed 50 ms apart: how long after the last
//      press the last activation happens;
//  (d) FindWindows with a title pattern over 500 visible top-level windows.
//   bench_hotkey_win.exe BUILD_DIR
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <string>
#include <vector>

#include "hotkeys/window_matching.h"
#include "support/bench_support_win.h"
#include "win32/dialogs_win.h"
#include "win32/locale_win.h"
#include "win32/window_system_win.h"

namespace {

constexpr int kPresses = 31;
constexpr UINT kHandOffMessage = WM_APP + 1;

// When the key a hotkey types last arrived in a window of this thread.
std::atomic<Stopwatch::rep> keyArrived{0};
std::atomic<int> keysSeen{0};

// The windows of the target programs: they note the typed key, and one kind hands its activation
// on to the window it owns the moment it gets it (a prompt, a tool window).
LRESULT CALLBACK TargetProcedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_KEYDOWN:
      ++keysSeen;
      if (wp == 'Q') keyArrived = Stopwatch::now().time_since_epoch().count();
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wp) != WA_INACTIVE && GetPropW(hwnd, L"owned")) {
        PostMessageW(hwnd, kHandOffMessage, 0, 0);
      }
      break;
    case kHandOffMessage:
      SetActiveWindow(static_cast<HWND>(GetPropW(hwnd, L"owned")));
      return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

HWND MakeTarget(const wchar_t* className, int x, HWND owner = nullptr) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = TargetProcedure;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = className;
  RegisterClassW(&wc);
  return CreateWindowExW(0, className, className, WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, 200, 200,
                         100, owner, nullptr, wc.hInstance, nullptr);
}

// Lets this thread's windows handle their messages for the time, as a program's loop does.
void PumpFor(DWORD ms) {
  const auto end = Stopwatch::now() + std::chrono::milliseconds(ms);
  while (Stopwatch::now() < end) {
    PumpMessages();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
  }
}

// Median latency from the key press to the key the hotkey types arriving in this thread.
double TypingLatency(HWND neutral, WORD key) {
  std::vector<double> times;
  for (int i = 0; i < kPresses; ++i) {
    keyArrived = 0;
    const auto start = PressInFront(neutral, {VK_CONTROL, VK_MENU, VK_SHIFT, key}, 20);
    if (!WaitFor(
            [&] {
              PumpMessages();
              return keyArrived.load() != 0;
            },
            std::chrono::seconds(5), kTightPolls)) {
      wchar_t cls[64] = {};
      GetClassNameW(GetForegroundWindow(), cls, 64);
      std::printf("no key arrived; in front: %ls, keys seen %d\n", cls, keysSeen.load());
      continue;
    }
    times.push_back(std::chrono::duration<double, std::milli>(
                        Stopwatch::duration(keyArrived.load()) - start.time_since_epoch())
                        .count());
    PumpFor(100);  // the hotkey's own wait for released keys ends
  }
  return Median(times);
}

// Ten hotkeys pressed 50 ms apart, each activating the next window: the median time from the
// last press to the last window in front.
double AfterTheLastPress(const std::vector<HWND>& targets, HWND neutral) {
  std::vector<double> times;
  for (int round = 0; round < 11; ++round) {
    SetForegroundWindow(neutral);
    PumpFor(100);
    Stopwatch::time_point last;
    for (std::size_t i = 0; i < targets.size(); ++i) {
      if (i > 0) PumpFor(50);
      last = Stopwatch::now();
      PressKeys({VK_CONTROL, VK_MENU, VK_SHIFT, static_cast<WORD>(VK_F1 + i)});
    }
    WaitFor(
        [&] {
          PumpMessages();
          return GetForegroundWindow() == targets.back();
        },
        std::chrono::seconds(20), kTightPolls);
    times.push_back(MsSince(last));
  }
  return Median(times);
}

// Median latency from the key press to the target window in front.
double Latency(HWND neutral, HWND target) {
  std::vector<double> times;
  for (int i = 0; i < kPresses; ++i) {
    const auto start = PressInFront(neutral, {VK_CONTROL, VK_MENU, VK_SHIFT, VK_F12}, 20);
    WaitFor(
        [&] {
          PumpMessages();
          return GetForegroundWindow() == target;
        },
        std::chrono::seconds(5), kTightPolls);
    times.push_back(MsSince(start));
  }
  return Median(times);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring buildDir = argc > 1 ? argv[1] : L".";
  const std::wstring folder = BenchFolder(L"kelvo-bench-hotkey");
  const std::string settings =
      "[General]\r\nVersion=169\r\n[HotKey1]\r\nKey=Ctrl+Alt+Shift+F12\r\n"
      "ActivateWndClass1=KelvoBenchTarget\r\n";

  HWND neutral = MakeWindow(L"KelvoBenchNeutral", L"neutral", 300);
  HWND target = MakeWindow(L"KelvoBenchTarget", L"target", 50);

  HANDLE probe = LaunchProgram(buildDir + L"\\hotkey_probe.exe", L"", folder);
  WaitForInputIdle(probe, 10000);
  const double bare = Latency(neutral, target);
  StopProgram(probe, FindWindowW(L"KelvoHotKeyProbe", nullptr));

  BenchKelvo kelvo(buildDir, folder, settings);
  const double viaKelvo = Latency(neutral, target);
  kelvo.Stop();

  std::printf(
      "hotkey to activated window (median of %d): Kelvo %.2f ms, minimal program %.2f ms, "
      "Kelvo adds %.2f ms\n",
      kPresses, viaKelvo, bare, viaKelvo - bare);
  PrintFigure("hotkey_activation_vs_minimal", bare > 0 ? viaKelvo / bare : 0);

  // (b) keys typed into the activated window: a plain one, and one that hands its activation on.
  HWND plain = MakeTarget(L"KelvoBenchPlain", 300);
  HWND handOff = MakeTarget(L"KelvoBenchHandOff", 550);
  HWND owned = MakeTarget(L"KelvoBenchOwned", 600, handOff);
  SetPropW(handOff, L"owned", owned);
  std::string typing =
      "[General]\r\nVersion=169\r\nKeyWait=0\r\n"
      "[HotKey1]\r\nKey=Ctrl+Alt+Shift+F11\r\nActivateWndClass1=KelvoBenchPlain\r\n"
      "SendKey1=Q,/Q\r\n"
      "[HotKey2]\r\nKey=Ctrl+Alt+Shift+F10\r\nActivateWndClass1=KelvoBenchHandOff\r\n"
      "SendKey1=Q,/Q\r\n";
  {
    BenchKelvo typist(buildDir, folder, typing);
    const double toPlain = TypingLatency(neutral, VK_F11);
    const double toHandOff = TypingLatency(neutral, VK_F10);
    std::printf(
        "hotkey to typed key in the activated window (median of %d): plain window %.2f ms, "
        "window that hands its activation on %.2f ms\n",
        kPresses, toPlain, toHandOff);
  }
  DestroyWindow(owned);
  DestroyWindow(handOff);
  DestroyWindow(plain);

  // (c) ten hotkeys 50 ms apart.
  std::vector<HWND> ten;
  std::string tenKeys = "[General]\r\nVersion=169\r\n";
  for (int i = 0; i < 10; ++i) {
    const std::wstring cls = L"KelvoBenchTen" + std::to_wstring(i);
    ten.push_back(MakeWindow(cls.c_str(), cls, 20 * i));
    tenKeys += "[HotKey" + std::to_string(i + 1) + "]\r\nKey=Ctrl+Alt+Shift+F" +
               std::to_string(i + 1) + "\r\nActivateWndClass1=KelvoBenchTen" + std::to_string(i) +
               "\r\n";
  }
  {
    BenchKelvo tenfold(buildDir, folder, tenKeys);
    std::printf(
        "ten hotkeys pressed 50 ms apart (median of 11): the last window in front %.2f ms after "
        "the last press\n",
        AfterTheLastPress(ten, neutral));
  }
  for (HWND w : ten) DestroyWindow(w);

  // (d) 500 visible windows, one of which matches the pattern.
  std::vector<HWND> many;
  for (int i = 0; i < 500; ++i) {
    many.push_back(
        MakeWindow(L"KelvoBenchMany", L"Document " + std::to_wstring(i) + L" - Editor", 10));
  }
  PumpMessages();
  WinWindowSystem windows;
  WinLocale locale;
  WinDialogs dialogs(nullptr);
  std::vector<WindowHandle> list;
  const WindowTests tests{u"", u"", u"", u"/^Document 4\\d\\d - Editor$/"};
  const double find = MedianMs(21, [&] { FindWindows(tests, list, windows, locale, dialogs); });
  std::printf("FindWindows with a pattern over %zu windows (median of 21): %.2f ms, %zu matches\n",
              windows.TopLevelWindows().size(), find, list.size());
  for (HWND w : many) DestroyWindow(w);
  return 0;
}
