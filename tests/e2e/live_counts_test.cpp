// Nothing Kelvo makes is left behind: each window opened and closed fifty times as a user would
// (a row moved, a letter typed, a submenu opened), and a reload, leave every live count Kelvo
// answers (fonts, brushes, icons, menus, DCs, kernel objects, windows…) exactly where it was
// after the first time.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <functional>
#include <string>

#include "clip_driver.h"
#include "desktop_driver.h"
#include "drive/leak_probes.h"
#include "drive/window_reading.h"
#include "kelvo_session.h"

namespace {

constexpr UINT kHotMods = MOD_CONTROL | MOD_ALT | MOD_SHIFT;
constexpr int kOpenings = 50;
constexpr int kHistoryListId = 4;
constexpr int kCannedListId = 410;

class LiveCountsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteBytes(kelvo.Folder() + L"\\CLIPDATA.txt",
               "\xEF\xBB\xBF" + CrLf("CreTime=2026/01/03\nLineCount=1\nthird\n\n"
                                     "CreTime=2026/01/02\nLineCount=1\nsecond\n\n"
                                     "CreTime=2026/01/01\nLineCount=1\nfirst\n\n"));
    WriteBytes(kelvo.Folder() + L"\\TEXTDATA.txt", CrLf("alpha\nbeta\ngamma\n"));
    WriteBytes(kelvo.Folder() + L"\\menu.txt",
               CrLf(">&Sub\n&Two\tnothing.exe\n<\n&One\tnothing.exe\n--\n&Text\tpasted \\Y\n"));
    kelvo.WriteIni(CrLf(
        "[General]\nVersion=169\n"
        "[HotKey1]\nKey=Ctrl+Alt+Shift+H\nCommand=CLIPBOARD\n"
        "[HotKey2]\nKey=Ctrl+Alt+Shift+T\nCommand=CLIPBOARD_T\n"
        "[HotKey3]\nKey=Ctrl+Alt+Shift+K\nCommand=CMDLAUNCHER\n"
        "[HotKey4]\nKey=Ctrl+Alt+Shift+M\nCommand=POPUPMENU\n"
        "[HotKey5]\nKey=Ctrl+Alt+Shift+L\nCommand=HOTKEY_LIST\n"
        "[ClipboardList]\nEnable=1\nSaveHistory=1\nPosX=60\nPosY=60\nTextDataBtn1=TEXTDATA.txt\n"
        "[PopupMenu]\nPopupFile=menu.txt\nPosX=40\nPosY=40\n"
        "[CmdKwd1]\nKey=calc\nExecute1=nothing.exe\n"
        "[CmdKwd2]\nKey=calendar\nExecute1=nothing.exe\n"));
    ASSERT_TRUE(kelvo.Start());
    clipWindow_ = ClipWindowOf(kelvo.ProcessId());
    ASSERT_NE(clipWindow_, nullptr);
  }

  // Opens and closes the window once, then fifty times more, and expects every count back at
  // its level after the first time (waiting a while for what a closing window gives back last).
  void ExpectNoGrowth(const std::function<bool()>& openAndClose) {
    ASSERT_TRUE(openAndClose()) << "the first opening: " << failed_;
    const LiveCounts baseline = AskLiveCounts(kelvo.MainWindow());
    for (long long count : baseline) ASSERT_NE(count, kUnknownLiveKind) << LiveCountsText(baseline);
    EXPECT_GT(baseline[static_cast<int>(LiveKind::kWindow)], 0);
    for (int i = 0; i < kOpenings; ++i) {
      ASSERT_TRUE(openAndClose()) << "opening " << i + 2 << ": " << failed_ << "; "
                                  << TypingContext(kelvo.MainWindow());
    }
    LiveCounts after{};
    WaitFor([&] { return (after = AskLiveCounts(kelvo.MainWindow())) == baseline; },
            std::chrono::seconds(10));
    EXPECT_EQ(LiveCountChanges(baseline, after), "") << "after " << kOpenings << " more openings";
  }

  // Waits for the step's condition; names the step when it does not come.
  [[nodiscard]] bool Step(const char* what, const std::function<bool()>& done) {
    if (WaitFor(done)) return true;
    failed_ = what;
    return false;
  }

  // Esc to the window until it hides: Wine now and then gives the foreground to its desktop
  // window a moment after a window of Kelvo took it, and the key then reaches neither.
  [[nodiscard]] bool EscapeHides(HWND window, const char* what) {
    for (int attempt = 0; attempt < 3; ++attempt) {
      if (GetForegroundWindow() != window) SetForegroundWindow(window);
      PressHotKey(0, VK_ESCAPE);
      if (WaitFor([&] { return !IsWindowVisible(window); }, std::chrono::seconds(5))) return true;
    }
    failed_ = what;
    return false;
  }

  // Brings the pad to the front, again when Wine gives the foreground to its desktop or tray
  // window (it does when a thread reads the focus event of a window hidden a moment ago late),
  // until it stays there while both programs read their events.
  [[nodiscard]] bool InFront() {
    return Step("the pad in front", [&] {
      for (int i = 0; i < 3; ++i) {
        PumpMessages();
        kelvo.Answers();
      }
      if (GetForegroundWindow() == pad_.hwnd()) return true;
      SetForegroundWindow(pad_.hwnd());
      return false;
    });
  }

  // The clipboard window on one of its pages, a row down, closed with Esc.
  [[nodiscard]] bool ClipPageRowDown(UINT key, int listId) {
    if (!InFront()) return false;
    PressHotKey(kHotMods, key);
    if (!Step("the clipboard window in front", [&] {
          return IsWindowVisible(clipWindow_) && GetForegroundWindow() == clipWindow_;
        })) {
      return false;
    }
    const HWND list = GetDlgItem(clipWindow_, listId);
    const LRESULT selected = SendMessageW(list, LB_GETCURSEL, 0, 0);
    PressHotKey(0, selected == 0 ? VK_DOWN : VK_UP);
    if (!Step("the row moved",
              [&] { return SendMessageW(list, LB_GETCURSEL, 0, 0) != selected; })) {
      return false;
    }
    return EscapeHides(clipWindow_, "the clipboard window hidden");
  }

  KelvoSession kelvo;
  TestWindow pad_{L"Leak Pad"};
  HWND clipWindow_ = nullptr;
  const char* failed_ = "";
};

