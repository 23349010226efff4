#pragma once
#include "platform/clock.h"

// The local wall-clock time.
class WinClock : public Clock {
 public:
  LocalDateTime Now() const override;
};
