// The resident program as a user meets it: first start, upgrades, hotkey registration, the
// hand-over of a second start, reloads and the tray icon.
#include <gtest/gtest.h>
#include <windows.h>

#include <shellapi.h>

#include <string>

#include "kelvo_session.h"

namespace {

constexpr char kFirstStartFile[] = R"([General]
Version=169
NoTrayIcon=0
Editor=
ZrEditor=
WmPasteClass=EDIT;TEDIT

[HotKey1]
Key=

[HotKey2]
Key=

[HotKey3]
Key=

[HotKey4]
Key=

[HotKey5]
Key=

[PopupMenu]
PopupDir=
PopupFile=
PosX=-1
PosY=-1
Sort=0
MinWidth=
ItemHeight=
FgColorL=
BgColorL=
SelFgColorL=
SelBgColorL=
FgColorP=
BgColorP=
SelFgColorP=
SelBgColorP=
AkColor=
SelAkColor=
SelRaised=0
NoAkUnderline=0
AkBold=0

[CmdLauncher]
LaunchDir=
ListSize=10
Dropdown=1
SkipInput=0
CnfExecute=0
ExeDelay=250
FontName=
FontSize=10
FgColorK=
BgColorK=
FgColorC=
BgColorC=
CnfSound=
NgSound=

[ClipboardList]
Enable=0
SaveHistory=0
ClipDataFile=CLIPDATA.txt
TextDataFile=TEXTDATA.txt
MaxItems=50
MaxTextLen=0
MaxLineCnt=0
FontName=
FontSize=10
LineSpace=0
FgColorL=
BgColorL=
FgColorT=
BgColorT=
FgColorV=
BgColorV=
CtrlColor=
LnCtColor=
ShowLnCt=0
PreviewLn=0
Transparent=255
ExceptWord1=
TextDataBtn1=
TextDataBtn2=
TextDataBtn3=
TextDataBtn4=
TextDataBtn5=
TextDataBtn6=
TextDataBtn7=
TextDataBtn8=

[CmdKwd1]
Key=

[CmdKwd2]
Key=

[CmdKwd3]
Key=

[CmdKwd4]
Key=

[CmdKwd5]
Key=

)";

constexpr DWORD kHandedOver = 0xFFFFFFFF;  // the exit code -1 of a second start

}  // namespace

TEST(Resident, FirstStartWritesTheCompleteSettingsFile) {
  KelvoSession kelvo;
  ASSERT_TRUE(kelvo.Start());
  // The file is written right after the tray icon is added.
  EXPECT_TRUE(WaitFor([&] { return !kelvo.ReadIni().empty(); }));
  EXPECT_EQ(kelvo.ReadIni(), CrLf(kFirstStartFile));
  EXPECT_EQ(kelvo.Stop(), 0);
  // Nothing changed since, so ending the program leaves the file as it was.
  EXPECT_EQ(kelvo.ReadIni(), CrLf(kFirstStartFile));
}

TEST(Resident, OldSettingsFileIsUpgraded) {
  KelvoSession kelvo;
  kelvo.WriteIni(
      CrLf("; my settings\n[General]\nVersion=164\nWmPasteClass=MyEdit\n"
           "[ClipboardList]\nTransparent=200\n"));
  ASSERT_TRUE(kelvo.Start());
  ASSERT_TRUE(WaitFor([&] { return kelvo.ReadIni().find("=169") != std::string::npos; }));
  const std::string text = Utf8(kelvo.ReadIniText());
  EXPECT_EQ(text.rfind("; my settings\r\n\r\n[General]\r\nVersion=169\r\n", 0), 0u) << text;
  EXPECT_NE(text.find("WmPasteClass=EDIT;TEDIT\r\n"), std::string::npos);
  // 164 is past the thresholds of the older upgrades, which leave the user's values alone.
  EXPECT_NE(text.find("Transparent=200\r\n"), std::string::npos);
  EXPECT_EQ(text.find("TextDataBtn1"), std::string::npos);
  EXPECT_EQ(text.find("[HotKey1]"), std::string::npos);
  EXPECT_EQ(kelvo.Stop(), 0);
}

TEST(Resident, TakenCombinationIsLoggedWhileTheOthersAreRegistered) {
  constexpr int kProbeId = 0xB001;
  ASSERT_TRUE(RegisterHotKey(nullptr, kProbeId, MOD_CONTROL | MOD_ALT, VK_F9));
  KelvoSession kelvo;
  kelvo.WriteIni(
      CrLf("[General]\nVersion=169\n[HotKey1]\nKey=Ctrl+Alt+F9\n"
           "[HotKey2]\nKey=Ctrl+Alt+F10\n[HotKey4]\nKey=Win+Shift+F11\n"));
  ASSERT_TRUE(kelvo.Start());
  ASSERT_TRUE(WaitFor([&] { return kelvo.ReadIni().find("[ErrorLog]") != std::string::npos; }));
  const std::string text = Utf8(kelvo.ReadIniText());
  const std::string logLine = "[ErrorLog]\r\nHotKey1=" + Utf8(u"登録失敗 ");
  EXPECT_NE(text.find(logLine), std::string::npos) << text;
  EXPECT_EQ(text.find("HotKey2=" + Utf8(u"登録失敗")), std::string::npos);
  EXPECT_FALSE(CanRegister(MOD_CONTROL | MOD_ALT, VK_F10));
  EXPECT_FALSE(CanRegister(MOD_WIN | MOD_SHIFT, VK_F11));
  EXPECT_EQ(kelvo.Stop(), 0);
  UnregisterHotKey(nullptr, kProbeId);
  EXPECT_TRUE(CanRegister(MOD_CONTROL | MOD_ALT, VK_F10));
  EXPECT_TRUE(CanRegister(MOD_WIN | MOD_SHIFT, VK_F11));
}

