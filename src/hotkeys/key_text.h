#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/hotkey_registrar.h"
#include "platform/keyboard_layout.h"

// A key combination: the 16-bit shortcut code (virtual key in the low byte, modifier bits above)
// and the Win flag in bits 16-23. A shortcut code of 0 means no key.
using HKeyShortCut = std::uint32_t;

inline constexpr std::uint16_t kShortCutShift = 0x2000;
inline constexpr std::uint16_t kShortCutCtrl = 0x4000;
inline constexpr std::uint16_t kShortCutAlt = 0x8000;
inline constexpr HKeyShortCut kShortCutCodeMask = 0xFFFF;
inline constexpr HKeyShortCut kWinFlag = 0x10000;         // the value the parser sets
inline constexpr HKeyShortCut kWinFlagMask = 0x00FF0000;  // any non-zero bit here means Win

inline bool HasWinFlag(HKeyShortCut shortCut) { return (shortCut & kWinFlagMask) != 0; }
inline std::uint16_t ShortCutCode(HKeyShortCut shortCut) {
  return static_cast<std::uint16_t>(shortCut & kShortCutCodeMask);
}

// The name of every key code 8..255, looked up once: the fixed names of the common keys, digits,
// letters, keypad digits and F1..F24, and the keyboard layout's own name of every other key.
// Parsing a hundred hotkeys at each load then never has to ask the layout again.
class KeyNameTable {
 public:
  static constexpr int kFirstCode = 8;
  static constexpr int kLastCode = 255;

  explicit KeyNameTable(const KeyboardLayout& layout);

  // The name of the key in the low 8 bits of the code; empty when the key has none.
  const std::u16string& Name(std::uint16_t code) const { return names_[code & 0xFF]; }
  // The lowest code whose name equals the text without regard to case; 0 when none does.
  std::uint8_t FindCode(std::u16string_view name) const;

 private:
  std::array<std::u16string, 256> names_;
};

// Parses a "Key" value such as Win+Ctrl+Alt+F1. An unknown or missing key name gives shortcut
// code 0 (the modifiers are dropped); "Win+" anywhere in the text still sets the Win flag.
HKeyShortCut TextToHotKey(std::u16string_view text, const KeyNameTable& names);

// "Shift+" "Ctrl+" "Alt+" and the key name; empty when the key has no name.
std::u16string ShortCutToText(std::uint16_t code, const KeyNameTable& names);

// The display text of a combination: ShortCutToText with "Win+" in front when the Win flag is set
// (also when the rest is empty).
std::u16string HotKeyToText(HKeyShortCut shortCut, const KeyNameTable& names);
