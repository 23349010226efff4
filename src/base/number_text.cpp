#include "base/number_text.h"

#include <cstddef>

namespace {

constexpr std::uint64_t kMaxHex = 0xFFFFFFFFu;
constexpr std::uint64_t kMaxPositiveDecimal = 0x7FFFFFFFu;
constexpr std::uint64_t kMaxNegativeDecimal = 0x80000000u;

int HexDigitValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

// Length of the hexadecimal prefix at the start of `text`, 0 when there is none.
std::size_t HexPrefixLength(std::u16string_view text) {
  if (text.empty()) return 0;
  if (text[0] == u'$' || text[0] == u'x' || text[0] == u'X') return 1;
  if (text.size() >= 2 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X')) return 2;
  return 0;
}

// The magnitude of a run of digits that makes up all of `digits`; nothing when it is empty,
// holds another character or exceeds `limit`.
std::optional<std::uint64_t> ParseMagnitude(std::u16string_view digits, int base,
                                            std::uint64_t limit) {
  if (digits.empty()) return std::nullopt;
  std::uint64_t value = 0;
  for (char16_t c : digits) {
    const int digit = HexDigitValue(c);
    if (digit < 0 || digit >= base) return std::nullopt;
    value = value * base + static_cast<std::uint64_t>(digit);
    if (value > limit) return std::nullopt;
  }
  return value;
}

}  // namespace

std::optional<std::int32_t> ParseInt32(std::u16string_view text) {
  std::size_t pos = 0;
  while (pos < text.size() && text[pos] == u' ') ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == u'+' || text[pos] == u'-')) {
    negative = text[pos] == u'-';
    ++pos;
  }
  const std::u16string_view rest = text.substr(pos);
  const std::size_t prefix = HexPrefixLength(rest);
  if (prefix > 0) {
    const auto magnitude = ParseMagnitude(rest.substr(prefix), 16, kMaxHex);
    if (!magnitude) return std::nullopt;
    // Hexadecimal text is a bit pattern: negation and the sign bit wrap in 32 bits.
    std::uint32_t bits = static_cast<std::uint32_t>(*magnitude);
    if (negative) bits = 0u - bits;
    return static_cast<std::int32_t>(bits);
  }
  const auto magnitude =
      ParseMagnitude(rest, 10, negative ? kMaxNegativeDecimal : kMaxPositiveDecimal);
  if (!magnitude) return std::nullopt;
  const auto signedValue = static_cast<std::int64_t>(*magnitude);
  return static_cast<std::int32_t>(negative ? -signedValue : signedValue);
}

std::u16string IntToText(std::int64_t value) {
  // Built from the unsigned magnitude so that the lowest int64 needs no special case.
  std::uint64_t magnitude =
      value < 0 ? 0u - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
  std::u16string digits;
  do {
    digits.insert(digits.begin(), static_cast<char16_t>(u'0' + magnitude % 10));
    magnitude /= 10;
  } while (magnitude != 0);
  if (value < 0) digits.insert(digits.begin(), u'-');
  return digits;
}