TEST_F(LiveCountsTest, ClipboardWindowWithARowMoved) {
  ExpectNoGrowth([&] { return ClipPageRowDown('H', kHistoryListId); });
}

TEST_F(LiveCountsTest, CannedTextPageWithARowMoved) {
  ExpectNoGrowth([&] { return ClipPageRowDown('T', kCannedListId); });
}

TEST_F(LiveCountsTest, CommandLauncherWithALetterTyped) {
  ExpectNoGrowth([&] {
    if (!InFront()) return false;
    PressHotKey(kHotMods, 'K');
    HWND box = nullptr;
    if (!Step("the launcher in front", [&] {
          box = TopWindowOf(kelvo.ProcessId(), L"TCmdLncForm");
          return box && IsWindowVisible(box) && GetForegroundWindow() == box;
        })) {
      return false;
    }
    const HWND combo = FindWindowExW(box, nullptr, L"ComboBox", nullptr);
    PressHotKey(0, 'C');
    if (!Step("calc completed", [&] { return WindowTextOf(combo) == L"calc"; })) return false;
    // As the user sees it: painted (the edit's colours are made at its first paint).
    RedrawWindow(box, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    PressHotKey(kHotMods, 'K');
    return Step("the launcher hidden", [&] { return !IsWindowVisible(box); });
  });
}

TEST_F(LiveCountsTest, LauncherMenuWithItsSubmenuOpened) {
  ExpectNoGrowth([&] {
    if (!InFront()) return false;
    PressHotKey(kHotMods, 'M');
    if (!Step("the menu shown", [] { return VisibleMenus() == 1; })) return false;
    PressHotKey(0, VK_DOWN);
    PressHotKey(0, VK_RIGHT);
    if (!Step("the submenu shown", [] { return VisibleMenus() == 2; })) return false;
    PressHotKey(0, VK_ESCAPE);
    if (!Step("the submenu closed", [] { return VisibleMenus() == 1; })) return false;
    // The menu's loop takes the next key only once it has been through the closing of the
    // submenu (sent messages are handled in that loop too).
    if (!kelvo.Answers()) return false;
    PressHotKey(0, VK_ESCAPE);
    return Step("the menu closed", [] { return VisibleMenus() == 0; });
  });
}

TEST_F(LiveCountsTest, HotKeyList) {
  ExpectNoGrowth([&] {
    if (!InFront()) return false;
    PressHotKey(kHotMods, 'L');
    HWND list = nullptr;
    if (!Step("the list in front", [&] {
          list = TopWindowOf(kelvo.ProcessId(), L"THotKeyHelp");
          return list && IsWindowVisible(list) && GetForegroundWindow() == list;
        })) {
      return false;
    }
    return EscapeHides(list, "the list hidden");
  });
}

TEST_F(LiveCountsTest, ReloadAfterEveryWindowWasShown) {
  ASSERT_TRUE(ClipPageRowDown('H', kHistoryListId));
  ASSERT_TRUE(ClipPageRowDown('T', kCannedListId));
  // A second start hands the reload over and ends with -1 once it has run.
  ExpectNoGrowth([&] { return kelvo.StartAgain(L"-R") == 0xFFFFFFFFu; });
}

TEST_F(LiveCountsTest, PrivateMemoryIsReadFromTheLinuxSide) {
  const long process = UnixProcessOf(kelvo.ExePath());
  ASSERT_GT(process, 0) << "no Linux process names " << Narrow(kelvo.ExePath());
  const long long kb = PrivateMemoryKb(process);
  // A running Wine program holds megabytes of its own; the driver's own process is another one.
  EXPECT_GT(kb, 1024);
  EXPECT_NE(process, UnixProcessOf(L"kelvo_e2e.exe"));
}

}  // namespace
