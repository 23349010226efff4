#include "hotkeys/key_sequence.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "util/text_helpers.h"

namespace {

constexpr int kReleasePollMs = 50;
// A key that reads as held for this long is stuck (or held by a program): the sequence gives up.
constexpr std::uint64_t kReleaseWaitMs = 10000;
constexpr std::uint8_t kVkTab = 0x09;
constexpr std::uint8_t kVkF1 = 0x70;

struct KeyWord {
  std::u16string_view word;
  std::uint8_t virtualKey;
};

constexpr KeyWord kKeyWords[] = {
    {u"ALT", kVkMenu},    {u"CTRL", kVkControl}, {u"SHIFT", kVkShift}, {u"TAB", kVkTab},
    {u"WIN", kVkLWin},    {u"F1", kVkF1},        {u"F2", kVkF1 + 1},   {u"F3", kVkF1 + 2},
    {u"F4", kVkF1 + 3},   {u"F5", kVkF1 + 4},    {u"F6", kVkF1 + 5},   {u"F7", kVkF1 + 6},
    {u"F8", kVkF1 + 7},   {u"F9", kVkF1 + 8},    {u"F10", kVkF1 + 9},  {u"F11", kVkF1 + 10},
    {u"F12", kVkF1 + 11},
};

// The keys the user may still hold from the hotkey itself. A key code beyond one byte is not a
// key the keyboard can report. A key an earlier sequence of the hotkey pressed and holds reads
// as down too, but it is Kelvo's own: waiting for it would wait for ever.
std::vector<std::uint8_t> HotKeyKeys(const HKeyRec& record, const PressedKeys& pressed) {
  std::vector<std::uint8_t> keys;
  for (std::uint8_t key : {kVkShift, kVkControl, kVkMenu, kVkLWin, kVkRWin}) {
    if (!pressed.Holds(key)) keys.push_back(key);
  }
  if (record.VirtualKey > 0 && record.VirtualKey <= 0xFF &&
      !pressed.Holds(static_cast<std::uint8_t>(record.VirtualKey))) {
    keys.push_back(static_cast<std::uint8_t>(record.VirtualKey));
  }
  return keys;
}

std::u16string_view CutToken(std::u16string_view& rest) {
  const std::size_t comma = rest.find(u',');
  std::u16string_view token = rest.substr(0, comma);
  rest = comma == std::u16string_view::npos ? std::u16string_view() : rest.substr(comma + 1);
  return token;
}

// token is upper case and not empty.
std::uint8_t KeyOfToken(std::u16string_view token) {
  for (const KeyWord& key : kKeyWords) {
    if (token == key.word) return key.virtualKey;
  }
  return static_cast<std::uint8_t>(token.front() & 0xFF);
}

}  // namespace

void PressedKeys::Note(std::uint8_t virtualKey, bool keyUp) {
  const auto found = std::find(held_.begin(), held_.end(), virtualKey);
  if (keyUp && found != held_.end()) held_.erase(found);
  if (!keyUp && found == held_.end()) held_.push_back(virtualKey);
}

bool PressedKeys::Holds(std::uint8_t virtualKey) const {
  return std::find(held_.begin(), held_.end(), virtualKey) != held_.end();
}

std::u16string KeysHeldMessage(const std::u16string& section) {
  return u"キーが 10 秒以上押されたままだったため、[" + section +
         u"] のキー送信と残りの動作を中止しました。";
}

void PressedKeys::ReleaseAll(KeyInput& keys) {
  for (auto it = held_.rbegin(); it != held_.rend(); ++it) keys.SendKeyEvent(*it, true);
  held_.clear();
}

KeySequenceResult SendKeySequence(const HKeyRec& record, std::u16string_view text, int delay,
                                  KeyInput& keys, const Locale& locale, PressedKeys& pressed) {
  if (!WaitForKeysUp(keys, HotKeyKeys(record, pressed), kReleaseWaitMs, kReleasePollMs)) {
    return KeySequenceResult::KeysHeld;
  }

  // A negative pause from the settings would otherwise block for ever.
  const int pause = std::max(delay, 0);
  std::u16string_view rest = text;
  while (!rest.empty()) {
    keys.Sleep(pause);
    std::u16string token = locale.ToUpper(TrimControls(CutToken(rest)));
    const bool keyUp = !token.empty() && token.front() == u'/';
    if (keyUp) token.erase(0, 1);
    if (token.empty()) {
      // Keys left down would stay down for the user after the sequence has stopped.
      pressed.ReleaseAll(keys);
      return KeySequenceResult::EmptyToken;
    }
    const std::uint8_t virtualKey = KeyOfToken(token);
    keys.SendKeyEvent(virtualKey, keyUp);
    pressed.Note(virtualKey, keyUp);
  }
  return KeySequenceResult::Done;
}
