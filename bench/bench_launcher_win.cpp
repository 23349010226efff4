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

#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "popup_menu/model/launcher_menu_model.h"
#include "support/bench_support_win.h"
#include "util/file_listing.h"
#include "win32/code_page_win.h"
#include "win32/file_system_win.h"
#include "win32/locale_win.h"
#include "win32/wide_win.h"

namespace {

constexpr int kOpens = 11;
constexpr int kReloads = 11;

// The file system with every folder listed once: later builds of the menu find the listing in
// memory, so that a benchmark times what the build itself does.
class ListedTree : public WinFileSystem {
 public:
  std::optional<std::vector<DirEntry>> ListDirectory(const std::u16string& dir) const override {
    const auto found = listed_.find(dir);
    if (found != listed_.end()) return found->second;
    return listed_.emplace(dir, WinFileSystem::ListDirectory(dir)).first->second;
  }

 private:
  mutable std::map<std::u16string, std::optional<std::vector<DirEntry>>> listed_;
};

HWND OpenMenu() {
  HWND menu = FindWindowW(L"#32768", nullptr);
  return menu && IsWindowVisible(menu) ? menu : nullptr;
}

// A folder with a menu definition file and, for the big menu, a tree of shortcuts, and the
// settings that show them.
struct MenuFolder {
  std::wstring path;
  std::string settings;
};

MenuFolder MakeFolder(const std::wstring& name, const std::string& definition, bool tree) {
  const std::wstring folder = BenchFolder(name);
  WriteBytes(folder + L"\\menu.txt", definition);
  std::string ini =
      "[General]\r\nVersion=169\r\n[HotKey1]\r\nKey=Ctrl+Alt+Shift+F11\r\nCommand=POPUPMENU\r\n"
      "[PopupMenu]\r\nPopupFile=menu.txt\r\nPosX=60\r\nPosY=60\r\n";
  if (tree) {
    ini += "PopupDir=links\r\n";
    CreateDirectoryW((folder + L"\\links").c_str(), nullptr);
    for (int d = 0; d < 300; ++d) {
      const std::wstring dir = folder + L"\\links\\Folder " + std::to_wstring(d);
      CreateDirectoryW(dir.c_str(), nullptr);
      for (int f = 0; f < 10; ++f) WriteBytes(dir + L"\\Tool " + std::to_wstring(f) + L".lnk", "");
    }
  }
  return {folder, ini};
}

struct Result {
  double open = 0;
  double reload = 0;
};

// The median time from the menu's hotkey to the menu painted, for the program whose window
// owns the menu.
double MedianOpen(HWND owner, HWND neutral) {
  std::vector<double> opens;
  for (int i = 0; i < kOpens; ++i) {
    const auto start = PressInFront(neutral, {VK_CONTROL, VK_MENU, VK_SHIFT, VK_F11}, 30);
    WaitFor(
        [] {
          PumpMessages();
          return OpenMenu() != nullptr;
        },
        std::chrono::seconds(10), kTightPolls);
    // The menu is shown once its items are measured; it paints before it next looks at
    // messages, so a message that the owner's thread answers afterwards marks the menu as
    // painted.
    WindowAnswers(owner, 5000);
    opens.push_back(MsSince(start));
    PressKeys({VK_ESCAPE});
    WaitFor(
        [] {
          PumpMessages();
          return OpenMenu() == nullptr;
        },
        std::chrono::seconds(5), kTightPolls);
  }
  return Median(opens);
}

Result Measure(const std::wstring& buildDir, const MenuFolder& folder, HWND neutral) {
  BenchKelvo kelvo(buildDir, folder.path, folder.settings);
  const HWND main = kelvo.MainWindow();
  Result result;

  result.open = MedianOpen(main, neutral);

  std::vector<double> reloads;
  const UINT loadsDone = RegisterWindowMessageW(L"Kelvo.LoadsDone");
  WindowAnswers(main, 5000);
  static const wchar_t kReload[] = L"-R";
  for (int i = 0; i < kReloads; ++i) {
    // Reloads come seconds apart as a user asks for them: the menu's items of the last one are
    // listed (on their own thread) before the next.
    Sleep(1000);
    COPYDATASTRUCT data{1, sizeof(kReload), const_cast<wchar_t*>(kReload)};
    DWORD_PTR answer = 0;
    const auto start = Stopwatch::now();
    const LRESULT sent = SendMessageTimeoutW(main, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                                             SMTO_NORMAL, 30000, &answer);
    reloads.push_back(MsSince(start));
    // A reload asked for while the last hotkey still finishes runs after it: wait as a second
    // start does.
    while (sent && answer != 0) {
      DWORD_PTR done = 0;
      SendMessageTimeoutW(main, loadsDone, 0, 0, SMTO_NORMAL, 5000, &done);
      if (done >= answer || MsSince(start) > 30000) break;
      Sleep(1);
    }
    reloads.back() = MsSince(start);
  }
  result.reload = Median(reloads);
  return result;
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
  HWND neutral = MakeWindow(L"KelvoBenchNeutral", L"neutral", 700);
  const Result smallMenu =
      Measure(buildDir, MakeFolder(L"kelvo-bench-menu-small", small, false), neutral);
  const Result fileOnly =
      Measure(buildDir, MakeFolder(L"kelvo-bench-menu-file", big, false), neutral);
  const MenuFolder bigFolder = MakeFolder(L"kelvo-bench-menu-big", big, true);
  const Result bigMenu = Measure(buildDir, bigFolder, neutral);
  // The floor: an owner-drawn popup menu of as many submenus and items, filled as they open.
  double floorOpen = 0;
  {
    BenchFloor program(buildDir, L"menu 0 400 10");
    floorOpen = MedianOpen(program.Owner(), neutral);
  }
  std::printf(
      "launcher menu, hotkey to painted (median of %d): 10 entries %.2f ms, "
      "1,000-line file %.2f ms, file + 3,000 shortcuts %.2f ms (adds %.2f ms, ratio %.2f)\n",
      kOpens, smallMenu.open, fileOnly.open, bigMenu.open, bigMenu.open - smallMenu.open,
      smallMenu.open > 0 ? bigMenu.open / smallMenu.open : 0);
  PrintAgainstFloor("launcher_open_vs_floor",
                    "launcher menu of 3,000 shortcuts and a 1,000-line file, hotkey to painted",
                    bigMenu.open, floorOpen, 1.2);
  std::printf(
      "reload (median of %d): 10 entries %.2f ms, 1,000-line file %.2f ms (adds %.2f ms), "
      "file + 3,000 shortcuts in 300 folders %.2f ms (adds %.2f ms)\n",
      kReloads, smallMenu.reload, fileOnly.reload, fileOnly.reload - smallMenu.reload,
      bigMenu.reload, bigMenu.reload - smallMenu.reload);
  DestroyWindow(neutral);

  const std::u16string big16 = U16(bigFolder.path.c_str());
  WinFileSystem files;
  ListedTree listed;
  WinCodePage codePage;
  WinLocale locale;
  LauncherSources sources{big16 + u"\\links", false, big16 + u"\\menu.txt"};
  std::vector<double> builds, listings, own;
  std::size_t items = 0;
  for (int i = 0; i < kReloads; ++i) {
    auto start = Stopwatch::now();
    const PopupLauncher menu = BuildLauncherMenu(sources, files, codePage, locale);
    builds.push_back(MsSince(start));
    items = menu.commands.size() - 1;
    start = Stopwatch::now();
    std::vector<std::u16string> paths;
    ListFiles(files, locale, sources.PopupDir, paths, u"LNK", false);
    listings.push_back(MsSince(start));
    // The same build over a tree listed once before: only the build's own work is timed.
    if (i == 0) BuildLauncherMenu(sources, listed, codePage, locale);
    start = Stopwatch::now();
    BuildLauncherMenu(sources, listed, codePage, locale);
    own.push_back(MsSince(start));
  }
  std::printf(
      "model build (median of %d): %.2f ms for %zu entries; listing the tree alone %.2f ms; "
      "the build's own work on a tree already listed %.2f ms\n",
      kReloads, Median(builds), items, Median(listings), Median(own));
  return 0;
}
