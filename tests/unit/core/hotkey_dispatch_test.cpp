#include "core/hotkey_dispatch.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>

#include "core/paste_into_target.h"
#include "support/fake_desktop.h"
#include "support/fake_dialogs.h"
#include "support/fake_key_input.h"
#include "support/fake_model.h"
#include "support/fake_window_system.h"
#include "support/system_code_page.h"
#include "util/bmp_file.h"

namespace {

class RecordingWindows : public KelvoWindows {
 public:
  void Reload() override { log += "reload "; }
  void OpenLauncherMenu() override { log += "menu "; }
  void ToggleCmdLauncher() override { log += "launcher "; }
  void ShowClipboard(const InternalAction& command) override {
    // The page asked for: C the history, T and the canned-text set.
    log += "clipboard:";
    if (command.command == KelvoCommand::kClipboardHistory) log += "C";
    if (command.command == KelvoCommand::kCannedText) {
      log += "T" + (command.cannedSet ? std::to_string(*command.cannedSet) : "");
    }
    log += " ";
  }
  void EditSettings() override { log += "edit-ini "; }
  void EditMenuFile() override { log += "edit-popup "; }
  void CloseMainWindow() override { log += "close "; }
  bool CmdLauncherVisible() const override { return launcherVisible; }
  void ForegroundCmdLauncher() override { log += "launcher-front "; }
  void HideMainWindow() override { log += "hide "; }
  void ShowAbout() override { log += "about "; }
  void ShowHotKeyList() override { log += "list "; }
  void HideHotKeyList() override { log += "hide-list "; }
  std::string log;
  bool launcherVisible = false;
};

// Reloads for real: every record of the table is destroyed and made anew.
class ReloadingWindows : public RecordingWindows {
 public:
  explicit ReloadingWindows(FakeModel& fake) : fake_(fake) {}
  void Reload() override {
    RecordingWindows::Reload();
    fake_.model.LoadSettings(fake_.hooks, fake_.keeper);
  }

 private:
  FakeModel& fake_;
};

// A message box during which the user presses another hotkey.
class NestingDialogs : public FakeDialogs {
 public:
  int ShowMessage(const std::u16string& text, const std::u16string& caption,
                  unsigned flags) override {
    if (whileShown) std::exchange(whileShown, nullptr)();
    return FakeDialogs::ShowMessage(text, caption, flags);
  }
  std::function<void()> whileShown;
};

class FakeImages : public ImageDecoder {
 public:
  bool LoadImageToBitmap(const std::u16string& path, Bitmap24& bitmap, int mode) override {
    lastMode = mode;
    if (path.find(u"broken") != std::u16string::npos) return false;
    bitmap = Bitmap24{1, 1, {1, 2, 3}};
    return true;
  }
  int lastMode = 0;
};

class NoSender : public MacroSender {
 public:
  void SendMacro(WindowHandle, const std::string&) override {}
};

class DispatchTest : public ::testing::Test {
 protected:
  void Load(const std::string& sections) {
    fake.Load("[General]\nVersion=169\nWallBmpName=C:\\Tools\\wall.bmp\n" + sections);
  }
  void Press(int id) {
    windows.log.clear();
    dispatcher.WMHotKey(id);
  }

  FakeModel fake;
  MemoryFileSystem& files = fake.files;
  FakeWindowSystem windowSystem;
  FakeDesktop desktop;
  FakeSystemControl system;
  FakeKeyInput keys;
  FakeLauncher launcher;
  NestingDialogs dialogs;
  NoSender sender;
  TZrMacStarter macros{sender, SystemCodePage()};
  ActionServices services{windowSystem, desktop, system,      keys,
                          launcher,     dialogs, fake.locale, macros};
  FakeImages images;
  ReloadingWindows windows{fake};
  HotKeyDispatcher dispatcher{fake.model, services, files, images, windows};
};

}  // namespace

