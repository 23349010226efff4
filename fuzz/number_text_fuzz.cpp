// Numbers in the settings file. The input is a value as the user typed it; its first bytes are
// also taken as a 64-bit number. Properties:
// - ParseInt32 takes exactly the syntax of the README: blanks, a sign, then decimal digits that
//   fit 32 bits, or hexadecimal digits up to FFFFFFFF after "$", "x" or "0x" (a bit pattern,
//   negated in 32 bits); an independent reading of the text agrees;
// - the decimal and hexadecimal texts of a value read back as the value, a number outside 32
//   bits reads as nothing, and leading blanks change nothing while a trailing one spoils it.
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>

#include "base/number_text.h"
#include "fuzz_support.h"

namespace {

std::u16string Wide(const std::string& text) { return std::u16string(text.begin(), text.end()); }

// The README's syntax, read with the standard library's number conversion.
std::optional<std::int32_t> Reading(std::u16string_view text) {
  std::size_t pos = 0;
  while (pos < text.size() && text[pos] == u' ') ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == u'+' || text[pos] == u'-')) negative = text[pos++] == u'-';
  std::string rest;
  for (char16_t c : text.substr(pos)) {
    if (c >= 0x80) return std::nullopt;
    rest.push_back(static_cast<char>(c));
  }
  int base = 10;
  if (rest.starts_with("0x") || rest.starts_with("0X")) {
    rest.erase(0, 2);
    base = 16;
  } else if (!rest.empty() && (rest[0] == '$' || rest[0] == 'x' || rest[0] == 'X')) {
    rest.erase(0, 1);
    base = 16;
  }
  if (rest.empty() || rest[0] == '+' || rest[0] == '-') return std::nullopt;
  std::uint64_t value = 0;
  const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), value, base);
  if (end != rest.data() + rest.size()) return std::nullopt;
  if (base == 16) {
    if (error != std::errc() || value > 0xFFFFFFFFu) return std::nullopt;
    const auto bits = static_cast<std::uint32_t>(negative ? 0u - value : value);
    return static_cast<std::int32_t>(bits);
  }
  if (error != std::errc() || value > (negative ? 0x80000000u : 0x7FFFFFFFu)) return std::nullopt;
  return static_cast<std::int32_t>(negative ? -static_cast<std::int64_t>(value)
                                            : static_cast<std::int64_t>(value));
}

std::string Hex(std::uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "%X", static_cast<unsigned>(value));
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::u16string text = FuzzText(data, size);
  const std::optional<std::int32_t> parsed = ParseInt32(text);
  FUZZ_CHECK(parsed == Reading(text), Shown(text));
  FUZZ_CHECK(ParseInt32(u" " + text) == parsed, "a leading blank: " + Shown(text));
  FUZZ_CHECK(!ParseInt32(text + u" ").has_value(), "a trailing blank: " + Shown(text));
  if (parsed) FUZZ_CHECK(ParseInt32(IntToText(*parsed)) == parsed, Shown(text));

  if (size < 8) return 0;
  std::int64_t number;
  std::memcpy(&number, data, sizeof number);
  const std::u16string decimal = IntToText(number);
  FUZZ_CHECK(decimal == Wide(std::to_string(number)), Shown(decimal));
  const bool fits = number >= INT32_MIN && number <= INT32_MAX;
  FUZZ_CHECK(
      ParseInt32(decimal) ==
          (fits ? std::optional<std::int32_t>(static_cast<std::int32_t>(number)) : std::nullopt),
      Shown(decimal));
  const auto bits = static_cast<std::uint32_t>(number);
  for (const char* prefix : {"$", "x", "0X"}) {
    const std::u16string hex = Wide(prefix + Hex(bits));
    FUZZ_CHECK(ParseInt32(hex) == static_cast<std::int32_t>(bits), Shown(hex));
  }
  return 0;
}
