#include "app/about_box_win.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr wchar_t kHostClass[] = L"KelvoAboutBoxTest";
constexpr wchar_t kOldProcedure[] = L"KelvoAboutBoxTestProcedure";

// How often a control was handed a font while the one it held had already been deleted.
int g_setFontOverDeleted = 0;

LRESULT CALLBACK FontWatcher(HWND control, UINT msg, WPARAM wp, LPARAM lp) {
  const auto old = reinterpret_cast<WNDPROC>(GetPropW(control, kOldProcedure));
  if (msg == WM_SETFONT) {
    const auto held = reinterpret_cast<HFONT>(CallWindowProcW(old, control, WM_GETFONT, 0, 0));
    if (held && GetObjectType(held) == 0) ++g_setFontOverDeleted;
  }
  return CallWindowProcW(old, control, msg, wp, lp);
}

std::vector<HWND> Children(HWND parent) {
  std::vector<HWND> children;
  EnumChildWindows(
      parent,
      [](HWND child, LPARAM lp) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(lp)->push_back(child);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&children));
  return children;
}

int FontHeight(HWND control) {
  const auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
  LOGFONTW logFont{};
  if (!font || GetObjectW(font, sizeof logFont, &logFont) == 0) return 0;
  return logFont.lfHeight < 0 ? -logFont.lfHeight : logFont.lfHeight;
}

TEST(AboutBoxTest, ADpiChangeNeverLeavesAControlWithADeletedFont) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = kHostClass;
  RegisterClassW(&wc);
  const HWND host = CreateWindowExW(0, kHostClass, L"about", WS_OVERLAPPEDWINDOW, 0, 0, 300, 260,
                                    nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(host, nullptr);
  AboutBox box;
  box.Create(host, nullptr, u"Version 1.6.9.0", u"Kelvo-README.txt");
  const std::vector<HWND> controls = Children(host);
  ASSERT_EQ(controls.size(), 6u);
  for (HWND control : controls) {
    SetPropW(control, kOldProcedure,
             reinterpret_cast<HANDLE>(SetWindowLongPtrW(control, GWLP_WNDPROC,
                                                        reinterpret_cast<LONG_PTR>(&FontWatcher))));
  }
  const int okHeightBefore = FontHeight(box.OkButton());

  g_setFontOverDeleted = 0;
  box.ApplyDpi(192);
  box.ApplyDpi(144);
  EXPECT_EQ(g_setFontOverDeleted, 0);
  // Every font a control holds afterwards is alive, and made for the new resolution.
  for (HWND control : controls) {
    const auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    if (font) {
      EXPECT_NE(GetObjectType(font), 0u);
    }
  }
  EXPECT_GT(FontHeight(box.OkButton()), okHeightBefore);

  for (HWND control : controls) {
    SetWindowLongPtrW(control, GWLP_WNDPROC,
                      reinterpret_cast<LONG_PTR>(RemovePropW(control, kOldProcedure)));
  }
  DestroyWindow(host);
}

}  // namespace
