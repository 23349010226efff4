// The "Key" value of a hotkey section, with a Japanese keyboard's key names. The first three
// bytes of the input make a combination (key, modifiers, Win), the rest is a "Key" text.
// Properties:
// - the text of a combination parses back to that combination (a key whose name another key with
//   a lower code also has parses as that key: "5" is the main-row 5, not the keypad's);
// - a text that parses to a key gives a display text that parses to the same key again;
// - a text that names no key gives no key and no modifier (at most the Win flag).
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "hotkeys/key_text.h"
#include "support/fake_keyboard_layout.h"

namespace {

// The names a Japanese (106/109) keyboard gives its other keys, among them "^", which is also the
// short form of "Ctrl+", and two keys named "\".
const KeyNameTable& JapaneseKeyNames() {
  static const KeyNameTable names = [] {
    FakeKeyboardLayout layout;
    const struct {
      std::uint8_t code;
      const char16_t* name;
    } keys[] = {
        {0x10, u"Shift"},       {0x11, u"Ctrl"},
        {0x12, u"Alt"},         {0x13, u"Pause"},
        {0x14, u"英数"},        {0x19, u"半角/全角"},
        {0x1C, u"変換"},        {0x1D, u"無変換"},
        {0x2C, u"PrtSc"},       {0x5B, u"Left Windows"},
        {0x5D, u"Application"}, {0x6A, u"Num *"},
        {0x6B, u"Num +"},       {0x6D, u"Num -"},
        {0x6E, u"Num Del"},     {0x6F, u"Num /"},
        {0x90, u"Num Lock"},    {0x91, u"Scroll Lock"},
        {0xBA, u":"},           {0xBB, u";"},
        {0xBC, u","},           {0xBD, u"-"},
        {0xBE, u"."},           {0xBF, u"/"},
        {0xC0, u"@"},           {0xDB, u"["},
        {0xDC, u"\\"},          {0xDD, u"]"},
        {0xDE, u"^"},           {0xE2, u"\\"},
        {0xF2, u"ひらがな"},
    };
    for (const auto& key : keys) layout.SetName(key.code, key.name);
    return KeyNameTable(layout);
  }();
  return names;
}

constexpr HKeyShortCut kModifierBits = kShortCutShift | kShortCutCtrl | kShortCutAlt;

std::string Hex(HKeyShortCut code) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%06X", static_cast<unsigned>(code));
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const KeyNameTable& names = JapaneseKeyNames();
  if (size >= 3) {
    const std::uint8_t key = data[0];
    const HKeyShortCut combination =
        key | ((data[1] << 8) & kModifierBits) | ((data[2] & 1) ? kWinFlag : 0);
    const std::u16string text = HotKeyToText(combination, names);
    const std::u16string& name = names.Name(key);
    if (key >= KeyNameTable::kFirstCode && !name.empty()) {
      const HKeyShortCut expected = (combination & ~HKeyShortCut{0xFF}) | names.FindCode(name);
      const HKeyShortCut parsed = TextToHotKey(text, names);
      FUZZ_CHECK(parsed == expected,
                 Hex(combination) + " \"" + Shown(text) + "\" parses as " + Hex(parsed));
    } else {
      FUZZ_CHECK(text.empty() || text == u"Win+", Hex(combination) + ": " + Shown(text));
    }
    data += 3;
    size -= 3;
  }

  const std::u16string text = FuzzText(data, size);
  const HKeyShortCut parsed = TextToHotKey(text, names);
  if (ShortCutCode(parsed) == 0) {
    FUZZ_CHECK(parsed == 0 || parsed == kWinFlag, Shown(text) + " gives " + Hex(parsed));
    return 0;
  }
  const std::u16string shown = HotKeyToText(parsed, names);
  FUZZ_CHECK(TextToHotKey(shown, names) == parsed,
             Shown(text) + " gives " + Hex(parsed) + ", shown as " + Shown(shown) +
                 ", which gives " + Hex(TextToHotKey(shown, names)));
  return 0;
}
