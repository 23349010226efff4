#include "app/hotkey_dispatch.h"

#include <gtest/gtest.h>

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
  void ShowClipboard(const std::u16string& command) override {
    log += "clipboard:" + Utf16ToUtf8(command) + " ";
  }
  void EditSettings() override { log += "edit-ini "; }
  void EditMenuFile() override { log += "edit-popup "; }
  void CloseMainWindow() override { log += "close "; }
  bool CmdLauncherVisible() const override { return launcherVisible; }
  void ForegroundCmdLauncher() override { log += "launcher-front "; }
  void HideMainWindow() override { log += "hide "; }
  void ShowAbout() override { log += "about "; }
  void ShowHotKeyList() override { log += "list "; }
  void HideHotKeyList() override { log += "hide-list"; }
  std::string log;
  bool launcherVisible = false;
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
  FakeDialogs dialogs;
  NoSender sender;
  TZrMacStarter macros{sender, SystemCodePage()};
  ActionServices services{windowSystem, desktop, system,      keys,
                          launcher,     dialogs, fake.locale, macros};
  FakeImages images;
  RecordingWindows windows;
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
  EXPECT_EQ(windows.log, "hide hide-list");
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
      {101, "reload hide hide-list"},
      {102, "hide about hide-list"},
      {103, "hide list "},
      {104, "close hide hide-list"},
      {105, "clipboard:CLIPBOARD_T3 hide hide-list"},
      {106, "menu hide hide-list"},
      {107, "edit-ini hide hide-list"},
      {108, "launcher hide hide-list"},
  };
  for (const auto& [id, log] : cases) {
    Press(id);
    EXPECT_EQ(windows.log, log) << id;
  }
  EXPECT_TRUE(dialogs.messages.empty());  // none of them is an unknown command
  windows.launcherVisible = true;
  Press(108);
  EXPECT_EQ(windows.log, "launcher launcher-front hide-list");
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
  for (int id = 101; id <= 106; ++id) Press(id);
  EXPECT_EQ(system.log,
            (std::vector<std::string>{"wallpaper ", "wallpaper ", "wallpaper C:\\Tools\\wall.bmp",
                                      "copy C:\\Tools\\b.bmp C:\\Tools\\wall.bmp",
                                      "wallpaper C:\\Tools\\wall.bmp"}));
  EXPECT_EQ(images.lastMode, 1);
  EXPECT_EQ(files.files[u"C:\\Tools\\wall.bmp"], EncodeBmp24(Bitmap24{1, 1, {1, 2, 3}}));
}
