// Long runs that show whether Kelvo leaks: each window opened and closed OPENINGS times (1,000 by
// default) as a user would, the command launcher's 1,000 keystrokes and 100 reloads. For each
// run: Kelvo's live counts (what it holds, as it answers them itself) after the first round and
// at the end, which must be equal, and its private memory as Linux sees it (RssAnon) along the
// run, with the growth per opening over the last half. Not part of the tests: it takes a while.
//   bench_leak_win.exe BUILD_DIR [OPENINGS [WORD]]   (WORD: only the runs whose name holds it)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "base/text_codec.h"
#include "drive/leak_probes.h"
#include "support/bench_session_win.h"
#include "support/bench_support_win.h"
#include "win32/wide_win.h"

namespace {

// Runs whose name does not hold this word are left out (all when empty).
std::string onlyRuns;

// Runs the step `times` times after a first round, and prints the memory along the run and the
// counts that changed.
void Run(BenchSession& session, const char* name, int times, const std::function<bool()>& step,
         int openingsPerRound = 1) {
  if (std::string(name).find(onlyRuns) == std::string::npos) return;
  if (!step()) {
    std::printf("%s: the first round failed: %s\n", name, session.LastFailure());
    return;
  }
  const LiveCounts baseline = session.Counts();
  std::vector<long long> memory{session.MemoryKb()};
  const auto start = Stopwatch::now();
  for (int i = 1; i <= times; ++i) {
    if (!step()) {
      std::printf("%s: round %d failed: %s\n", name, i, session.LastFailure());
      return;
    }
    if (i % (times / 10 > 0 ? times / 10 : 1) == 0) memory.push_back(session.MemoryKb());
  }
  const double perRound = MsSince(start) / times;
  LiveCounts after{};
  WaitFor([&] { return (after = session.Counts()) == baseline; }, std::chrono::seconds(10),
          Polling{20, false});
  const std::string changes = LiveCountChanges(baseline, after);
  const long long middle = memory[memory.size() / 2];
  std::printf("%s, %d times (%.0f ms each):\n", name, times, perRound);
  std::printf("  private memory KB at every tenth:");
  for (long long kb : memory) std::printf(" %lld", kb);
  const int lastHalf = (times - times / 2) * openingsPerRound;
  std::printf("\n  over the last %d openings: %+lld KB, %.3f KB per opening\n", lastHalf,
              memory.back() - middle, static_cast<double>(memory.back() - middle) / lastHalf);
  std::printf("  live counts after the first round: %s\n", LiveCountsText(baseline).c_str());
  std::printf("  at the end: %s\n", changes.empty() ? "the same" : changes.c_str());
  std::fflush(stdout);
}

// The floor of the command launcher's glyph: a button of this process, with the common controls
// of Kelvo's manifest, given a glyph ROUNDS times, either as a new bitmap each time (BM_SETIMAGE,
// the old one deleted) or drawn into the bitmap it holds; the growth of this process's private
// memory per glyph tells what the system keeps of each.
double GlyphFloorKbPerChange(const std::wstring& buildDir, bool newBitmaps, int rounds) {
  ACTCTXW context{sizeof(context)};
  const std::wstring kelvo = buildDir + L"\\Kelvo.exe";
  context.lpSource = kelvo.c_str();
  context.lpResourceName = MAKEINTRESOURCEW(1);
  context.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
  const HANDLE activation = CreateActCtxW(&context);
  ULONG_PTR cookie = 0;
  if (activation != INVALID_HANDLE_VALUE) ActivateActCtx(activation, &cookie);
  const HWND owner = MakeWindow(L"KelvoBenchGlyphFloor", L"glyph floor", 300);
  const HWND button = CreateWindowExW(0, L"BUTTON", nullptr, WS_CHILD | WS_VISIBLE | BS_BITMAP, 4,
                                      4, 24, 24, owner, nullptr, nullptr, nullptr);
  const HICON icons[] = {LoadIconW(nullptr, IDI_APPLICATION), LoadIconW(nullptr, IDI_WARNING)};
  HDC screen = GetDC(button);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP held = nullptr;
  const long self = UnixProcessOf(buildDir + L"\\bench_leak_win.exe");
  long long start = 0;
  for (int i = 0; i < 2 * rounds; ++i) {
    if (i == rounds) start = PrivateMemoryKb(self);  // the first half fills what the heap has free
    HBITMAP target = held;
    if (newBitmaps || !held) target = CreateCompatibleBitmap(screen, 16, 17);
    const HGDIOBJ old = SelectObject(memory, target);
    DrawIconEx(memory, 0, 0, icons[i % 2], 16, 16, 0, nullptr, DI_NORMAL);
    SelectObject(memory, old);
    if (target != held) {
      SendMessageW(button, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(target));
      if (held) DeleteObject(held);
      held = target;
    } else {
      InvalidateRect(button, nullptr, FALSE);
    }
    UpdateWindow(button);
    PumpMessages();
  }
  const double perChange = static_cast<double>(PrivateMemoryKb(self) - start) / rounds;
  DestroyWindow(GetParent(button));
  DeleteObject(held);
  DeleteDC(memory);
  ReleaseDC(button, screen);
  if (cookie) DeactivateActCtx(0, cookie);
  if (activation != INVALID_HANDLE_VALUE) ReleaseActCtx(activation);
  return perChange;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring buildDir = argc > 1 ? argv[1] : L".";
  const int openings = argc > 2 ? std::max(10, _wtoi(argv[2])) : 1000;
  if (argc > 3) onlyRuns = Utf16ToUtf8(U16(argv[3]));
  const std::wstring folder = BenchFolder(L"kelvo-bench-leak");
  PrepareSessionFolder(folder);
  BenchSession session(buildDir, folder, SessionSettings(),
                       MakeWindow(L"KelvoBenchLeakFront", L"front", 700));
  std::printf("Kelvo at start: %lld KB private; %s\n", session.MemoryKb(),
              LiveCountsText(session.Counts()).c_str());
  std::fflush(stdout);
  // The five windows in turn, as a user moves between them.
  Run(
      session, "all five windows in turn (5 openings)", openings / 2,
      [&] {
        return session.ClipPage('H', 4) && session.ClipPage('T', 410) && session.Launcher() &&
               session.Menu() && session.HotKeyList();
      },
      5);
  Run(session, "clipboard window, a row moved", openings, [&] { return session.ClipPage('H', 4); });
  Run(session, "canned-text page, a row moved", openings,
      [&] { return session.ClipPage('T', 410); });
  Run(session, "command launcher, a letter typed", openings, [&] { return session.Launcher(); });
  Run(session, "launcher menu, its submenu opened", openings, [&] { return session.Menu(); });
  Run(session, "hotkey list", openings, [&] { return session.HotKeyList(); });
  {
    HWND box = session.ShowLauncher();
    Run(
        session, "command launcher's keystrokes, a letter and a Backspace", openings / 2,
        [&] {
          return box && session.TypeInLauncher(box, 'Q', L"qzone") &&
                 session.TypeInLauncher(box, VK_BACK, L"");
        },
        2);
    if (box) session.HideLauncher(box);
  }
  Run(session, "reload", std::max(10, openings / 10), [&] { return session.Reload(); });
  std::printf("Kelvo at the end: %lld KB private; %s\n", session.MemoryKb(),
              LiveCountsText(session.Counts()).c_str());
  if (onlyRuns.empty() || onlyRuns == "floor") {
    std::printf(
        "floor, a button of this program given %d glyphs after as many others: a new bitmap each "
        "time %.3f KB per glyph, drawn into the bitmap it holds %.3f KB per glyph\n",
        openings, GlyphFloorKbPerChange(buildDir, true, openings),
        GlyphFloorKbPerChange(buildDir, false, openings));
  }
  return 0;
}
