// Hotkey benchmark under Wine:
//  (a) from injecting a hotkey (SendInput) to the window it activates being in the foreground,
//      for Kelvo with one activate test against a minimal program that registered the same
//      combination and activates the window itself (measured in the same run);
//  (b) FindWindows with a title pattern over 500 visible top-level windows.
//   bench_hotkey_win.exe BUILD_DIR
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "hotkeys/window_matching.h"
#include "platform/dialogs_win.h"
#include "platform/locale_win.h"
#include "platform/window_system_win.h"

namespace {

using Stopwatch = std::chrono::steady_clock;
constexpr int kPresses = 31;

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

HWND MakeWindow(const wchar_t* cls, const std::wstring& title, int x) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = cls;
  RegisterClassW(&wc);
  return CreateWindowExW(0, cls, title.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, 50, 200, 100,
                         nullptr, nullptr, wc.hInstance, nullptr);
}

void Press() {
  INPUT in[8] = {};
  const WORD keys[] = {VK_CONTROL, VK_MENU, VK_SHIFT, VK_F12};
  for (int i = 0; i < 4; ++i) {
    in[i].type = in[7 - i].type = INPUT_KEYBOARD;
    in[i].ki.wVk = in[7 - i].ki.wVk = keys[i];
    in[7 - i].ki.dwFlags = KEYEVENTF_KEYUP;
  }
  SendInput(8, in, sizeof(INPUT));
}

HANDLE Launch(const std::wstring& exe, const std::wstring& dir) {
  std::wstring line = L"\"" + exe + L"\"";
  STARTUPINFOW si{sizeof(si)};
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(),
                      &si, &pi)) {
    return nullptr;
  }
  CloseHandle(pi.hThread);
  return pi.hProcess;
}

// Median latency from the key press to the target window in front.
double Latency(HWND neutral, HWND target) {
  std::vector<double> times;
  for (int i = 0; i < kPresses; ++i) {
    SetForegroundWindow(neutral);
    Pump();
    Sleep(20);
    const auto start = Stopwatch::now();
    Press();
    while (GetForegroundWindow() != target) {
      if (Stopwatch::now() - start > std::chrono::seconds(5)) break;
      Pump();
    }
    times.push_back(std::chrono::duration<double, std::milli>(Stopwatch::now() - start).count());
  }
  return Median(times);
}

void Stop(HANDLE process, const wchar_t* windowClass) {
  PostMessageW(FindWindowW(windowClass, nullptr), WM_CLOSE, 0, 0);
  WaitForSingleObject(process, 10000);
  CloseHandle(process);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring buildDir = argc > 1 ? argv[1] : L".";
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring folder = std::wstring(temp) + L"kelvo-bench-hotkey";
  CreateDirectoryW(folder.c_str(), nullptr);
  CopyFileW((buildDir + L"\\Kelvo.exe").c_str(), (folder + L"\\Kelvo.exe").c_str(), FALSE);
  const char settings[] =
      "[General]\r\nVersion=169\r\n[HotKey1]\r\nKey=Ctrl+Alt+Shift+F12\r\n"
      "ActivateWndClass1=KelvoBenchTarget\r\n";
  HANDLE f = CreateFileW((folder + L"\\Kelvo.INI").c_str(), GENERIC_WRITE, 0, nullptr,
                         CREATE_ALWAYS, 0, nullptr);
  DWORD written;
  WriteFile(f, settings, sizeof(settings) - 1, &written, nullptr);
  CloseHandle(f);

  HWND neutral = MakeWindow(L"KelvoBenchNeutral", L"neutral", 300);
  HWND target = MakeWindow(L"KelvoBenchTarget", L"target", 50);

  HANDLE probe = Launch(buildDir + L"\\hotkey_probe.exe", folder);
  WaitForInputIdle(probe, 10000);
  const double bare = Latency(neutral, target);
  Stop(probe, L"KelvoHotKeyProbe");

  HANDLE kelvo = Launch(folder + L"\\Kelvo.exe", folder);
  while (!FindWindowW(L"TKelvoMainForm", nullptr)) Sleep(5);
  WaitForInputIdle(kelvo, 10000);
  Sleep(500);
  const double viaKelvo = Latency(neutral, target);
  Stop(kelvo, L"TKelvoMainForm");

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
  Pump();
  WinWindowSystem windows;
  WinLocale locale;
  WinDialogs dialogs(nullptr);
  std::vector<WindowHandle> list;
  std::vector<double> times;
  const WindowTests tests{u"", u"", u"", u"/^Document 4\\d\\d - Editor$/"};
  for (int i = 0; i < 21; ++i) {
    const auto start = Stopwatch::now();
    FindWindows(tests, list, windows, locale, dialogs);
    times.push_back(std::chrono::duration<double, std::milli>(Stopwatch::now() - start).count());
  }
  std::printf("FindWindows with a pattern over %zu windows (median of 21): %.2f ms, %zu matches\n",
              windows.TopLevelWindows().size(), Median(times), list.size());
  for (HWND w : many) DestroyWindow(w);
  return 0;
}
