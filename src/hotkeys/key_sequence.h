#pragma once
#include <string_view>

#include "hotkeys/hotkey_record.h"
#include "platform/key_input.h"
#include "platform/locale.h"

// The message shown when a key sequence holds an empty token.
inline constexpr char16_t kRangeCheckError[] = u"範囲チェックエラー";

enum class KeySequenceResult {
  Done,
  // The sequence held an empty token (",,", a token of blanks, a lone "/"). The keys it had
  // pressed are released again; the caller shows kRangeCheckError and stops the hotkey's
  // remaining actions.
  EmptyToken,
  // The hotkey's keys were still held after 10 seconds: nothing was typed, and the hotkey's
  // remaining actions are not run.
  KeysHeld,
};

// Types a key sequence such as "CTRL,C,/C,/CTRL" into the window that has the focus: one key
// event per comma-separated token, "/" before a key releasing it; key words ALT, CTRL, SHIFT,
// TAB, WIN and F1..F12, otherwise the token's first character names the key. Waits first until
// the record's own key and every modifier key are released (at most 10 seconds), and pauses delay
// milliseconds before each event.
KeySequenceResult SendKeySequence(const HKeyRec& record, std::u16string_view text, int delay,
                                  KeyInput& keys, const Locale& locale);
