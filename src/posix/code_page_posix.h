#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/code_page.h"

// Stand-in for the ANSI code page on Linux; by default Windows' Japanese code page 932
// (Shift_JIS with Microsoft's extensions), so native tests see what Japanese Windows does.
// Windows' ANSI code pages have characters of one or two bytes, each one UTF-16 unit: iconv
// fills a table of the whole code page once, and conversions are lookups (iconv on every call
// made the fuzz targets that read files a hundred times slower).
class PosixCodePage : public CodePage {
 public:
  explicit PosixCodePage(const std::string& charset = "CP932");

  std::u16string ToUnicode(std::string_view bytes) const override;
  std::optional<std::string> FromUnicodeExact(std::u16string_view text) const override;
  std::string FromUnicodeLossy(std::u16string_view text) const override;

 private:
  static constexpr char16_t kNone = 0xFFFF;     // no character (U+FFFF is none in any code page)
  static constexpr std::uint16_t kNoBytes = 0;  // U+0000 is handled before the table

  // Decoding: a single byte's character, or kNone; a lead byte's 256 trail bytes.
  std::array<char16_t, 256> single_{};
  std::array<std::unique_ptr<std::array<char16_t, 256>>, 256> lead_{};
  // Encoding of each BMP unit: a byte, or lead << 8 | trail; kNoBytes when it has none.
  std::unique_ptr<std::array<std::uint16_t, 0x10000>> bytes_;

  char16_t Decoded(std::uint16_t bytes) const;
  void AppendBytes(std::uint16_t bytes, std::string& out) const;
};
