#include "hotkeys/window_matching.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "support/fake_dialogs.h"
#include "support/fake_locale.h"
#include "support/fake_window_system.h"
#include "util/title_pattern.h"

namespace {

using Handles = std::vector<WindowHandle>;

class WindowMatchingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    desktop_.Add(1, u"Untitled - Notepad", u"Notepad");
    desktop_.Add(2, u"Mail - Inbox", u"MailFrame");
    desktop_.Add(3, u"untitled - Notepad", u"Notepad");
    desktop_.Add(4, u"Hidden Mail Inbox", u"Notepad", /*visible=*/false);
    desktop_.Add(5, u"Mail - Sent", u"MailFrame");
    desktop_.Add(6, u"Report.txt - Notepad", u"notepad");
    desktop_.Add(7, u"", u"Shell_TrayWnd");
  }

  Handles Find(const WindowTests& tests) {
    Handles list;
    found_ = FindWindows(tests, list, desktop_, locale_, dialogs_);
    return list;
  }

  FakeWindowSystem desktop_;
  FakeLocale locale_;
  FakeDialogs dialogs_;
  bool found_ = false;
};

TEST_F(WindowMatchingTest, EachTestAloneAndCombined) {
  const struct {
    WindowTests tests;
    Handles found;
  } cases[] = {
      // title prefix, letter case significant
      {{u"", u"Untitled", u"", u""}, {1}},
      {{u"", u"untitled", u"", u""}, {3}},
      {{u"", u"Untitled - Notepad and more", u"", u""}, {}},
      // title suffix
      {{u"", u"", u"- Notepad", u""}, {1, 3, 6}},
      {{u"", u"", u"- notepad", u""}, {}},
      // title part, exact code units
      {{u"", u"", u"", u"Mail"}, {2, 5}},
      {{u"", u"", u"", u"mail"}, {}},
      // pattern between slashes
      {{u"", u"", u"", u"/^Mail.*Inbox$/"}, {2}},
      {{u"", u"", u"", u"/notepad/"}, {}},
      {{u"", u"", u"", u"/(?i)notepad/"}, {1, 3, 6}},
      {{u"", u"", u"", u"/^$/"}, {}},  // the empty title gives only an empty match
      // an empty pattern matches nothing but the empty text, which does not count
      {{u"", u"", u"", u"/"}, {}},
      {{u"", u"", u"", u"//"}, {}},
      // class, exactly, in z-order
      {{u"Notepad", u"", u"", u""}, {1, 3}},
      {{u"MailFrame", u"", u"", u""}, {2, 5}},
      {{u"Shell_TrayWnd", u"", u"", u""}, {7}},
      // all tests must pass
      {{u"Notepad", u"", u"- Notepad", u"/^[Uu]/"}, {1, 3}},
      {{u"MailFrame", u"Mail", u"Sent", u"-"}, {5}},
      {{u"Notepad", u"Report", u"", u""}, {}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Find(c.tests), c.found) << std::string(c.tests.titleM.begin(), c.tests.titleM.end());
    EXPECT_EQ(found_, !c.found.empty());
  }
  EXPECT_TRUE(dialogs_.messages.empty());
}

TEST_F(WindowMatchingTest, InvisibleWindowsAreNeverFound) {
  EXPECT_EQ(Find({u"", u"Hidden", u"", u""}), Handles{});
  EXPECT_EQ(Find({u"", u"", u"", u"/Mail.*Inbox/"}), Handles{2});
}

TEST_F(WindowMatchingTest, NoTestLeavesTheListAsItWas) {
  Handles list = {42, 43};
  EXPECT_FALSE(FindWindows({}, list, desktop_, locale_, dialogs_));
  EXPECT_EQ(list, (Handles{42, 43}));
}

TEST_F(WindowMatchingTest, ListIsReplacedOnEveryCall) {
  Handles list = {42};
  EXPECT_FALSE(FindWindows({u"NoSuchClass", u"", u"", u""}, list, desktop_, locale_, dialogs_));
  EXPECT_TRUE(list.empty());
  EXPECT_TRUE(FindWindows({u"MailFrame", u"", u"", u""}, list, desktop_, locale_, dialogs_));
  EXPECT_EQ(list, (Handles{2, 5}));
  EXPECT_EQ(desktop_.titleReads, 0);  // a class alone asks no window for its title
}

TEST_F(WindowMatchingTest, TitleShorterThanTheTestDoesNotMatch) {
  desktop_.windows.clear();
  desktop_.Add(1, u"ab", u"C");
  EXPECT_EQ(Find({u"", u"abc", u"", u""}), Handles{});
  EXPECT_EQ(Find({u"", u"", u"xab", u""}), Handles{});
  EXPECT_EQ(Find({u"", u"ab", u"ab", u"ab"}), Handles{1});
}

