#include "ui/window_win.h"

#include <gtest/gtest.h>

namespace {

constexpr wchar_t kClass[] = L"KelvoShowUnclippedTest";

// The style the window had when its show arrived.
LONG_PTR styleAtShow = 0;

LRESULT CALLBACK RecordingProcedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_SHOWWINDOW && wp) styleAtShow = GetWindowLongPtrW(hwnd, GWL_STYLE);
  return DefWindowProcW(hwnd, msg, wp, lp);
}

// A captioned window with a button in it, as Kelvo's windows are.
HWND MakeWindowWithChild(DWORD extraStyle) {
  static const ATOM registered = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = RecordingProcedure;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kClass;
    return RegisterClassW(&wc);
  }();
  EXPECT_NE(registered, 0);
  HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, kClass, L"test",
                                WS_POPUP | WS_CAPTION | WS_THICKFRAME | extraStyle, 10, 10, 200,
                                120, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  CreateWindowExW(0, L"BUTTON", L"button", WS_CHILD | WS_VISIBLE, 8, 8, 80, 24, window, nullptr,
                  GetModuleHandleW(nullptr), nullptr);
  return window;
}

TEST(ShowUnclippedTest, TheShowClipsNoChildAndAClippingWindowKeepsItsStyleForLaterPaints) {
  for (const DWORD clipping : {DWORD{WS_CLIPCHILDREN}, DWORD{0}}) {
    HWND window = MakeWindowWithChild(clipping);
    ASSERT_NE(window, nullptr);
    styleAtShow = -1;
    ShowUnclipped(window, SW_SHOWNOACTIVATE);
    EXPECT_TRUE(IsWindowVisible(window)) << clipping;
    EXPECT_EQ(styleAtShow & WS_CLIPCHILDREN, 0) << clipping;
    EXPECT_EQ(GetWindowLongPtrW(window, GWL_STYLE) & WS_CLIPCHILDREN, LONG_PTR{clipping});
    // Hidden and shown again: the same.
    ShowWindow(window, SW_HIDE);
    styleAtShow = -1;
    ShowUnclipped(window, SW_SHOWNOACTIVATE);
    EXPECT_EQ(styleAtShow & WS_CLIPCHILDREN, 0) << clipping;
    EXPECT_EQ(GetWindowLongPtrW(window, GWL_STYLE) & WS_CLIPCHILDREN, LONG_PTR{clipping});
    DestroyWindow(window);
  }
}

}  // namespace
