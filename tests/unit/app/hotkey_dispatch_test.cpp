#include "app/hotkey_dispatch.h"

#include <gtest/gtest.h>

#include "app/tray_keeper.h"
#include "support/fake_desktop.h"
#include "support/fake_dialogs.h"
#include "support/fake_hotkey_registrar.h"
#include "support/fake_key_input.h"
#include "support/fake_keyboard_layout.h"
#include "support/fake_locale.h"
#include "support/fake_tray.h"
#include "support/fake_window_system.h"
#include "support/memory_file_system.h"
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
    std::string text = "[General]\r\nVersion=169\r\nWallBmpName=C:\\K\\wall.bmp\r\n" + sections;
    files.files[u"C:\\K\\Kelvo.INI"] = text;
    model.LoadSettings(hooks, keeper);
  }
  void Press(int id) {
    windows.log.clear();
    dispatcher.WMHotKey(id);
  }

  MemoryFileSystem files;
  FakeLocale locale;
  FakeClock clock;
  FakeHotKeyRegistrar registrar;
  FakeKeyboardLayout keyboard;
  FakeTrayIcon trayIcon;
  FakeRetryTimer trayTimer;
  TrayKeeper keeper{trayIcon, trayTimer};
  LoadHooks hooks;
  MainModel model{LoadServices{files, SystemCodePage(), locale, clock, registrar, keyboard},
                  u"C:\\K\\Kelvo.exe", 1, FontSpec{}, 169};
  FakeWindowSystem windowSystem;
  FakeDesktop desktop;
  FakeSystemControl system;
  FakeKeyInput keys;
  FakeLauncher launcher;
  FakeDialogs dialogs;
  NoSender sender;
  TZrMacStarter macros{sender, SystemCodePage()};
  ActionServices services{windowSystem, desktop, system, keys, launcher, dialogs, locale, macros};
  FakeImages images;
  RecordingWindows windows;
  HotKeyDispatcher dispatcher{model, services, files, images, windows};
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
      "[HotKey1]\r\nKey=A\r\nCommand=recycle\r\n[HotKey2]\r\nKey=B\r\nCommand=VERSION\r\n"
      "[HotKey3]\r\nKey=C\r\nCommand=HOTKEY_LIST\r\n[HotKey4]\r\nKey=D\r\nCommand=EXIT\r\n"
      "[HotKey5]\r\nKey=E\r\nCommand=CLIPBOARD_T3\r\n[HotKey6]\r\nKey=F\r\nCommand=POPUPMENU\r\n"
      "[HotKey7]\r\nKey=G\r\nCommand=EDIT_INI\r\n[HotKey8]\r\nKey=H\r\nCommand=CMDLAUNCHER\r\n");
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
  Load("[HotKey1]\r\nKey=A\r\nCommand=FOO\r\n[HotKey2]\r\nKey=B\r\nCommand=SCREENSAVE\r\n");
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
  files.files[u"C:\\K\\ding.wav"] = "RIFF";
  Load("[HotKey1]\r\nKey=A\r\nSound=ding.wav\r\n[HotKey2]\r\nKey=B\r\nSound=missing.wav\r\n");
  Press(101);
  Press(102);
  EXPECT_EQ(system.log, (std::vector<std::string>{"sound C:\\K\\ding.wav"}));
}

TEST_F(DispatchTest, WallpaperRules) {
  files.files[u"C:\\K\\a.JPG"] = "jpeg";
  files.files[u"C:\\K\\b.bmp"] = "bmp";
  files.files[u"C:\\K\\c.tif"] = "tiff";
  files.files[u"C:\\K\\broken.png"] = "png";
  Load(
      "[HotKey1]\r\nKey=A\r\nWallPaper=NONE\r\n[HotKey2]\r\nKey=B\r\nWallPaper=gone.png\r\n"
      "[HotKey3]\r\nKey=C\r\nWallPaper=a.JPG\r\n[HotKey4]\r\nKey=D\r\nWallPaper=b.bmp\r\n"
      "[HotKey5]\r\nKey=E\r\nWallPaper=c.tif\r\n[HotKey6]\r\nKey=F\r\nWallPaper=broken.png\r\n");
  for (int id = 101; id <= 106; ++id) Press(id);
  EXPECT_EQ(system.log, (std::vector<std::string>{
                            "wallpaper ", "wallpaper ", "wallpaper C:\\K\\wall.bmp",
                            "copy C:\\K\\b.bmp C:\\K\\wall.bmp", "wallpaper C:\\K\\wall.bmp"}));
  EXPECT_EQ(images.lastMode, 1);
  EXPECT_EQ(files.files[u"C:\\K\\wall.bmp"], EncodeBmp24(Bitmap24{1, 1, {1, 2, 3}}));
}
