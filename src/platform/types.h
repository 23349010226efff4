#pragma once
#include <cstdint>
#include <string>

// Window handles cross the seam as plain integers so portable code never needs <windows.h>.
using WindowHandle = std::uintptr_t;

// A local calendar date and wall-clock time, as the user's clock shows it.
struct LocalDateTime {
  int year = 0;
  int month = 1;    // 1..12
  int day = 1;      // 1..31
  int weekday = 0;  // 0 = Sunday .. 6 = Saturday
  int hour = 0;
  int minute = 0;
  int second = 0;
};
