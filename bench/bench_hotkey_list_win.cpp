// The hotkey list with 100 hotkeys: time from pressing the HOTKEY_LIST hotkey to the first row's
// text on the screen, against a list of one hotkey in the same run. The difference is the work
// the hundred rows cost Kelvo.
//   bench_hotkey_list_win.exe BUILD_DIR
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using Stopwatch = std::chrono::steady_clock;
constexpr int kPresses = 21;

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

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

void Press(WORD key) {
  INPUT in[8] = {};
  const WORD keys[] = {VK_CONTROL, VK_MENU, VK_SHIFT, key};
  for (int i = 0; i < 4; ++i) {
    in[i].type = in[7 - i].type = INPUT_KEYBOARD;
    in[i].ki.wVk = in[7 - i].ki.wVk = keys[i];
    in[7 - i].ki.dwFlags = KEYEVENTF_KEYUP;
  }
  SendInput(8, in, sizeof(INPUT));
}

// Whether the first row of the list box shows text: some pixel differs from the background.
bool FirstRowPainted(HWND list) {
  RECT r;
  if (!IsWindowVisible(list) ||
      SendMessageW(list, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r)) == LB_ERR) {
    return false;
  }
  POINT origin{r.left, r.top};
  ClientToScreen(list, &origin);
  const int w = std::min<int>(r.right - r.left, 200), h = r.bottom - r.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, w, h, screen, origin.x, origin.y, SRCCOPY);
  const auto* pixels = static_cast<const DWORD*>(bits);
  bool text = false;
  for (int i = 0; i < w * h && !text; ++i) text = (pixels[i] & 0xFFFFFF) != (pixels[0] & 0xFFFFFF);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return text;
}

double Measure(const std::wstring& buildDir, int hotkeys) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring folder = std::wstring(temp) + L"kelvo-bench-list";
  CreateDirectoryW(folder.c_str(), nullptr);
  CopyFileW((buildDir + L"\\Kelvo.exe").c_str(), (folder + L"\\Kelvo.exe").c_str(), FALSE);
  const std::string settings = Settings(hotkeys);
  HANDLE f = CreateFileW((folder + L"\\Kelvo.INI").c_str(), GENERIC_WRITE, 0, nullptr,
                         CREATE_ALWAYS, 0, nullptr);
  DWORD written;
  WriteFile(f, settings.data(), static_cast<DWORD>(settings.size()), &written, nullptr);
  CloseHandle(f);
  std::wstring line = L"\"" + folder + L"\\Kelvo.exe\"";
  STARTUPINFOW si{sizeof(si)};
  PROCESS_INFORMATION pi{};
  CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si,
                 &pi);
  CloseHandle(pi.hThread);
  while (!FindWindowW(L"TKelvoMainForm", nullptr)) Sleep(5);
  WaitForInputIdle(pi.hProcess, 10000);
  Sleep(500);

  std::vector<double> times;
  for (int i = 0; i < kPresses; ++i) {
    HWND window = FindWindowW(L"THotKeyHelp", nullptr);
    const auto start = Stopwatch::now();
    Press(VK_F12);
    for (;;) {
      window = FindWindowW(L"THotKeyHelp", nullptr);
      HWND list = window ? FindWindowExW(window, nullptr, L"ListBox", nullptr) : nullptr;
      if (list && FirstRowPainted(list)) break;
      if (Stopwatch::now() - start > std::chrono::seconds(5)) break;
    }
    times.push_back(std::chrono::duration<double, std::milli>(Stopwatch::now() - start).count());
    Press(VK_F11);  // another hotkey hides the list again
    const auto hideStart = Stopwatch::now();
    while (window && IsWindowVisible(window) &&
           Stopwatch::now() - hideStart < std::chrono::seconds(5)) {
      Sleep(1);
    }
    Sleep(50);
  }
  PostMessageW(FindWindowW(L"TKelvoMainForm", nullptr), WM_CLOSE, 0, 0);
  WaitForSingleObject(pi.hProcess, 10000);
  CloseHandle(pi.hProcess);
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
