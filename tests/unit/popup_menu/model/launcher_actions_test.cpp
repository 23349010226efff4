#include "popup_menu/model/launcher_actions.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "support/fake_clipboard.h"
#include "support/fake_desktop.h"
#include "support/fake_key_input.h"
#include "support/fake_locale.h"
#include "support/fake_window_system.h"

namespace {

// Windows belong to the threads the test gives them; others do not exist. The window in front is
// the window system's topmost one, and the focus the control the paste gave it to.
class ThreadedDesktop : public FakeDesktop {
 public:
  explicit ThreadedDesktop(const FakeWindowSystem& windows) : windows_(windows) {}
  std::uint32_t WindowThread(WindowHandle window, std::uint32_t*) const override {
    const auto found = threads.find(window);
    return found == threads.end() ? 0 : found->second;
  }
  WindowHandle Foreground() const override { return foreground ? foreground : windows_.Front(); }
  WindowHandle FocusedWindow() const override { return focus; }
  void SetFocus(WindowHandle window) override {
    FakeDesktop::SetFocus(window);
    focus = window;
  }
  std::map<WindowHandle, std::uint32_t> threads{{7, 70}, {8, 70}};

 private:
  const FakeWindowSystem& windows_;
};

// A keyboard whose pauses let the test change the desktop meanwhile.
class PausingKeys : public FakeKeyInput {
 public:
  void Sleep(int ms) override {
    FakeKeyInput::Sleep(ms);
    if (onPause) onPause();
  }
  std::function<void()> onPause;
};

class RecordingSender : public PasteSender {
 public:
  bool SendPaste(WindowHandle control) override {
    log.push_back("paste " + std::to_string(control));
    return answers;
  }
  void ProcessPendingMessages() override { log.push_back("pump"); }
  bool answers = true;
  std::vector<std::string> log;
};

ChosenItem Launch(const std::u16string& caption, std::vector<std::u16string> enclosing = {}) {
  ChosenItem item;
  item.Click = PopupClick::kLaunch;
  item.Caption = caption;
  item.Enclosing = std::move(enclosing);
  return item;
}

class LauncherPasteTest : public ::testing::Test {
 protected:
  LauncherPasteTest() {
    windows.Add(7, u"target", u"Notepad");
    target = SavedTarget{7, 70, 8};
  }
  PasteOutcome Paste(const std::u16string& caption, const std::u16string& cls = u"RichEdit") {
    windows.Add(8, u"", cls);
    return PasteLauncherText(caption, target, u"EDIT;TEDIT", services);
  }
  std::vector<std::string> Everything() const {
    std::vector<std::string> all = desktop.log;
    all.insert(all.end(), keys.log.begin(), keys.log.end());
    all.insert(all.end(), sender.log.begin(), sender.log.end());
    return all;
  }

  FakeClipboard clipboard;
  FakeWindowSystem windows;
  ThreadedDesktop desktop{windows};
  PausingKeys keys;
  RecordingSender sender;
  FakeClock clock;
  FakeLocale locale;
  PasteServices services{clipboard, desktop, windows, keys, sender, clock, locale};
  SavedTarget target;
};

}  // namespace

TEST(LauncherStartTest, CommandSplitsAtTheFirstBlankOutsideQuotes) {
  auto r = PlanLauncherStart(Launch(u"Ed\t  \"C:\\Program Files\\ed.exe\" -n  \"a b\" "), u"");
  ASSERT_TRUE(r);
  EXPECT_EQ(r->program, u"\"C:\\Program Files\\ed.exe\"");
  EXPECT_EQ(r->params, u"-n  \"a b\"");
  EXPECT_TRUE(r->reportFailure);
  r = PlanLauncherStart(Launch(u"&Calc\tcalc.exe"), u"");
  EXPECT_EQ(r->program, u"calc.exe");
  EXPECT_EQ(r->params, u"");
  // The text's ampersands come back.
  EXPECT_EQ(PlanLauncherStart(Launch(u"W\tw.exe a\u0002b"), u"")->params, u"a&b");
  EXPECT_FALSE(PlanLauncherStart(Launch(u"Empty\t   "), u"C:\\T"));
  EXPECT_EQ(LaunchFailedMessage(u"x.exe"), u"[x.exe] の実行に失敗しました");
}

TEST(LauncherStartTest, EntriesWithoutCommandOpenTheirShortcut) {
  auto r = PlanLauncherStart(Launch(u"Docs", {u"Tools", u"Sub"}), u"C:\\T");
  ASSERT_TRUE(r);
  EXPECT_EQ(r->program, u"C:\\T\\Tools\\Sub\\Docs.lnk");
  EXPECT_FALSE(r->reportFailure);
  EXPECT_EQ(PlanLauncherStart(Launch(u"Docs"), u"D:\\")->program, u"D:\\Docs.lnk");
  // Without a tree folder there is nothing to open.
  EXPECT_FALSE(PlanLauncherStart(Launch(u"Docs"), u""));
  // A tree item opens its own file, whatever folder it was put in.
  ChosenItem tree = Launch(u"Y", {u"x"});
  tree.Path = u"C:\\T\\a\\b\\Y.lnk";
  EXPECT_EQ(PlanLauncherStart(tree, u"C:\\T")->program, u"C:\\T\\a\\b\\Y.lnk");
}

