#include "base/text_case.h"

#include <cstddef>

namespace {

char16_t FoldCase(char16_t c) {
  if (c >= u'A' && c <= u'Z') return static_cast<char16_t>(c + 0x20);
  if (c >= 0x00C0 && c <= 0x00DE && c != 0x00D7) return static_cast<char16_t>(c + 0x20);
  if (c >= 0xFF21 && c <= 0xFF3A) return static_cast<char16_t>(c + 0x20);
  return c;
}

}  // namespace

bool EqualsNoCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldCase(a[i]) != FoldCase(b[i])) return false;
  }
  return true;
}

std::u16string FoldedName(std::u16string_view name) {
  std::u16string folded(name);
  for (char16_t& c : folded) c = FoldCase(c);
  return folded;
}
