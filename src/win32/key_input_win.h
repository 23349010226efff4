#pragma once
#include <windows.h>

#include "platform/key_input.h"

// Key state from GetAsyncKeyState and key events through keybd_event.
class WinKeyInput : public KeyInput {
 public:
  bool IsKeyDown(std::uint8_t virtualKey) const override;
  void SendKeyEvent(std::uint8_t virtualKey, bool keyUp) override;
  void Sleep(int ms) override;
  std::uint64_t NowMs() const override;
};
