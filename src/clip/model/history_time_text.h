#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/locale.h"

// The creation time of a history entry as the history file writes it: the locale's short date, a
// blank and its long time, or the date alone at midnight. Reading takes the digit groups of the
// text in the order the locale writes them, which a few sample times show once: where year,
// month and day stand, whether the year has two digits, and whether the clock counts 12 hours
// and how it marks the afternoon. So a file reads back in whatever layout the user's locale has.
class HistoryTimeText {
 public:
  explicit HistoryTimeText(const Locale& locale);

  std::u16string Format(const LocalDateTime& when) const;
  // Nothing when the text does not hold a date (and time) in the locale's layout. A two-digit
  // year is taken in the hundred years that end one year after nowYear.
  std::optional<LocalDateTime> Parse(std::u16string_view text, int nowYear) const;

 private:
  enum class Part { kOther, kYear, kShortYear, kMonth, kDay, kHour, kHour12, kMinute, kSecond };
  bool ReadDate(const std::vector<unsigned>& groups, std::u16string_view text, int nowYear,
                LocalDateTime& when) const;
  bool ReadTime(const std::vector<unsigned>& groups, std::u16string_view text,
                LocalDateTime& when) const;

  const Locale& locale_;
  std::vector<Part> dateParts_;  // one per digit group of the short date
  std::vector<Part> timeParts_;  // one per digit group of the long time
  // Words of the long time that only afternoon times show ("PM", "午後").
  std::vector<std::u16string> afternoonWords_;
  std::vector<std::u16string> morningWords_;  // ("AM"), for a layout that marks only mornings
};
