#include "posix/code_page_posix.h"

#include <iconv.h>

#include <cerrno>
#include <cstddef>
#include <optional>
#include <string_view>

#include "base/text_codec.h"

namespace {

constexpr char16_t kReplacement = 0xFFFD;
constexpr char kDefaultChar = '?';

// One iconv descriptor, used to convert one character at a time while the tables are filled.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (ok()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // The whole of `in` converted, or nothing; `incomplete` tells whether it stopped because the
  // input ended inside a character.
  std::optional<std::string> Convert(std::string_view in, bool* incomplete = nullptr) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char buffer[16];
    char* inPtr = const_cast<char*>(in.data());
    std::size_t inLeft = in.size();
    char* outPtr = buffer;
    std::size_t outLeft = sizeof buffer;
    const bool failed =
        iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1);
    if (incomplete != nullptr) *incomplete = failed && errno == EINVAL;
    if (failed || inLeft != 0) return std::nullopt;
    return std::string(buffer, outPtr);
  }

 private:
  iconv_t cd_;
};

// The one UTF-16 unit of little-endian bytes, or none.
std::optional<char16_t> OneUnit(const std::optional<std::string>& utf16) {
  if (!utf16 || utf16->size() != 2) return std::nullopt;
  return static_cast<char16_t>(static_cast<unsigned char>((*utf16)[0]) |
                               (static_cast<unsigned char>((*utf16)[1]) << 8));
}

}  // namespace

PosixCodePage::PosixCodePage(const std::string& charset)
    : bytes_(std::make_unique<std::array<std::uint16_t, 0x10000>>()) {
  single_.fill(kNone);
  bytes_->fill(kNoBytes);
  Converter decoder("UTF-16LE", charset.c_str());
  Converter encoder(charset.c_str(), "UTF-16LE");
  // A code page iconv does not know converts nothing: every byte reads as U+FFFD.
  if (!decoder.ok() || !encoder.ok()) return;
  for (int b = 0; b < 256; ++b) {
    bool incomplete = false;
    const std::string one(1, static_cast<char>(b));
    if (auto unit = OneUnit(decoder.Convert(one, &incomplete))) {
      single_[b] = *unit;
    } else if (incomplete) {
      lead_[b] = std::make_unique<std::array<char16_t, 256>>();
      for (int t = 0; t < 256; ++t) {
        (*lead_[b])[t] = OneUnit(decoder.Convert(one + static_cast<char>(t))).value_or(kNone);
      }
    }
  }
  for (unsigned unit = 1; unit < 0x10000; ++unit) {
    if (unit >= 0xD800 && unit <= 0xDFFF) continue;
    const char utf16[2] = {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
    const std::optional<std::string> out = encoder.Convert(std::string_view(utf16, 2));
    if (!out || out->empty() || out->size() > 2) continue;
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>((*out)[i]); };
    (*bytes_)[unit] =
        static_cast<std::uint16_t>(out->size() == 1 ? byte(0) : byte(0) << 8 | byte(1));
  }
}

char16_t PosixCodePage::Decoded(std::uint16_t bytes) const {
  if (bytes <= 0xFF) return single_[bytes];
  const auto& trails = lead_[bytes >> 8];
  return trails ? (*trails)[bytes & 0xFF] : kNone;
}

void PosixCodePage::AppendBytes(std::uint16_t bytes, std::string& out) const {
  if (bytes > 0xFF) out.push_back(static_cast<char>(bytes >> 8));
  out.push_back(static_cast<char>(bytes & 0xFF));
}

std::u16string PosixCodePage::ToUnicode(std::string_view bytes) const {
  std::u16string text;
  text.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    char16_t unit = single_[byte];
    // A lead byte with a trail byte that makes no character, or cut off at the end, shows as
    // U+FFFD alone; decoding goes on at the byte after it.
    if (lead_[byte] && i + 1 < bytes.size()) {
      unit = (*lead_[byte])[static_cast<unsigned char>(bytes[i + 1])];
      if (unit != kNone) ++i;
    }
    text.push_back(unit == kNone ? kReplacement : unit);
  }
  return text;
}

std::optional<std::string> PosixCodePage::FromUnicodeExact(std::u16string_view text) const {
  std::string out;
  out.reserve(text.size() * 2);
  for (char16_t unit : text) {
    if (unit == 0) {
      out.push_back('\0');
      continue;
    }
    const std::uint16_t bytes = (*bytes_)[unit];
    if (bytes == kNoBytes) return std::nullopt;
    // iconv maps a few characters to a near neighbour ("¥" to 0x5C, which reads back as "\");
    // Windows, asked for no best fit, does not. Exact means the bytes read back as the text.
    if (Decoded(bytes) != unit) return std::nullopt;
    AppendBytes(bytes, out);
  }
  return out;
}

std::string PosixCodePage::FromUnicodeLossy(std::u16string_view text) const {
  std::string out;
  out.reserve(text.size() * 2);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i];
    // One default character for a surrogate pair, as for any character the page lacks.
    if (IsHighSurrogate(unit) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) ++i;
    if (unit == 0) {
      out.push_back('\0');
    } else if ((*bytes_)[unit] == kNoBytes) {
      out.push_back(kDefaultChar);
    } else {
      AppendBytes((*bytes_)[unit], out);
    }
  }
  return out;
}
