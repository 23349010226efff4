#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

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
  // remaining actions are not run; the caller tells the user (KeysHeldMessage).
  KeysHeld,
};

// What the user is told when a hotkey gave up waiting for held keys.
std::u16string KeysHeldMessage(const std::u16string& section);

// The keys the key sequences of one hotkey pressed and did not release, in the order they went
// down. A key held by one slot's sequence may be released by a later slot's; whatever is still
// down when the hotkey's actions are finished is released then, so that a sequence that forgets
// its "/" tokens ("CTRL,V") never leaves a key stuck for the rest of the session.
class PressedKeys {
 public:
  void Note(std::uint8_t virtualKey, bool keyUp);
  bool Holds(std::uint8_t virtualKey) const;
  // Releases the keys in the reverse order of pressing.
  void ReleaseAll(KeyInput& keys);
  bool empty() const { return held_.empty(); }

 private:
  std::vector<std::uint8_t> held_;
};

// Types a key sequence such as "CTRL,C,/C,/CTRL" into the window that has the focus: one key
// event per comma-separated token, "/" before a key releasing it; key words ALT, CTRL, SHIFT,
// TAB, WIN and F1..F12, otherwise the token's first character names the key. Waits first until
// the record's own key and every modifier key are released (at most 10 seconds), except the keys
// an earlier sequence of the same hotkey holds down on purpose, and pauses delay milliseconds
// before each event.
// Every key pressed or released is noted in `pressed`; on an empty token everything in it is
// released.
KeySequenceResult SendKeySequence(const HKeyRec& record, std::u16string_view text, int delay,
                                  KeyInput& keys, const Locale& locale, PressedKeys& pressed);
