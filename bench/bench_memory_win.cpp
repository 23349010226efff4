// Idle memory of the resident program beside a minimal Win32 program with a tray icon, under the
// same Wine: private bytes once both have settled, medians of a few runs.
//   bench_memory_win.exe BUILD_DIR
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "support/bench_support_win.h"

namespace {

constexpr int kRuns = 5;

double Measure(const std::wstring& exe, const std::wstring& args, const std::wstring& dir,
               const wchar_t* className) {
  HANDLE process = LaunchProgram(exe, args, dir);
  if (!process) return -1;
  HWND window = WaitForWindow(className);
  const double mb = IdlePrivateMb(process);
  StopProgram(process, window, 20000);
  return mb;
}

std::wstring Folder(const std::wstring& buildDir) {
  const std::wstring folder = buildDir + L"\\bench-memory";
  CreateDirectoryW(folder.c_str(), nullptr);
  PlaceKelvo(buildDir, folder,
             "[General]\r\nVersion=169\r\n[HotKey1]\r\nKey=Ctrl+Alt+Shift+F11\r\n"
             "Command=HOTKEY_LIST\r\n");
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
