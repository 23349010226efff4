#pragma once
#include <ostream>

#include "util/text_file.h"

// Lets GoogleTest name encodings in failure messages.
inline void PrintTo(TextEncoding encoding, std::ostream* out) {
  switch (encoding) {
    case TextEncoding::Ansi:
      *out << "Ansi";
      return;
    case TextEncoding::Utf8:
      *out << "Utf8";
      return;
    case TextEncoding::Utf8Bom:
      *out << "Utf8Bom";
      return;
    case TextEncoding::Utf16Le:
      *out << "Utf16Le";
      return;
    case TextEncoding::Utf16Be:
      *out << "Utf16Be";
      return;
  }
  *out << static_cast<int>(encoding);
}
