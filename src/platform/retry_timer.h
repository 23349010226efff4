#pragma once

// A one-shot timer: the tray icon is retried with it while the shell refuses the icon.
class RetryTimer {
 public:
  virtual ~RetryTimer() = default;
  virtual void Start(unsigned intervalMs) = 0;
  virtual void Stop() = 0;
};
