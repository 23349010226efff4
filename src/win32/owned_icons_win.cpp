#include "win32/owned_icons_win.h"

#include <shellapi.h>

#include "win32/late_bound_win.h"

namespace owned {

IconHandle LoadIconImage(HINSTANCE module, const wchar_t* name, int width, int height) {
  return IconHandle(static_cast<HICON>(LoadImageW(module, name, IMAGE_ICON, width, height, 0)));
}

IconHandle ShellFileIcon(const wchar_t* path, DWORD attributes, UINT flags) {
  static const auto fileInfo =
      LateBound<decltype(&SHGetFileInfoW)>(L"shell32.dll", "SHGetFileInfoW");
  SHFILEINFOW info{};
  if (!fileInfo || !fileInfo(path, attributes, &info, sizeof(info), SHGFI_ICON | flags)) return {};
  return IconHandle(info.hIcon);
}

}  // namespace owned

HICON SharedIcon(HINSTANCE module, const wchar_t* name, bool small) {
  if (small) {
    return static_cast<HICON>(LoadImageW(module, name, IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                         GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  }
  return static_cast<HICON>(LoadImageW(module, name, IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
}
