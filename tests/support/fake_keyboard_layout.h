#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <utility>

#include "platform/hotkey_registrar.h"
#include "platform/keyboard_layout.h"

// A keyboard layout with a few stable names; every other key has none. Counts its look-ups so
// tests can see that parsing does not ask the layout again.
class FakeKeyboardLayout : public KeyboardLayout {
 public:
  FakeKeyboardLayout()
      : names_{{0xBA, u":"}, {0xBB, u";"}, {0x6A, u"Num *"}, {0x6B, u"Num +"}, {0x10, u"Shift"}} {}

  std::u16string KeyName(std::uint8_t virtualKey) const override {
    ++calls_;
    const auto found = names_.find(virtualKey);
    return found == names_.end() ? std::u16string() : found->second;
  }

  void SetName(std::uint8_t virtualKey, std::u16string name) {
    names_[virtualKey] = std::move(name);
  }
  int calls() const { return calls_; }

 private:
  std::map<std::uint8_t, std::u16string> names_;
  mutable int calls_ = 0;
};
