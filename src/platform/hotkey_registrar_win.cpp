#include "platform/hotkey_registrar_win.h"

#include "platform/wide_win.h"

namespace {
constexpr int kKeyNameBufferChars = 256;  // names of up to 255 characters
}  // namespace

bool WinHotKeyRegistrar::Register(WindowHandle wnd, int id, std::uint32_t modifiers,
                                  std::uint32_t virtualKey) {
  return RegisterHotKey(reinterpret_cast<HWND>(wnd), id, modifiers, virtualKey) != FALSE;
}

void WinHotKeyRegistrar::Unregister(WindowHandle wnd, int id) {
  UnregisterHotKey(reinterpret_cast<HWND>(wnd), id);
}

std::u16string WinKeyboardLayout::KeyName(std::uint8_t virtualKey) const {
  const UINT scanCode = MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC);
  if (scanCode == 0) return {};
  wchar_t buffer[kKeyNameBufferChars] = {};
  const int length =
      GetKeyNameTextW(static_cast<LONG>(scanCode << 16), buffer, kKeyNameBufferChars);
  if (length <= 0) return {};
  return U16(buffer, static_cast<std::size_t>(length));
}
