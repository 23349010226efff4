#include "support/bench_support_win.h"

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

double MsSince(Stopwatch::time_point start) {
  return std::chrono::duration<double, std::milli>(Stopwatch::now() - start).count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

double MedianMs(int runs, const std::function<void()>& work) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    const auto start = Stopwatch::now();
    work();
    times.push_back(MsSince(start));
  }
  return Median(times);
}

void Settled(HWND window) {
  // An answer means the window's thread has handled everything queued before the message.
  WindowAnswers(window, 5000);
  RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void PressKeys(std::initializer_list<WORD> keys) {
  std::vector<INPUT> inputs;
  for (WORD key : keys) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    inputs.push_back(input);
  }
  for (auto it = keys.end(); it != keys.begin();) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = *--it;
    input.ki.dwFlags = KEYEVENTF_KEYUP;
    inputs.push_back(input);
  }
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

Stopwatch::time_point PressInFront(HWND window, std::initializer_list<WORD> keys, DWORD settleMs) {
  SetForegroundWindow(window);
  PumpMessages();
  Sleep(settleMs);
  const auto start = Stopwatch::now();
  PressKeys(keys);
  return start;
}

HWND MakeWindow(const wchar_t* className, const std::wstring& title, int x) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = className;
  RegisterClassW(&wc);
  return CreateWindowExW(0, className, title.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, 50, 200,
                         100, nullptr, nullptr, wc.hInstance, nullptr);
}

bool FirstRowPainted(HWND list) {
  RECT r;
  if (!IsWindowVisible(list) ||
      SendMessageW(list, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r)) == LB_ERR) {
    return false;
  }
  POINT origin{r.left, r.top};
  ClientToScreen(list, &origin);
  const int w = std::min<int>(r.right - r.left, 200), h = r.bottom - r.top;
  const std::vector<DWORD> pixels =
      ScreenPixels(RECT{origin.x, origin.y, origin.x + w, origin.y + h});
  for (DWORD pixel : pixels) {
    if (pixel != pixels.front()) return true;
  }
  return false;
}

std::wstring BenchFolder(const std::wstring& name) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring folder = std::wstring(temp) + name;
  CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

std::wstring PlaceKelvo(const std::wstring& buildDir, const std::wstring& folder,
                        const std::string& settings) {
  WriteBytes(folder + L"\\Kelvo.INI", settings);
  return CopyProgram(buildDir, L"Kelvo.exe", folder);
}

HWND WaitForWindow(const wchar_t* className) {
  HWND window = nullptr;
  WaitFor([&] { return (window = FindWindowW(className, nullptr)) != nullptr; },
          std::chrono::seconds(10), Polling{5, false});
  return window;
}

void StopProgram(HANDLE process, HWND window, DWORD waitMs) {
  if (!process) return;
  if (window) PostMessageW(window, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(process, waitMs) != WAIT_OBJECT_0) TerminateProcess(process, 1);
  CloseHandle(process);
}

double PrivateMb(HANDLE process) {
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof(counters);
  if (!GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                            sizeof(counters))) {
    return -1;
  }
  // Wine reports the private bytes as the page-file usage only; on Windows the two are equal.
  const SIZE_T bytes = counters.PrivateUsage != 0 ? counters.PrivateUsage : counters.PagefileUsage;
  return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

double IdlePrivateMb(HANDLE process) {
  WaitForInputIdle(process, 30000);
  Sleep(1500);
  return PrivateMb(process);
}

BenchKelvo::BenchKelvo(const std::wstring& buildDir, const std::wstring& folder,
                       const std::string& settings) {
  process_ = LaunchProgram(PlaceKelvo(buildDir, folder, settings), L"", folder);
  if (!process_) return;
  main_ = WaitForWindow(L"TKelvoMainForm");
  WaitForInputIdle(process_, 10000);
  Sleep(500);
}

void BenchKelvo::Stop() {
  StopProgram(process_, main_);
  process_ = nullptr;
  main_ = nullptr;
}

BenchFloor::BenchFloor(const std::wstring& buildDir, const std::wstring& arguments) {
  process_ = LaunchProgram(buildDir + L"\\kelvo_floor.exe", arguments, L"");
  WaitForInputIdle(process_, 10000);
  owner_ = WaitForWindow(L"KelvoFloorOwner");
  Settled(owner_);
}

BenchFloor::~BenchFloor() {
  if (process_) StopProgram(process_, owner_);
}

void PrintFigure(const char* id, double ratio) { std::printf("figure %s %.3f\n", id, ratio); }

void PrintAgainstFloor(const char* id, const char* description, double kelvoMs, double floorMs,
                       double goal) {
  const double ratio = floorMs > 0 ? kelvoMs / floorMs : 0;
  std::printf("  %s: Kelvo %.2f ms, floor %.2f ms, ratio %.2f, goal <= %.2f: %s\n", description,
              kelvoMs, floorMs, ratio, goal, ratio <= goal ? "met" : "MISSED");
  PrintFigure(id, ratio);
}

bool PutOnClipboard(HWND owner, const std::wstring& text) {
  if (!WaitFor([&] { return OpenClipboard(owner) != FALSE; }, std::chrono::seconds(5),
               Polling{1, false})) {
    return false;
  }
  EmptyClipboard();
  const SIZE_T bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
  std::memcpy(GlobalLock(memory), text.c_str(), bytes);
  GlobalUnlock(memory);
  const bool set = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
  if (!set) GlobalFree(memory);
  CloseClipboard();
  return set;
}
