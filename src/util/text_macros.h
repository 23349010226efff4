#pragma once
#include <string>
#include <string_view>

#include "platform/clock.h"
#include "platform/locale.h"

// Replaces the escapes and date/time macros of canned texts and launcher items:
//   \n CR LF, \t TAB, \Y year, \y two-digit year, \MM month name, \M short month name,
//   \0m two-digit month, \m month, \0d two-digit day, \d day, \WW day name, \W short day name,
//   \w day in kanji, \T time (the locale's separator), \H hour, \N minutes, \S seconds.
// The macros are replaced one kind after the other in that order, so a longer macro wins over its
// prefix; an expansion may complete a later macro, or the same one again, with text standing
// before it (each search starts over after a replacement). Other backslashes stay as they are.
// The clock is read once for the names and again for each numeric macro, so a call across
// midnight can mix two dates. The work is linear in the text.
std::u16string ExpandMacros(std::u16string_view text, const Clock& clock, const Locale& locale);

// Whether the text holds a date or time macro, so that its expansion changes with the clock; a
// text without one (only \n, \t and other backslashes) expands the same at any time.
bool HasDateMacros(std::u16string_view text);
