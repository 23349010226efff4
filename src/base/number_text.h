#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The integer syntax of the settings file: leading blanks (spaces), an optional "+" or "-", then
// decimal digits, or hexadecimal digits after "$", "x", "X", "0x" or "0X". Nothing else may
// follow, not even a blank. Decimal values must fit a signed 32-bit integer; hexadecimal values
// up to FFFFFFFF are taken as the 32-bit pattern, so 0xff000005 reads as the system colour it
// denotes. Anything else gives nothing.
std::optional<std::int32_t> ParseInt32(std::u16string_view text);

// Decimal text, with "-" for negative values.
std::u16string IntToText(std::int64_t value);
