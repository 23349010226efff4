#include "core/deferred_work.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>

namespace {

// The thread's message queue: what was posted runs when the test pumps it.
struct Queue {
  std::deque<std::function<void()>> posted;
  void Pump() {
    while (!posted.empty()) {
      const std::function<void()> message = std::move(posted.front());
      posted.pop_front();
      message();
    }
  }
};

}  // namespace

TEST(DeferredWorkTest, RunsOnceFromThePostedMessageAfterTheLastBusyPart) {
  Queue queue;
  int runs = 0;
  DeferredWork* self = nullptr;
  DeferredWork work([&] { queue.posted.push_back([&] { self->Posted(); }); }, [&] { ++runs; });
  self = &work;
  {
    const DeferredWork::Scope outer(work);
    {
      const DeferredWork::Scope inner(work);
      work.Ask();
    }
    EXPECT_TRUE(queue.posted.empty()) << "the outer part is still busy";
  }
  EXPECT_EQ(runs, 0) << "never where the busy part ends";
  work.Ask();
  EXPECT_EQ(queue.posted.size(), 1u) << "one message however often it is asked";
  queue.Pump();
  EXPECT_EQ(runs, 1);

  // A part that became busy before the message arrived keeps the work until its own end.
  work.Ask();
  {
    const DeferredWork::Scope later(work);
    queue.Pump();
    EXPECT_EQ(runs, 1);
  }
  queue.Pump();
  EXPECT_EQ(runs, 2);
  queue.Pump();
  EXPECT_EQ(runs, 2);
}
