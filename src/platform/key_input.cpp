#include "platform/key_input.h"

#include <algorithm>

bool WaitForKeysUp(KeyInput& keys, const std::vector<std::uint8_t>& held, std::uint64_t waitMs,
                   int pollMs) {
  const std::uint64_t start = keys.NowMs();
  auto anyDown = [&] {
    return std::any_of(held.begin(), held.end(),
                       [&](std::uint8_t key) { return keys.IsKeyDown(key); });
  };
  while (anyDown()) {
    if (keys.NowMs() - start >= waitMs) return false;
    keys.Sleep(pollMs);
  }
  return true;
}