TEST_F(DispatchTest, RemembersTheForegroundWindowAndItsFocus) {
  desktop.foreground = 7;
  desktop.focus = 70;
  Press(999);
  EXPECT_EQ(dispatcher.Target().SavedFgWnd, 7u);
  EXPECT_EQ(dispatcher.Target().SavedFgThread, 1007u);
  EXPECT_EQ(dispatcher.Target().SavedFocusWnd, 70u);
  // An identifier without a record only tidies up.
  EXPECT_EQ(windows.log, "hide hide-list ");
  desktop.attachWorks = false;
  Press(999);
  EXPECT_EQ(dispatcher.Target().SavedFocusWnd, 0u);
}

TEST_F(DispatchTest, InternalCommandsAndTheTidyUp) {
  Load(
      "[HotKey1]\nKey=A\nCommand=recycle\n[HotKey2]\nKey=B\nCommand=VERSION\n"
      "[HotKey3]\nKey=C\nCommand=HOTKEY_LIST\n[HotKey4]\nKey=D\nCommand=EXIT\n"
      "[HotKey5]\nKey=E\nCommand=CLIPBOARD_T3\n[HotKey6]\nKey=F\nCommand=POPUPMENU\n"
      "[HotKey7]\nKey=G\nCommand=EDIT_INI\n[HotKey8]\nKey=H\nCommand=CMDLAUNCHER\n");
  const std::pair<int, std::string> cases[] = {
      {101, "reload hide hide-list "},
      {102, "hide about hide-list "},
      {103, "hide list "},
      {104, "hide hide-list close "},
      {105, "clipboard:T2 hide hide-list "},
      {106, "menu hide hide-list "},
      {107, "edit-ini hide hide-list "},
      {108, "launcher hide hide-list "},
  };
  for (const auto& [id, log] : cases) {
    Press(id);
    EXPECT_EQ(windows.log, log) << id;
  }
  EXPECT_TRUE(dialogs.messages.empty());  // none of them is an unknown command
  windows.launcherVisible = true;
  Press(108);
  EXPECT_EQ(windows.log, "launcher launcher-front hide-list ");
}

TEST_F(DispatchTest, AReloadAskedForInsideAHotKeyWaitsUntilItsRecordHasFinished) {
  // Hotkey 1 shows an error box for its bad pattern and then goes on to its second slot; while
  // the box is open the user presses hotkey 2, which reloads. The reload must not free the
  // record that hotkey 1 is still running from (AddressSanitizer watches the native build).
  Load(
      "[HotKey1]\nKey=A\nActivateWndTitleM1=/(/\nExecute1=first.exe\nExecute2=second.exe\n"
      "[HotKey2]\nKey=B\nCommand=RECYCLE\n[HotKey3]\nKey=C\nCommand=EXIT\n");
  windowSystem.Add(1, u"title", u"Edit");
  dialogs.whileShown = [&] {
    dispatcher.WMHotKey(102);
    windows.log += "| ";
    dispatcher.WMHotKey(103);
    windows.log += "| ";
    EXPECT_TRUE(dispatcher.Running());
  };
  Press(101);
  EXPECT_EQ(windows.log, "hide hide-list | hide hide-list | reload hide hide-list close ");
  ASSERT_EQ(launcher.log.size(), 2u);
  EXPECT_NE(launcher.log[1].find("second.exe"), std::string::npos);
  EXPECT_EQ(fake.registrar.registrations().size(), 6u) << "the table was made anew once";
  EXPECT_FALSE(dispatcher.Running());

  Press(102);
  EXPECT_EQ(windows.log, "reload hide hide-list ");
  EXPECT_EQ(fake.registrar.registrations().size(), 9u);
}

TEST_F(DispatchTest, OtherCommandsGoToTheActionExecutor) {
  Load("[HotKey1]\nKey=A\nCommand=FOO\n[HotKey2]\nKey=B\nCommand=SCREENSAVE\n");
  Press(101);
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].text, u"不明なコマンドです [FOO]");
  Press(102);
  EXPECT_TRUE(system.log.empty());
  system.screenSaver = true;
  Press(102);
  EXPECT_EQ(system.log, (std::vector<std::string>{"screensaver"}));
}

