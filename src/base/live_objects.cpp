#include "base/live_objects.h"

#include <atomic>

namespace {

constexpr std::array<std::string_view, kLiveKindCount> kNames = {
    "fonts",         "brushes",   "pens",        "bitmaps",       "regions",
    "icons",         "menus",     "memory DCs",  "window DCs",    "kernel objects",
    "file searches", "libraries", "heap blocks", "global blocks", "windows",
};

// Owners on any thread (a worker that looks up icons, say) count into the same integers.
std::array<std::atomic<long long>, kLiveKindCount>& Counters() {
  static std::array<std::atomic<long long>, kLiveKindCount> counters{};
  return counters;
}

std::atomic<long long>& Counter(LiveKind kind) {
  return Counters()[static_cast<std::size_t>(kind)];
}

}  // namespace

std::string_view LiveKindName(LiveKind kind) { return kNames[static_cast<std::size_t>(kind)]; }

std::optional<LiveKind> LiveKindFromNumber(std::uintptr_t number) {
  if (number >= static_cast<std::uintptr_t>(kLiveKindCount)) return std::nullopt;
  return static_cast<LiveKind>(number);
}

void CountAdopted(LiveKind kind) noexcept { Counter(kind).fetch_add(1, std::memory_order_relaxed); }

void CountGivenBack(LiveKind kind) noexcept {
  Counter(kind).fetch_sub(1, std::memory_order_relaxed);
}

long long LiveCount(LiveKind kind) noexcept {
  return Counter(kind).load(std::memory_order_relaxed);
}

std::string LiveCountChanges(const LiveCounts& before, const LiveCounts& after) {
  std::string text;
  for (int i = 0; i < kLiveKindCount; ++i) {
    if (before[i] == after[i]) continue;
    if (!text.empty()) text += ", ";
    text += std::string(kNames[i]) + " " + std::to_string(before[i]) + " -> " +
            std::to_string(after[i]);
  }
  return text;
}

std::string LiveCountsText(const LiveCounts& counts) {
  std::string text;
  for (int i = 0; i < kLiveKindCount; ++i) {
    if (i > 0) text += ", ";
    text += std::string(kNames[i]) + " " + std::to_string(counts[i]);
  }
  return text;
}
