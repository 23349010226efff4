#pragma once
#include <string>

// A font as the settings describe it; the window that uses it creates the real font.
struct FontDescription {
  std::u16string name;  // face name; empty means the system's choice
  int size = 11;        // points
  int charset = 128;    // character set number; 128 is Shift_JIS
  bool bold = false;
  bool italic = false;

  bool operator==(const FontDescription&) const = default;
};
