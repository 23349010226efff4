#include "util/text_macros.h"
#include "platform/clock.h"

#include <array>
#include <vector>

namespace {

constexpr std::array<std::u16string_view, 12> kMonthNames = {
    u"January", u"February", u"March",     u"April",   u"May",      u"June",
    u"July",    u"August",   u"September", u"October", u"November", u"December"};
constexpr std::array<std::u16string_view, 7> kDayNames = {
    u"Sunday", u"Monday", u"Tuesday", u"Wednesday", u"Thursday", u"Friday", u"Saturday"};
constexpr std::array<std::u16string_view, 7> kKanjiDays = {u"日", u"月", u"火", u"水",
                                                           u"木", u"金", u"土"};

std::u16string Digits(int value, std::size_t width) {
  if (value < 0) value = 0;
  std::u16string digits;
  do {
    digits.insert(digits.begin(), static_cast<char16_t>(u'0' + value % 10));
    value /= 10;
  } while (value > 0);
  if (digits.size() < width) digits.insert(0, width - digits.size(), u'0');
  return digits;
}

template <std::size_t N>
std::u16string_view Pick(const std::array<std::u16string_view, N>& names, int index) {
  if (index < 0 || index >= static_cast<int>(N)) return {};
  return names[static_cast<std::size_t>(index)];
}

// Replaces every occurrence as a search from the start of the text after each replacement would
// find them: an expansion may complete the same macro again with text before it (in March,
// \M\MM becomes \MMarch and then Marcharch). A macro holds a backslash only at its start, so two
// occurrences never overlap, and the first occurrence is also the one that ends first. The
// result is therefore built unit by unit: when the units written so far end with the macro, it
// is taken off again and its expansion is read next, before the rest of the text (so that an
// expansion completing a macro with what stands before it is caught too). Each replacement takes
// away the macro's backslash and the expansion brings none, so this ends, and the work is linear
// in the text: 80,000 line breaks are one pass, not 80,000 moves of everything after each one.
void ReplaceMacro(std::u16string& text, std::u16string_view macro, std::u16string_view value) {
  if (text.find(macro) == std::u16string::npos) return;
  std::u16string out;
  out.reserve(text.size() + text.size() / 4);
  // What is still to be read, innermost last: the rest of an expansion, then the rest of before.
  std::vector<std::u16string_view> toRead{text};
  while (!toRead.empty()) {
    if (toRead.back().empty()) {
      toRead.pop_back();
      continue;
    }
    out.push_back(toRead.back().front());
    toRead.back().remove_prefix(1);
    if (out.back() == macro.back() && std::u16string_view(out).ends_with(macro)) {
      out.resize(out.size() - macro.size());
      toRead.push_back(value);
    }
  }
  text = std::move(out);
}

// The locale's time separator, or ":" when it has none. A separator holding a backslash could
// form a macro again with every replacement, so it is not used either.
std::u16string UsableTimeSeparator(const Locale& locale) {
  std::u16string separator = locale.TimeSeparator();
  if (separator.empty() || separator.find(u'\\') != std::u16string::npos) return u":";
  return separator;
}

}  // namespace

std::u16string ExpandMacros(std::u16string_view text, const Clock& clock, const Locale& locale) {
  if (text.find(u'\\') == std::u16string_view::npos) return std::u16string(text);

  const LocalDateTime names = clock.Now();
  const std::u16string_view month = Pick(kMonthNames, names.month - 1);
  const std::u16string_view day = Pick(kDayNames, names.weekday);

  // Each step either has a fixed expansion or formats the clock when its turn comes.
  struct Step {
    std::u16string_view macro;
    std::u16string fixed;
    std::u16string (*format)(const LocalDateTime&, const Locale&) = nullptr;
  };
  const Step steps[] = {
      {u"\\n", u"\r\n"},
      {u"\\t", u"\t"},
      {u"\\Y", {}, [](const LocalDateTime& t, const Locale&) { return Digits(t.year, 4); }},
      {u"\\y", {}, [](const LocalDateTime& t, const Locale&) { return Digits(t.year % 100, 2); }},
      {u"\\MM", std::u16string(month)},
      {u"\\M", std::u16string(month.substr(0, 3))},
      {u"\\0m", {}, [](const LocalDateTime& t, const Locale&) { return Digits(t.month, 2); }},
      {u"\\m", {}, [](const LocalDateTime& t, const Locale&) { return Digits(t.month, 1); }},
      {u"\\0d", {}, [](const LocalDateTime& t, const Locale&) { return Digits(t.day, 2); }},
      {u"\\d", {}, [](const LocalDateTime& t, const Locale&) { return Digits(t.day, 1); }},
      {u"\\WW", std::u16string(day)},
      {u"\\W", std::u16string(day.substr(0, 3))},
      {u"\\w", std::u16string(Pick(kKanjiDays, names.weekday))},
      {u"\\T",
       {},
       [](const LocalDateTime& t, const Locale& l) {
         const std::u16string separator = UsableTimeSeparator(l);
         return Digits(t.hour, 2) + separator + Digits(t.minute, 2) + separator +
                Digits(t.second, 2);
       }},
      {u"\\H", {}, [](const LocalDateTime& t, const Locale&) { return Digits(t.hour, 2); }},
      {u"\\N", {}, [](const LocalDateTime& t, const Locale&) { return Digits(t.minute, 2); }},
      {u"\\S", {}, [](const LocalDateTime& t, const Locale&) { return Digits(t.second, 2); }},
  };

  std::u16string result(text);
  for (const Step& step : steps) {
    const std::u16string value = step.format ? step.format(clock.Now(), locale) : step.fixed;
    ReplaceMacro(result, step.macro, value);
  }
  return result;
}

bool HasDateMacros(std::u16string_view text) {
  // The letter after the backslash of every date and time macro; \n and \t expand to CR LF and
  // TAB, which cannot complete a macro with a backslash before them.
  constexpr std::u16string_view kDateLetters = u"YyM0mdWwTHNS";
  for (std::size_t i = text.find(u'\\'); i != std::u16string_view::npos && i + 1 < text.size();
       i = text.find(u'\\', i + 1)) {
    if (kDateLetters.find(text[i + 1]) != std::u16string_view::npos) return true;
  }
  return false;
}
