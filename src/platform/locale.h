#pragma once
#include <string>
#include <string_view>

#include "platform/types.h"

// The user's locale: case conversion, ordering and date/time texts.
// Code units as big-endian byte pairs: byte order equals code-unit order.
inline std::string BigEndianUnits(std::u16string_view text) {
  std::string bytes;
  bytes.reserve(text.size() * 2);
  for (char16_t c : text) {
    bytes.push_back(static_cast<char>(c >> 8));
    bytes.push_back(static_cast<char>(c & 0xFF));
  }
  return bytes;
}

class Locale {
 public:
  virtual ~Locale() = default;
  virtual std::u16string ToUpper(std::u16string_view text) const = 0;
  // <0, 0, >0 like strcmp, in the user's locale order.
  virtual int CompareNoCase(std::u16string_view a, std::u16string_view b) const = 0;
  virtual int CompareCase(std::u16string_view a, std::u16string_view b) const = 0;
  // Bytes whose plain byte order is the order of CompareNoCase; sorting many texts by their keys
  // costs one locale call per text instead of one per comparison.
  virtual std::string SortKeyNoCase(std::u16string_view text) const = 0;
  virtual std::u16string ShortDate(const LocalDateTime& when) const = 0;
  virtual std::u16string LongTime(const LocalDateTime& when) const = 0;
  virtual std::u16string TimeSeparator() const = 0;
};
