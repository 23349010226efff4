#include "win32/clock_win.h"

#include <windows.h>

LocalDateTime WinClock::Now() const {
  SYSTEMTIME time = {};
  GetLocalTime(&time);
  LocalDateTime now;
  now.year = time.wYear;
  now.month = time.wMonth;
  now.day = time.wDay;
  now.weekday = time.wDayOfWeek;
  now.hour = time.wHour;
  now.minute = time.wMinute;
  now.second = time.wSecond;
  return now;
}
