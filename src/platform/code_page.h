#pragma once
#include <optional>
#include <string>
#include <string_view>

// The system's ANSI code page (Shift_JIS on Japanese Windows).
class CodePage {
 public:
  virtual ~CodePage() = default;
  // Bytes in the ANSI code page to UTF-16.
  virtual std::u16string ToUnicode(std::string_view bytes) const = 0;
  // UTF-16 to the ANSI code page; nothing when a character has no exact representation.
  virtual std::optional<std::string> FromUnicodeExact(std::u16string_view text) const = 0;
  // UTF-16 to the ANSI code page, characters it cannot hold replaced by its default character.
  virtual std::string FromUnicodeLossy(std::u16string_view text) const = 0;
};