TEST_F(WindowMatchingTest, PatternSeesLineBreaksAndSurrogates) {
  desktop_.windows.clear();
  desktop_.Add(1, u"first\r\nsecond", u"C");
  desktop_.Add(2, u"\U0001F600 smile", u"C");
  desktop_.Add(3, u"broken \xD800 title", u"C");
  EXPECT_EQ(Find({u"", u"", u"", u"/^second$/m"}), Handles{});  // no flags after the slash
  EXPECT_EQ(Find({u"", u"", u"", u"/(?m)^second$/"}), Handles{1});
  EXPECT_EQ(Find({u"", u"", u"", u"/first.second/"}), Handles{});  // "." stops at a line break
  EXPECT_EQ(Find({u"", u"", u"", u"/^. smile/"}), Handles{2});     // one character, two units
  EXPECT_EQ(Find({u"", u"", u"", u"/title$/"}), Handles{3});
}

TEST_F(WindowMatchingTest, InvalidPatternIsReportedOnceAndSelectsNothing) {
  const auto compiles = TitlePattern::CompileCount();
  Handles list = {42};
  EXPECT_FALSE(FindWindows({u"", u"", u"", u"/([/"}, list, desktop_, locale_, dialogs_));
  EXPECT_TRUE(list.empty());
  ASSERT_EQ(dialogs_.messages.size(), 1u);
  EXPECT_EQ(dialogs_.messages[0].text, u"不正な正規表現です");
  EXPECT_EQ(dialogs_.messages[0].caption, u"エラー");
  EXPECT_EQ(dialogs_.messages[0].flags, kMbOk | kMbIconError);
  EXPECT_EQ(TitlePattern::CompileCount() - compiles, 1);
  EXPECT_EQ(desktop_.titleReads, 1);  // the walk stopped at the first window
}

TEST_F(WindowMatchingTest, InvalidPatternIsSilentWhenNoWindowReachesIt) {
  const auto compiles = TitlePattern::CompileCount();
  EXPECT_EQ(Find({u"", u"No such title", u"", u"/([/"}), Handles{});
  EXPECT_EQ(Find({u"", u"Hidden", u"", u"/([/"}), Handles{});  // only an invisible window
  EXPECT_TRUE(dialogs_.messages.empty());
  EXPECT_EQ(TitlePattern::CompileCount(), compiles);
}

TEST_F(WindowMatchingTest, PatternIsCompiledOncePerCall) {
  const auto compiles = TitlePattern::CompileCount();
  EXPECT_EQ(Find({u"", u"", u"", u"/Note/"}), (Handles{1, 3, 6}));
  EXPECT_EQ(TitlePattern::CompileCount() - compiles, 1);
  EXPECT_EQ(Find({u"", u"", u"", u"/Note/"}), (Handles{1, 3, 6}));
  EXPECT_EQ(TitlePattern::CompileCount() - compiles, 2);
}

TEST_F(WindowMatchingTest, RunawayPatternGivesUpAndDoesNotMatch) {
  desktop_.windows.clear();
  desktop_.Add(1, std::u16string(40, u'a') + u"b", u"C");
  desktop_.Add(2, u"aaa", u"C");
  EXPECT_EQ(Find({u"", u"", u"", u"/(a+)+$/"}), Handles{2});
  EXPECT_TRUE(dialogs_.messages.empty());
}

TEST_F(WindowMatchingTest, RunawayPatternOverManyLongTitlesEndsQuickly) {
  desktop_.windows.clear();
  std::u16string runs;  // "aaa…ab" again and again, as long as a title can be
  while (runs.size() < 2046) runs += std::u16string(15, u'a') + u"b";
  runs.resize(2045);
  runs += u"b";
  for (WindowHandle w = 1; w <= 10; ++w) desktop_.Add(w, runs, u"C");
  desktop_.Add(11, u"aaa", u"C");
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(Find({u"", u"", u"", u"/(a+)+$/"}), Handles{11});
  EXPECT_EQ(Find({u"", u"", u"", u"/.*......++\\x00|\u2026/"}), Handles{});
  // Milliseconds in a release build (it was seconds); generous for sanitizer builds.
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
}

TEST_F(WindowMatchingTest, ActionsRunInListOrder) {
  desktop_.Find(3)->iconic = true;
  ActivateWindows({1, 3}, desktop_);
  MinimizeWindows({1, 3}, desktop_);
  CloseWindows({1, 3}, desktop_);
  EXPECT_EQ(desktop_.actions,
            (std::vector<std::string>{"foreground 1", "restore 3", "foreground 3", "show 1 6",
                                      "show 3 6", "close 1", "close 3"}));
}

TEST_F(WindowMatchingTest, RepeatedActivationAlternatesBetweenTwoMatches) {
  const WindowTests notepads = {u"Notepad", u"", u"", u""};
  ActivateWindows(Find(notepads), desktop_);
  EXPECT_EQ(desktop_.Front(), 3u);  // the lower one comes to the front
  ActivateWindows(Find(notepads), desktop_);
  EXPECT_EQ(desktop_.Front(), 1u);
  ActivateWindows(Find(notepads), desktop_);
  EXPECT_EQ(desktop_.Front(), 3u);
}

}  // namespace
