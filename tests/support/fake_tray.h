#pragma once
#include <string>

#include "platform/retry_timer.h"
#include "platform/tray.h"

// A notification area that refuses the icon as often as the test says.
class FakeTrayIcon : public TrayIcon {
 public:
  bool Show(const std::u16string& hint) override {
    ++showCalls;
    lastHint = hint;
    if (refusals > 0) {
      --refusals;
      return false;
    }
    shown = true;
    return true;
  }
  void Remove() override { shown = false; }

  int refusals = 0;
  int showCalls = 0;
  bool shown = false;
  std::u16string lastHint;
};

class FakeRetryTimer : public RetryTimer {
 public:
  void Start(unsigned intervalMs) override {
    running = true;
    interval = intervalMs;
  }
  void Stop() override { running = false; }

  bool running = false;
  unsigned interval = 0;
};
