#include "base/version_number.h"

namespace {
constexpr std::size_t kSignificantChars = 5;
}  // namespace

int VersionNumberFromText(std::u16string_view fileVersionText) {
  const std::u16string_view head = fileVersionText.substr(0, kSignificantChars);
  int number = 0;
  bool anyDigit = false;
  for (const char16_t c : head) {
    if (c == u'.') continue;
    if (c < u'0' || c > u'9') return 0;
    number = number * 10 + (c - u'0');  // at most five digits, so it cannot overflow
    anyDigit = true;
  }
  return anyDigit ? number : 0;
}
