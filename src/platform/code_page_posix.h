#pragma once
#include <string>

#include "platform/code_page.h"

// Stand-in for the ANSI code page on Linux through iconv; by default Windows' Japanese code page
// 932 (Shift_JIS with Microsoft's extensions), so native tests see what Japanese Windows does.
class PosixCodePage : public CodePage {
 public:
  explicit PosixCodePage(std::string charset = "CP932");

  std::u16string ToUnicode(std::string_view bytes) const override;
  std::optional<std::string> FromUnicodeExact(std::u16string_view text) const override;
  std::string FromUnicodeLossy(std::u16string_view text) const override;

 private:
  std::string charset_;
};
