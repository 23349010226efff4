// Idle memory of the resident program beside a minimal Win32 program with a tray icon, under the
// same Wine: private bytes once both have settled, medians of a few runs.
//   bench_memory_win.exe BUILD_DIR
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kRuns = 5;

HANDLE Launch(const std::wstring& exe, const std::wstring& args, const std::wstring& dir) {
  std::wstring commandLine = L"\"" + exe + L"\" " + args;
  STARTUPINFOW startup{sizeof(startup)};
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      dir.c_str(), &startup, &info)) {
    return nullptr;
  }
  CloseHandle(info.hThread);
  return info.hProcess;
}

HWND WaitForWindow(const wchar_t* className) {
  for (int i = 0; i < 2000; ++i) {
    if (HWND w = FindWindowW(className, nullptr)) return w;
    Sleep(5);
  }
  return nullptr;
}

// Private bytes of a process once it has been idle for a while.
double IdlePrivateMb(HANDLE process) {
  WaitForInputIdle(process, 30000);
  Sleep(1500);
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

double Measure(const std::wstring& exe, const std::wstring& args, const std::wstring& dir,
               const wchar_t* className) {
  HANDLE process = Launch(exe, args, dir);
  if (!process) return -1;
  HWND window = WaitForWindow(className);
  const double mb = IdlePrivateMb(process);
  if (window) PostMessageW(window, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(process, 20000) != WAIT_OBJECT_0) TerminateProcess(process, 1);
  CloseHandle(process);
  return mb;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

std::wstring Folder(const std::wstring& buildDir) {
  const std::wstring folder = buildDir + L"\\bench-memory";
  CreateDirectoryW(folder.c_str(), nullptr);
  CopyFileW((buildDir + L"\\Kelvo.exe").c_str(), (folder + L"\\Kelvo.exe").c_str(), FALSE);
  HANDLE ini = CreateFileW((folder + L"\\Kelvo.INI").c_str(), GENERIC_WRITE, 0, nullptr,
                           CREATE_ALWAYS, 0, nullptr);
  const char settings[] =
      "[General]\r\nVersion=169\r\n[HotKey1]\r\nKey=Ctrl+Alt+Shift+F11\r\n"
      "Command=HOTKEY_LIST\r\n";
  DWORD written = 0;
  WriteFile(ini, settings, sizeof(settings) - 1, &written, nullptr);
  CloseHandle(ini);
  return folder;
}

std::size_t FileSize(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  return data.nFileSizeLow;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring buildDir = argc > 1 ? argv[1] : L".";
  const std::wstring folder = Folder(buildDir);
  std::vector<double> kelvo, minimal;
  for (int i = 0; i < kRuns; ++i) {
    minimal.push_back(
        Measure(buildDir + L"\\minimal_window.exe", L"tray", folder, L"KelvoBenchMinimal"));
    kelvo.push_back(Measure(folder + L"\\Kelvo.exe", L"", folder, L"TKelvoMainForm"));
  }
  const double k = Median(kelvo), m = Median(minimal);
  std::printf(
      "idle private memory (median of %d): Kelvo %.2f MB, minimal tray program %.2f MB, "
      "difference %.2f MB (goal: at most 1 MB)\n",
      kRuns, k, m, k - m);
  std::printf("Kelvo.exe: %zu bytes\n", FileSize(buildDir + L"\\Kelvo.exe"));
  return 0;
}
