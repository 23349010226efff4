#pragma once
#include <string>

#include "platform/retry_timer.h"
#include "platform/tray.h"

// Keeps the notification-area icon shown (or removed) as the settings say, and retries every
// 10 seconds, at most 11 times, when the shell refuses it.
class TrayKeeper {
 public:
  TrayKeeper(TrayIcon& icon, RetryTimer& timer) : icon_(icon), timer_(timer) {}

  // The tray step of every settings load.
  void Apply(bool noTrayIcon);
  // One tick of the retry timer.
  void RetryTimerFired();
  // Explorer restarted and forgot every icon.
  void TaskbarCreated();

  int TrayRetryTicks = 0;
  int TrayRetriesLeft = 0;

 private:
  bool ShowOrRemove();
  void StartRetries();

  TrayIcon& icon_;
  RetryTimer& timer_;
  bool noTrayIcon_ = false;
};

inline constexpr char16_t kAppTitle[] = u"Kelvo";
