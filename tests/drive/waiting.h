#pragma once
#include <windows.h>

#include <chrono>
#include <functional>

// Waiting for a condition with a deadline instead of sleeping a fixed time, for the end-to-end
// driver and the benchmarks alike.

// How a wait looks at its condition.
struct Polling {
  DWORD pauseMs;  // between two looks; 0 only yields the processor
  // The waiting thread's own windows handle their messages before each look; the pause then ends
  // early when a message comes.
  bool pump;
};
// The driver's waits: its own test windows must answer while it waits.
inline constexpr Polling kPumpingPolls{10, true};
// A measured wait: it looks again at once, so that a change is seen the moment it happens, and
// handles no messages meanwhile.
inline constexpr Polling kTightPolls{0, false};

// Looks at the condition until it holds or the deadline passes; whether it holds.
bool WaitFor(const std::function<bool()>& condition,
             std::chrono::milliseconds deadline = std::chrono::seconds(30),
             Polling polling = kPumpingPolls);
