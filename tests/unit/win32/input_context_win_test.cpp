#include "win32/input_context_win.h"

#include <gtest/gtest.h>

#include "win32/late_bound_win.h"

namespace {

// An edit of this thread, as the keyword box and the other windows of Kelvo's thread are.
class Edit {
 public:
  Edit()
      : hwnd_(CreateWindowExW(0, L"EDIT", L"", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr)) {}
  ~Edit() { DestroyWindow(hwnd_); }
  HWND hwnd() const { return hwnd_; }

 private:
  HWND hwnd_;
};

// Opens or closes the context a window uses now, as the user's IME key does.
void SetOpen(HWND window, bool open) {
  static const auto get = LateBound<decltype(&ImmGetContext)>(L"imm32.dll", "ImmGetContext");
  static const auto set = LateBound<decltype(&ImmSetOpenStatus)>(L"imm32.dll", "ImmSetOpenStatus");
  static const auto release =
      LateBound<decltype(&ImmReleaseContext)>(L"imm32.dll", "ImmReleaseContext");
  ASSERT_TRUE(get && set && release);
  const HIMC context = get(window);
  ASSERT_NE(context, nullptr);
  set(context, open ? TRUE : FALSE);
  release(window, context);
}

TEST(OwnInputContextTest, ClosesTheImeOfItsWindowOnlyAndGivesTheThreadsStateBack) {
  const Edit box;
  const Edit other;
  // The user's IME is on in the thread's windows.
  SetOpen(other.hwnd(), true);
  ASSERT_EQ(InputContextOpen(box.hwnd()), std::optional<bool>(true));

  OwnInputContext own;
  ASSERT_TRUE(own.Close(box.hwnd()));
  EXPECT_TRUE(own.InUse());
  EXPECT_EQ(InputContextOpen(box.hwnd()), std::optional<bool>(false));
  EXPECT_EQ(InputContextOpen(other.hwnd()), std::optional<bool>(true)) << "other windows keep it";

  // The user turned the IME on in the box; the next show closes it again.
  SetOpen(box.hwnd(), true);
  ASSERT_TRUE(own.Close(box.hwnd()));
  EXPECT_EQ(InputContextOpen(box.hwnd()), std::optional<bool>(false));

  own.GiveBack();
  EXPECT_FALSE(own.InUse());
  EXPECT_EQ(InputContextOpen(box.hwnd()), std::optional<bool>(true))
      << "the thread's context again";
  own.GiveBack();  // twice is harmless
  EXPECT_EQ(InputContextOpen(box.hwnd()), std::optional<bool>(true));
  SetOpen(other.hwnd(), false);
}

}  // namespace
