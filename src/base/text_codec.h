#pragma once
#include <cstddef>
#include <string>
#include <string_view>

// UTF-8 to UTF-16. Every ill-formed sequence (stray continuation byte, truncated sequence,
// overlong form, encoded surrogate, value above U+10FFFF) becomes one U+FFFD per maximal subpart.
std::u16string Utf8ToUtf16(std::string_view utf8);
// The same in two steps, for a caller that holds the units in a buffer of its own: the number of
// units, then the decoding into `out`, which has room for exactly that many.
std::size_t Utf16Length(std::string_view utf8);
void DecodeUtf8Into(std::string_view utf8, char16_t* out);

// UTF-16 to UTF-8. A lone surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view utf16);
// The same appended to `out`, and the number of bytes it appends.
void AppendAsUtf8(std::string& out, std::u16string_view utf16);
std::size_t Utf8Length(std::u16string_view utf16);

// True when the bytes are well-formed UTF-8 and hold at least one multi-byte sequence: plain ASCII
// is not evidence of UTF-8, so such text is left to the ANSI code page.
bool IsUtf8WithMultibyte(std::string_view bytes);

// Halves of a UTF-16 surrogate pair.
inline bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
inline bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// The units of the character that begins at `at`: two for a surrogate pair, else one (zero at the
// end). A pair (an emoji, a rare kanji) is one character and is never cut in two.
inline std::size_t CharacterUnits(std::u16string_view text, std::size_t at) {
  if (at >= text.size()) return 0;
  return at + 1 < text.size() && IsHighSurrogate(text[at]) && IsLowSurrogate(text[at + 1]) ? 2 : 1;
}

// The first `units` units of the text, one fewer when the cut would fall inside a pair.
inline std::u16string_view CutAtCharacter(std::u16string_view text, std::size_t units) {
  if (units >= text.size()) return text;
  if (units > 0 && IsHighSurrogate(text[units - 1]) && IsLowSurrogate(text[units])) --units;
  return text.substr(0, units);
}

// Whether the text holds half of a surrogate pair without the other half (UTF-8 cannot hold it).
bool HasLoneSurrogate(std::u16string_view text);
