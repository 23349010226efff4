#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "base/live_objects.h"
#include "drive/leak_probes.h"
#include "support/bench_support_win.h"

// A running Kelvo driven as a user drives it, for the long runs (the leak runs and the soak):
// each window opened by its hotkey, used and closed, with the counts and memory read between.
// The hotkeys are Ctrl+Alt+Shift with a letter; a settings file given to it must bind these:
//   H CLIPBOARD_C, T CLIPBOARD_T, K CMDLAUNCHER, M POPUPMENU, L HOTKEY_LIST
// with a launcher menu whose first item is a submenu "&Sub", and a keyword "calc".

// The settings file that binds those hotkeys, with more hotkey sections and more lines of the
// [ClipboardList] section given; and the files it names (a history of three entries, a canned
// set, the menu), written into the folder.
std::string SessionSettings(const std::string& moreHotKeys = "",
                            const std::string& moreClipOptions = "");
void PrepareSessionFolder(const std::wstring& folder);

// The long runs' waits: the bench's own windows handle their messages between looks, a
// millisecond apart.
inline constexpr Polling kSessionPolls{1, true};
// The key, with Ctrl+Alt+Shift when asked.
void Press(WORD key, bool withModifiers);
// Presses the key until the condition holds: under Wine a modifier pressed right after another
// program took the foreground is now and then lost, and the hotkey with it. A window given is
// brought back to the front before each press: Wine may hand the foreground to its desktop
// window a moment after a window took it, and the key would then reach neither.
bool PressUntil(WORD key, bool withModifiers, const std::function<bool()>& done,
                HWND front = nullptr);

class BenchSession {
 public:
  // Kelvo of the build, started in the folder with the settings; `front` is the bench's window
  // that each step starts from.
  BenchSession(const std::wstring& buildDir, const std::wstring& folder,
               const std::string& settings, HWND front);

  HWND Main() const { return kelvo_.MainWindow(); }
  HANDLE Process() const { return kelvo_.Process(); }
  long long MemoryKb() const { return PrivateMemoryKb(unixProcess_); }
  LiveCounts Counts() const { return AskLiveCounts(Main()); }
  HWND Front() const { return front_; }

  // Names the step that did not come, for the report of a failed round.
  bool Failed(const char* step);
  const char* LastFailure() const { return failed_; }

  // Brings the bench's window to the front, again when Wine gives the foreground to its desktop
  // window (it does when a thread reads the focus event of a window hidden a moment ago late),
  // until it stays there while both programs read their events.
  bool InFront();
  // The clipboard window on a page (its hotkey), a row moved, closed with Esc.
  bool ClipPage(WORD key, int listId);
  // The clipboard window's history page (its hotkey), and Enter: the top row is pasted into the
  // bench's window, which the caller then checks.
  bool ClipPaste();
  HWND ShowLauncher();
  // Types the key and waits until the box shows the text, painted.
  bool TypeInLauncher(HWND box, WORD key, const std::wstring& expected);
  // The launcher's hotkey hides it again (Esc would first close its list).
  bool HideLauncher(HWND box);
  // The command launcher shown, a letter typed, hidden.
  bool Launcher();
  // The launcher menu and its submenu opened and closed.
  bool Menu();
  bool HotKeyList();
  // A second start with -R, which hands a reload over and ends once it has run.
  bool Reload();

 private:
  BenchKelvo kelvo_;
  std::wstring exe_;
  std::wstring folder_;
  HWND front_;
  long unixProcess_ = 0;
  const char* failed_ = "";
};
