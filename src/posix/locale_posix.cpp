#include "posix/locale_posix.h"

#include <ctime>
#include <cwctype>

namespace {

char16_t UpperUnit(char16_t c) {
  if (c >= u'a' && c <= u'z') return static_cast<char16_t>(c - u'a' + u'A');
  if (c < 0x80 || (c >= 0xD800 && c <= 0xDFFF)) return c;
  const std::wint_t upper = std::towupper(static_cast<std::wint_t>(c));
  return upper <= 0xFFFF ? static_cast<char16_t>(upper) : c;
}

int CompareUnits(std::u16string_view a, std::u16string_view b) {
  const int result = a.compare(b);
  return result < 0 ? -1 : (result > 0 ? 1 : 0);
}

// Decimal text of a non-negative number, at least `width` digits.
std::u16string Digits(int value, int width) {
  std::u16string text;
  do {
    text.insert(text.begin(), static_cast<char16_t>(u'0' + value % 10));
    value /= 10;
  } while (value > 0);
  while (static_cast<int>(text.size()) < width) text.insert(text.begin(), u'0');
  return text;
}

}  // namespace

std::u16string PosixLocale::ToUpper(std::u16string_view text) const {
  std::u16string upper(text);
  for (char16_t& c : upper) c = UpperUnit(c);
  return upper;
}

int PosixLocale::CompareNoCase(std::u16string_view a, std::u16string_view b) const {
  return CompareUnits(ToUpper(a), ToUpper(b));
}

std::string PosixLocale::SortKeyNoCase(std::u16string_view text) const {
  return BigEndianUnits(ToUpper(text));
}

int PosixLocale::CompareCase(std::u16string_view a, std::u16string_view b) const {
  return CompareUnits(a, b);
}

std::u16string PosixLocale::ShortDate(const LocalDateTime& when) const {
  return Digits(when.year, 4) + u"/" + Digits(when.month, 2) + u"/" + Digits(when.day, 2);
}

std::u16string PosixLocale::LongTime(const LocalDateTime& when) const {
  return Digits(when.hour, 1) + u":" + Digits(when.minute, 2) + u":" + Digits(when.second, 2);
}

std::u16string PosixLocale::TimeSeparator() const { return u":"; }

LocalDateTime PosixClock::Now() const {
  const std::time_t now = std::time(nullptr);
  std::tm local = {};
  localtime_r(&now, &local);
  LocalDateTime when;
  when.year = local.tm_year + 1900;
  when.month = local.tm_mon + 1;
  when.day = local.tm_mday;
  when.weekday = local.tm_wday;
  when.hour = local.tm_hour;
  when.minute = local.tm_min;
  when.second = local.tm_sec;
  return when;
}
