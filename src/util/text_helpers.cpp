#include "util/text_helpers.h"

#include <algorithm>

#include <vector>

#include "base/text_search.h"
#include "base/width_fold.h"

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

// Upper-cases the text in place when every unit's upper case is the same in every locale: ASCII,
// full-width Latin letters, and the scripts and signs without letter case that Japanese text is
// made of (kana, kanji, CJK and general punctuation, arrows, shapes, Hangul). False, with the
// text partly changed, when some unit needs the user's locale.
bool UpperCaseWithoutLocale(std::u16string& text) {
  for (char16_t& c : text) {
    if (c < 0x80) {
      if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
    } else if (c >= 0x3000 && c <= 0x9FFF) {
      // kana, kanji and CJK punctuation: the most of a Japanese text
    } else if (c >= 0xFF41 && c <= 0xFF5A) {  // ａ … ｚ
      c = static_cast<char16_t>(c - 0x20);
    } else {
      const bool caseless = (c >= 0x2000 && c <= 0x206F) || (c >= 0x2190 && c <= 0x23FF) ||
                            (c >= 0x2500 && c <= 0x27BF) || (c >= 0xAC00 && c <= 0xD7A3) ||
                            (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFF01 && c <= 0xFFEF);
      if (!caseless) return false;
    }
  }
  return true;
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

SearchWords::SearchWords(std::u16string_view words, bool caseSensitive, const Locale& locale,
                         bool foldWidthKana)
    : none_(words.empty()),
      caseSensitive_(caseSensitive),
      foldWidthKana_(foldWidthKana),
      locale_(locale) {
  for (std::u16string& word : SplitWords(words)) {
    ReplaceAll(word, u"\\s", u" ");
    ReplaceAll(word, u"\\t", u"\t");
    std::u16string form;
    SearchedForm(word, form);
    words_.push_back(std::move(form));
  }
}

void SearchWords::SearchedForm(std::u16string_view text, std::u16string& out) const {
  if (foldWidthKana_) {
    FoldWidthKana(text, KanaFold::kWidthAndKana, folded_);
    text = folded_;
  }
  out.assign(text);
  // Most texts need no locale: a filter over thousands of rows would otherwise call it for each.
  if (!caseSensitive_ && !UpperCaseWithoutLocale(out)) out = locale_.ToUpper(text);
}

bool SearchWords::Match(std::u16string_view text, bool all, bool negate) const {
  if (none_) return true;
  SearchedForm(text, form_);
  return MatchSearchedForm(form_, all, negate);
}

bool SearchWords::MatchSearchedForm(std::u16string_view form, bool all, bool negate) const {
  if (none_) return true;
  for (const std::u16string& word : words_) {
    // An empty word is found only by a case-sensitive search, as PosText finds no empty part.
    const bool found =
        (caseSensitive_ || !word.empty()) && FindText(form, word) != std::u16string_view::npos;
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
