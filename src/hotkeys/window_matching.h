#pragma once
#include <string>
#include <vector>

#include "platform/dialogs.h"
#include "platform/locale.h"
#include "platform/types.h"
#include "platform/window_system.h"

inline constexpr char16_t kInvalidPatternError[] = u"不正な正規表現です";

// The tests of one action step; an empty text means that test is not made.
struct WindowTests {
  std::u16string cls;     // class name, exactly
  std::u16string title;   // beginning of the title, letter case significant
  std::u16string titleR;  // end of the title, letter case significant
  std::u16string titleM;  // part of the title, or a regular expression between two slashes
};

// Fills list with every visible top-level window that passes all given tests, in z-order,
// topmost first; true when it found at least one. With no test at all it returns false and leaves
// list as it was. A pattern that does not compile is reported once (only if some window gets as
// far as the pattern test) and selects nothing.
bool FindWindows(const WindowTests& tests, std::vector<WindowHandle>& list,
                 const WindowSystem& windows, const Locale& locale, Dialogs& dialogs);

// Restores each listed window that is minimised and brings it to the front, in list order, so
// the last (lowest) match ends up in front. Pressing the hotkey again therefore brings another
// of the matches forward. When keys are typed next, the last window is given time to take its
// activation (the others are not waited for: no key reaches them).
void ActivateWindows(const std::vector<WindowHandle>& list, WindowSystem& windows,
                     bool keysFollow = false);

void MinimizeWindows(const std::vector<WindowHandle>& list, WindowSystem& windows);

// Asks each listed window to close; does not wait for them.
void CloseWindows(const std::vector<WindowHandle>& list, WindowSystem& windows);
