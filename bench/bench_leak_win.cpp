// Long runs that show whether Kelvo leaks: each window opened and closed OPENINGS times (1,000 by
// default) as a user would, the command launcher's 1,000 keystrokes and 100 reloads. For each
// run: Kelvo's live counts (what it holds, as it answers them itself) after the first round and
// at the end, which must be equal, and its private memory as Linux sees it (RssAnon) along the
// run, with the growth per opening over the last half. Not part of the tests: it takes a while.
//   bench_leak_win.exe BUILD_DIR [OPENINGS]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "e2e/leak_probes.h"
#include "support/bench_support_win.h"

namespace {

constexpr WORD kHotKey[] = {VK_CONTROL, VK_MENU, VK_SHIFT};

std::string Settings() {
  return "[General]\r\nVersion=169\r\n"
         "[HotKey1]\r\nKey=Ctrl+Alt+Shift+H\r\nCommand=CLIPBOARD\r\n"
         "[HotKey2]\r\nKey=Ctrl+Alt+Shift+T\r\nCommand=CLIPBOARD_T\r\n"
         "[HotKey3]\r\nKey=Ctrl+Alt+Shift+K\r\nCommand=CMDLAUNCHER\r\n"
         "[HotKey4]\r\nKey=Ctrl+Alt+Shift+M\r\nCommand=POPUPMENU\r\n"
         "[HotKey5]\r\nKey=Ctrl+Alt+Shift+L\r\nCommand=HOTKEY_LIST\r\n"
         "[ClipboardList]\r\nEnable=1\r\nSaveHistory=1\r\nPosX=60\r\nPosY=60\r\n"
         "TextDataBtn1=TEXTDATA.txt\r\n"
         "[PopupMenu]\r\nPopupFile=menu.txt\r\nPosX=40\r\nPosY=40\r\n"
         "[CmdLauncher]\r\nDropdown=0\r\n"
         "[CmdKwd1]\r\nKey=qzone\r\nExecute1=nothing.exe\r\n"
         "[CmdKwd2]\r\nKey=calc\r\nExecute1=nothing.exe\r\n";
}

void PrepareFolder(const std::wstring& folder) {
  WriteBytes(folder + L"\\CLIPDATA.txt",
             "\xEF\xBB\xBF"
             "CreTime=2026/01/03\r\nLineCount=1\r\nthird\r\n\r\n"
             "CreTime=2026/01/02\r\nLineCount=1\r\nsecond\r\n\r\n"
             "CreTime=2026/01/01\r\nLineCount=1\r\nfirst\r\n\r\n");
  WriteBytes(folder + L"\\TEXTDATA.txt", "alpha\r\nbeta\r\ngamma\r\n");
  WriteBytes(folder + L"\\menu.txt",
             ">&Sub\r\n&Two\tnothing.exe\r\n<\r\n&One\tnothing.exe\r\n--\r\n&Text\tpasted \\Y\r\n");
}

// Waits for the condition, pumping the bench's own window meanwhile.
bool Pumped(const std::function<bool()>& done, int seconds = 10) {
  return Until(
      [&] {
        PumpMessages();
        return done();
      },
      std::chrono::seconds(seconds), 1);
}

void Press(WORD key, bool withModifiers) {
  if (withModifiers) {
    PressKeys({kHotKey[0], kHotKey[1], kHotKey[2], key});
  } else {
    PressKeys({key});
  }
}

// Presses the key until the condition holds: under Wine a modifier pressed right after another
// program took the foreground is now and then lost, and the hotkey with it.
bool PressUntil(WORD key, bool withModifiers, const std::function<bool()>& done) {
  for (int attempt = 0; attempt < 3; ++attempt) {
    Press(key, withModifiers);
    if (Pumped(done, 5)) return true;
  }
  return false;
}

int VisibleMenus() {
  int count = 0;
  for (HWND menu = nullptr; (menu = FindWindowExW(nullptr, menu, L"#32768", nullptr));) {
    if (IsWindowVisible(menu)) ++count;
  }
  return count;
}

class Session {
 public:
  Session(const std::wstring& buildDir, const std::wstring& folder)
      : kelvo_(buildDir, folder, Settings()),
        exe_(folder + L"\\Kelvo.exe"),
        folder_(folder),
        front_(MakeWindow(L"KelvoBenchLeakFront", L"front", 700)) {
    unixProcess_ = UnixProcessOf(exe_);
    Pumped([] { return FindWindowW(L"TClipBdList", nullptr) != nullptr; }, 60);
  }

  HWND Main() const { return kelvo_.MainWindow(); }
  long long MemoryKb() const { return PrivateMemoryKb(unixProcess_); }
  LiveCounts Counts() const { return AskLiveCounts(Main()); }

  bool InFront() {
    SetForegroundWindow(front_);
    return Pumped([&] { return GetForegroundWindow() == front_; });
  }

  // The clipboard window on a page (its hotkey), a row moved, closed with Esc.
  bool ClipPage(WORD key, int listId) {
    const HWND clip = FindWindowW(L"TClipBdList", nullptr);
    if (!InFront()) return false;
    if (!PressUntil(key, true,
                    [&] { return IsWindowVisible(clip) && GetForegroundWindow() == clip; }))
      return false;
    const HWND list = GetDlgItem(clip, listId);
    const LRESULT selected = SendMessageW(list, LB_GETCURSEL, 0, 0);
    Press(selected == 0 ? VK_DOWN : VK_UP, false);
    if (!Pumped([&] { return SendMessageW(list, LB_GETCURSEL, 0, 0) != selected; })) return false;
    Press(VK_ESCAPE, false);
    return Pumped([&] { return !IsWindowVisible(clip); });
  }