TEST(LauncherStartTest, ChosenItemCopiesEnclosingCaptions) {
  PopupItem root, outer, inner, item;
  outer.Caption = u"Tools";
  outer.Parent = &root;
  inner.Caption = u"Sub";
  inner.Parent = &outer;
  item.Caption = u"Docs";
  item.Parent = &inner;
  EXPECT_EQ(CopyChosenItem(item).Enclosing, (std::vector<std::u16string>{u"Tools", u"Sub"}));
}

TEST_F(LauncherPasteTest, CtrlVIsTypedIntoTheTargetWithItsPauses) {
  EXPECT_EQ(Paste(u"Date\t\\Y/\\0m & co"), PasteOutcome::kPastedByKeys);
  EXPECT_EQ(clipboard.text, u"2015/03 & co");
  EXPECT_EQ(windows.actions, (std::vector<std::string>{"foreground for keys 7"}));
  EXPECT_EQ(Everything(),
            (std::vector<std::string>{"attach 70", "focus 8", "detach 70", "sleep 50", "down 0x11",
                                      "down 0x56", "sleep 100", "up 0x56", "up 0x11", "pump"}));
}

TEST_F(LauncherPasteTest, PasteMessageForListedClassesWithoutRegardToCase) {
  EXPECT_EQ(Paste(u"&Me & you", u"tEdit"), PasteOutcome::kPastedByMessage);
  EXPECT_EQ(clipboard.text, u"&Me & you");  // no TAB: the whole caption
  EXPECT_EQ(sender.log, (std::vector<std::string>{"paste 8"}));
  EXPECT_TRUE(keys.log.empty());
  EXPECT_TRUE(IsPasteMessageClass(u"edit", u";Edit;"));
  EXPECT_FALSE(IsPasteMessageClass(u"", u"EDIT;;TEDIT"));
  EXPECT_FALSE(IsPasteMessageClass(u"EDITX", u"EDIT"));
}

TEST_F(LauncherPasteTest, HungTargetIsGivenUp) {
  sender.answers = false;
  EXPECT_EQ(Paste(u"x", u"Edit"), PasteOutcome::kOnClipboard);
  EXPECT_EQ(desktop.log.back(), "detach 70");
}

TEST_F(LauncherPasteTest, NoForegroundWhenTheMenuOpenedDoesNothingAtAll) {
  clipboard.SetByOtherProgram(u"copied by the user");
  target = SavedTarget{};
  EXPECT_EQ(Paste(u"x"), PasteOutcome::kNothing);
  EXPECT_EQ(clipboard.text, u"copied by the user");
  EXPECT_TRUE(clipboard.writes.empty());
  EXPECT_TRUE(desktop.log.empty());
  EXPECT_TRUE(keys.log.empty());
  target = SavedTarget{7, 70, 8};
  EXPECT_EQ(Paste(u"Empty\t"), PasteOutcome::kNothing);
  EXPECT_TRUE(clipboard.writes.empty());
}

TEST_F(LauncherPasteTest, UnwritableClipboardPastesNothing) {
  clipboard.SetByOtherProgram(u"password");
  clipboard.busy = true;
  EXPECT_EQ(Paste(u"x"), PasteOutcome::kClipboardFailed);
  EXPECT_EQ(clipboard.writes.size(), static_cast<std::size_t>(kClipboardWriteAttempts));
  EXPECT_EQ(keys.log, (std::vector<std::string>{"sleep 50", "sleep 50"}));
  EXPECT_TRUE(desktop.log.empty());
  EXPECT_TRUE(sender.log.empty());
}

TEST_F(LauncherPasteTest, ClipboardThatFreesUpInTimeIsUsed) {
  clipboard.failedWrites = 2;
  EXPECT_EQ(Paste(u"x"), PasteOutcome::kPastedByKeys);
  EXPECT_EQ(clipboard.text, u"x");
}

TEST_F(LauncherPasteTest, VanishedOrReusedTargetGetsNoKeys) {
  desktop.threads.erase(7);  // closed
  EXPECT_EQ(Paste(u"x"), PasteOutcome::kOnClipboard);
  desktop.threads = {{7, 71}, {8, 71}};  // the handle now belongs to another program
  EXPECT_EQ(Paste(u"y"), PasteOutcome::kOnClipboard);
  desktop.threads = {{7, 70}, {8, 99}};  // the focus went to another thread's window
  EXPECT_EQ(Paste(u"z"), PasteOutcome::kOnClipboard);
  EXPECT_EQ(clipboard.text, u"z");
  EXPECT_TRUE(keys.log.empty());
  EXPECT_TRUE(sender.log.empty());
  EXPECT_TRUE(desktop.log.empty());
}

