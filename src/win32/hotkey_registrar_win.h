#pragma once
#include <windows.h>

#include "platform/hotkey_registrar.h"

// System-wide hotkeys of the window manager.
class WinHotKeyRegistrar : public HotKeyRegistrar {
 public:
  bool Register(WindowHandle wnd, int id, std::uint32_t modifiers,
                std::uint32_t virtualKey) override;
  void Unregister(WindowHandle wnd, int id) override;
};
