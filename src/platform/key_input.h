#pragma once
#include <cstdint>
#include <initializer_list>
#include <vector>

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

// Virtual keys of the modifiers (Alt is VK_MENU).
inline constexpr std::uint8_t kVkShift = 0x10;
inline constexpr std::uint8_t kVkControl = 0x11;
inline constexpr std::uint8_t kVkMenu = 0x12;
inline constexpr std::uint8_t kVkLWin = 0x5B;
inline constexpr std::uint8_t kVkRWin = 0x5C;

// Waits, looking every pollMs, until none of the keys is held; false when one still is after
// waitMs (a stuck key, or a user who keeps it down).
bool WaitForKeysUp(KeyInput& keys, const std::vector<std::uint8_t>& held, std::uint64_t waitMs,
                   int pollMs);
