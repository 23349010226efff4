#include "core/tray_keeper.h"

#include <gtest/gtest.h>

#include "support/fake_tray.h"

namespace {

struct Tray {
  FakeTrayIcon icon;
  FakeRetryTimer timer;
  TrayKeeper keeper{icon, timer};

  void Tick(int n) {
    for (int i = 0; i < n; ++i) keeper.RetryTimerFired();
  }
};

}  // namespace

TEST(TrayKeeper, ShowsTheIconWithTheProgramTitle) {
  Tray t;
  t.keeper.Apply(false);
  EXPECT_TRUE(t.icon.shown);
  EXPECT_EQ(t.icon.lastHint, u"Kelvo");
  EXPECT_FALSE(t.timer.running);
  t.keeper.Apply(true);
  EXPECT_FALSE(t.icon.shown);
}

TEST(TrayKeeper, RetriesEveryTenSecondsAfterARefusal) {
  Tray t;
  t.icon.refusals = 2;
  t.keeper.Apply(false);
  EXPECT_TRUE(t.timer.running);
  EXPECT_EQ(t.timer.interval, 1000u);
  t.Tick(9);
  EXPECT_EQ(t.icon.showCalls, 1);
  t.Tick(1);  // the tenth second: second attempt, refused again
  EXPECT_EQ(t.icon.showCalls, 2);
  EXPECT_TRUE(t.timer.running);
  t.Tick(10);
  EXPECT_TRUE(t.icon.shown);
  EXPECT_FALSE(t.timer.running);
}

TEST(TrayKeeper, GivesUpAfterElevenRetries) {
  Tray t;
  t.icon.refusals = 1000;
  t.keeper.Apply(false);
  t.Tick(10 * 20);
  EXPECT_EQ(t.icon.showCalls, 1 + 11);
  EXPECT_FALSE(t.timer.running);
}

TEST(TrayKeeper, ALoadThatSucceedsStopsPendingRetries) {
  Tray t;
  t.icon.refusals = 1;
  t.keeper.Apply(false);
  t.keeper.Apply(false);
  EXPECT_FALSE(t.timer.running);
  EXPECT_EQ(t.keeper.TrayRetryTicks, 0);
}

TEST(TrayKeeper, AddsTheIconAgainWhenExplorerRestarts) {
  Tray t;
  t.keeper.Apply(false);
  t.icon.shown = false;  // the restarted shell knows no icons
  t.keeper.TaskbarCreated();
  EXPECT_TRUE(t.icon.shown);

  Tray hidden;
  hidden.keeper.Apply(true);
  hidden.keeper.TaskbarCreated();
  EXPECT_FALSE(hidden.icon.shown);
  EXPECT_EQ(hidden.icon.showCalls, 0);
}
