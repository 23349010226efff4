#include "util/background_task.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <string>
#include <thread>

namespace {

TEST(BackgroundTaskTest, TheResultIsTakenOnceWaitingForTheWorkWhileItRuns) {
  std::promise<void> gate;
  std::shared_future<void> open = gate.get_future().share();
  std::atomic<int> doneCalls{0};
  std::thread::id workThread;
  BackgroundTask<std::string> task(
      [&] {
        workThread = std::this_thread::get_id();
        open.wait();
        return std::string("read");
      },
      [&] { ++doneCalls; });
  EXPECT_FALSE(task.Ready());
  std::thread opener([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    gate.set_value();
  });
  // Take waits for the work that still runs.
  EXPECT_EQ(task.Take(), std::optional<std::string>("read"));
  opener.join();
  EXPECT_NE(workThread, std::this_thread::get_id());
  EXPECT_FALSE(task.Ready());
  EXPECT_EQ(task.Take(), std::nullopt);
  // `done` comes after the result is there; it may still be on its way when Take returns.
  for (int i = 0; i < 500 && doneCalls == 0; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  EXPECT_EQ(doneCalls, 1);
}

TEST(BackgroundTaskTest, ReadyOnceTheWorkHasEndedAndTheOwnersGoingWaitsForIt) {
  std::atomic<bool> finished{false};
  {
    BackgroundTask<int> task(
        [&] {
          std::this_thread::sleep_for(std::chrono::milliseconds(30));
          finished = true;
          return 7;
        },
        nullptr);
    // Left untaken: the owner goes while the work may still run.
  }
  EXPECT_TRUE(finished);

  std::atomic<bool> done{false};
  BackgroundTask<int> task([] { return 3; }, [&] { done = true; });
  for (int i = 0; i < 500 && !done; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(2));
  EXPECT_TRUE(task.Ready());
  EXPECT_EQ(task.Take(), std::optional<int>(3));
}

}  // namespace