TEST_F(DispatchTest, SoundIsPlayedFromTheProgramFolder) {
  files.files[u"C:\\Tools\\ding.wav"] = "RIFF";
  Load("[HotKey1]\nKey=A\nSound=ding.wav\n[HotKey2]\nKey=B\nSound=missing.wav\n");
  Press(101);
  Press(102);
  EXPECT_EQ(system.log, (std::vector<std::string>{"sound C:\\Tools\\ding.wav"}));
}

TEST_F(DispatchTest, WallpaperRules) {
  files.files[u"C:\\Tools\\a.JPG"] = "jpeg";
  files.files[u"C:\\Tools\\b.bmp"] = "bmp";
  files.files[u"C:\\Tools\\c.tif"] = "tiff";
  files.files[u"C:\\Tools\\broken.png"] = "png";
  Load(
      "[HotKey1]\nKey=A\nWallPaper=NONE\n[HotKey2]\nKey=B\nWallPaper=gone.png\n"
      "[HotKey3]\nKey=C\nWallPaper=a.JPG\n[HotKey4]\nKey=D\nWallPaper=b.bmp\n"
      "[HotKey5]\nKey=E\nWallPaper=c.tif\n[HotKey6]\nKey=F\nWallPaper=broken.png\n");
  for (int id = 101; id <= 103; ++id) Press(id);
  EXPECT_EQ(images.lastMode, 1);
  EXPECT_EQ(files.files[u"C:\\Tools\\wall.bmp"], EncodeBmp24(Bitmap24{1, 1, {1, 2, 3}}));
  Press(104);
  EXPECT_EQ(files.files[u"C:\\Tools\\wall.bmp"], "bmp");
  for (int id = 105; id <= 106; ++id) Press(id);
  EXPECT_EQ(system.log,
            (std::vector<std::string>{"wallpaper ", "wallpaper ", "wallpaper C:\\Tools\\wall.bmp",
                                      "wallpaper C:\\Tools\\wall.bmp"}));
  EXPECT_EQ(files.files[u"C:\\Tools\\wall.bmp"], "bmp");
}

TEST_F(DispatchTest, ABitmapThatCannotBeCopiedLeavesTheWallpaperFileAndTheWallpaperAlone) {
  files.files[u"C:\\Tools\\wall.bmp"] = "previous";
  files.files[u"C:\\Tools\\locked.bmp"] = "new";
  files.unreadable.insert(u"C:\\Tools\\locked.bmp");
  files.files[u"C:\\Tools\\b.bmp"] = "bmp";
  Load("[HotKey1]\nKey=A\nWallPaper=locked.bmp\n[HotKey2]\nKey=B\nWallPaper=b.bmp\n");
  Press(101);
  files.failAllWrites = true;
  Press(102);
  EXPECT_TRUE(system.log.empty());
  EXPECT_EQ(files.files[u"C:\\Tools\\wall.bmp"], "previous");
}

TEST_F(DispatchTest, APressThatWaitedActsOnTheWindowThatWasInFrontWhenItWasPressed) {
  Load("[HotKey1]\nKey=A\nCommand=MINIMIZE_FGWND\n");
  desktop.foreground = 7;
  desktop.focus = 70;
  const SavedTarget atPress = RememberForeground(desktop);
  // By the time the press runs, a toast has taken the front.
  desktop.foreground = 9;
  dispatcher.WMHotKey(101, atPress);
  EXPECT_EQ(windowSystem.actions, (std::vector<std::string>{"show 7 6"}));
  EXPECT_EQ(dispatcher.Target().SavedFgWnd, 7u);
  EXPECT_EQ(dispatcher.Target().SavedFocusWnd, 70u);
  // A press that runs at once reads the front itself.
  windowSystem.actions.clear();
  dispatcher.WMHotKey(101);
  EXPECT_EQ(windowSystem.actions, (std::vector<std::string>{"show 9 6"}));
}
