#include "win32/hotkey_registrar_win.h"
#include "win32/keyboard_layout_win.h"

#include <gtest/gtest.h>

#include "hotkeys/hotkey_record.h"
#include "hotkeys/key_text.h"

namespace {

// A message-only window to own the registrations.
class WinHotKeyRegistrarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wnd_ = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(wnd_, nullptr);
  }
  void TearDown() override { DestroyWindow(wnd_); }
  WindowHandle Wnd() const { return reinterpret_cast<WindowHandle>(wnd_); }

  HWND wnd_ = nullptr;
  WinHotKeyRegistrar registrar_;
};

// A combination nobody else is likely to hold.
constexpr std::uint32_t kModifiers = MOD_CONTROL | MOD_ALT | MOD_SHIFT;
constexpr std::uint32_t kKey = VK_F23;

TEST_F(WinHotKeyRegistrarTest, CombinationIsHeldUntilUnregistered) {
  ASSERT_TRUE(registrar_.Register(Wnd(), 101, kModifiers, kKey));
  EXPECT_FALSE(registrar_.Register(Wnd(), 102, kModifiers, kKey));
  registrar_.Unregister(Wnd(), 101);
  EXPECT_TRUE(registrar_.Register(Wnd(), 102, kModifiers, kKey));
  registrar_.Unregister(Wnd(), 102);
}

TEST_F(WinHotKeyRegistrarTest, RecordReleasesItsHotKey) {
  const HKeyShortCut shortCut = kShortCutCtrl | kShortCutAlt | kShortCutShift | kKey;
  {
    const HKeyRec first(registrar_, Wnd(), 150, shortCut);
    EXPECT_EQ(first.Registered, 1);
    const HKeyRec second(registrar_, Wnd(), 151, shortCut);
    EXPECT_EQ(second.Registered, 0);
  }
  const HKeyRec again(registrar_, Wnd(), 152, shortCut);
  EXPECT_EQ(again.Registered, 1);
}

TEST(WinKeyboardLayoutTest, NamesSurviveTheRoundTrip) {
  const WinKeyboardLayout layout;
  EXPECT_FALSE(layout.KeyName('A').empty());  // every layout has a scan code for A
  const KeyNameTable names(layout);
  for (int code = KeyNameTable::kFirstCode; code <= KeyNameTable::kLastCode; ++code) {
    const std::u16string text = HotKeyToText(kShortCutCtrl | code, names);
    if (text.empty()) continue;
    const HKeyShortCut back = TextToHotKey(text, names);
    // Keys that share a name come back as the lowest code of that name.
    EXPECT_EQ(names.Name(ShortCutCode(back)), names.Name(code)) << code;
    EXPECT_EQ(back & kShortCutCtrl, kShortCutCtrl) << code;
  }
}

}  // namespace
