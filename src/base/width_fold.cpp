#include "base/width_fold.h"

#include <algorithm>

namespace {

constexpr char16_t kHalfWidthFirst = 0xFF61;  // ｡
constexpr char16_t kHalfWidthLast = 0xFF9F;   // ﾟ
constexpr char16_t kHalfVoicedMark = 0xFF9E;  // ﾞ
constexpr char16_t kHalfSemiVoicedMark = 0xFF9F;

// The full-width forms of U+FF61 … U+FF9F: punctuation, katakana, ー, and the marks ゛ ゜ (which
// stay apart when no kana before them takes them).
constexpr char16_t kFullOfHalf[] = {
    0x3002, 0x300C, 0x300D, 0x3001, 0x30FB, 0x30F2, 0x30A1, 0x30A3, 0x30A5, 0x30A7, 0x30A9,
    0x30E3, 0x30E5, 0x30E7, 0x30C3, 0x30FC, 0x30A2, 0x30A4, 0x30A6, 0x30A8, 0x30AA, 0x30AB,
    0x30AD, 0x30AF, 0x30B1, 0x30B3, 0x30B5, 0x30B7, 0x30B9, 0x30BB, 0x30BD, 0x30BF, 0x30C1,
    0x30C4, 0x30C6, 0x30C8, 0x30CA, 0x30CB, 0x30CC, 0x30CD, 0x30CE, 0x30CF, 0x30D2, 0x30D5,
    0x30D8, 0x30DB, 0x30DE, 0x30DF, 0x30E0, 0x30E1, 0x30E2, 0x30E4, 0x30E6, 0x30E8, 0x30E9,
    0x30EA, 0x30EB, 0x30EC, 0x30ED, 0x30EF, 0x30F3, 0x309B, 0x309C};
static_assert(std::size(kFullOfHalf) == kHalfWidthLast - kHalfWidthFirst + 1);

// Full-width signs U+FFE0 … U+FFE6 and their usual forms: ¢ £ ¬ ¯ ¦ ¥ ₩.
constexpr char16_t kFullSignFirst = 0xFFE0;
constexpr char16_t kUsualOfFullSign[] = {0x00A2, 0x00A3, 0x00AC, 0x00AF, 0x00A6, 0x00A5, 0x20A9};

bool IsHaGyou(char16_t katakana) {  // ハ ヒ フ ヘ ホ
  return katakana >= 0x30CF && katakana <= 0x30DB && (katakana - 0x30CF) % 3 == 0;
}

// ガ for カ, and so on; 0 when the kana takes no voiced mark.
char16_t Voiced(char16_t katakana) {
  if (katakana >= 0x30AB && katakana <= 0x30C1 && (katakana - 0x30AB) % 2 == 0) return katakana + 1;
  if (katakana == 0x30C4 || katakana == 0x30C6 || katakana == 0x30C8)
    return katakana + 1;  // ツテト
  if (IsHaGyou(katakana)) return katakana + 1;
  if (katakana == 0x30A6) return 0x30F4;  // ヴ
  if (katakana == 0x30EF) return 0x30F7;  // ヷ
  if (katakana == 0x30F2) return 0x30FA;  // ヺ
  return 0;
}

// パ for ハ, and so on; 0 when the kana takes no semi-voiced mark.
char16_t SemiVoiced(char16_t katakana) { return IsHaGyou(katakana) ? katakana + 2 : 0; }

char16_t FullOfHalf(char16_t halfWidth) { return kFullOfHalf[halfWidth - kHalfWidthFirst]; }

bool IsHalfWidthKana(char16_t c) { return c >= kHalfWidthFirst && c <= kHalfWidthLast; }

// One unit that folds alone (not the half-width kana, which may join the mark after them).
char16_t FoldUnit(char16_t c, KanaFold fold) {
  if (c >= 0xFF01 && c <= 0xFF5E) return static_cast<char16_t>(c - 0xFEE0);  // ！ … ～
  if (c == 0x3000) return u' ';
  if (c >= kFullSignFirst && c < kFullSignFirst + std::size(kUsualOfFullSign)) {
    return kUsualOfFullSign[c - kFullSignFirst];
  }
  if (fold == KanaFold::kWidthAndKana) {
    if (c >= 0x3041 && c <= 0x3096) return static_cast<char16_t>(c + 0x60);  // ぁ … ゖ
    if (c == 0x309D || c == 0x309E) return static_cast<char16_t>(c + 0x60);  // ゝ ゞ
  }
  return c;
}

}  // namespace

void FoldWidthKana(std::u16string_view text, KanaFold fold, std::u16string& out,
                   std::vector<std::uint32_t>* origins) {
  // Written by index into a buffer of the text's length: a filter folds every row of a history.
  out.resize(text.size());
  char16_t* const folded = out.data();
  std::size_t n = 0;
  if (origins) origins->resize(text.size() + 1);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (origins) (*origins)[n] = static_cast<std::uint32_t>(i);
    const char16_t c = text[i];
    // Nothing below U+3000 folds, nor katakana and kanji up to the full-width forms.
    if (c < 0x3000 || (c >= 0x30A0 && c < 0xFF01)) {
      folded[n++] = c;
    } else if (!IsHalfWidthKana(c)) {
      folded[n++] = FoldUnit(c, fold);
    } else {
      const char16_t full = FullOfHalf(c);
      const char16_t next = i + 1 < text.size() ? text[i + 1] : 0;
      char16_t joined = 0;
      if (next == kHalfVoicedMark) joined = Voiced(full);
      if (next == kHalfSemiVoicedMark) joined = SemiVoiced(full);
      folded[n++] = joined != 0 ? joined : full;
      if (joined != 0) ++i;
    }
  }
  out.resize(n);
  if (origins) {
    (*origins)[n] = static_cast<std::uint32_t>(text.size());
    origins->resize(n + 1);
  }
}

std::u16string FoldWidthKana(std::u16string_view text, KanaFold fold) {
  std::u16string out;
  FoldWidthKana(text, fold, out);
  return out;
}

bool TakesSoundMark(char16_t halfWidth) {
  return IsHalfWidthKana(halfWidth) && Voiced(FullOfHalf(halfWidth)) != 0;
}

bool SameKanaBase(char16_t base, char16_t folded) {
  if (folded == base) return true;
  const char16_t voiced = Voiced(base);
  const char16_t semiVoiced = SemiVoiced(base);
  return (voiced != 0 && folded == voiced) || (semiVoiced != 0 && folded == semiVoiced);
}

bool IsPlainAscii(std::u16string_view text) {
  return std::all_of(text.begin(), text.end(), [](char16_t c) { return c < 0x80; });
}
