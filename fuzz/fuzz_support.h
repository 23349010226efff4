#pragma once
// Shared by the fuzz targets. A broken property prints what broke and aborts; libFuzzer records
// the input as a crash, and running the target on that file alone shows the message again.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "base/text_codec.h"

[[noreturn]] inline void FuzzFail(const char* file, int line, const char* condition,
                                  const std::string& detail) {
  std::fprintf(stderr, "\n%s:%d: property broken: %s\n%s\n", file, line, condition, detail.c_str());
  std::abort();
}

#define FUZZ_CHECK(condition, detail)                                   \
  do {                                                                  \
    if (!(condition)) FuzzFail(__FILE__, __LINE__, #condition, detail); \
  } while (0)

// Text for a message: printable ASCII as it is, every other unit as \uXXXX.
inline std::string Shown(std::u16string_view text) {
  constexpr std::size_t kMost = 200;
  if (text.size() > kMost) return Shown(text.substr(0, kMost)) + "...";
  std::string out;
  for (char16_t unit : text) {
    if (unit >= 0x20 && unit < 0x7F && unit != u'\\') {
      out.push_back(static_cast<char>(unit));
    } else {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04X", static_cast<unsigned>(unit));
      out += escaped;
    }
  }
  return out;
}

inline std::string ShownBytes(std::string_view bytes) {
  constexpr std::size_t kMost = 400;
  if (bytes.size() > kMost) return ShownBytes(bytes.substr(0, kMost)) + "...";
  std::string out;
  for (char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte < 0x7F && byte != '\\') {
      out.push_back(static_cast<char>(byte));
    } else {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
      out += escaped;
    }
  }
  return out;
}

// UTF-16 code units from a fuzz input. Seeds are readable UTF-8 files; an input that starts with
// the bytes FF FE is taken as UTF-16 LE code units after them, so that any unit, a lone surrogate
// included, can be reached as well.
inline std::u16string FuzzText(const std::uint8_t* data, std::size_t size) {
  if (size >= 2 && data[0] == 0xFF && data[1] == 0xFE) {
    std::u16string text;
    for (std::size_t i = 2; i + 1 < size; i += 2) {
      text.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
    }
    return text;
  }
  return Utf8ToUtf16(std::string_view(reinterpret_cast<const char*>(data), size));
}

// A small deterministic choice maker seeded from the input, for targets that derive several
// operations from one file (the file itself stays the whole input, so seeds stay realistic).
class FuzzChoices {
 public:
  FuzzChoices(const std::uint8_t* data, std::size_t size) {
    std::uint64_t hash = 0xCBF29CE484222325u;
    for (std::size_t i = 0; i < size; ++i) hash = (hash ^ data[i]) * 0x100000001B3u;
    state_ = hash | 1;
  }
  std::uint32_t Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 7;
    state_ ^= state_ << 17;
    return static_cast<std::uint32_t>(state_ >> 16);
  }
  // 0 .. count-1
  std::size_t Below(std::size_t count) { return count == 0 ? 0 : Next() % count; }
  bool OneIn(std::uint32_t n) { return Next() % n == 0; }

 private:
  std::uint64_t state_;
};
