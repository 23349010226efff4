#include "support/fake_key_input.h"

#include <cstdio>

bool FakeKeyInput::IsKeyDown(std::uint8_t virtualKey) const {
  if (sentDown_.count(virtualKey) != 0) return true;
  const auto found = held_.find(virtualKey);
  return found != held_.end() && sleeps_ < found->second;
}

void FakeKeyInput::SendKeyEvent(std::uint8_t virtualKey, bool keyUp) {
  char text[16];
  std::snprintf(text, sizeof text, "%s 0x%02X", keyUp ? "up" : "down", virtualKey);
  log.push_back(text);
  if (keyUp) {
    sentDown_.erase(virtualKey);
  } else {
    sentDown_.insert(virtualKey);
  }
}

void FakeKeyInput::Sleep(int ms) {
  ++sleeps_;
  if (ms > 0) now_ += static_cast<std::uint64_t>(ms);
  log.push_back("sleep " + std::to_string(ms));
}

std::vector<std::string> FakeKeyInput::Events() const {
  std::vector<std::string> events;
  for (const std::string& entry : log) {
    if (entry.rfind("sleep", 0) != 0) events.push_back(entry);
  }
  return events;
}
