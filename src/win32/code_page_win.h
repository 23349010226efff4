#pragma once
#include "platform/code_page.h"

// The system's ANSI code page (CP_ACP).
class WinCodePage : public CodePage {
 public:
  std::u16string ToUnicode(std::string_view bytes) const override;
  std::optional<std::string> FromUnicodeExact(std::u16string_view text) const override;
  std::string FromUnicodeLossy(std::u16string_view text) const override;
};
