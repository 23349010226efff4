// The hotkey list with 100 hotkeys: time from pressing the HOTKEY_LIST hotkey to the first row's
// text on the screen, against a list of one hotkey in the same run. The difference is the work
// the hundred rows cost Kelvo.
//   bench_hotkey_list_win.exe BUILD_DIR
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "support/bench_support_win.h"

namespace {

constexpr int kPresses = 21;

std::string Settings(int hotkeys) {
  std::string s =
      "[General]\r\nVersion=169\r\n[HotKey100]\r\nKey=Ctrl+Alt+Shift+F12\r\n"
      "Command=HOTKEY_LIST\r\n[HotKey99]\r\nKey=Ctrl+Alt+Shift+F11\r\n"
      "Description=does nothing\r\n";
  const std::string keys = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  const char* prefixes[] = {"Ctrl+Alt+Shift+", "Win+Ctrl+Alt+", "Win+Shift+Alt+"};
  for (int n = 1; n <= hotkeys - 2; ++n) {
    s += "[HotKey" + std::to_string(n) + "]\r\nKey=" + prefixes[(n - 1) / 36] + keys[(n - 1) % 36] +
         "\r\nExecute1=C:\\Program Files\\Tool " + std::to_string(n) + "\\tool.exe\r\n";
  }
  return s;
}

void Press(WORD key) { PressKeys({VK_CONTROL, VK_MENU, VK_SHIFT, key}); }

double Measure(const std::wstring& buildDir, int hotkeys) {
  BenchKelvo kelvo(buildDir, BenchFolder(L"kelvo-bench-list"), Settings(hotkeys));

  std::vector<double> times;
  for (int i = 0; i < kPresses; ++i) {
    HWND window = FindWindowW(L"THotKeyHelp", nullptr);
    const auto start = Stopwatch::now();
    Press(VK_F12);
    WaitFor(
        [&] {
          window = FindWindowW(L"THotKeyHelp", nullptr);
          HWND list = window ? FindWindowExW(window, nullptr, L"ListBox", nullptr) : nullptr;
          return list && FirstRowPainted(list);
        },
        std::chrono::seconds(5), kTightPolls);
    times.push_back(MsSince(start));
    Press(VK_F11);  // another hotkey hides the list again
    WaitFor([&] { return !window || !IsWindowVisible(window); }, std::chrono::seconds(5),
            Polling{1, false});
    Sleep(50);
  }
  return Median(times);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring buildDir = argc > 1 ? argv[1] : L".";
  const double full = Measure(buildDir, 100);
  const double small = Measure(buildDir, 2);
  std::printf(
      "hotkey list shown and painted (median of %d): 100 hotkeys %.2f ms, 2 hotkeys %.2f ms, "
      "the rows cost %.2f ms\n",
      kPresses, full, small, full - small);
  return 0;
}
