#pragma once
#include <windows.h>

// Stored window bounds made usable: a place on a monitor that is gone moves onto the nearest
// monitor's work area, and a size below the minimum grows to it.
RECT OnVisibleMonitor(RECT wanted, int minWidth, int minHeight);
