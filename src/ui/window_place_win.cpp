#include "ui/window_place_win.h"

#include <algorithm>

RECT OnVisibleMonitor(RECT wanted, int minWidth, int minHeight) {
  const int width = std::max<int>(wanted.right - wanted.left, minWidth);
  const int height = std::max<int>(wanted.bottom - wanted.top, minHeight);
  int x = wanted.left;
  int y = wanted.top;
  RECT sized{x, y, x + width, y + height};
  if (!MonitorFromRect(&sized, MONITOR_DEFAULTTONULL)) {
    MONITORINFO info{sizeof(info)};
    if (GetMonitorInfoW(MonitorFromRect(&sized, MONITOR_DEFAULTTONEAREST), &info)) {
      const RECT& work = info.rcWork;
      x = std::clamp<int>(x, work.left, std::max<int>(work.left, work.right - width));
      y = std::clamp<int>(y, work.top, std::max<int>(work.top, work.bottom - height));
    }
  }
  return RECT{x, y, x + width, y + height};
}
