#include "win32/wallpaper_win.h"

#include <windows.h>

#include "win32/wide_win.h"

bool SetDesktopWallpaper(const std::u16string& bmpPathOrEmpty) {
  // The parameter is not written to, but the function's signature asks for a mutable pointer.
  std::wstring path(W(bmpPathOrEmpty));
  return SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, path.data(),
                               SPIF_UPDATEINIFILE | SPIF_SENDCHANGE) != FALSE;
}
