#include "win32/code_page_win.h"

#include <windows.h>

#include <climits>

namespace {

// Windows' conversion functions take int lengths.
bool FitsInt(std::size_t length) { return length <= static_cast<std::size_t>(INT_MAX); }

// With the "UTF-8 as ANSI code page" option the ANSI code page is 65001, which rejects the
// best-fit flag and the used-default-char query; invalid input is then the only loss.
bool AnsiIsUtf8() { return GetACP() == CP_UTF8; }

// Converts to the ANSI code page. `exact` asks to fail when a character has no exact form.
std::optional<std::string> WideToAnsi(std::u16string_view text, bool exact) {
  if (text.empty()) return std::string();
  if (!FitsInt(text.size())) return std::nullopt;
  const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
  const int wideLength = static_cast<int>(text.size());
  const bool utf8 = AnsiIsUtf8();
  DWORD flags = 0;
  if (utf8) {
    flags = exact ? WC_ERR_INVALID_CHARS : 0;
  } else {
    // No best fit: "é" must not quietly become "e".
    flags = WC_NO_BEST_FIT_CHARS;
  }
  BOOL usedDefault = FALSE;
  BOOL* usedDefaultPtr = utf8 ? nullptr : &usedDefault;
  const int size =
      WideCharToMultiByte(CP_ACP, flags, wide, wideLength, nullptr, 0, nullptr, usedDefaultPtr);
  if (size <= 0) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(size), '\0');
  usedDefault = FALSE;
  const int done = WideCharToMultiByte(CP_ACP, flags, wide, wideLength, bytes.data(), size, nullptr,
                                       usedDefaultPtr);
  if (done <= 0) return std::nullopt;
  if (exact && usedDefault) return std::nullopt;
  bytes.resize(static_cast<std::size_t>(done));
  return bytes;
}

}  // namespace

std::u16string WinCodePage::ToUnicode(std::string_view bytes) const {
  if (bytes.empty() || !FitsInt(bytes.size())) return std::u16string();
  const int length = static_cast<int>(bytes.size());
  const int size = MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, nullptr, 0);
  if (size <= 0) return std::u16string();
  std::u16string text(static_cast<std::size_t>(size), u'\0');
  const int done = MultiByteToWideChar(CP_ACP, 0, bytes.data(), length,
                                       reinterpret_cast<wchar_t*>(text.data()), size);
  text.resize(done > 0 ? static_cast<std::size_t>(done) : 0);
  return text;
}

std::optional<std::string> WinCodePage::FromUnicodeExact(std::u16string_view text) const {
  return WideToAnsi(text, true);
}

std::string WinCodePage::FromUnicodeLossy(std::u16string_view text) const {
  return WideToAnsi(text, false).value_or(std::string());
}
