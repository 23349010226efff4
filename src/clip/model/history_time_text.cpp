#include "clip/model/history_time_text.h"

#include <algorithm>

#include "clip/model/history.h"

namespace {

// The sample moments: every field differs from the others, in both forms of the year and of the
// hour, so each digit group of their texts tells which field it is.
constexpr LocalDateTime kSampleDate{2001, 11, 22, 4, 13, 45, 56};  // a Thursday afternoon
constexpr LocalDateTime kSampleMorning{2001, 11, 22, 4, 1, 5, 6};

constexpr unsigned kGroupCap = 1000000;  // larger groups read as this (no field is that large)

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

bool IsBlank(char16_t c) { return c <= u' ' || c == u'\u00A0' || c == u'\u3000'; }

// The values of the runs of digits, in text order.
std::vector<unsigned> DigitGroups(std::u16string_view text) {
  std::vector<unsigned> groups;
  for (std::size_t i = 0; i < text.size();) {
    if (!IsDigit(text[i])) {
      ++i;
      continue;
    }
    unsigned value = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
      value = std::min(value * 10 + (text[i] - u'0'), kGroupCap);
    }
    groups.push_back(value);
  }
  return groups;
}

// The runs of characters that are neither digits nor blanks ("/", ":", "PM", "午後").
std::vector<std::u16string> Words(std::u16string_view text) {
  std::vector<std::u16string> words;
  std::u16string word;
  for (char16_t c : text) {
    if (!IsDigit(c) && !IsBlank(c)) {
      word.push_back(c);
    } else if (!word.empty()) {
      words.push_back(std::move(word));
      word.clear();
    }
  }
  if (!word.empty()) words.push_back(std::move(word));
  return words;
}

// The words of `in` that `other` does not have.
std::vector<std::u16string> WordsOnlyIn(std::u16string_view in, std::u16string_view other) {
  const std::vector<std::u16string> otherWords = Words(other);
  std::vector<std::u16string> only;
  for (std::u16string& word : Words(in)) {
    if (std::find(otherWords.begin(), otherWords.end(), word) == otherWords.end()) {
      only.push_back(std::move(word));
    }
  }
  return only;
}

bool HasAnyWord(const std::vector<std::u16string>& words,
                const std::vector<std::u16string>& wanted) {
  return std::any_of(words.begin(), words.end(), [&](const std::u16string& word) {
    return std::find(wanted.begin(), wanted.end(), word) != wanted.end();
  });
}

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

}  // namespace

HistoryTimeText::HistoryTimeText(const Locale& locale) : locale_(locale) {
  for (unsigned group : DigitGroups(locale.ShortDate(kSampleDate))) {
    dateParts_.push_back(group == 2001 ? Part::kYear
                         : group == 1  ? Part::kShortYear
                         : group == 11 ? Part::kMonth
                         : group == 22 ? Part::kDay
                                       : Part::kOther);
  }
  const std::u16string afternoon = locale.LongTime(kSampleDate);
  for (unsigned group : DigitGroups(afternoon)) {
    timeParts_.push_back(group == 13   ? Part::kHour
                         : group == 1  ? Part::kHour12
                         : group == 45 ? Part::kMinute
                         : group == 56 ? Part::kSecond
                                       : Part::kOther);
  }
  const std::u16string morning = locale.LongTime(kSampleMorning);
  afternoonWords_ = WordsOnlyIn(afternoon, morning);
  morningWords_ = WordsOnlyIn(morning, afternoon);
}

std::u16string HistoryTimeText::Format(const LocalDateTime& when) const {
  std::u16string text = locale_.ShortDate(when);
  if (when.hour == 0 && when.minute == 0 && when.second == 0) return text;
  return text + u" " + locale_.LongTime(when);
}

std::optional<LocalDateTime> HistoryTimeText::Parse(std::u16string_view text, int nowYear) const {
  const std::vector<unsigned> groups = DigitGroups(text);
  const bool withTime = groups.size() == dateParts_.size() + timeParts_.size();
  if (!withTime && groups.size() != dateParts_.size()) return std::nullopt;
  LocalDateTime when;
  if (!ReadDate(groups, text, nowYear, when)) return std::nullopt;
  if (withTime && !ReadTime(groups, text, when)) return std::nullopt;
  return when;
}

bool HistoryTimeText::ReadDate(const std::vector<unsigned>& groups, std::u16string_view text,
                               int nowYear, LocalDateTime& when) const {
  int year = -1, month = -1, day = -1;
  for (std::size_t i = 0; i < dateParts_.size(); ++i) {
    const int value = static_cast<int>(groups[i]);
    switch (dateParts_[i]) {
      case Part::kYear:
        year = value;
        break;
      case Part::kShortYear: {
        if (value > 99) return false;
        const int latest = nowYear + 1;
        year = latest - ((latest - value) % 100 + 100) % 100;
        break;
      }
      case Part::kMonth:
        month = value;
        break;
      case Part::kDay:
        day = value;
        break;
      default:
        break;
    }
  }
  if (year < 1601 || year > 9999 || day < 1 || day > 31) return false;
  when.year = year;
  when.day = day;
  if (month == -1) {
    // A layout that names the month: the month whose date begins the text.
    for (int m = 1; m <= 12 && month == -1; ++m) {
      if (day > DaysInMonth(year, m)) continue;
      when.month = m;
      when.weekday = DateTimeFromDays(DaysFromDateTime(when)).weekday;
      if (text.starts_with(locale_.ShortDate(when))) month = m;
    }
  }
  if (month < 1 || month > 12 || day > DaysInMonth(year, month)) return false;
  when.month = month;
  when.weekday = DateTimeFromDays(DaysFromDateTime(when)).weekday;
  return true;
}

bool HistoryTimeText::ReadTime(const std::vector<unsigned>& groups, std::u16string_view text,
                               LocalDateTime& when) const {
  const std::vector<std::u16string> words = Words(text);
  const bool afternoon = HasAnyWord(words, afternoonWords_) ||
                         (!morningWords_.empty() && !HasAnyWord(words, morningWords_));
  for (std::size_t i = 0; i < timeParts_.size(); ++i) {
    const int value = static_cast<int>(groups[dateParts_.size() + i]);
    switch (timeParts_[i]) {
      case Part::kHour:
        when.hour = value;
        break;
      case Part::kHour12:
        if (value > 12) return false;
        when.hour = value % 12 + (afternoon ? 12 : 0);
        break;
      case Part::kMinute:
        when.minute = value;
        break;
      case Part::kSecond:
        when.second = value;
        break;
      default:
        break;
    }
  }
  return when.hour <= 23 && when.minute <= 59 && when.second <= 59;
}
