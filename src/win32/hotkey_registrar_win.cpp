#include "win32/hotkey_registrar_win.h"

#include "win32/wide_win.h"

bool WinHotKeyRegistrar::Register(WindowHandle wnd, int id, std::uint32_t modifiers,
                                  std::uint32_t virtualKey) {
  return RegisterHotKey(reinterpret_cast<HWND>(wnd), id, modifiers, virtualKey) != FALSE;
}

void WinHotKeyRegistrar::Unregister(WindowHandle wnd, int id) {
  UnregisterHotKey(reinterpret_cast<HWND>(wnd), id);
}
