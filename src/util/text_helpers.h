#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/locale.h"

// The text before the first occurrence of separator; the whole text when it does not occur.
std::u16string TextBefore(std::u16string_view text, std::u16string_view separator);

// The text after the first occurrence of separator; the empty text when it does not occur.
// Callers rely on the asymmetry with TextBefore: the text after "CLIPBOARD_T" in the bare
// command CLIPBOARD_T is empty. An empty separator never occurs.
std::u16string TextAfter(std::u16string_view text, std::u16string_view separator);

// The text without the units up to U+0020 (blanks, TABs, line breaks, other controls) at both
// ends.
std::u16string_view TrimControls(std::u16string_view text);

// 1-based position of the first occurrence of part in text, both upper-cased by the user's
// locale; 0 when part is empty or does not occur.
std::size_t PosText(std::u16string_view part, std::u16string_view text, const Locale& locale);

// The number of LF characters, plus one when the text does not end with LF; 0 for "".
std::size_t CountLines(std::u16string_view text);

// Whether text passes the search words of a history filter. Words are separated by blanks;
// full-width blanks separate only the words after the last blank. In a word "\s" stands for a
// blank and "\t" for a TAB. A word is a hit when it occurs in text (or, with negate, when it does
// not). With all, every word must be a hit; otherwise one hit is enough. No words at all pass.
bool MatchWords(std::u16string_view words, std::u16string_view text, bool all, bool negate,
                bool caseSensitive, const Locale& locale);

// The search words of MatchWords made ready once, for a filter over many texts. With
// foldWidthKana the words and the texts are compared across character width and kana forms
// (ＡＢＣ finds abc, かな finds ｶﾅ; see base/width_fold.h) besides letter case.
class SearchWords {
 public:
  SearchWords(std::u16string_view words, bool caseSensitive, const Locale& locale,
              bool foldWidthKana = false);
  bool Match(std::u16string_view text, bool all, bool negate) const;

  // The form of a text that the words are looked for in (folded and upper-cased as the words
  // are). A filter that searches the same texts again can keep these forms and match them with
  // MatchSearchedForm; they stay valid for every SearchWords of the same options and locale.
  void SearchedForm(std::u16string_view text, std::u16string& out) const;
  bool MatchSearchedForm(std::u16string_view form, bool all, bool negate) const;

 private:
  std::vector<std::u16string> words_;  // in their searched form
  bool none_;                          // no words given at all: every text passes
  bool caseSensitive_;
  bool foldWidthKana_;
  const Locale& locale_;
  mutable std::u16string folded_;  // buffers of the text being searched (one thread at a time)
  mutable std::u16string form_;
};

// Replaces every occurrence of from (not empty), left to right; replaced text is not searched
// again.
void ReplaceAll(std::u16string& text, std::u16string_view from, std::u16string_view to);
