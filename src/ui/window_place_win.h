#pragma once
#include <windows.h>

#include <string_view>

// Stored window bounds made usable: a place on a monitor that is gone moves onto the nearest
// monitor's work area, and a size below the minimum grows to it.
RECT OnVisibleMonitor(RECT wanted, int minWidth, int minHeight);

class UsrIniFile;

// The window's top-left corner from the keys PosX and PosY of the section. A key that holds no
// value yet (the first run) centres that coordinate on the monitor that holds the mouse pointer.
POINT StoredPlaceOrCentred(const UsrIniFile& ini, std::u16string_view section, SIZE size);
