// The command launcher with 250 keywords and a LaunchDir of 5,000 shortcuts, against 5 keywords in
// the same run: time from the launcher's hotkey to the box on the screen with its list filled, and
// from one typed letter (and one Backspace) to the box showing the completed keyword. Also Kelvo's
// live counts (what it holds, as it answers them) and its private memory as Linux sees it, before
// and after 1,000 keystrokes. The floor: a small window with the launcher's controls (a close
// button, a combo box listing as many rows, a run button with a bitmap), shown by its own hotkey
// and measured the same way, a round of it after each of Kelvo's rounds, so that a slow stretch of
// the machine weighs on both alike.
//   bench_cmd_launcher_win.exe BUILD_DIR
#include <windows.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "drive/leak_probes.h"
#include "support/bench_support_win.h"

namespace {

constexpr int kRounds = 21;
// Ctrl+Alt+Shift and these show and hide Kelvo's box and the floor's window.
constexpr WORD kKelvoKey = VK_F9;
constexpr WORD kFloorKey = VK_F12;

std::string Settings(int keywords, bool launchDir) {
  std::string s =
      "[General]\r\nVersion=169\r\n[HotKey1]\r\nKey=Ctrl+Alt+Shift+F9\r\n"
      "Command=CMDLAUNCHER\r\n[CmdLauncher]\r\nDropdown=0\r\n";
  if (launchDir) s += "LaunchDir=links\r\n";
  for (int n = 1; n <= keywords; ++n) {
    s += "[CmdKwd" + std::to_string(n) +
         "]\r\nKey=" + (n == 1 ? "qzone" : "kw" + std::to_string(n)) +
         "\r\nExecute1=C:\\Tools\\tool" + std::to_string(n) + ".exe\r\n";
  }
  return s;
}

// Types the key into the box until the condition holds, giving the box the foreground again when
// Wine handed it to its desktop window (a late focus event), which would take the key.
bool TypeUntil(HWND box, WORD key, const std::function<bool()>& done) {
  for (int attempt = 0; attempt < 3; ++attempt) {
    if (GetForegroundWindow() != box) {
      SetForegroundWindow(box);
      WaitFor([&] { return GetForegroundWindow() == box; }, std::chrono::seconds(2), kTightPolls);
    }
    PressKeys({key});
    if (WaitFor(done, std::chrono::seconds(5), kTightPolls)) return true;
  }
  std::printf("the box did not show the key's effect\n");
  return false;
}

void HideByHotKey(WORD key, HWND box);

// The time from the hotkey until the window of the class is on the screen and painted. A window
// still shown (its hide's key went astray) is hidden first: the key would hide it, not show it.
double ShowByHotKey(WORD key, const wchar_t* cls, HWND& box) {
  if (HWND shown = FindWindowW(cls, nullptr); shown && IsWindowVisible(shown)) {
    HideByHotKey(key, shown);
    Settled(shown);
  }
  const auto start = Stopwatch::now();
  PressKeys({VK_CONTROL, VK_MENU, VK_SHIFT, key});
  WaitFor(
      [&] {
        box = FindWindowW(cls, nullptr);
        return box && IsWindowVisible(box);
      },
      std::chrono::seconds(10), kTightPolls);
  Settled(box);
  return MsSince(start);
}

void HideByHotKey(WORD key, HWND box) {
  PressKeys({VK_CONTROL, VK_MENU, VK_SHIFT, key});
  WaitFor([&] { return !IsWindowVisible(box); }, std::chrono::seconds(10), kTightPolls);
}

struct Result {
  double show = 0;
  double floorShow = 0;  // with a floor of as many rows
  double type = 0;
  double back = 0;
  LiveCounts before{}, after{};
  long long kbBefore = -1, kbAfter = -1;
  LRESULT rows = 0;  // listed at the show, to see that the table is the one meant
};

// `floorRows`: a round of the floor's window listing as many rows follows each round.
Result Measure(const std::wstring& buildDir, int keywords, bool launchDir, bool leakRun,
               int floorRows = 0) {
  const std::wstring folder = BenchFolder(L"kelvo-bench-cmd");
  if (launchDir) {
    // Listing looks at names only: empty files stand for shortcuts.
    CreateDirectoryW((folder + L"\\links").c_str(), nullptr);
    for (int i = 0; i < 5000; ++i) {
      WriteBytes(folder + L"\\links\\App " + std::to_wstring(i) + L".lnk", "");
    }
  }
  BenchKelvo kelvo(buildDir, folder, Settings(keywords, launchDir));
  const auto floor =
      floorRows > 0 ? std::make_unique<BenchFloor>(buildDir, L"combo " + std::to_wstring(floorRows))
                    : nullptr;

  Result r;
  std::vector<double> shows, types, backs, floorShows;
  HWND box = nullptr;
  for (int i = 0; i < kRounds; ++i) {
    shows.push_back(ShowByHotKey(kKelvoKey, L"TCmdLncForm", box));
    HWND combo = FindWindowExW(box, nullptr, L"ComboBox", nullptr);
    r.rows = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    auto start = Stopwatch::now();
    TypeUntil(box, 'Q', [&] { return WindowTextOf(combo) == L"qzone"; });
    Settled(box);
    types.push_back(MsSince(start));
    start = Stopwatch::now();
    TypeUntil(box, VK_BACK, [&] { return WindowTextOf(combo).empty(); });
    Settled(box);
    backs.push_back(MsSince(start));
    HideByHotKey(kKelvoKey, box);
    if (floor) {
      HWND floorBox = nullptr;
      floorShows.push_back(ShowByHotKey(kFloorKey, L"KelvoFloor", floorBox));
      HideByHotKey(kFloorKey, floorBox);
    }
  }
  r.show = Median(shows);
  if (!floorShows.empty()) r.floorShow = Median(floorShows);
  r.type = Median(types);
  r.back = Median(backs);
  if (leakRun) {
    PressKeys({VK_CONTROL, VK_MENU, VK_SHIFT, kKelvoKey});
    WaitFor([&] { return IsWindowVisible(box); }, std::chrono::seconds(10), kTightPolls);
    Settled(box);
    HWND combo = FindWindowExW(box, nullptr, L"ComboBox", nullptr);
    const long unixProcess = UnixProcessOf(folder + L"\\Kelvo.exe");
    r.before = AskLiveCounts(kelvo.MainWindow());
    r.kbBefore = PrivateMemoryKb(unixProcess);
    for (int i = 0; i < 500; ++i) {
      if (!TypeUntil(box, 'Q', [&] { return WindowTextOf(combo) == L"qzone"; }) ||
          !TypeUntil(box, VK_BACK, [&] { return WindowTextOf(combo).empty(); })) {
        break;
      }
    }
    Settled(box);
    r.after = AskLiveCounts(kelvo.MainWindow());
    r.kbAfter = PrivateMemoryKb(unixProcess);
  }
  return r;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring buildDir = argc > 1 ? argv[1] : L".";
  const Result small = Measure(buildDir, 5, false, false);
  // 250 keywords and 5,000 shortcuts: the floor lists as many rows.
  const Result full = Measure(buildDir, 250, true, true, 5250);
  std::printf(
      "command launcher (median of %d), 250 keywords + 5,000 shortcuts (%ld rows) vs 5 keywords "
      "(%ld rows):\n"
      "  hotkey -> box shown and painted: %.2f ms vs %.2f ms (x%.2f)\n"
      "  one letter -> completed:         %.2f ms vs %.2f ms (x%.2f)\n"
      "  Backspace -> full list again:    %.2f ms vs %.2f ms (x%.2f)\n"
      "  over 1,000 keystrokes: live counts %s, private memory %lld -> %lld KB\n",
      kRounds, static_cast<long>(full.rows), static_cast<long>(small.rows), full.show, small.show,
      full.show / small.show, full.type, small.type, full.type / small.type, full.back, small.back,
      full.back / small.back,
      full.before == full.after ? "the same" : LiveCountChanges(full.before, full.after).c_str(),
      full.kbBefore, full.kbAfter);
  PrintAgainstFloor("cmd_launcher_show_vs_floor",
                    "hotkey -> box shown and painted, against a window with the same controls "
                    "whose combo box lists as many rows",
                    full.show, full.floorShow, 1.2);
  return 0;
}
