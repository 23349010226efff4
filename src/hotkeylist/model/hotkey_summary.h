#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "hotkeys/hotkey_record.h"
#include "hotkeys/key_text.h"
#include "platform/locale.h"

// What the hotkey list says a hotkey does, in one line: its description, its command, its first
// program, the windows it activates, closes or minimises, its editor macro, sound or wallpaper,
// whichever comes first. Only the first action slot (the keys numbered 1) is looked at. Empty
// when none applies, for example for a hotkey that only types keys.
std::u16string HotKeySummary(const HKeyRec& rec);

// The rows of the hotkey list: the display text of the shortcut, a tab and the summary, one for
// every global hotkey of the table (keyword and launcher-directory entries are left out), sorted
// by the row text without regard to case in the user's locale order. Rows that compare equal
// keep their table order.
std::vector<std::u16string> HotKeyListRows(const HKeyList& list, const KeyNameTable& names,
                                           const Locale& locale);

// Where a row's two columns go. The painting code measures the widest display text in its font
// and draws `left` at (kHotKeyRowTextLeft, kHotKeyRowTextTop) and `right` at
// (rightX, kHotKeyRowTextTop), relative to the row's top-left corner.
struct HotKeyRowLayout {
  std::u16string left;   // the display text: the row up to its first tab
  std::u16string right;  // the summary: the row after its first tab
  int rightX = 0;
};

inline constexpr int kHotKeyRowTextLeft = 2;
inline constexpr int kHotKeyRowTextTop = 1;
// The gap between the widest display text and the summaries.
inline constexpr int kHotKeySummaryGap = 32;

HotKeyRowLayout LayoutHotKeyRow(std::u16string_view row, int widestDisplayTextWidth);
