// The command launcher with 250 keywords and a LaunchDir of 5,000 shortcuts, against 5 keywords in
// the same run: time from the launcher's hotkey to the box on the screen with its list filled, and
// from one typed letter (and one Backspace) to the box showing the completed keyword. Also the
// GDI and USER object counts of Kelvo before and after 1,000 keystrokes.
//   bench_cmd_launcher_win.exe BUILD_DIR
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using Stopwatch = std::chrono::steady_clock;
constexpr int kRounds = 21;

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

double Ms(Stopwatch::time_point since) {
  return std::chrono::duration<double, std::milli>(Stopwatch::now() - since).count();
}

std::string Settings(int keywords, bool launchDir) {
  std::string s =
      "[General]\r\nVersion=169\r\n[HotKey1]\r\nKey=Ctrl+Alt+Shift+F12\r\n"
      "Command=CMDLAUNCHER\r\n[CmdLauncher]\r\nDropdown=0\r\n";
  if (launchDir) s += "LaunchDir=links\r\n";
  for (int n = 1; n <= keywords; ++n) {
    s += "[CmdKwd" + std::to_string(n) +
         "]\r\nKey=" + (n == 1 ? "qzone" : "kw" + std::to_string(n)) +
         "\r\nExecute1=C:\\Tools\\tool" + std::to_string(n) + ".exe\r\n";
  }
  return s;
}

void Keys(std::initializer_list<WORD> keys) {
  std::vector<INPUT> in;
  for (WORD k : keys) {
    INPUT i{};
    i.type = INPUT_KEYBOARD;
    i.ki.wVk = k;
    in.push_back(i);
  }
  for (auto it = keys.end(); it != keys.begin();) {
    INPUT i{};
    i.type = INPUT_KEYBOARD;
    i.ki.wVk = *--it;
    i.ki.dwFlags = KEYEVENTF_KEYUP;
    in.push_back(i);
  }
  SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}

std::wstring Text(HWND hwnd) {
  wchar_t text[256] = {};
  // Sent, not GetWindowText: that reads no control of another process.
  SendMessageW(hwnd, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text));
  return text;
}

// Waits until the box's thread has handled everything queued before this call (paint included).
void Settled(HWND box) {
  DWORD_PTR result;
  SendMessageTimeoutW(box, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &result);
  RedrawWindow(box, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

template <typename Condition>
bool Until(Condition done) {
  const auto start = Stopwatch::now();
  while (!done()) {
    if (Stopwatch::now() - start > std::chrono::seconds(10)) return false;
  }
  return true;
}

struct Result {
  double show = 0;
  double type = 0;
  double back = 0;
  DWORD gdiBefore = 0, gdiAfter = 0, userBefore = 0, userAfter = 0;
  LRESULT rows = 0;  // listed at the show, to see that the table is the one meant
};

Result Measure(const std::wstring& buildDir, int keywords, bool launchDir, bool leakRun) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring folder = std::wstring(temp) + L"kelvo-bench-cmd";
  CreateDirectoryW(folder.c_str(), nullptr);
  CopyFileW((buildDir + L"\\Kelvo.exe").c_str(), (folder + L"\\Kelvo.exe").c_str(), FALSE);
  if (launchDir) {
    // Listing looks at names only: empty files stand for shortcuts.
    CreateDirectoryW((folder + L"\\links").c_str(), nullptr);
    for (int i = 0; i < 5000; ++i) {
      const std::wstring name = folder + L"\\links\\App " + std::to_wstring(i) + L".lnk";
      CloseHandle(CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    }
  }
  const std::string settings = Settings(keywords, launchDir);
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

  Result r;
  std::vector<double> shows, types, backs;
  HWND box = nullptr;
  for (int i = 0; i < kRounds; ++i) {
    auto start = Stopwatch::now();
    Keys({VK_CONTROL, VK_MENU, VK_SHIFT, VK_F12});
    Until([&] {
      box = FindWindowW(L"TCmdLncForm", nullptr);
      return box && IsWindowVisible(box);
    });
    Settled(box);
    shows.push_back(Ms(start));
    HWND combo = FindWindowExW(box, nullptr, L"ComboBox", nullptr);
    r.rows = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    start = Stopwatch::now();
    Keys({'Q'});
    Until([&] { return Text(combo) == L"qzone"; });
    Settled(box);
    types.push_back(Ms(start));
    start = Stopwatch::now();
    Keys({VK_BACK});
    Until([&] { return Text(combo).empty(); });
    Settled(box);
    backs.push_back(Ms(start));
    Keys({VK_CONTROL, VK_MENU, VK_SHIFT, VK_F12});
    Until([&] { return !IsWindowVisible(box); });
  }
  r.show = Median(shows);
  r.type = Median(types);
  r.back = Median(backs);
  if (leakRun) {
    Keys({VK_CONTROL, VK_MENU, VK_SHIFT, VK_F12});
    Until([&] { return IsWindowVisible(box); });
    Settled(box);
    HWND combo = FindWindowExW(box, nullptr, L"ComboBox", nullptr);
    r.gdiBefore = GetGuiResources(pi.hProcess, GR_GDIOBJECTS);
    r.userBefore = GetGuiResources(pi.hProcess, GR_USEROBJECTS);
    for (int i = 0; i < 500; ++i) {
      Keys({'Q'});
      Until([&] { return Text(combo) == L"qzone"; });
      Keys({VK_BACK});
      Until([&] { return Text(combo).empty(); });
    }
    Settled(box);
    r.gdiAfter = GetGuiResources(pi.hProcess, GR_GDIOBJECTS);
    r.userAfter = GetGuiResources(pi.hProcess, GR_USEROBJECTS);
  }
  PostMessageW(FindWindowW(L"TKelvoMainForm", nullptr), WM_CLOSE, 0, 0);
  WaitForSingleObject(pi.hProcess, 10000);
  CloseHandle(pi.hProcess);
  return r;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring buildDir = argc > 1 ? argv[1] : L".";
  const Result small = Measure(buildDir, 5, false, false);
  const Result full = Measure(buildDir, 250, true, true);
  std::printf(
      "command launcher (median of %d), 250 keywords + 5,000 shortcuts (%ld rows) vs 5 keywords "
      "(%ld rows):\n"
      "  hotkey -> box shown and painted: %.2f ms vs %.2f ms (x%.2f)\n"
      "  one letter -> completed:         %.2f ms vs %.2f ms (x%.2f)\n"
      "  Backspace -> full list again:    %.2f ms vs %.2f ms (x%.2f)\n"
      "  GDI objects %lu -> %lu, USER objects %lu -> %lu over 1,000 keystrokes\n",
      kRounds, static_cast<long>(full.rows), static_cast<long>(small.rows), full.show, small.show,
      full.show / small.show, full.type, small.type, full.type / small.type, full.back, small.back,
      full.back / small.back, full.gdiBefore, full.gdiAfter, full.userBefore, full.userAfter);
  return 0;
}
