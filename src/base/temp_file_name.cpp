#include "base/temp_file_name.h"

namespace {

constexpr std::size_t kTagDigits = 6;
constexpr std::size_t kProcessDigits = 8;
constexpr std::size_t kSequenceDigits = 6;
constexpr std::size_t kDigits = kTagDigits + kProcessDigits + kSequenceDigits;
constexpr std::u16string_view kInfix = u".~";
constexpr std::u16string_view kSuffix = u".tmp";
constexpr std::uint32_t kTagMask = (1u << (4 * kTagDigits)) - 1;

void AppendHex(std::u16string& text, std::uint32_t value, std::size_t digits) {
  constexpr char16_t kHex[] = u"0123456789ABCDEF";
  for (std::size_t i = digits; i-- > 0;) text.push_back(kHex[(value >> (4 * i)) & 0xF]);
}

std::optional<std::uint32_t> ParseHex(std::u16string_view digits) {
  std::uint32_t value = 0;
  for (char16_t c : digits) {
    int digit = -1;
    if (c >= u'0' && c <= u'9') digit = c - u'0';
    if (c >= u'A' && c <= u'F') digit = c - u'A' + 10;
    if (digit < 0) return std::nullopt;
    value = value * 16 + static_cast<std::uint32_t>(digit);
  }
  return value;
}

}  // namespace

std::uint32_t ComputerTag(std::u16string_view computerName) {
  // FNV-1a over the UTF-16 units, folded to the tag's width.
  std::uint32_t hash = 2166136261u;
  for (char16_t c : computerName) {
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
    hash = (hash ^ c) * 16777619u;
  }
  return (hash ^ (hash >> 24)) & kTagMask;
}

std::u16string TempFileName(std::u16string_view target, std::uint32_t computerTag,
                            std::uint32_t processId, std::uint32_t sequence) {
  std::u16string name(target);
  name += kInfix;
  AppendHex(name, computerTag, kTagDigits);
  AppendHex(name, processId, kProcessDigits);
  AppendHex(name, sequence, kSequenceDigits);
  name += kSuffix;
  return name;
}

std::optional<TempFileWriter> TempFileWriterOf(std::u16string_view name,
                                               std::u16string_view targetName) {
  if (!name.starts_with(targetName)) return std::nullopt;
  name.remove_prefix(targetName.size());
  if (name.size() != kInfix.size() + kDigits + kSuffix.size() || !name.starts_with(kInfix) ||
      !name.ends_with(kSuffix)) {
    return std::nullopt;
  }
  const std::u16string_view digits = name.substr(kInfix.size(), kDigits);
  const auto tag = ParseHex(digits.substr(0, kTagDigits));
  const auto process = ParseHex(digits.substr(kTagDigits, kProcessDigits));
  if (!tag || !process || !ParseHex(digits.substr(kTagDigits + kProcessDigits)))
    return std::nullopt;
  return TempFileWriter{*tag, *process};
}
