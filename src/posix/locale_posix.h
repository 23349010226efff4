#pragma once
#include "platform/clock.h"
#include "platform/locale.h"

// Stand-in for the user's locale in native tests: code-unit order, Japanese-style date and time.
class PosixLocale : public Locale {
 public:
  std::u16string ToUpper(std::u16string_view text) const override;
  int CompareNoCase(std::u16string_view a, std::u16string_view b) const override;
  std::string SortKeyNoCase(std::u16string_view text) const override;
  int CompareCase(std::u16string_view a, std::u16string_view b) const override;
  std::u16string ShortDate(const LocalDateTime& when) const override;  // yyyy/MM/dd
  std::u16string LongTime(const LocalDateTime& when) const override;   // H:mm:ss
  std::u16string TimeSeparator() const override;                       // ":"
};

class PosixClock : public Clock {
 public:
  LocalDateTime Now() const override;
};
