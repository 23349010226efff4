#include "base/live_objects.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

TEST(LiveObjectsTest, EveryKindHasItsOwnNumberAndNameAndNoOtherNumberIsAKind) {
  std::set<std::string_view> names;
  for (int i = 0; i < kLiveKindCount; ++i) {
    const auto kind = LiveKindFromNumber(static_cast<std::uintptr_t>(i));
    ASSERT_TRUE(kind) << i;
    EXPECT_EQ(static_cast<int>(*kind), i);
    names.insert(LiveKindName(*kind));
  }
  EXPECT_EQ(names.size(), static_cast<std::size_t>(kLiveKindCount));
  EXPECT_EQ(LiveKindName(LiveKind::kWindow), "windows");
  EXPECT_FALSE(LiveKindFromNumber(kLiveKindCount));
  EXPECT_FALSE(LiveKindFromNumber(static_cast<std::uintptr_t>(-1)));
}

TEST(LiveObjectsTest, CountsFromManyThreadsAddUpExactly) {
  constexpr int kThreads = 4;
  constexpr int kEach = 20000;
  const long long start = LiveCount(LiveKind::kGlobalMemory);
  const auto run = [](bool adopt) {
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
      threads.emplace_back([adopt] {
        for (int i = 0; i < kEach; ++i) {
          adopt ? CountAdopted(LiveKind::kGlobalMemory) : CountGivenBack(LiveKind::kGlobalMemory);
        }
      });
    }
    for (std::thread& thread : threads) thread.join();
  };
  run(true);
  EXPECT_EQ(LiveCount(LiveKind::kGlobalMemory), start + kThreads * kEach);
  run(false);
  EXPECT_EQ(LiveCount(LiveKind::kGlobalMemory), start);
}

TEST(LiveObjectsTest, ReportsNameEveryKindOrOnlyTheChangedOnes) {
  LiveCounts before{};
  before[static_cast<int>(LiveKind::kFont)] = 12;
  before[static_cast<int>(LiveKind::kWindow)] = 30;
  LiveCounts after = before;
  EXPECT_EQ(LiveCountChanges(before, after), "");
  after[static_cast<int>(LiveKind::kFont)] = 13;
  after[static_cast<int>(LiveKind::kMenu)] = kUnknownLiveKind;
  EXPECT_EQ(LiveCountChanges(before, after), "fonts 12 -> 13, menus 0 -> -1");
  const std::string all = LiveCountsText(before);
  EXPECT_EQ(all.rfind("fonts 12, brushes 0, ", 0), 0u) << all;
  EXPECT_NE(all.find(", windows 30"), std::string::npos) << all;
}

}  // namespace
