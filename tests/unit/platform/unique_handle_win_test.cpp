#include "platform/unique_handle_win.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "ui/gdi_win.h"

namespace {

// Records what the owner gives back instead of giving it back.
struct RecordingTraits {
  using Handle = HANDLE;
  static inline std::vector<HANDLE> closed;
  static inline bool succeeds = true;
  static bool Close(Handle handle) noexcept {
    closed.push_back(handle);
    return succeeds;
  }
};
using Recorded = UniqueHandle<RecordingTraits>;

HANDLE Fake(std::uintptr_t value) { return reinterpret_cast<HANDLE>(value); }

class UniqueHandleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RecordingTraits::closed.clear();
    RecordingTraits::succeeds = true;
  }
  static const std::vector<HANDLE>& Closed() { return RecordingTraits::closed; }
};

TEST_F(UniqueHandleTest, NullAndInvalidHandleValueAreBothEmptyAndNeverClosed) {
  {
    Recorded none;
    Recorded null(nullptr);
    Recorded invalid(INVALID_HANDLE_VALUE);
    EXPECT_FALSE(none);
    EXPECT_FALSE(null);
    EXPECT_FALSE(invalid);
    EXPECT_EQ(invalid.get(), nullptr);
    Recorded held(Fake(8));
    held.reset(INVALID_HANDLE_VALUE);
    EXPECT_FALSE(held);
    EXPECT_EQ(held.get(), nullptr);
  }
  EXPECT_EQ(Closed(), std::vector<HANDLE>{Fake(8)});
}

TEST_F(UniqueHandleTest, GivesBackEachHandleExactlyOnce) {
  {
    Recorded owner(Fake(1));
    EXPECT_TRUE(owner);
    EXPECT_EQ(owner.get(), Fake(1));
    owner.reset(Fake(2));  // the first goes now
    EXPECT_EQ(Closed(), std::vector<HANDLE>{Fake(1)});
    owner.reset();
    owner.reset();
    owner.reset(Fake(3));
  }
  EXPECT_EQ(Closed(), (std::vector<HANDLE>{Fake(1), Fake(2), Fake(3)}));
}

TEST_F(UniqueHandleTest, MovesHandOverOwnership) {
  {
    Recorded first(Fake(1));
    Recorded second(std::move(first));
    EXPECT_FALSE(first);
    EXPECT_EQ(second.get(), Fake(1));

    Recorded third(Fake(3));
    third = std::move(second);  // the one it held goes
    EXPECT_EQ(Closed(), std::vector<HANDLE>{Fake(3)});
    EXPECT_EQ(third.get(), Fake(1));

    Recorded& alias = third;
    third = std::move(alias);  // moving onto itself keeps the handle
    EXPECT_EQ(third.get(), Fake(1));
    EXPECT_EQ(Closed().size(), 1u);
  }
  EXPECT_EQ(Closed(), (std::vector<HANDLE>{Fake(3), Fake(1)}));
}

TEST_F(UniqueHandleTest, ReleaseGivesUpOwnershipWithoutClosing) {
  HANDLE released = nullptr;
  {
    Recorded owner(Fake(5));
    released = owner.release();
    EXPECT_FALSE(owner);
  }
  EXPECT_EQ(released, Fake(5));
  EXPECT_TRUE(Closed().empty());
}

TEST_F(UniqueHandleTest, CloseReportsTheSystemsAnswerAndLeavesTheOwnerEmpty) {
  Recorded empty;
  EXPECT_TRUE(empty.close());

  Recorded good(Fake(1));
  EXPECT_TRUE(good.close());
  EXPECT_FALSE(good);

  RecordingTraits::succeeds = false;
  Recorded bad(Fake(2));
  EXPECT_FALSE(bad.close());
  EXPECT_FALSE(bad);
  bad.reset();  // nothing is given back twice
  EXPECT_EQ(Closed(), (std::vector<HANDLE>{Fake(1), Fake(2)}));
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
