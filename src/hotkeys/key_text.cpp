#include "hotkeys/key_text.h"

#include "base/text_case.h"
#include "platform/keyboard_layout.h"

namespace {

struct FixedName {
  std::uint8_t code;
  const char16_t* name;
};

constexpr FixedName kFixedNames[] = {
    {0x08, u"BkSp"}, {0x09, u"Tab"},   {0x0D, u"Enter"}, {0x1B, u"Esc"},  {0x20, u"Space"},
    {0x21, u"PgUp"}, {0x22, u"PgDn"},  {0x23, u"End"},   {0x24, u"Home"}, {0x25, u"Left"},
    {0x26, u"Up"},   {0x27, u"Right"}, {0x28, u"Down"},  {0x2D, u"Ins"},  {0x2E, u"Del"},
};

constexpr int kFirstDigit = 0x30;
constexpr int kFirstLetter = 0x41;
constexpr int kLastLetter = 0x5A;
constexpr int kFirstKeypadDigit = 0x60;
constexpr int kFirstFunctionKey = 0x70;
constexpr int kFunctionKeyCount = 24;

// The name the program itself gives a key, or nothing when the layout names it.
std::u16string FixedKeyName(int code) {
  for (const FixedName& fixed : kFixedNames) {
    if (fixed.code == code) return fixed.name;
  }
  if (code >= kFirstDigit && code < kFirstDigit + 10) {
    return std::u16string(1, static_cast<char16_t>(u'0' + code - kFirstDigit));
  }
  if (code >= kFirstLetter && code <= kLastLetter) {
    return std::u16string(1, static_cast<char16_t>(u'A' + code - kFirstLetter));
  }
  // Keypad digits carry the same names as the main-row digits, which have lower codes, so the
  // text "5" always parses as the main-row key.
  if (code >= kFirstKeypadDigit && code < kFirstKeypadDigit + 10) {
    return std::u16string(1, static_cast<char16_t>(u'0' + code - kFirstKeypadDigit));
  }
  if (code >= kFirstFunctionKey && code < kFirstFunctionKey + kFunctionKeyCount) {
    std::u16string name = u"F";
    const int number = code - kFirstFunctionKey + 1;
    if (number >= 10) name += static_cast<char16_t>(u'0' + number / 10);
    name += static_cast<char16_t>(u'0' + number % 10);
    return name;
  }
  return {};
}

bool IsFixedCode(int code) { return !FixedKeyName(code).empty(); }

// Removes a leading prefix compared without regard to case; false when the text lacks it.
bool StripPrefix(std::u16string_view& text, std::u16string_view prefix) {
  if (text.size() < prefix.size()) return false;
  if (!EqualsNoCase(text.substr(0, prefix.size()), prefix)) return false;
  text.remove_prefix(prefix.size());
  return true;
}

// The shortcut code of the text after "Win+" was taken out of it.
std::uint16_t ParseShortCut(std::u16string_view text, const KeyNameTable& names) {
  std::uint16_t modifiers = 0;
  // "^" is short for "Ctrl+", except as the last character: Japanese keyboards have a key of
  // that name.
  for (;;) {
    if (StripPrefix(text, u"Shift+")) {
      modifiers |= kShortCutShift;
    } else if ((text.size() > 1 && StripPrefix(text, u"^")) || StripPrefix(text, u"Ctrl+")) {
      modifiers |= kShortCutCtrl;
    } else if (StripPrefix(text, u"Alt+")) {
      modifiers |= kShortCutAlt;
    } else {
      break;
    }
  }
  if (text.empty()) return 0;
  const std::uint8_t code = names.FindCode(text);
  if (code == 0) return 0;
  return static_cast<std::uint16_t>(modifiers | code);
}

}  // namespace

KeyNameTable::KeyNameTable(const KeyboardLayout& layout) {
  for (int code = kFirstCode; code <= kLastCode; ++code) {
    names_[code] =
        IsFixedCode(code) ? FixedKeyName(code) : layout.KeyName(static_cast<std::uint8_t>(code));
  }
}

std::uint8_t KeyNameTable::FindCode(std::u16string_view name) const {
  if (name.empty()) return 0;
  for (int code = kFirstCode; code <= kLastCode; ++code) {
    const std::u16string& candidate = names_[code];
    if (!candidate.empty() && EqualsNoCase(candidate, name)) return static_cast<std::uint8_t>(code);
  }
  return 0;
}

HKeyShortCut TextToHotKey(std::u16string_view text, const KeyNameTable& names) {
  constexpr std::u16string_view kWin = u"Win+";
  std::u16string rest(text);
  HKeyShortCut winFlag = 0;
  for (std::size_t at = 0; at + kWin.size() <= rest.size(); ++at) {
    if (EqualsNoCase(std::u16string_view(rest).substr(at, kWin.size()), kWin)) {
      rest.erase(at, kWin.size());
      winFlag = kWinFlag;
      break;
    }
  }
  return winFlag | ParseShortCut(rest, names);
}

std::u16string ShortCutToText(std::uint16_t code, const KeyNameTable& names) {
  const std::u16string& name = names.Name(code);
  if (name.empty()) return {};
  std::u16string text;
  if (code & kShortCutShift) text += u"Shift+";
  if (code & kShortCutCtrl) text += u"Ctrl+";
  if (code & kShortCutAlt) text += u"Alt+";
  return text + name;
}

std::u16string HotKeyToText(HKeyShortCut shortCut, const KeyNameTable& names) {
  std::u16string text = ShortCutToText(ShortCutCode(shortCut), names);
  if (HasWinFlag(shortCut)) text.insert(0, u"Win+");
  return text;
}
