#pragma once
#include <windows.h>

#include "platform/retry_timer.h"

// A window timer of the main window; its ticks arrive as WM_TIMER with kTimerId.
class WinRetryTimer : public RetryTimer {
 public:
  static constexpr UINT_PTR kTimerId = 1;

  explicit WinRetryTimer(HWND owner) : owner_(owner) {}
  ~WinRetryTimer() override { Stop(); }
  WinRetryTimer(const WinRetryTimer&) = delete;
  WinRetryTimer& operator=(const WinRetryTimer&) = delete;

  void Start(unsigned intervalMs) override { SetTimer(owner_, kTimerId, intervalMs, nullptr); }
  void Stop() override { KillTimer(owner_, kTimerId); }

 private:
  HWND owner_;
};
