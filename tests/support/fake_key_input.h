#pragma once
#include <climits>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/key_input.h"

// A keyboard whose keys are held for a scripted number of pauses. Every key event and pause is
// recorded in order as text: "down 0x41", "up 0x41", "sleep 50". Its clock advances only by the
// pauses. As on the system, a key pressed by a key event reads as down until a key event releases
// it.
class FakeKeyInput : public KeyInput {
 public:
  bool IsKeyDown(std::uint8_t virtualKey) const override;
  void SendKeyEvent(std::uint8_t virtualKey, bool keyUp) override;
  void Sleep(int ms) override;
  std::uint64_t NowMs() const override { return now_; }

  // The key reads as down until the keyboard has paused this many times.
  void HoldFor(std::uint8_t virtualKey, int sleeps) { held_[virtualKey] = sleeps; }
  // The key reads as down whatever happens.
  void HoldForever(std::uint8_t virtualKey) { held_[virtualKey] = INT_MAX; }

  // Only the key events, without the pauses.
  std::vector<std::string> Events() const;

  std::vector<std::string> log;

 private:
  std::map<std::uint8_t, int> held_;
  std::set<std::uint8_t> sentDown_;
  int sleeps_ = 0;
  std::uint64_t now_ = 0;
};
