#pragma once
#include <cstdint>
#include <string>

#include "platform/types.h"

// Global hotkeys of the system and the keyboard layout's key names.
class HotKeyRegistrar {
 public:
  virtual ~HotKeyRegistrar() = default;
  virtual bool Register(WindowHandle wnd, int id, std::uint32_t modifiers,
                        std::uint32_t virtualKey) = 0;
  virtual void Unregister(WindowHandle wnd, int id) = 0;
};
