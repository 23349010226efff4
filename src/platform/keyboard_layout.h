#pragma once
#include <cstdint>
#include <string>

// The keyboard layout's own key names.
class KeyboardLayout {
 public:
  virtual ~KeyboardLayout() = default;
  // The layout's own name of a key (from its scan code); empty when it has none.
  virtual std::u16string KeyName(std::uint8_t virtualKey) const = 0;
};
