#include "ui/window_place_win.h"

#include <algorithm>
#include <optional>

#include "settings/first_place.h"
#include "settings/settings_store.h"

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

namespace {

std::optional<int> StoredInteger(const UsrIniFile& ini, std::u16string_view section,
                                 std::u16string_view key) {
  if (ini.ReadString(section, key, u"").empty()) return std::nullopt;
  return ini.ReadInteger(section, key, 0);
}

}  // namespace

POINT StoredPlaceOrCentred(const UsrIniFile& ini, std::u16string_view section, SIZE size) {
  POINT pointer{};
  GetCursorPos(&pointer);
  MONITORINFO info{sizeof(info)};
  PlaceArea area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (GetMonitorInfoW(MonitorFromPoint(pointer, MONITOR_DEFAULTTONEAREST), &info)) {
    area = PlaceArea{info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom};
  }
  const PlacePoint place =
      StoredOrCentred(StoredInteger(ini, section, u"PosX"), StoredInteger(ini, section, u"PosY"),
                      static_cast<int>(size.cx), static_cast<int>(size.cy), area);
  return POINT{place.x, place.y};
}