TEST(Resident, SecondStartHandsOverAndEnds) {
  KelvoSession kelvo;
  ASSERT_TRUE(kelvo.Start());
  EXPECT_EQ(kelvo.StartAgain(L""), kHandedOver);
  EXPECT_EQ(kelvo.StartAgain(L"anything at all"), kHandedOver);
  EXPECT_TRUE(kelvo.Running());
  EXPECT_EQ(kelvo.Stop(), 0);
}

TEST(Resident, ReloadOnlyForTheExactDashR) {
  KelvoSession kelvo;
  auto settingsWithKey = [](const char* key) {
    return CrLf(std::string("[General]\nVersion=169\n[HotKey1]\nKey=") + key + "\n");
  };
  kelvo.WriteIni(settingsWithKey("Ctrl+Alt+F5"));
  ASSERT_TRUE(kelvo.Start());
  EXPECT_FALSE(CanRegister(MOD_CONTROL | MOD_ALT, VK_F5));

  kelvo.WriteIni(settingsWithKey("Ctrl+Alt+F6"));
  for (const wchar_t* ignored : {L"-r", L"/R", L"\"-R \"", L"-R -R"}) {
    EXPECT_EQ(kelvo.StartAgain(ignored), kHandedOver);
    EXPECT_FALSE(CanRegister(MOD_CONTROL | MOD_ALT, VK_F5)) << ignored;
    EXPECT_TRUE(CanRegister(MOD_CONTROL | MOD_ALT, VK_F6)) << ignored;
  }
  // The second start returns only after the reload is done, so no waiting is needed here.
  EXPECT_EQ(kelvo.StartAgain(L"-R"), kHandedOver);
  EXPECT_TRUE(CanRegister(MOD_CONTROL | MOD_ALT, VK_F5));
  EXPECT_FALSE(CanRegister(MOD_CONTROL | MOD_ALT, VK_F6));
  EXPECT_EQ(kelvo.Stop(), 0);
}

TEST(Resident, TrayIconIsShownAndAddedAgainAfterExplorerRestarts) {
  KelvoSession kelvo;
  ASSERT_TRUE(kelvo.Start());
  ASSERT_TRUE(TrayIconExists(kelvo.MainWindow()));
  // Explorer forgets every icon when it restarts, then broadcasts "TaskbarCreated".
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof(data);
  data.hWnd = kelvo.MainWindow();
  data.uID = 1;
  ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &data));
  ASSERT_FALSE(TrayIconExists(kelvo.MainWindow()));
  SendMessageW(kelvo.MainWindow(), RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  EXPECT_TRUE(TrayIconExists(kelvo.MainWindow()));
  EXPECT_EQ(kelvo.Stop(), 0);
}

TEST(Resident, NoTrayIconHidesTheIconAtTheNextReload) {
  KelvoSession kelvo;
  kelvo.WriteIni(CrLf("[General]\nVersion=169\nNoTrayIcon=0\n"));
  ASSERT_TRUE(kelvo.Start());
  ASSERT_TRUE(TrayIconExists(kelvo.MainWindow()));
  kelvo.WriteIni(CrLf("[General]\nVersion=169\nNoTrayIcon=1\n"));
  EXPECT_EQ(kelvo.StartAgain(L"-R"), kHandedOver);
  EXPECT_FALSE(TrayIconExists(kelvo.MainWindow()));
  EXPECT_EQ(kelvo.Stop(), 0);

  KelvoSession hidden;
  hidden.WriteIni(CrLf("[General]\nNoTrayIcon=1\n"));
  ASSERT_TRUE(hidden.Start(false));
  // Without a version number the file is written at the end of the load.
  EXPECT_TRUE(WaitFor([&] { return hidden.ReadIni().find("Version=169") != std::string::npos; }));
  EXPECT_FALSE(TrayIconExists(hidden.MainWindow()));
}

TEST(Resident, Utf8SettingsSurviveAReloadThatWritesThem) {
  KelvoSession kelvo;
  const std::string description = Utf8(u"日本語とé€🎹");
  kelvo.WriteIni(CrLf(
      "[General]\nVersion=169\n[HotKey1]\nKey=Ctrl+Alt+F7\nDescription=" + description + "\n"));
  ASSERT_TRUE(kelvo.Start());
  // A file without its version number is written back at the next load.
  kelvo.WriteIni(CrLf("[General]\n[HotKey1]\nKey=Ctrl+Alt+F7\nDescription=" + description + "\n"));
  EXPECT_EQ(kelvo.StartAgain(L"-R"), kHandedOver);
  // Still UTF-8 without a byte-order mark, every character kept.
  EXPECT_EQ(kelvo.ReadIni(),
            CrLf("[General]\nVersion=169\nWmPasteClass=EDIT;TEDIT\n\n[HotKey1]\n"
                 "Key=Ctrl+Alt+F7\nDescription=" +
                 description +
                 "\n\n[ClipboardList]\nTransparent=255\nExceptWord1=\nMaxLineCnt=0\n"
                 "TextDataBtn1=\nTextDataBtn2=\nTextDataBtn3=\nTextDataBtn4=\n"
                 "TextDataBtn5=\nTextDataBtn6=\nTextDataBtn7=\nTextDataBtn8=\n\n"));
  EXPECT_EQ(kelvo.Stop(), 0);
}