  HWND ShowLauncher() {
    if (!InFront()) return nullptr;
    HWND box = nullptr;
    PressUntil('K', true, [&] {
      box = FindWindowW(L"TCmdLncForm", nullptr);
      return box && IsWindowVisible(box) && GetForegroundWindow() == box;
    });
    return box && IsWindowVisible(box) ? box : nullptr;
  }

  bool TypeInLauncher(HWND box, WORD key, const std::wstring& expected) {
    const HWND combo = FindWindowExW(box, nullptr, L"ComboBox", nullptr);
    Press(key, false);
    return Pumped([&] { return WindowText(combo) == expected; });
  }

  bool HideLauncher(HWND box) {
    Press(VK_ESCAPE, false);
    return Pumped([&] { return !IsWindowVisible(box); });
  }

  bool Launcher() {
    const HWND box = ShowLauncher();
    return box && TypeInLauncher(box, 'C', L"calc") && HideLauncher(box);
  }

  bool Menu() {
    if (!InFront()) return false;
    if (!PressUntil('M', true, [] { return VisibleMenus() == 1; })) return false;
    Press(VK_DOWN, false);
    Press(VK_RIGHT, false);
    if (!Pumped([] { return VisibleMenus() == 2; })) return false;
    Press(VK_ESCAPE, false);
    Press(VK_ESCAPE, false);
    return Pumped([] { return VisibleMenus() == 0; });
  }

  bool HotKeyList() {
    if (!InFront()) return false;
    HWND list = nullptr;
    if (!PressUntil('L', true, [&] {
          list = FindWindowW(L"THotKeyHelp", nullptr);
          return list && IsWindowVisible(list) && GetForegroundWindow() == list;
        })) {
      return false;
    }
    Press(VK_ESCAPE, false);
    return Pumped([&] { return !IsWindowVisible(list); });
  }

  bool Reload() {
    const HANDLE second = LaunchProgram(exe_, L"-R", folder_);
    if (!second) return false;
    const bool ended = WaitForSingleObject(second, 30000) == WAIT_OBJECT_0;
    DWORD code = 1;
    GetExitCodeProcess(second, &code);
    CloseHandle(second);
    return ended && code == 0;
  }

 private:
  BenchKelvo kelvo_;
  std::wstring exe_;
  std::wstring folder_;
  HWND front_;
  long unixProcess_ = 0;
};

// Runs the step `times` times after a first round, and prints the memory along the run and the
// counts that changed.
void Run(Session& session, const char* name, int times, const std::function<bool()>& step) {
  if (!step()) {
    std::printf("%s: the first round failed\n", name);
    return;
  }
  const LiveCounts baseline = session.Counts();
  std::vector<long long> memory{session.MemoryKb()};
  const auto start = Stopwatch::now();
  for (int i = 1; i <= times; ++i) {
    if (!step()) {
      std::printf("%s: round %d failed\n", name, i);
      return;
    }
    if (i % (times / 10 > 0 ? times / 10 : 1) == 0) memory.push_back(session.MemoryKb());
  }
  const double perRound = MsSince(start) / times;
  LiveCounts after{};
  Until([&] { return (after = session.Counts()) == baseline; }, std::chrono::seconds(10), 20);
  const std::string changes = LiveCountChanges(baseline, after);
  const long long middle = memory[memory.size() / 2];
  std::printf("%s, %d times (%.0f ms each):\n", name, times, perRound);
  std::printf("  private memory KB at every tenth:");
  for (long long kb : memory) std::printf(" %lld", kb);
  std::printf("\n  over the last half: %+lld KB, %.3f KB per round\n", memory.back() - middle,
              static_cast<double>(memory.back() - middle) / (times - times / 2));
  std::printf("  live counts after the first round: %s\n", LiveCountsText(baseline).c_str());
  std::printf("  at the end: %s\n", changes.empty() ? "the same" : changes.c_str());
  std::fflush(stdout);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring buildDir = argc > 1 ? argv[1] : L".";
  const int openings = argc > 2 ? std::max(10, _wtoi(argv[2])) : 1000;
  const std::wstring folder = BenchFolder(L"kelvo-bench-leak");
  PrepareFolder(folder);
  Session session(buildDir, folder);
  std::printf("Kelvo at start: %lld KB private; %s\n", session.MemoryKb(),
              LiveCountsText(session.Counts()).c_str());
  std::fflush(stdout);
  Run(session, "clipboard window, a row moved", openings, [&] { return session.ClipPage('H', 4); });
  Run(session, "canned-text page, a row moved", openings,
      [&] { return session.ClipPage('T', 410); });
  Run(session, "command launcher, a letter typed", openings, [&] { return session.Launcher(); });
  Run(session, "launcher menu, its submenu opened", openings, [&] { return session.Menu(); });
  Run(session, "hotkey list", openings, [&] { return session.HotKeyList(); });
  {
    HWND box = session.ShowLauncher();
    Run(session, "command launcher, a letter and a Backspace typed (2 keystrokes)", openings / 2,
        [&] {
          return box && session.TypeInLauncher(box, 'Q', L"qzone") &&
                 session.TypeInLauncher(box, VK_BACK, L"");
        });
    if (box) session.HideLauncher(box);
  }
  Run(session, "reload", std::max(10, openings / 10), [&] { return session.Reload(); });
  std::printf("Kelvo at the end: %lld KB private; %s\n", session.MemoryKb(),
              LiveCountsText(session.Counts()).c_str());
  return 0;
}
