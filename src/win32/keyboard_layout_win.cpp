#include "win32/keyboard_layout_win.h"

#include <windows.h>

#include "win32/wide_win.h"

namespace {
constexpr int kKeyNameBufferChars = 256;  // names of up to 255 characters
}  // namespace

std::u16string WinKeyboardLayout::KeyName(std::uint8_t virtualKey) const {
  const UINT scanCode = MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC);
  if (scanCode == 0) return {};
  wchar_t buffer[kKeyNameBufferChars] = {};
  const int length =
      GetKeyNameTextW(static_cast<LONG>(scanCode << 16), buffer, kKeyNameBufferChars);
  if (length <= 0) return {};
  return U16(buffer, static_cast<std::size_t>(length));
}
