#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// What Kelvo has made and not yet given back, counted per kind while it runs. Every handle
// owner counts the handle it takes (+1) and the handle it gives back or hands on (-1), so a
// count that grows over a run of the same work is a leak, whatever the system's own figures say
// (Wine answers 0 for all of them). The counts are a few atomic integers, kept in every build.
enum class LiveKind : std::uint8_t {
  kFont,
  kBrush,
  kPen,
  kBitmap,
  kRegion,
  kIcon,
  kMenu,
  kMemoryDc,
  kWindowDc,      // a window's or the screen's DC, and a paint's DC while it is painted
  kKernelObject,  // files, processes, threads, events, mutexes, tokens
  kFileSearch,
  kLibrary,
  kHeapBlock,
  kGlobalMemory,
  // Not counted by an owner: the windows of Kelvo's user-interface thread, top-level and child,
  // counted when asked (see LiveObjectsAnswer in the Win32 layer).
  kWindow,
};
inline constexpr int kLiveKindCount = static_cast<int>(LiveKind::kWindow) + 1;

// A short English name for reports ("fonts", "kernel objects").
std::string_view LiveKindName(LiveKind kind);
// The kind a number names (as a message carries it); nothing for any other number.
std::optional<LiveKind> LiveKindFromNumber(std::uintptr_t number);

// Only the owners call these: one handle taken, one handle given back or handed on.
void CountAdopted(LiveKind kind) noexcept;
void CountGivenBack(LiveKind kind) noexcept;
// Handles of the kind that owners hold now.
long long LiveCount(LiveKind kind) noexcept;

// A registered window message that Kelvo's main window answers with the live count of the kind
// in wParam (LiveKind's number); kUnknownLiveKind for a number that names no kind.
inline constexpr char16_t kLiveObjectsMessageName[] = u"Kelvo.LiveObjects";
inline constexpr long long kUnknownLiveKind = -1;

// Every kind's count at one moment, as a test or a benchmark reads them from outside; a kind
// that could not be read holds kUnknownLiveKind.
using LiveCounts = std::array<long long, kLiveKindCount>;

// The kinds whose counts differ, as "fonts 12 -> 13, menus 1 -> 2"; empty when all are equal.
std::string LiveCountChanges(const LiveCounts& before, const LiveCounts& after);
// Every kind's count, as "fonts 12, brushes 3, ...".
std::string LiveCountsText(const LiveCounts& counts);
