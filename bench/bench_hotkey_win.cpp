// Hotkey benchmark under Wine:
//  (a) from injecting a hotkey (SendInput) to the window it activates being in the foreground,
//      for Kelvo with one activate test against a minimal program that registered the same
//      combination and activates the window itself (measured in the same run);
//  (b) FindWindows with a title pattern over 500 visible top-level windows.
//   bench_hotkey_win.exe BUILD_DIR
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "hotkeys/window_matching.h"
#include "platform/dialogs_win.h"
#include "platform/locale_win.h"
#include "platform/window_system_win.h"
#include "support/bench_support_win.h"

namespace {

constexpr int kPresses = 31;

// Median latency from the key press to the target window in front.
double Latency(HWND neutral, HWND target) {
  std::vector<double> times;
  for (int i = 0; i < kPresses; ++i) {
    const auto start = PressInFront(neutral, {VK_CONTROL, VK_MENU, VK_SHIFT, VK_F12}, 20);
    Until(
        [&] {
          PumpMessages();
          return GetForegroundWindow() == target;
        },
        std::chrono::seconds(5));
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

  // (b) 500 visible windows, one of which matches the pattern.
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
