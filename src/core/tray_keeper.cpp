#include "core/tray_keeper.h"

namespace {
constexpr int kRetryTicks = 10;
constexpr int kRetries = 10;
constexpr unsigned kTickMs = 1000;
}  // namespace

bool TrayKeeper::ShowOrRemove() {
  if (noTrayIcon_) {
    icon_.Remove();
    return true;
  }
  return icon_.Show(kAppTitle);
}

void TrayKeeper::StartRetries() {
  TrayRetryTicks = kRetryTicks;
  TrayRetriesLeft = kRetries;
  timer_.Start(kTickMs);
}

void TrayKeeper::Apply(bool noTrayIcon) {
  noTrayIcon_ = noTrayIcon;
  if (ShowOrRemove()) {
    TrayRetryTicks = 0;
    timer_.Stop();
  } else {
    StartRetries();
  }
}

void TrayKeeper::RetryTimerFired() {
  if (TrayRetryTicks <= 0) {
    timer_.Stop();
    return;
  }
  if (--TrayRetryTicks != 0) return;
  timer_.Stop();
  icon_.Remove();
  if (ShowOrRemove() || TrayRetriesLeft <= 0) return;
  --TrayRetriesLeft;
  TrayRetryTicks = kRetryTicks;
  timer_.Start(kTickMs);
}

void TrayKeeper::TaskbarCreated() {
  if (noTrayIcon_) return;
  // The shell forgot the icon, so a plain "show" must add it anew.
  icon_.Remove();
  if (!ShowOrRemove()) StartRetries();
}
