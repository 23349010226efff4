#include "util/text_helpers.h"

#include <algorithm>

#include <vector>

namespace {

constexpr char16_t kBlank = u' ';
constexpr char16_t kFullWidthBlank = u'\u3000';

std::size_t FindSeparator(std::u16string_view text, std::u16string_view separator) {
  if (separator.empty()) return std::u16string_view::npos;
  return text.find(separator);
}

// Blanks split first; once none is left, full-width blanks split the rest. Runs of separators
// give no empty words.
std::vector<std::u16string> SplitWords(std::u16string_view words) {
  std::vector<std::u16string> list;
  bool blanksLeft = true;
  while (!words.empty()) {
    std::size_t pos = std::u16string_view::npos;
    if (blanksLeft) {
      pos = words.find(kBlank);
      blanksLeft = pos != std::u16string_view::npos;
    }
    if (!blanksLeft) {
      pos = words.find(kFullWidthBlank);
      if (pos == std::u16string_view::npos) {
        list.emplace_back(words);
        break;
      }
    }
    if (pos > 0) list.emplace_back(words.substr(0, pos));
    words.remove_prefix(pos + 1);
  }
  return list;
}

}  // namespace

std::u16string TextBefore(std::u16string_view text, std::u16string_view separator) {
  const std::size_t pos = FindSeparator(text, separator);
  if (pos == std::u16string_view::npos) return std::u16string(text);
  return std::u16string(text.substr(0, pos));
}

std::u16string TextAfter(std::u16string_view text, std::u16string_view separator) {
  const std::size_t pos = FindSeparator(text, separator);
  if (pos == std::u16string_view::npos) return {};
  return std::u16string(text.substr(pos + separator.size()));
}

std::size_t PosText(std::u16string_view part, std::u16string_view text, const Locale& locale) {
  if (part.empty()) return 0;
  const std::size_t pos = locale.ToUpper(text).find(locale.ToUpper(part));
  return pos == std::u16string::npos ? 0 : pos + 1;
}

std::size_t CountLines(std::u16string_view text) {
  if (text.empty()) return 0;
  std::size_t lines = 0;
  for (char16_t c : text) {
    if (c == u'\n') ++lines;
  }
  if (text.back() != u'\n') ++lines;
  return lines;
}

SearchWords::SearchWords(std::u16string_view words, bool caseSensitive, const Locale& locale)
    : none_(words.empty()), caseSensitive_(caseSensitive), locale_(locale) {
  for (std::u16string& word : SplitWords(words)) {
    ReplaceAll(word, u"\\s", u" ");
    ReplaceAll(word, u"\\t", u"\t");
    words_.push_back(caseSensitive ? std::move(word) : locale.ToUpper(word));
  }
}

bool SearchWords::Match(std::u16string_view text, bool all, bool negate) const {
  if (none_) return true;
  // Upper-cased once for all the words. ASCII needs no locale: every locale upper-cases a-z
  // alike, and a filter over thousands of rows would otherwise call it for each.
  if (!caseSensitive_) {
    if (std::all_of(text.begin(), text.end(), [](char16_t c) { return c < 0x80; })) {
      upper_.assign(text);
      for (char16_t& c : upper_) {
        if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
      }
    } else {
      upper_ = locale_.ToUpper(text);
    }
  }
  const std::u16string_view searched = caseSensitive_ ? text : std::u16string_view(upper_);
  for (const std::u16string& word : words_) {
    // An empty word is found only by a case-sensitive search, as PosText finds no empty part.
    const bool found = (caseSensitive_ || !word.empty()) &&
                       searched.find(word) != std::u16string_view::npos;
    const bool hit = found != negate;
    if (all && !hit) return false;
    if (!all && hit) return true;
  }
  return all;
}

bool MatchWords(std::u16string_view words, std::u16string_view text, bool all, bool negate,
                bool caseSensitive, const Locale& locale) {
  return SearchWords(words, caseSensitive, locale).Match(text, all, negate);
}

void ReplaceAll(std::u16string& text, std::u16string_view from, std::u16string_view to) {
  for (std::size_t pos = text.find(from); pos != std::u16string::npos;
       pos = text.find(from, pos + to.size())) {
    text.replace(pos, from.size(), to);
  }
}

std::u16string_view TrimControls(std::u16string_view text) {
  while (!text.empty() && text.front() <= u' ') text.remove_prefix(1);
  while (!text.empty() && text.back() <= u' ') text.remove_suffix(1);
  return text;
}
