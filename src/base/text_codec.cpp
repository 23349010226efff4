#include "base/text_codec.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {

constexpr char16_t kReplacement = 0xFFFD;

struct Utf8Step {
  char32_t codePoint = 0;
  std::size_t length = 1;  // bytes consumed; for an ill-formed sequence its maximal subpart
  bool valid = false;
};

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Decodes the sequence that starts at `pos`, following the well-formed byte ranges of Unicode's
// UTF-8 table, which exclude overlong forms, surrogates and values above U+10FFFF.
Utf8Step DecodeUtf8At(std::string_view bytes, std::size_t pos) {
  const auto lead = static_cast<unsigned char>(bytes[pos]);
  if (lead < 0x80) return {lead, 1, true};
  std::size_t length = 0;
  unsigned char secondLow = 0x80;
  unsigned char secondHigh = 0xBF;
  char32_t value = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    value = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    value = lead & 0x0F;
    if (lead == 0xE0) secondLow = 0xA0;
    if (lead == 0xED) secondHigh = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    value = lead & 0x07;
    if (lead == 0xF0) secondLow = 0x90;
    if (lead == 0xF4) secondHigh = 0x8F;
  } else {
    return {0, 1, false};
  }
  std::size_t used = 1;
  for (; used < length; ++used) {
    if (pos + used >= bytes.size()) return {0, used, false};
    const auto byte = static_cast<unsigned char>(bytes[pos + used]);
    const bool inRange =
        used == 1 ? (byte >= secondLow && byte <= secondHigh) : IsContinuation(byte);
    if (!inRange) return {0, used, false};
    value = (value << 6) | (byte & 0x3F);
  }
  return {value, length, true};
}

// The number of ASCII bytes at the start of `bytes`.
std::size_t AsciiRun(std::string_view bytes) {
  constexpr std::uint64_t kHighBits = 0x8080808080808080u;
  std::size_t n = 0;
  for (; n + 8 <= bytes.size(); n += 8) {
    std::uint64_t word;
    std::memcpy(&word, bytes.data() + n, sizeof word);
    if (word & kHighBits) break;
  }
  while (n < bytes.size() && static_cast<unsigned char>(bytes[n]) < 0x80) ++n;
  return n;
}

void AppendUtf8(std::string& out, char32_t codePoint) {
  if (codePoint < 0x80) {
    out.push_back(static_cast<char>(codePoint));
  } else if (codePoint < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (codePoint >> 6)));
    out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
  } else if (codePoint < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (codePoint >> 12)));
    out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (codePoint >> 18)));
    out.push_back(static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
  }
}

}  // namespace

namespace {

// Walks `utf8` as Utf8ToUtf16 decodes it: each ASCII run, then each other sequence (its code point
// when valid). Counting and decoding share it, so that the counted size is always the decoded one.
template <typename OnAscii, typename OnSequence>
void WalkUtf8(std::string_view utf8, OnAscii onAscii, OnSequence onSequence) {
  for (std::size_t pos = 0; pos < utf8.size();) {
    const std::size_t ascii = AsciiRun(utf8.substr(pos));
    if (ascii > 0) onAscii(pos, ascii);
    pos += ascii;
    if (pos == utf8.size()) break;
    const Utf8Step step = DecodeUtf8At(utf8, pos);
    onSequence(step);
    pos += step.length;
  }
}

}  // namespace

std::size_t Utf16Length(std::string_view utf8) {
  std::size_t units = 0;
  WalkUtf8(
      utf8, [&](std::size_t, std::size_t count) { units += count; },
      [&](const Utf8Step& step) { units += step.valid && step.codePoint >= 0x10000 ? 2 : 1; });
  return units;
}

void DecodeUtf8Into(std::string_view utf8, char16_t* out) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(utf8.data());
  WalkUtf8(
      utf8,
      [&](std::size_t pos, std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) out[i] = bytes[pos + i];
        out += count;
      },
      [&](const Utf8Step& step) {
        if (!step.valid) {
          *out++ = kReplacement;
        } else if (step.codePoint < 0x10000) {
          *out++ = static_cast<char16_t>(step.codePoint);
        } else {
          const char32_t above = step.codePoint - 0x10000;
          *out++ = static_cast<char16_t>(0xD800 + (above >> 10));
          *out++ = static_cast<char16_t>(0xDC00 + (above & 0x3FF));
        }
      });
}

std::u16string Utf8ToUtf16(std::string_view utf8) {
  // Counted first, so that the text is made at its exact size in one allocation: a long history
  // keeps its texts for the whole run, and under Wine fresh memory is dear to touch.
  std::u16string out(Utf16Length(utf8), u'\0');
  DecodeUtf8Into(utf8, out.data());
  return out;
}

namespace {

// Calls `onCodePoint` for each character of `utf16`, a lone surrogate as U+FFFD.
template <typename OnCodePoint>
void WalkUtf16(std::u16string_view utf16, OnCodePoint onCodePoint) {
  for (std::size_t i = 0; i < utf16.size(); ++i) {
    const char16_t unit = utf16[i];
    if (IsHighSurrogate(unit) && i + 1 < utf16.size() && IsLowSurrogate(utf16[i + 1])) {
      onCodePoint(0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) +
                  (utf16[i + 1] - 0xDC00));
      ++i;
    } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
      onCodePoint(kReplacement);
    } else {
      onCodePoint(unit);
    }
  }
}

}  // namespace

std::size_t Utf8Length(std::u16string_view utf16) {
  std::size_t bytes = 0;
  WalkUtf16(utf16, [&](char32_t c) {
    bytes += c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
  });
  return bytes;
}

void AppendAsUtf8(std::string& out, std::u16string_view utf16) {
  WalkUtf16(utf16, [&](char32_t c) { AppendUtf8(out, c); });
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
  std::string out;
  out.reserve(Utf8Length(utf16));
  AppendAsUtf8(out, utf16);
  return out;
}

bool IsUtf8WithMultibyte(std::string_view bytes) {
  bool sawMultibyte = false;
  for (std::size_t pos = 0; pos < bytes.size();) {
    pos += AsciiRun(bytes.substr(pos));
    if (pos == bytes.size()) break;
    const Utf8Step step = DecodeUtf8At(bytes, pos);
    if (!step.valid) return false;
    if (step.length > 1) sawMultibyte = true;
    pos += step.length;
  }
  return sawMultibyte;
}

bool HasLoneSurrogate(std::u16string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
      ++i;
    } else if (IsHighSurrogate(text[i]) || IsLowSurrogate(text[i])) {
      return true;
    }
  }
  return false;
}
