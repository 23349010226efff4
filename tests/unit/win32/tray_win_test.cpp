#include "win32/tray_win.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr wchar_t kOwnerClass[] = L"KelvoTrayTest";

std::wstring ProbeLibraryPath() {
  wchar_t path[MAX_PATH] = {};
  const std::wstring self(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
  return self.substr(0, self.find_last_of(L'\\')) + L"\\kelvo_probe_library.dll";
}

SIZE IconSize(HICON icon) {
  ICONINFO info{};
  if (!GetIconInfo(icon, &info)) return {0, 0};
  BITMAP bitmap{};
  GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
  if (info.hbmColor) DeleteObject(info.hbmColor);
  if (info.hbmMask) DeleteObject(info.hbmMask);
  // A mask without colour holds the AND and XOR masks one above the other.
  return {bitmap.bmWidth, info.hbmColor ? bitmap.bmHeight : bitmap.bmHeight / 2};
}

TEST(WinTrayIconTest, TheIconHasTheSmallIconSizeOfTheOwnersResolution) {
  const HMODULE probe = LoadLibraryExW(ProbeLibraryPath().c_str(), nullptr,
                                       LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(probe, nullptr) << "build the kelvo_probe_library target";
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = kOwnerClass;
  RegisterClassW(&wc);
  const HWND owner = CreateWindowExW(0, kOwnerClass, L"tray owner", WS_POPUP, 0, 0, 10, 10, nullptr,
                                     nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(owner, nullptr);
  {
    const WinTrayIcon tray(owner, probe, MAKEINTRESOURCEW(1));
    ASSERT_NE(tray.Icon(), nullptr);
    const UINT dpi = GetDpiForWindow(owner);
    const SIZE size = IconSize(tray.Icon());
    EXPECT_EQ(size.cx, GetSystemMetricsForDpi(SM_CXSMICON, dpi));
    EXPECT_EQ(size.cy, GetSystemMetricsForDpi(SM_CYSMICON, dpi));
    EXPECT_LT(size.cx, GetSystemMetricsForDpi(SM_CXICON, dpi));
  }
  DestroyWindow(owner);
  FreeLibrary(probe);
}

}  // namespace
