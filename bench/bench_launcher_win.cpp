// Launcher menu benchmark under Wine, in one run:
//  (a) from injecting the POPUPMENU hotkey to the menu painted on the screen, with a definition
//      file of 1,000 lines and a PopupDir of 3,000 shortcuts in 300 folders, against a menu of
//      10 entries;
//  (b) a reload (the hand-over of a second start, answered when the load is done) with each of
//      the two menus, and with the big definition file alone (no directory listing).
//  (c) in this process: the whole model build from the big folder and file, and Wine's listing of
//      the shortcut tree alone, so that the build's own work can be told apart.
//   bench_launcher_win.exe BUILD_DIR
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "launcher/launcher_menu_model.h"
#include "platform/code_page_win.h"
#include "platform/file_system_win.h"
#include "platform/locale_win.h"
#include "util/file_listing.h"

namespace {

using Stopwatch = std::chrono::steady_clock;
constexpr int kOpens = 11;
constexpr int kReloads = 11;

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

double Ms(Stopwatch::time_point since) {
  return std::chrono::duration<double, std::milli>(Stopwatch::now() - since).count();
}

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

void WriteText(const std::wstring& path, const std::string& text) {
  HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written;
  WriteFile(f, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(f);
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

HWND OpenMenu() {
  HWND menu = FindWindowW(L"#32768", nullptr);
  return menu && IsWindowVisible(menu) ? menu : nullptr;
}

// The menu is shown once its items are measured; it paints before it next looks at messages, so
// a message that Kelvo's thread answers afterwards marks the menu as painted.
bool Painted(HWND owner) {
  DWORD_PTR answer = 0;
  return SendMessageTimeoutW(owner, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &answer) != 0;
}

std::wstring MakeFolder(const std::wstring& name, const std::string& definition, bool tree) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring folder = std::wstring(temp) + name;
  CreateDirectoryW(folder.c_str(), nullptr);
  WriteText(folder + L"\\menu.txt", definition);
  std::string ini =
      "[General]\r\nVersion=169\r\n[HotKey1]\r\nKey=Ctrl+Alt+Shift+F11\r\nCommand=POPUPMENU\r\n"
      "[PopupMenu]\r\nPopupFile=menu.txt\r\nPosX=60\r\nPosY=60\r\n";
  if (tree) {
    ini += "PopupDir=links\r\n";
    CreateDirectoryW((folder + L"\\links").c_str(), nullptr);
    for (int d = 0; d < 300; ++d) {
      const std::wstring dir = folder + L"\\links\\Folder " + std::to_wstring(d);
      CreateDirectoryW(dir.c_str(), nullptr);
      for (int f = 0; f < 10; ++f) WriteText(dir + L"\\Tool " + std::to_wstring(f) + L".lnk", "");
    }
  }
  WriteText(folder + L"\\Kelvo.INI", ini);
  return folder;
}

struct Result {
  double open = 0;
  double reload = 0;
};

Result Measure(const std::wstring& buildDir, const std::wstring& folder, HWND neutral) {
  CopyFileW((buildDir + L"\\Kelvo.exe").c_str(), (folder + L"\\Kelvo.exe").c_str(), FALSE);
  const std::wstring exe = folder + L"\\Kelvo.exe";
  std::wstring line = L"\"" + exe + L"\"";
  STARTUPINFOW si{sizeof(si)};
  PROCESS_INFORMATION pi{};
  Result result;
  if (!CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                      &si, &pi)) {
    return result;
  }
  CloseHandle(pi.hThread);
  HWND main = nullptr;
  while (!(main = FindWindowW(L"TKelvoMainForm", nullptr))) Sleep(5);
  WaitForInputIdle(pi.hProcess, 10000);
  Sleep(500);

  std::vector<double> opens;
  for (int i = 0; i < kOpens; ++i) {
    SetForegroundWindow(neutral);
    Pump();
    Sleep(30);
    const auto start = Stopwatch::now();
    Keys({VK_CONTROL, VK_MENU, VK_SHIFT, VK_F11});
    HWND menu = nullptr;
    while (!(menu = OpenMenu())) {
      if (Ms(start) > 10000) break;
      Pump();
    }
    Painted(main);
    opens.push_back(Ms(start));
    Keys({VK_ESCAPE});
    const auto closing = Stopwatch::now();
    while (OpenMenu() && Ms(closing) < 5000) Pump();
  }
  result.open = Median(opens);

  std::vector<double> reloads;
  const UINT loadsDone = RegisterWindowMessageW(L"Kelvo.LoadsDone");
  Painted(main);
  static const wchar_t kReload[] = L"-R";
  for (int i = 0; i < kReloads; ++i) {
    COPYDATASTRUCT data{1, sizeof(kReload), const_cast<wchar_t*>(kReload)};
    DWORD_PTR answer = 0;
    const auto start = Stopwatch::now();
    const LRESULT sent = SendMessageTimeoutW(main, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                                             SMTO_NORMAL, 30000, &answer);
    reloads.push_back(Ms(start));
    // A reload asked for while the last hotkey still finishes runs after it: wait as a second
    // start does.
    while (sent && answer != 0) {
      DWORD_PTR done = 0;
      SendMessageTimeoutW(main, loadsDone, 0, 0, SMTO_NORMAL, 5000, &done);
      if (done >= answer || Ms(start) > 30000) break;
      Sleep(1);
    }
    reloads.back() = Ms(start);
  }
  result.reload = Median(reloads);
  PostMessageW(main, WM_CLOSE, 0, 0);
  WaitForSingleObject(pi.hProcess, 10000);
  CloseHandle(pi.hProcess);
  return result;
}

HWND MakeNeutral() {
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"KelvoBenchNeutral";
  RegisterClassW(&wc);
  return CreateWindowExW(0, wc.lpszClassName, L"neutral", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 700, 50,
                         200, 100, nullptr, nullptr, wc.hInstance, nullptr);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring buildDir = argc > 1 ? argv[1] : L".";
  std::string small = "--\r\n";  // as the last line: every entry launches
  for (int i = 0; i < 10; ++i) small.insert(0, "Entry " + std::to_string(i) + "\tx.exe\r\n");
  std::string big;
  for (int s = 0; s < 100; ++s) {
    big += ">Group " + std::to_string(s) + "\r\n";
    for (int e = 0; e < 8; ++e) {
      big +=
          "&Item " + std::to_string(s) + "." + std::to_string(e) + " \\Y/\\0m/\\0d\tx.exe -a\r\n";
    }
    big += s == 50 ? "--\r\n" : "<\r\n";
  }
  HWND neutral = MakeNeutral();
  const Result smallMenu =
      Measure(buildDir, MakeFolder(L"kelvo-bench-menu-small", small, false), neutral);
  const Result fileOnly =
      Measure(buildDir, MakeFolder(L"kelvo-bench-menu-file", big, false), neutral);
  const Result bigMenu = Measure(buildDir, MakeFolder(L"kelvo-bench-menu-big", big, true), neutral);
  std::printf(
      "launcher menu, hotkey to painted (median of %d): 10 entries %.2f ms, "
      "1,000-line file %.2f ms, file + 3,000 shortcuts %.2f ms (adds %.2f ms, ratio %.2f)\n",
      kOpens, smallMenu.open, fileOnly.open, bigMenu.open, bigMenu.open - smallMenu.open,
      smallMenu.open > 0 ? bigMenu.open / smallMenu.open : 0);
  std::printf(
      "reload (median of %d): 10 entries %.2f ms, 1,000-line file %.2f ms (adds %.2f ms), "
      "file + 3,000 shortcuts in 300 folders %.2f ms (adds %.2f ms)\n",
      kReloads, smallMenu.reload, fileOnly.reload, fileOnly.reload - smallMenu.reload,
      bigMenu.reload, bigMenu.reload - smallMenu.reload);
  DestroyWindow(neutral);

  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::u16string big16 =
      reinterpret_cast<const char16_t*>(temp) + std::u16string(u"kelvo-bench-menu-big");
  WinFileSystem files;
  WinCodePage codePage;
  WinLocale locale;
  LauncherSources sources{big16 + u"\\links", false, big16 + u"\\menu.txt"};
  std::vector<double> builds, listings;
  std::size_t items = 0;
  for (int i = 0; i < kReloads; ++i) {
    auto start = Stopwatch::now();
    const PopupLauncher menu = BuildLauncherMenu(sources, files, codePage, locale);
    builds.push_back(Ms(start));
    items = menu.commands.size() - 1;
    start = Stopwatch::now();
    std::vector<std::u16string> paths;
    ListFiles(files, locale, sources.PopupDir, paths, u"LNK", false);
    listings.push_back(Ms(start));
  }
  std::printf(
      "model build (median of %d): %.2f ms for %zu entries, of which listing the tree "
      "%.2f ms; the build's own work %.2f ms\n",
      kReloads, Median(builds), items, Median(listings), Median(builds) - Median(listings));
  return 0;
}
