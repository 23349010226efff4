// A "SendKey" sequence typed into the focused window. The first bytes of the input choose the
// pause, the hotkey's own key and how long the user holds it and a modifier; the rest is the
// sequence. Properties:
// - the sequence ends: it waits only while a key is held, pauses once before each token and
//   sends at most one event per token and one release per key it pressed;
// - when it stops on an empty token, every key it pressed has been released again.
#include <cstddef>
#include <cstdint>
#include <set>
#include <string>

#include "fuzz_support.h"
#include "hotkeys/hotkey_record.h"
#include "hotkeys/key_sequence.h"
#include "support/fake_hotkey_registrar.h"
#include "support/fake_key_input.h"
#include "support/fake_locale.h"

namespace {

constexpr std::uint8_t kModifiers[] = {0x10, 0x11, 0x12, 0x5B, 0x5C};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 5) return 0;
  const int delay = static_cast<std::int8_t>(data[0]);  // negative pauses included
  const std::uint8_t ownKey = data[1];
  const int ownHold = data[2] % 8;
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
  const KeySequenceResult result = SendKeySequence(record, text, delay, keys, locale);

  std::size_t tokens = 1;
  for (char16_t c : text) tokens += c == u',' ? 1 : 0;
  std::size_t sleeps = 0;
  std::size_t events = 0;
  std::set<std::string> down;
  for (const std::string& entry : keys.log) {
    if (entry.rfind("sleep ", 0) == 0) {
      ++sleeps;
      FUZZ_CHECK(entry == "sleep 50" || entry == "sleep " + std::to_string(delay < 0 ? 0 : delay),
                 entry);
      continue;
    }
    ++events;
    const std::string key = entry.substr(entry.find(' ') + 1);
    if (entry.rfind("down ", 0) == 0) {
      down.insert(key);
    } else {
      down.erase(key);
    }
  }
  FUZZ_CHECK(sleeps <= static_cast<std::size_t>(ownHold + modifierHold) + tokens,
             std::to_string(sleeps) + " pauses for " + std::to_string(tokens) + " tokens");
  FUZZ_CHECK(events <= 2 * tokens, std::to_string(events) + " events for " +
                                       std::to_string(tokens) + " tokens: " + Shown(text));
  if (result == KeySequenceResult::EmptyToken) {
    std::string left;
    for (const std::string& key : down) left += key + " ";
    FUZZ_CHECK(down.empty(), "still down after an empty token: " + left + "in " + Shown(text));
  }
  return 0;
}
