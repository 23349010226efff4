#include "hotkeys/action_executor.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>

#include "hotkeys/key_sequence.h"
#include "support/fake_desktop.h"
#include "support/fake_dialogs.h"
#include "support/fake_hotkey_registrar.h"
#include "support/fake_key_input.h"
#include "support/fake_locale.h"
#include "support/fake_window_system.h"
#include "support/system_code_page.h"

namespace {

// An editor that holds every macro until the gate opens.
class GateSender : public MacroSender {
 public:
  void SendMacro(WindowHandle, const std::string&) override {
    std::unique_lock lock(mutex_);
    ++delivered;
    opened_.wait(lock, [&] { return open_; });
  }
  void Open() {
    std::lock_guard lock(mutex_);
    open_ = true;
    opened_.notify_all();
  }
  std::atomic<int> delivered{0};

 private:
  std::mutex mutex_;
  std::condition_variable opened_;
  bool open_ = false;
};

class ActionExecutorTest : public ::testing::Test {
 protected:
  ActionExecutorTest() : rec(registrar, 1, 1001, 0) {}
  ~ActionExecutorTest() override { sender.Open(); }

  void Run() { ExecuteHotKey(rec, services, zrEditorPath); }
  std::vector<std::u16string> Errors() const {
    std::vector<std::u16string> texts;
    for (const auto& m : dialogs.messages) texts.push_back(m.text);
    return texts;
  }

  FakeHotKeyRegistrar registrar;
  FakeWindowSystem windows;
  FakeDesktop desktop;
  FakeSystemControl system;
  FakeKeyInput keys;
  FakeLauncher launcher;
  FakeDialogs dialogs;
  FakeLocale locale;
  GateSender sender;
  TZrMacStarter macros{sender, SystemCodePage()};
  ActionServices services{windows, desktop, system, keys, launcher, dialogs, locale, macros};
  std::u16string zrEditorPath;
  HKeyRec rec;
};

}  // namespace

TEST_F(ActionExecutorTest, MinimiseThenCloseThenActivateWhateverTheSlots) {
  windows.Add(1, u"Mail - Inbox", u"MailWnd");
  windows.Add(2, u"Chat", u"ChatWnd");
  windows.Add(3, u"Editor", u"EditWnd");
  rec.ActivateWndClass[0] = u"EditWnd";
  rec.CloseWndClass[3] = u"ChatWnd";
  rec.MinimizeWndTitleM[9] = u"Inbox";
  Run();
  EXPECT_EQ(windows.actions, (std::vector<std::string>{"show 1 6", "close 2", "foreground 3"}));
}

TEST_F(ActionExecutorTest, FoundWindowIsActivatedInsteadOfStartingAndKeysFollowEitherWay) {
  windows.Add(7, u"Untitled - Notepad", u"Notepad");
  rec.ActivateWndClass[0] = u"Notepad";
  rec.Execute[0] = u"notepad.exe";
  rec.SendKey[0] = u"A,/A";
  rec.ActivateWndClass[2] = u"Missing";
  rec.Execute[2] = u"calc.exe";
  rec.ExeParam[2] = u"-x";
  rec.ExeDir[2] = u"C:\\";
  rec.SendKey[2] = u"B,/B";
  rec.Execute[4] = u"doc.txt";  // no keys follow: started through the shell
  Run();
  // The found window is given time to take its activation: keys follow.
  EXPECT_EQ(windows.actions, (std::vector<std::string>{"foreground for keys 7"}));
  EXPECT_EQ(launcher.log, (std::vector<std::string>{"launch calc.exe|-x|C:\\|1|wait",
                                                    "launch doc.txt|||1|nowait"}));
  EXPECT_EQ(keys.Events(),
            (std::vector<std::string>{"down 0x41", "up 0x41", "down 0x42", "up 0x42"}));
}

TEST_F(ActionExecutorTest, KeysAreTypedEvenWhenNothingWasFoundOrStarted) {
  rec.ActivateWndTitle[1] = u"Nothing like this";
  rec.SendKey[1] = u"C,/C";
  Run();
  EXPECT_EQ(keys.Events(), (std::vector<std::string>{"down 0x43", "up 0x43"}));
}

TEST_F(ActionExecutorTest, AnEmptyTokenStopsTheRestOfTheHotKey) {
  desktop.classes[kEditorWindowClass] = 9;
  rec.SendKey[0] = u"CTRL,,A";
  rec.Execute[1] = u"never.exe";
  rec.ZrMacro = u"macro";
  Run();
  EXPECT_EQ(Errors(), (std::vector<std::u16string>{u"範囲チェックエラー"}));
  EXPECT_EQ(dialogs.messages[0].caption, u"エラー");
  EXPECT_TRUE(launcher.log.empty());
  EXPECT_FALSE(macros.Pending());
  // The Ctrl key pressed before the empty token is not left held down.
  EXPECT_EQ(keys.Events(), (std::vector<std::string>{"down 0x11", "up 0x11"}));
}

