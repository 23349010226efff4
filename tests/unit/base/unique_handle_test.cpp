#include "base/unique_handle.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

namespace {

// Records what the owner gives back instead of giving it back. Handles are fake pointers; the
// value 99 stands for a system's "invalid handle" failure value.
struct FakeObject;
using Fake = FakeObject*;
Fake Make(std::uintptr_t value) { return reinterpret_cast<Fake>(value); }

struct RecordingTraits {
  using Handle = Fake;
  static constexpr LiveKind kKind = LiveKind::kPen;
  static inline std::vector<Fake> closed;
  static inline bool succeeds = true;
  static bool Close(Handle handle) noexcept {
    closed.push_back(handle);
    return succeeds;
  }
  static bool IsFailure(Handle handle) noexcept { return handle == Make(99); }
};
using Recorded = UniqueHandle<RecordingTraits>;

class UniqueHandleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RecordingTraits::closed.clear();
    RecordingTraits::succeeds = true;
    start_ = LiveCount(LiveKind::kPen);
  }
  static const std::vector<Fake>& Closed() { return RecordingTraits::closed; }
  // Handles of the kind held now beyond those held when the test began.
  long long Held() const { return LiveCount(LiveKind::kPen) - start_; }

 private:
  long long start_ = 0;
};

TEST_F(UniqueHandleTest, CreatingCountsEachHandleAndEmptyOrFailedOnesNot) {
  const long long brushes = LiveCount(LiveKind::kBrush);
  {
    Recorded none;
    Recorded null(nullptr);
    Recorded failed(Make(99));
    EXPECT_FALSE(failed);
    EXPECT_EQ(failed.get(), nullptr);
    EXPECT_EQ(Held(), 0);
    Recorded one(Make(1));
    Recorded two(Make(2));
    EXPECT_TRUE(one);
    EXPECT_EQ(Held(), 2);
    EXPECT_EQ(LiveCount(LiveKind::kBrush), brushes) << "other kinds untouched";
  }
  EXPECT_EQ(Held(), 0);
  EXPECT_EQ(Closed(), (std::vector<Fake>{Make(2), Make(1)}));
}

TEST_F(UniqueHandleTest, ResetGivesBackTheOldHandleOnceAndCountsTheNew) {
  {
    Recorded owner(Make(1));
    owner.reset(Make(2));
    EXPECT_EQ(Closed(), std::vector<Fake>{Make(1)});
    EXPECT_EQ(Held(), 1);
    owner.reset();
    owner.reset();
    EXPECT_EQ(Held(), 0);
    owner.reset(Make(3));
    owner.reset(Make(99));  // a failed call empties the owner
    EXPECT_FALSE(owner);
    EXPECT_EQ(Held(), 0);
  }
  EXPECT_EQ(Closed(), (std::vector<Fake>{Make(1), Make(2), Make(3)}));
}

TEST_F(UniqueHandleTest, MovesHandOverOwnershipWithoutChangingTheCount) {
  {
    Recorded first(Make(1));
    Recorded second(std::move(first));
    EXPECT_FALSE(first);
    EXPECT_EQ(second.get(), Make(1));
    EXPECT_EQ(Held(), 1);

    Recorded third(Make(3));
    third = std::move(second);  // the one it held goes
    EXPECT_EQ(Closed(), std::vector<Fake>{Make(3)});
    EXPECT_EQ(third.get(), Make(1));
    EXPECT_EQ(Held(), 1);

    Recorded& alias = third;
    third = std::move(alias);  // moving onto itself keeps the handle
    EXPECT_EQ(third.get(), Make(1));
    EXPECT_EQ(Held(), 1);

    Recorded empty;
    third = std::move(empty);
    EXPECT_EQ(Held(), 0);
  }
  EXPECT_EQ(Closed(), (std::vector<Fake>{Make(3), Make(1)}));
}

TEST_F(UniqueHandleTest, ReleaseHandsTheHandleOnUncountedAndUnclosed) {
  Fake released = nullptr;
  {
    Recorded owner(Make(5));
    released = owner.release();
    EXPECT_FALSE(owner);
    EXPECT_EQ(Held(), 0);
    EXPECT_EQ(owner.release(), nullptr);
    EXPECT_EQ(Held(), 0) << "an empty owner releases nothing";
  }
  EXPECT_EQ(released, Make(5));
  EXPECT_TRUE(Closed().empty());
}

TEST_F(UniqueHandleTest, CloseReportsTheSystemsAnswerAndUncountsEitherWay) {
  Recorded empty;
  EXPECT_TRUE(empty.close());

  Recorded good(Make(1));
  EXPECT_TRUE(good.close());
  EXPECT_FALSE(good);

  RecordingTraits::succeeds = false;
  Recorded bad(Make(2));
  EXPECT_FALSE(bad.close());
  EXPECT_FALSE(bad);
  EXPECT_EQ(Held(), 0) << "a handle the system refused is still no longer Kelvo's";
  bad.reset();  // nothing is given back twice
  EXPECT_EQ(Closed(), (std::vector<Fake>{Make(1), Make(2)}));
}

}  // namespace
