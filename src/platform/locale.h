#pragma once
#include <string>
#include <string_view>

#include "platform/types.h"

// The user's locale: case conversion, ordering and date/time texts.
class Locale {
 public:
  virtual ~Locale() = default;
  virtual std::u16string ToUpper(std::u16string_view text) const = 0;
  // <0, 0, >0 like strcmp, in the user's locale order.
  virtual int CompareNoCase(std::u16string_view a, std::u16string_view b) const = 0;
  virtual int CompareCase(std::u16string_view a, std::u16string_view b) const = 0;
  virtual std::u16string ShortDate(const LocalDateTime& when) const = 0;
  virtual std::u16string LongTime(const LocalDateTime& when) const = 0;
  virtual std::u16string TimeSeparator() const = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalDateTime Now() const = 0;
};