TEST_F(ActionExecutorTest, KeysHeldAcrossSlotsWorkAndWhatIsLeftDownIsReleasedAtTheEnd) {
  // Kelvo's own keys read as held (as the system reports them) without stopping the next slot.
  windows.Add(5, u"Pad", u"Pad");
  rec.ActivateWndClass[0] = u"Pad";
  rec.SendKey[0] = u"SHIFT";
  rec.SendKey[1] = u"A,/A,/SHIFT";
  rec.SendKey[2] = u"B,/B,CTRL";
  rec.SendKey[3] = u"ALT,TAB,";  // the user forgot the "/" tokens
  Run();
  EXPECT_EQ(keys.Events(),
            (std::vector<std::string>{"down 0x10", "down 0x41", "up 0x41", "up 0x10", "down 0x42",
                                      "up 0x42", "down 0x11", "down 0x12", "down 0x09", "up 0x09",
                                      "up 0x12", "up 0x11"}));
  EXPECT_TRUE(dialogs.messages.empty());
  // Only the pauses before each key: no slot waited for a key Kelvo held itself.
  EXPECT_LT(keys.NowMs(), 1000u);
}

TEST_F(ActionExecutorTest, AKeyThatStaysDownStopsTheRestOfTheHotKeyAndSaysSo) {
  keys.HoldForever(0x12);  // Alt
  rec.Section = u"HotKey7";
  rec.SendKey[0] = u"A,/A";
  rec.Execute[1] = u"never.exe";
  Run();
  EXPECT_TRUE(keys.Events().empty());
  EXPECT_TRUE(launcher.log.empty());
  EXPECT_EQ(Errors(), (std::vector<std::u16string>{KeysHeldMessage(u"HotKey7")}));
  EXPECT_NE(Errors()[0].find(u"[HotKey7]"), std::u16string::npos);
  EXPECT_EQ(dialogs.messages[0].caption, u"エラー");
}

TEST_F(ActionExecutorTest, KeysLeftDownAreReleasedBeforeTheEditorComesToTheFront) {
  windows.Add(9, u"ZR", u"ZRWclassframe32");
  desktop.classes[kEditorWindowClass] = 9;
  rec.SendKey[0] = u"CTRL";
  rec.ZrMacro = u"m";
  std::vector<std::string> keysWhenEditorCame;
  windows.onForeground = [&](WindowHandle) { keysWhenEditorCame = keys.Events(); };
  Run();
  EXPECT_EQ(keysWhenEditorCame, (std::vector<std::string>{"down 0x11", "up 0x11"}));
  EXPECT_TRUE(macros.Pending());
}

TEST_F(ActionExecutorTest, OnlyTheWindowKeysAreTypedIntoWaitsForItsActivation) {
  windows.Add(1, u"Twin", u"Twin");
  windows.Add(2, u"Twin", u"Twin");
  windows.Add(3, u"Other", u"Other");
  rec.ActivateWndClass[0] = u"Twin";
  rec.SendKey[0] = u"A,/A";
  rec.ActivateWndClass[1] = u"Other";  // no keys follow
  Run();
  EXPECT_EQ(windows.actions,
            (std::vector<std::string>{"foreground 1", "foreground for keys 2", "foreground 3"}));
}

TEST_F(ActionExecutorTest, ShutdownWordsEndTheHotKeyAndReportFailure) {
  struct Case {
    std::u16string command;
    std::string call;
  } cases[] = {{u"REBOOT", "shutdown 2"}, {u"LOGOFF", "shutdown 0"}, {u"POWEROFF", "shutdown 8"}};
  for (const Case& c : cases) {
    system.log.clear();
    dialogs.messages.clear();
    rec.SetCommand(c.command);
    system.shutdownWorks = true;
    Run();
    EXPECT_EQ(system.log, (std::vector<std::string>{c.call}));
    EXPECT_TRUE(dialogs.messages.empty());
    system.shutdownWorks = false;
    Run();
    EXPECT_EQ(Errors().back(), c.command + u" コマンドの処理に失敗しました");
  }
}

TEST_F(ActionExecutorTest, UnknownWordIsReported) {
  rec.SetCommand(u"FOO BAR");
  Run();
  EXPECT_EQ(Errors(), (std::vector<std::u16string>{u"不明なコマンドです [FOO]"}));
}

TEST_F(ActionExecutorTest, MonitorOffPausesAroundBothBroadcasts) {
  rec.SetCommand(u"MONITOR_OFF");
  Run();
  EXPECT_EQ(system.log,
            (std::vector<std::string>{"sleep 1000", "monitor 1", "sleep 1000", "monitor 2"}));
}

TEST_F(ActionExecutorTest, ForegroundWindowWords) {
  windows.Add(4, u"Target", u"T");
  desktop.foreground = 4;
  for (const char16_t* command :
       {u"MAXIMIZE_FGWND", u"MINIMIZE_FGWND", u"RESTORE_FGWND", u"CLOSE_FGWND x"}) {
    rec.SetCommand(command);
    Run();
  }
  EXPECT_EQ(windows.actions,
            (std::vector<std::string>{"show 4 3", "show 4 6", "show 4 9", "close 4"}));
  desktop.foreground = 0;
  windows.actions.clear();
  rec.SetCommand(u"MAXIMIZE_FGWND");
  Run();
  EXPECT_TRUE(windows.actions.empty());
}

