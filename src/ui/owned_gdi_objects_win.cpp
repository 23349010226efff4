#include "ui/owned_gdi_objects_win.h"

namespace owned {

FontHandle CreateFontIndirectW(const LOGFONTW* logFont) {
  return FontHandle(::CreateFontIndirectW(logFont));
}

BrushHandle CreateSolidBrush(COLORREF colour) { return BrushHandle(::CreateSolidBrush(colour)); }

PenHandle CreatePen(int style, int width, COLORREF colour) {
  return PenHandle(::CreatePen(style, width, colour));
}

BitmapHandle CreateCompatibleBitmap(HDC dc, int width, int height) {
  return BitmapHandle(::CreateCompatibleBitmap(dc, width, height));
}

MemoryDC CreateCompatibleDC(HDC dc) { return MemoryDC(::CreateCompatibleDC(dc)); }

MenuHandle CreatePopupMenu() { return MenuHandle(::CreatePopupMenu()); }

}  // namespace owned
