#include "win32/key_input_win.h"

bool WinKeyInput::IsKeyDown(std::uint8_t virtualKey) const {
  // Down means any bit of the high-order byte of the 16-bit state.
  const auto state = static_cast<unsigned short>(GetAsyncKeyState(virtualKey));
  return (state & 0xFF00) != 0;
}

void WinKeyInput::SendKeyEvent(std::uint8_t virtualKey, bool keyUp) {
  const auto scanCode = static_cast<BYTE>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
  keybd_event(virtualKey, scanCode, keyUp ? KEYEVENTF_KEYUP : 0, 0);
}

void WinKeyInput::Sleep(int ms) { ::Sleep(ms > 0 ? static_cast<DWORD>(ms) : 0); }

std::uint64_t WinKeyInput::NowMs() const { return GetTickCount64(); }
