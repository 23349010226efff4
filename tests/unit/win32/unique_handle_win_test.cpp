#include "win32/unique_handle_win.h"

#include <gtest/gtest.h>
#include <shellapi.h>

#include <utility>
#include <vector>

#include "ui/gdi_win.h"
#include "ui/owned_gdi_objects_win.h"
#include "win32/owned_icons_win.h"
#include "win32/owned_kernel_objects_win.h"

namespace {

// The generic behaviour of the owner (moves, resets, releases, counts) is tested natively in
// tests/unit/base/unique_handle_test.cpp; here the Win32 traits and helpers.

TEST(UniqueHandleWinTest, InvalidHandleValueIsEmptyForHandlesOnlyAndCountsNothing) {
  const long long kernel = LiveCount(LiveKind::kKernelObject);
  const long long searches = LiveCount(LiveKind::kFileSearch);
  {
    const KernelHandle invalid(INVALID_HANDLE_VALUE);
    const FindHandle find(INVALID_HANDLE_VALUE);
    EXPECT_FALSE(invalid);
    EXPECT_FALSE(find);
    EXPECT_EQ(invalid.get(), nullptr);
    EXPECT_EQ(LiveCount(LiveKind::kKernelObject), kernel);
    EXPECT_EQ(LiveCount(LiveKind::kFileSearch), searches);
  }
  EXPECT_EQ(LiveCount(LiveKind::kKernelObject), kernel);
}

// Each helper's owner counts under its own kind while it holds the handle.
template <typename Make>
void ExpectCounted(LiveKind kind, Make make) {
  const long long before = LiveCount(kind);
  {
    const auto owner = make();
    ASSERT_TRUE(owner) << LiveKindName(kind);
    EXPECT_EQ(LiveCount(kind), before + 1) << LiveKindName(kind);
  }
  EXPECT_EQ(LiveCount(kind), before) << LiveKindName(kind);
}

TEST(UniqueHandleWinTest, TheCreationHelpersCountWhatTheyMakeUnderItsKind) {
  LOGFONTW logFont{};
  logFont.lfHeight = -12;
  ExpectCounted(LiveKind::kFont, [&] { return owned::CreateFontIndirectW(&logFont); });
  ExpectCounted(LiveKind::kBrush, [] { return owned::CreateSolidBrush(RGB(1, 2, 3)); });
  ExpectCounted(LiveKind::kPen, [] { return owned::CreatePen(PS_SOLID, 1, RGB(1, 2, 3)); });
  const WindowDC screen(nullptr);
  ExpectCounted(LiveKind::kBitmap,
                [&] { return owned::CreateCompatibleBitmap(screen.Get(), 4, 4); });
  ExpectCounted(LiveKind::kMemoryDc, [] { return owned::CreateCompatibleDC(nullptr); });
  ExpectCounted(LiveKind::kMenu, [] { return owned::CreatePopupMenu(); });
  // The system's application icon (an OEM image: no module).
  ExpectCounted(LiveKind::kIcon,
                [] { return owned::LoadIconImage(nullptr, MAKEINTRESOURCEW(32512), 16, 16); });
  ExpectCounted(LiveKind::kIcon, [] {
    return owned::ShellFileIcon(L"C:\\windows\\notepad.exe", 0, SHGFI_SMALLICON);
  });
  ExpectCounted(LiveKind::kKernelObject,
                [] { return owned::OpenProcess(SYNCHRONIZE, FALSE, GetCurrentProcessId()); });
  ExpectCounted(LiveKind::kKernelObject,
                [] { return owned::CreateMutexW(nullptr, FALSE, nullptr); });
  WIN32_FIND_DATAW data;
  ExpectCounted(LiveKind::kFileSearch, [&] {
    return owned::FindFirstFileExW(L"C:\\windows\\*", FindExInfoBasic, &data, FindExSearchNameMatch,
                                   nullptr, 0);
  });
  ExpectCounted(LiveKind::kLibrary,
                [] { return owned::LoadLibraryExW(L"version.dll", nullptr, 0); });
  ExpectCounted(LiveKind::kHeapBlock, [] { return owned::HeapAlloc(0, 16); });
  ExpectCounted(LiveKind::kGlobalMemory, [] { return owned::GlobalAlloc(GMEM_MOVEABLE, 16); });
}

TEST(UniqueHandleWinTest, AWindowsDcCountsWhileItIsHeld) {
  const long long before = LiveCount(LiveKind::kWindowDc);
  {
    const WindowDC screen(nullptr);
    ASSERT_NE(screen.Get(), nullptr);
    EXPECT_EQ(LiveCount(LiveKind::kWindowDc), before + 1);
  }
  EXPECT_EQ(LiveCount(LiveKind::kWindowDc), before);
}

// The owners of real handles give them back to the system.
TEST(UniqueHandleWinTest, OwnersOfRealHandlesReleaseThem) {
  HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  ASSERT_NE(event, nullptr);
  KernelHandle(event).reset();
  DWORD flags = 0;
  EXPECT_FALSE(GetHandleInformation(event, &flags));

  HFONT font = CreateFontW(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"");
  ASSERT_NE(font, nullptr);
  { const FontHandle owner(font); }
  EXPECT_EQ(GetObjectType(font), 0u);

  HDC memory = CreateCompatibleDC(nullptr);
  ASSERT_NE(memory, nullptr);
  { const MemoryDC owner(memory); }
  EXPECT_EQ(GetObjectType(memory), 0u);

  HMENU menu = CreatePopupMenu();
  ASSERT_NE(menu, nullptr);
  { const MenuHandle owner(menu); }
  EXPECT_FALSE(IsMenu(menu));

  const BYTE andMask[32 * 4] = {};
  const BYTE xorMask[32 * 4] = {};
  HICON icon = CreateIcon(nullptr, 32, 32, 1, 1, andMask, xorMask);
  ASSERT_NE(icon, nullptr);
  IconHandle iconOwner(icon);
  EXPECT_TRUE(iconOwner.close());
  ICONINFO info{};
  EXPECT_FALSE(GetIconInfo(icon, &info));
}

TEST(UniqueHandleWinTest, FailuresReportedAsInvalidHandleValueGiveEmptyOwners) {
  const KernelHandle file(CreateFileW(L"Z:\\no\\such\\folder\\file.txt", GENERIC_READ, 0, nullptr,
                                      OPEN_EXISTING, 0, nullptr));
  EXPECT_FALSE(file);
  WIN32_FIND_DATAW data;
  const FindHandle find(FindFirstFileW(L"Z:\\no\\such\\folder\\*", &data));
  EXPECT_FALSE(find);
  const ModuleHandle module(LoadLibraryW(L"no-such-library-kelvo.dll"));
  EXPECT_FALSE(module);
}

}  // namespace
