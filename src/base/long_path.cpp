#include "base/long_path.h"

namespace {

bool IsSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

bool IsLetter(char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }

}  // namespace

std::u16string ExtendedLengthForm(std::u16string_view fullPath) {
  if (fullPath.starts_with(u"\\\\?\\") || fullPath.starts_with(u"\\\\.\\")) {
    return std::u16string(fullPath);
  }
  if (fullPath.size() >= 3 && IsLetter(fullPath[0]) && fullPath[1] == u':' &&
      IsSeparator(fullPath[2])) {
    return u"\\\\?\\" + std::u16string(fullPath);
  }
  if (fullPath.size() > 2 && IsSeparator(fullPath[0]) && IsSeparator(fullPath[1]) &&
      !IsSeparator(fullPath[2])) {
    return u"\\\\?\\UNC\\" + std::u16string(fullPath.substr(2));
  }
  return std::u16string(fullPath);
}