TEST_F(LauncherPasteTest, WithoutAFocusTheTextIsOnlyPutOnTheClipboard) {
  target.SavedFocusWnd = 0;
  EXPECT_EQ(Paste(u"x", u"Edit"), PasteOutcome::kOnClipboard);
  EXPECT_EQ(clipboard.text, u"x");
  EXPECT_TRUE(desktop.log.empty());
  EXPECT_TRUE(keys.log.empty());
  EXPECT_TRUE(sender.log.empty());
  EXPECT_TRUE(windows.actions.empty());
}

// A toast or a chat window that takes the front while the paste waits for Shift to be let go
// must not receive Ctrl+V, and with it the pasted text.
TEST_F(LauncherPasteTest, NoKeyIsTypedWhenAnotherWindowTookTheFrontDuringTheWaits) {
  windows.Add(9, u"toast", u"Toast");
  desktop.threads[9] = 90;
  keys.HoldFor(kVkShift, 3);
  int pauses = 0;
  keys.onPause = [&] {
    if (++pauses == 2) windows.SetForeground(9);
  };
  EXPECT_EQ(Paste(u"secret"), PasteOutcome::kOnClipboard);
  EXPECT_TRUE(keys.Events().empty());
  EXPECT_EQ(clipboard.text, u"secret");
  EXPECT_EQ(desktop.log.back(), "detach 70");

  // The front window stays, but the focus went to a window of another thread.
  keys.onPause = [&] { desktop.focus = 9; };
  keys.log.clear();
  EXPECT_EQ(Paste(u"again"), PasteOutcome::kOnClipboard);
  EXPECT_TRUE(keys.Events().empty());

  // Nothing moved: the keys go out after the last look.
  keys.onPause = nullptr;
  EXPECT_EQ(Paste(u"fine"), PasteOutcome::kPastedByKeys);
  EXPECT_EQ(keys.Events(),
            (std::vector<std::string>{"down 0x11", "down 0x56", "up 0x56", "up 0x11"}));
}

TEST_F(LauncherPasteTest, CtrlVWaitsUntilShiftAltAndWinAreReleased) {
  keys.HoldFor(kVkShift, 3);  // Shift+Enter chose the entry
  keys.HoldFor(kVkRWin, 5);
  EXPECT_EQ(Paste(u"x"), PasteOutcome::kPastedByKeys);
  // Five looks 10 ms apart, then the usual pause before the keys.
  EXPECT_EQ(std::vector<std::string>(keys.log.begin(), keys.log.begin() + 7),
            (std::vector<std::string>{"sleep 10", "sleep 10", "sleep 10", "sleep 10", "sleep 10",
                                      "sleep 50", "down 0x11"}));
  keys.HoldForever(kVkMenu);
  keys.log.clear();
  EXPECT_EQ(Paste(u"y"), PasteOutcome::kOnClipboard);  // held too long: no keys at all
  EXPECT_TRUE(keys.Events().empty());
  EXPECT_EQ(clipboard.text, u"y");
  EXPECT_EQ(desktop.log.back(), "detach 70");
}

TEST_F(LauncherPasteTest, NoAttachLeavesTheTextOnTheClipboard) {
  desktop.attachWorks = false;
  EXPECT_EQ(Paste(u"y"), PasteOutcome::kOnClipboard);
  EXPECT_EQ(clipboard.text, u"y");
  EXPECT_TRUE(keys.log.empty());
}

TEST_F(LauncherPasteTest, KeysAreNotTypedWhenTheTargetCannotComeToTheFront) {
  windows.windows.clear();  // SetForeground fails
  desktop.foreground = 3;
  EXPECT_EQ(Paste(u"x"), PasteOutcome::kOnClipboard);
  EXPECT_TRUE(keys.log.empty());
  EXPECT_EQ(desktop.log.back(), "detach 70");
}

TEST_F(LauncherPasteTest, ForegroundGoesBackOnlyToTheSameWindow) {
  RestoreTarget(target, desktop, windows);
  EXPECT_EQ(desktop.log, (std::vector<std::string>{"attach 70", "focus 8", "detach 70"}));
  EXPECT_EQ(windows.actions, (std::vector<std::string>{"foreground 7"}));
  desktop.log.clear();
  windows.actions.clear();
  desktop.threads = {{7, 71}};  // closed, and the handle taken by another program's window
  RestoreTarget(target, desktop, windows);
  RestoreTarget(SavedTarget{}, desktop, windows);
  EXPECT_TRUE(desktop.log.empty());
  EXPECT_TRUE(windows.actions.empty());
}
