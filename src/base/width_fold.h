#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Folding of the character widths and kana forms that a Japanese user takes for the same text:
// ＡＢＣ and ABC, １２３ and 123, ｶﾀｶﾅ and カタカナ (a half-width voiced or semi-voiced mark joins
// the kana before it: ｶﾞ is ガ, ﾊﾟ is パ), and for searching also かたかな and カタカナ. Letter
// case is left alone; callers fold it after this. A fixed table, the same on every system.

enum class KanaFold : std::uint8_t {
  kWidthOnly,     // full-width ASCII to ASCII, half-width katakana to full-width katakana
  kWidthAndKana,  // and hiragana to katakana
};

// The folded text. With `origins`, origins[i] is the position in `text` of the unit that folded
// unit i came from (the first of the two units of ｶﾞ), and origins.back() is text.size(): a
// folded position maps back to the original text, whose length may differ.
void FoldWidthKana(std::u16string_view text, KanaFold fold, std::u16string& out,
                   std::vector<std::uint32_t>* origins = nullptr);
std::u16string FoldWidthKana(std::u16string_view text, KanaFold fold);

// Whether a half-width katakana can still take a voiced or semi-voiced mark written after it
// (ｶ before ﾞ): a text that ends with it may yet become ガ.
bool TakesSoundMark(char16_t halfWidth);

// Whether the folded kana `folded` is `base` (a folded kana that takes a sound mark) or `base`
// with its voiced or semi-voiced mark: カ against カ, ガ; ハ against ハ, バ, パ.
bool SameKanaBase(char16_t base, char16_t folded);

// Whether every unit is plain ASCII (below U+0080); true for the empty text.
bool IsPlainAscii(std::u16string_view text);
