#pragma once
#include "platform/locale.h"

// The user's default locale: upper-casing, ordering, the short date, the long time and the time
// separator as set in the control panel.
class WinLocale : public Locale {
 public:
  std::u16string ToUpper(std::u16string_view text) const override;
  int CompareNoCase(std::u16string_view a, std::u16string_view b) const override;
  std::string SortKeyNoCase(std::u16string_view text) const override;
  int CompareCase(std::u16string_view a, std::u16string_view b) const override;
  std::u16string ShortDate(const LocalDateTime& when) const override;
  std::u16string LongTime(const LocalDateTime& when) const override;
  std::u16string TimeSeparator() const override;
};
