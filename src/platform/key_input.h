#pragma once
#include <cstdint>

// The keyboard as key sequences see it: the state of physical keys, synthetic key events for the
// window that has the focus, and the pauses between them.
class KeyInput {
 public:
  virtual ~KeyInput() = default;
  // Whether the key is held down right now.
  virtual bool IsKeyDown(std::uint8_t virtualKey) const = 0;
  // One key press or release, with the key's scan code from the keyboard layout and never the
  // extended-key flag.
  virtual void SendKeyEvent(std::uint8_t virtualKey, bool keyUp) = 0;
  // Blocks the calling thread; 0 gives up the rest of its time slice once.
  virtual void Sleep(int ms) = 0;
  // A steady clock in milliseconds, for deadlines.
  virtual std::uint64_t NowMs() const = 0;
};
