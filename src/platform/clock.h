#pragma once
#include "platform/types.h"

// The local wall-clock time (the history's time stamps, the %DATE% macros).
class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalDateTime Now() const = 0;
};
