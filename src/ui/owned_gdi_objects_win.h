#pragma once
#include <windows.h>

#include "ui/gdi_win.h"

// The one place where Kelvo's windows make fonts, brushes, pens, bitmaps, memory DCs and menus:
// each helper takes what the system's call takes and returns an owner, empty on failure, so that
// everything made is counted and given back (a unit test finds any other call of these).
namespace owned {

FontHandle CreateFontIndirectW(const LOGFONTW* logFont);
BrushHandle CreateSolidBrush(COLORREF colour);
PenHandle CreatePen(int style, int width, COLORREF colour);
BitmapHandle CreateCompatibleBitmap(HDC dc, int width, int height);
MemoryDC CreateCompatibleDC(HDC dc);
MenuHandle CreatePopupMenu();

}  // namespace owned
