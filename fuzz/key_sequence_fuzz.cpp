// The "SendKey" sequences of one hotkey, typed into the focused window slot after slot. The first
// bytes of the input choose the pause, the hotkey's own key, how long the user holds it and a
// modifier (up to a held key that is never released); the rest is the sequences, one per line.
// Properties:
// - each sequence ends: it waits for the user's keys at most 10 seconds (then types nothing),
//   pauses once before each token and sends at most one event per token;
// - when a sequence stops on an empty token, every key the hotkey's sequences pressed has been
//   released; after the last one, releasing what is noted leaves no key down.
#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "hotkeys/hotkey_record.h"
#include "hotkeys/key_sequence.h"
#include "support/fake_hotkey_registrar.h"
#include "support/fake_key_input.h"
#include "support/fake_locale.h"

namespace {

constexpr std::uint8_t kModifiers[] = {0x10, 0x11, 0x12, 0x5B, 0x5C};
constexpr int kReleasePolls = 10000 / 50;  // the wait for the user's keys, in pauses

std::vector<std::u16string> Lines(const std::u16string& text) {
  std::vector<std::u16string> lines;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find(u'\n', start);
    lines.push_back(text.substr(start, end - start));
    if (end == std::u16string::npos) return lines;
    start = end + 1;
  }
}

// The keys down after the logged events.
std::set<std::string> KeysDown(const FakeKeyInput& keys) {
  std::set<std::string> down;
  for (const std::string& entry : keys.log) {
    if (entry.rfind("sleep ", 0) == 0) continue;
    const std::string key = entry.substr(entry.find(' ') + 1);
    if (entry.rfind("down ", 0) == 0) {
      down.insert(key);
    } else {
      down.erase(key);
    }
  }
  return down;
}

std::string Listed(const std::set<std::string>& keys) {
  std::string text;
  for (const std::string& key : keys) text += key + " ";
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 5) return 0;
  const int delay = static_cast<std::int8_t>(data[0]);  // negative pauses included
  const std::uint8_t ownKey = data[1];
  const int ownHold = data[2] == 0xFF ? INT32_MAX : data[2];  // 255: never released
  const std::uint8_t modifier = kModifiers[data[3] % std::size(kModifiers)];
  const int modifierHold = data[4] % 8;
  const std::u16string text = FuzzText(data + 5, size - 5);

  FakeHotKeyRegistrar registrar;
  // Not a global hotkey's id: the record registers nothing.
  HKeyRec record(registrar, 1, 1, ownKey);
  FakeKeyInput keys;
  keys.HoldFor(ownKey, ownHold);
  keys.HoldFor(modifier, modifierHold);
  FakeLocale locale;
  PressedKeys pressed;
  for (const std::u16string& sequence : Lines(text)) {
    const std::size_t logged = keys.log.size();
    const KeySequenceResult result =
        SendKeySequence(record, sequence, delay, keys, locale, pressed);

    std::size_t tokens = 1;
    for (char16_t c : sequence) tokens += c == u',' ? 1 : 0;
    std::size_t sleeps = 0;
    std::size_t events = 0;
    for (std::size_t i = logged; i < keys.log.size(); ++i) {
      (keys.log[i].rfind("sleep ", 0) == 0 ? sleeps : events) += 1;
    }
    FUZZ_CHECK(sleeps <= kReleasePolls + 1 + tokens,
               std::to_string(sleeps) + " pauses for " + std::to_string(tokens) + " tokens");
    if (result == KeySequenceResult::KeysHeld) {
      FUZZ_CHECK(events == 0, "typed while the user's keys were held");
      return 0;  // the hotkey's remaining actions are not run
    }
    if (result == KeySequenceResult::EmptyToken) {
      FUZZ_CHECK(KeysDown(keys).empty(), "still down after an empty token: " +
                                             Listed(KeysDown(keys)) + "in " + Shown(sequence));
      return 0;
    }
    FUZZ_CHECK(events <= tokens, std::to_string(events) + " events for " + std::to_string(tokens) +
                                     " tokens: " + Shown(sequence));
  }
  pressed.ReleaseAll(keys);
  FUZZ_CHECK(KeysDown(keys).empty(), "still down at the end: " + Listed(KeysDown(keys)));
  return 0;
}
