#include "util/background_lookups.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace {

using namespace std::chrono_literals;

// A look-up that waits until the test lets it go, as a shell icon of an offline network path
// waits for the network's time-out; it records the thread it ran on.
struct SlowLookup {
  std::mutex mutex;
  std::condition_variable changed;
  bool released = false;
  int lookups = 0;
  int arrivals = 0;
  std::thread::id thread;

  std::u16string Look(const std::u16string& key) {
    std::unique_lock<std::mutex> lock(mutex);
    ++lookups;
    thread = std::this_thread::get_id();
    changed.notify_all();
    changed.wait_for(lock, 30s, [&] { return released; });
    return u"icon of " + key;
  }
  void Release() {
    const std::lock_guard<std::mutex> lock(mutex);
    released = true;
    changed.notify_all();
  }
  void Arrived() {
    const std::lock_guard<std::mutex> lock(mutex);
    ++arrivals;
    changed.notify_all();
  }
  bool WaitFor(const std::function<bool()>& condition) {
    std::unique_lock<std::mutex> lock(mutex);
    return changed.wait_for(lock, 30s, condition);
  }
};

std::unique_ptr<BackgroundLookups<std::u16string>> Lookups(const std::shared_ptr<SlowLookup>& slow,
                                                           std::size_t capacity = 64) {
  return std::make_unique<BackgroundLookups<std::u16string>>(
      [slow](const std::u16string& key) { return slow->Look(key); }, [slow] { slow->Arrived(); },
      capacity);
}

}  // namespace

TEST(BackgroundLookupsTest, AnswersAtOnceWhileALookUpWaitsAndKeepsWhatArrived) {
  auto slow = std::make_shared<SlowLookup>();
  auto lookups = Lookups(slow);
  EXPECT_EQ(lookups->Find(u"\\\\offline\\share\\a.exe"), nullptr);
  ASSERT_TRUE(slow->WaitFor([&] { return slow->lookups == 1; }));
  EXPECT_NE(slow->thread, std::this_thread::get_id()) << "never on the asking thread";
  // Asked again while it runs: still nothing, and no second look-up.
  EXPECT_EQ(lookups->Find(u"\\\\offline\\share\\a.exe"), nullptr);
  EXPECT_EQ(lookups->Find(u"b.exe"), nullptr);
  slow->Release();
  ASSERT_TRUE(slow->WaitFor([&] { return slow->arrivals == 2; }));
  const std::u16string* a = lookups->Find(u"\\\\offline\\share\\a.exe");
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(*a, u"icon of \\\\offline\\share\\a.exe");
  ASSERT_NE(lookups->Find(u"b.exe"), nullptr);
  EXPECT_EQ(slow->lookups, 2);
}

// A reload keeps the icons of files still named and forgets the others; the capacity bounds the
// rest.
TEST(BackgroundLookupsTest, KeepOnlyKeepsTheNamedValuesAndTheCapacityBoundsThem) {
  auto slow = std::make_shared<SlowLookup>();
  slow->Release();
  auto lookups = Lookups(slow, 3);
  for (const char16_t* key : {u"a", u"b", u"c"}) lookups->Find(key);
  ASSERT_TRUE(slow->WaitFor([&] { return slow->arrivals == 3; }));
  lookups->KeepOnly([](const std::u16string& key) { return key != u"b"; });
  EXPECT_EQ(lookups->Count(), 2u);
  EXPECT_NE(lookups->Find(u"a"), nullptr);
  EXPECT_EQ(slow->lookups, 3) << "a kept value is not looked up again";
  EXPECT_EQ(lookups->Find(u"b"), nullptr);
  lookups->Find(u"d");
  ASSERT_TRUE(slow->WaitFor([&] { return slow->arrivals == 5; }));
  EXPECT_LE(lookups->Count(), 3u);
}

// The window goes (Kelvo ends) while a look-up waits for the network: that does not wait, and
// nothing of the window is called afterwards.
TEST(BackgroundLookupsTest, TheOwnerGoesAtOnceWhileALookUpStillRuns) {
  auto slow = std::make_shared<SlowLookup>();
  auto lookups = Lookups(slow);
  lookups->Find(u"\\\\offline\\x.exe");
  ASSERT_TRUE(slow->WaitFor([&] { return slow->lookups == 1; }));
  const auto start = std::chrono::steady_clock::now();
  lookups.reset();
  EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
  slow->Release();
  std::this_thread::sleep_for(100ms);
  EXPECT_EQ(slow->arrivals, 0);
}
