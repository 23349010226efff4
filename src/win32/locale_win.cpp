#include "win32/locale_win.h"

#include <windows.h>

#include <string>

#include "win32/wide_win.h"

namespace {

constexpr int kFormatBufferChars = 256;

SYSTEMTIME ToSystemTime(const LocalDateTime& when) {
  SYSTEMTIME time = {};
  time.wYear = static_cast<WORD>(when.year);
  time.wMonth = static_cast<WORD>(when.month);
  time.wDay = static_cast<WORD>(when.day);
  time.wDayOfWeek = static_cast<WORD>(when.weekday);
  time.wHour = static_cast<WORD>(when.hour);
  time.wMinute = static_cast<WORD>(when.minute);
  time.wSecond = static_cast<WORD>(when.second);
  return time;
}

// The code-unit order, for when the locale cannot compare.
int CompareOrdinal(std::u16string_view a, std::u16string_view b) {
  const int result = a.compare(b);
  return result < 0 ? -1 : (result > 0 ? 1 : 0);
}

int CompareInLocale(std::u16string_view a, std::u16string_view b, DWORD flags) {
  if (a.empty() || b.empty()) return CompareOrdinal(a, b);
  const std::u16string left(a);
  const std::u16string right(b);
  const int result =
      CompareStringEx(LOCALE_NAME_USER_DEFAULT, flags, W(left), static_cast<int>(left.size()),
                      W(right), static_cast<int>(right.size()), nullptr, nullptr, 0);
  if (result == 0) return CompareOrdinal(a, b);
  return result - CSTR_EQUAL;
}

// The text a formatting call wrote, without its terminator; empty when it failed.
std::u16string FromBuffer(const wchar_t* buffer, int written) {
  if (written <= 1) return {};
  return U16(buffer, static_cast<std::size_t>(written - 1));
}

}  // namespace

std::u16string WinLocale::ToUpper(std::u16string_view text) const {
  if (text.empty()) return {};
  const auto* source = reinterpret_cast<const wchar_t*>(text.data());
  const int sourceLength = static_cast<int>(text.size());
  // Upper-casing keeps the length, so one call usually does; filters call this for every row.
  std::u16string result(text.size(), u'\0');
  int written =
      LCMapStringEx(LOCALE_NAME_USER_DEFAULT, LCMAP_UPPERCASE, source, sourceLength,
                    reinterpret_cast<wchar_t*>(result.data()), sourceLength, nullptr, nullptr, 0);
  if (written > 0) {
    result.resize(static_cast<std::size_t>(written));
    return result;
  }
  const int needed = LCMapStringEx(LOCALE_NAME_USER_DEFAULT, LCMAP_UPPERCASE, source, sourceLength,
                                   nullptr, 0, nullptr, nullptr, 0);
  if (needed <= 0) return std::u16string(text);
  result.assign(static_cast<std::size_t>(needed), u'\0');
  written = LCMapStringEx(LOCALE_NAME_USER_DEFAULT, LCMAP_UPPERCASE, source, sourceLength,
                          reinterpret_cast<wchar_t*>(result.data()), needed, nullptr, nullptr, 0);
  if (written <= 0) return std::u16string(text);
  result.resize(static_cast<std::size_t>(written));
  return result;
}

int WinLocale::CompareNoCase(std::u16string_view a, std::u16string_view b) const {
  return CompareInLocale(a, b, NORM_IGNORECASE);
}

std::string WinLocale::SortKeyNoCase(std::u16string_view text) const {
  const std::u16string source(text);
  const int size =
      LCMapStringEx(LOCALE_NAME_USER_DEFAULT, LCMAP_SORTKEY | NORM_IGNORECASE, W(source),
                    static_cast<int>(source.size()), nullptr, 0, nullptr, nullptr, 0);
  if (size <= 0) return {};
  std::string key(static_cast<std::size_t>(size), '\0');
  LCMapStringEx(LOCALE_NAME_USER_DEFAULT, LCMAP_SORTKEY | NORM_IGNORECASE, W(source),
                static_cast<int>(source.size()), reinterpret_cast<LPWSTR>(key.data()), size,
                nullptr, nullptr, 0);
  // The key ends with a zero byte, which must not take part in comparisons of prefixes.
  while (!key.empty() && key.back() == '\0') key.pop_back();
  return key;
}

int WinLocale::CompareCase(std::u16string_view a, std::u16string_view b) const {
  return CompareInLocale(a, b, 0);
}

std::u16string WinLocale::ShortDate(const LocalDateTime& when) const {
  const SYSTEMTIME time = ToSystemTime(when);
  wchar_t buffer[kFormatBufferChars] = {};
  const int written = GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &time, nullptr,
                                      buffer, kFormatBufferChars, nullptr);
  return FromBuffer(buffer, written);
}

std::u16string WinLocale::LongTime(const LocalDateTime& when) const {
  const SYSTEMTIME time = ToSystemTime(when);
  wchar_t buffer[kFormatBufferChars] = {};
  const int written =
      GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &time, nullptr, buffer, kFormatBufferChars);
  return FromBuffer(buffer, written);
}

std::u16string WinLocale::TimeSeparator() const {
  wchar_t buffer[kFormatBufferChars] = {};
  const int written =
      GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_STIME, buffer, kFormatBufferChars);
  std::u16string separator = FromBuffer(buffer, written);
  return separator.empty() ? u":" : separator;
}
