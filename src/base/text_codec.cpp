#include "base/text_codec.h"

#include <cstddef>
#include <cstdint>

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

void AppendUtf16(std::u16string& out, char32_t codePoint) {
  if (codePoint < 0x10000) {
    out.push_back(static_cast<char16_t>(codePoint));
    return;
  }
  codePoint -= 0x10000;
  out.push_back(static_cast<char16_t>(0xD800 + (codePoint >> 10)));
  out.push_back(static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF)));
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

std::u16string Utf8ToUtf16(std::string_view utf8) {
  std::u16string out;
  out.reserve(utf8.size());
  for (std::size_t pos = 0; pos < utf8.size();) {
    const Utf8Step step = DecodeUtf8At(utf8, pos);
    if (step.valid) {
      AppendUtf16(out, step.codePoint);
    } else {
      out.push_back(kReplacement);
    }
    pos += step.length;
  }
  return out;
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
  std::string out;
  out.reserve(utf16.size() * 3);
  for (std::size_t i = 0; i < utf16.size(); ++i) {
    const char16_t unit = utf16[i];
    if (IsHighSurrogate(unit) && i + 1 < utf16.size() && IsLowSurrogate(utf16[i + 1])) {
      const char32_t codePoint =
          0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (utf16[i + 1] - 0xDC00);
      AppendUtf8(out, codePoint);
      ++i;
    } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
      AppendUtf8(out, kReplacement);
    } else {
      AppendUtf8(out, unit);
    }
  }
  return out;
}

bool IsUtf8WithMultibyte(std::string_view bytes) {
  bool sawMultibyte = false;
  for (std::size_t pos = 0; pos < bytes.size();) {
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