TEST_F(ActionExecutorTest, SetPosItems) {
  desktop.foreground = 4;  // its rectangle is (10,20)-(410,320)
  struct Case {
    std::u16string command;
    std::vector<std::string> log;
  } cases[] = {
      {u"SETPOS_FGWND 0,0,HALF,MAX", {"setpos 4 0,0,640,1025"}},
      {u"SETPOS_FGWND *,*,800,600", {"setpos 4 10,20,800,600"}},
      {u"SETPOS_FGWND 100", {"setpos 4 100,20,400,300"}},
      {u"SETPOS_FGWND 5 6", {"setpos 4 5,6,400,300"}},
      {u"SETPOS_FGWND ,,HALF", {"setpos 4 0,0,640,300"}},
      {u"SETPOS_FGWND \"7\",x", {"setpos 4 7,0,400,300"}},
      {u"SETPOS_FGWND 1,2,3,", {"setpos 4 1,2,3,0"}},
      {u"SETPOS_FGWND 0,0,HALF,MAX,1", {}},
      {u"SETPOS_FGWND", {"setpos 4 10,20,400,300"}},
  };
  for (const Case& c : cases) {
    desktop.log.clear();
    rec.SetCommand(c.command);
    Run();
    EXPECT_EQ(desktop.log, c.log) << Utf16ToUtf8(c.command);
  }
}

TEST_F(ActionExecutorTest, TerminateAppAsksAndGivesTheFocusBackOnCancel) {
  windows.Add(4, u"Busy App", u"B");
  desktop.foreground = 4;
  desktop.focus = 44;
  rec.SetCommand(u"TERMINATE_APP");
  dialogs.answer = kIdCancel;
  Run();
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].text, u"[Busy App]\n 強制終了しますか?");
  EXPECT_EQ(dialogs.messages[0].caption, u"警告");
  EXPECT_EQ(dialogs.messages[0].flags, 0x31u);
  EXPECT_TRUE(system.log.empty());
  EXPECT_EQ(desktop.log, (std::vector<std::string>{"attach 1004", "detach 1004", "kelvo front",
                                                   "attach 1004", "focus 44", "detach 1004"}));
  EXPECT_EQ(windows.actions, (std::vector<std::string>{"foreground 4"}));

  dialogs.answer = kIdOk;
  Run();
  EXPECT_EQ(system.log, (std::vector<std::string>{"terminate 5004"}));
}

TEST_F(ActionExecutorTest, CdTrayAndKeyShortcuts) {
  for (const char16_t* command : {u"CD_OPEN E", u"CD_OPEN E:", u"CD_CLOSE", u"CD_OPEN  f  "}) {
    rec.SetCommand(command);
    Run();
  }
  EXPECT_EQ(system.log,
            (std::vector<std::string>{"cd open E:", "cd open E:", "cd close ", "cd open f:"}));
  rec.SetCommand(u"ALL_MINIMIZE");
  Run();
  EXPECT_EQ(keys.Events(),
            (std::vector<std::string>{"down 0x5B", "down 0x4D", "up 0x4D", "up 0x5B"}));
}

TEST_F(ActionExecutorTest, MacroGoesToTheRunningEditorOrStartsIt) {
  rec.ZrMacro = u"Format";
  zrEditorPath = u"C:\\zr\\zrw32.exe";
  Run();
  EXPECT_EQ(launcher.log,
            (std::vector<std::string>{"launch C:\\zr\\zrw32.exe|-MFormat||1|nowait"}));

  // A running editor is restored, brought to the front and handed the macro; while it still
  // runs one, the next is refused with a beep.
  windows.Add(9, u"ZR", u"ZRWclassframe32", true, true);
  desktop.classes[kEditorWindowClass] = 9;
  Run();
  EXPECT_EQ(windows.actions, (std::vector<std::string>{"restore 9", "foreground 9"}));
  EXPECT_TRUE(macros.Pending());
  EXPECT_TRUE(system.log.empty());
  Run();
  EXPECT_EQ(system.log, (std::vector<std::string>{"beep"}));
  EXPECT_EQ(launcher.log.size(), 1u);
}

TEST(SplitCommaText, FollowsTheCommaTextRules) {
  struct Case {
    std::u16string text;
    std::vector<std::u16string> items;
  } cases[] = {
      {u"0,0,HALF,MAX", {u"0", u"0", u"HALF", u"MAX"}},
      {u" a , b ", {u"a", u"b"}},
      {u"a b", {u"a", u"b"}},
      {u"a,,b", {u"a", u"", u"b"}},
      {u"a,", {u"a", u""}},
      {u"\"x y\",z", {u"x y", u"z"}},
      {u"\"say \"\"hi\"\"\"", {u"say \"hi\""}},
      {u"", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(SplitCommaText(c.text), c.items) << Utf16ToUtf8(c.text);
}
