#pragma once
#include "platform/keyboard_layout.h"

// Key names of the current keyboard layout, from each key's scan code.
class WinKeyboardLayout : public KeyboardLayout {
 public:
  std::u16string KeyName(std::uint8_t virtualKey) const override;
};
