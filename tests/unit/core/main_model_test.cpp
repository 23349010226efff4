#include "core/main_model.h"

#include <gtest/gtest.h>

#include "support/fake_model.h"

namespace {

constexpr char16_t kIni[] = u"C:\\Tools\\Kelvo.INI";

class RecordingHooks : public NullAppShell {
 public:
  void SetBusyCursor(bool busy) override { calls += busy ? "busy " : "normal "; }
  void ApplyCmdLauncherBorder(bool noTitleBar) override {
    calls += noTitleBar ? "border:none " : "border:tool ";
  }
  void LoadClipSettings() override { calls += "clip "; }
  void BuildLauncherMenu() override { calls += "menu "; }
  std::string calls;
};

class MainModelTest : public ::testing::Test {
 protected:
  void WriteSettings(const std::string& text) { fake.files.files[kIni] = CrLf(text); }
  std::string Settings() { return fake.Settings(); }
  MainModel& Load() {
    fake.model.LoadSettings(hooks, fake.keeper);
    return fake.model;
  }
  std::vector<int> Ids() const {
    std::vector<int> ids;
    for (const auto& rec : fake.model.HKeyList) ids.push_back(rec->Id);
    return ids;
  }

  FakeModel fake;
  MemoryFileSystem& files = fake.files;
  FakeClock& clock = fake.clock;
  FakeHotKeyRegistrar& registrar = fake.registrar;
  FakeTrayIcon& trayIcon = fake.trayIcon;
  RecordingHooks hooks;
  MainModel* model = &fake.model;
};

}  // namespace

TEST_F(MainModelTest, TableHoldsHotKeysThenKeywordsWithTheirIdentifiers) {
  WriteSettings(
      "[General]\nVersion=169\n[HotKey1]\nKey=Ctrl+A\n[HotKey3]\nKey=Ctrl+B\n"
      "[HotKey7]\nKey=\n[HotKey8]\nKey=Ctrl+C\n[HotKey101]\nKey=Ctrl+D\n"
      "[CmdKwd2]\nKey=mail\nIcon=m.ico\n[CmdKwd251]\nKey=never\n");
  MainModel& m = Load();
  EXPECT_EQ(Ids(), (std::vector<int>{101, 103, 108, 1002}));
  EXPECT_EQ(m.FirstKwdIndex, 3);
  EXPECT_EQ(m.HKeyList[3]->Keyword, u"mail");
  EXPECT_EQ(m.HKeyList[3]->Icon, u"m.ico");
  EXPECT_EQ(m.HKeyList[3]->Registered, 1);
  EXPECT_EQ(registrar.registeredIds(), (std::set<int>{101, 103, 108}));
}

TEST_F(MainModelTest, NoHotKeysPutsTheKeywordsFirst) {
  WriteSettings("[General]\nVersion=169\n[CmdKwd1]\nKey=a\n[CmdKwd5]\nKey=b\n");
  EXPECT_EQ(Load().FirstKwdIndex, 0);
  EXPECT_EQ(Ids(), (std::vector<int>{1001, 1005}));
}

TEST_F(MainModelTest, ATakenCombinationIsLoggedAndLeftOut) {
  registrar.MarkTaken(kModControl | kModAlt, 0x70);
  WriteSettings("[General]\nVersion=169\n[HotKey2]\nKey=Ctrl+Alt+F1\n[HotKey3]\nKey=Alt+F2\n");
  Load();
  EXPECT_EQ(Ids(), (std::vector<int>{103}));
  EXPECT_EQ(model->IniFile->ReadString(u"ErrorLog", u"HotKey2", u""),
            u"登録失敗 2015/03/05 9:04:07");
  // A later load rewrites the line with the new time; nothing else is added.
  clock.now.hour = 10;
  Load();
  EXPECT_EQ(model->IniFile->ReadString(u"ErrorLog", u"HotKey2", u""),
            u"登録失敗 2015/03/05 10:04:07");
  EXPECT_EQ(model->IniFile->ReadString(u"ErrorLog", u"HotKey3", u"none"), u"none");
}

TEST_F(MainModelTest, AKeyTheLayoutCannotNameIsLoggedNotRegistered) {
  WriteSettings(
      "[General]\nVersion=169\n[HotKey1]\nKey=Ctrl+\n[HotKey2]\nKey=Ctrl+Alt+Ä\n"
      "[HotKey3]\nKey=Alt+F2\n");
  Load();
  EXPECT_EQ(Ids(), (std::vector<int>{103}));
  EXPECT_EQ(registrar.registrations().size(), 1u) << "nothing is registered without a key";
  EXPECT_EQ(model->IniFile->ReadString(u"ErrorLog", u"HotKey1", u""),
            u"登録失敗 2015/03/05 9:04:07");
  EXPECT_NE(model->IniFile->ReadString(u"ErrorLog", u"HotKey2", u""), u"");
}

TEST_F(MainModelTest, ReloadingTwiceLeavesOneRegistrationPerHotKey) {
  WriteSettings("[General]\nVersion=169\n[HotKey1]\nKey=Ctrl+A\n[HotKey2]\nKey=Win+B\n");
  Load();
  Load();
  Load();
  EXPECT_EQ(registrar.registeredIds(), (std::set<int>{101, 102}));
  EXPECT_EQ(registrar.unregisterCount(), 4);
  EXPECT_EQ(Ids(), (std::vector<int>{101, 102}));
  model->ClearHotKeys();
  EXPECT_TRUE(registrar.registeredIds().empty());
}

TEST_F(MainModelTest, ACommandIsUpperCasedAndKeepsTheActionsUnread) {
  WriteSettings(
      "[General]\nVersion=169\nKeyWait=20\n[CmdKwd1]\nKey=r\nCommand=recycle\nExecute1=x.exe\n"
      "ZrMacro=m\n[HotKey1]\nKey=Ctrl+A\nExeParam1=-p\nExeDir1=C:\\\nActivateWndClass2=Notepad\n"
      "Execute3=app.exe\nExeParam3=-q\nSendKey10=A,/A\nCloseWndTitleM10=/x/\nZrMacro=mac\n"
      "Description=d\nSound=s.wav\nWallPaper=none\n");
  Load();
  const HKeyRec& hot = *model->HKeyList[0];
  EXPECT_EQ(hot.Delay, 20);
  EXPECT_EQ(hot.ExeParam[0], u"");  // read only with an Execute in the same slot
  EXPECT_EQ(hot.ExeDir[0], u"");
  EXPECT_EQ(hot.ActivateWndClass[1], u"Notepad");
  EXPECT_EQ(hot.Execute[2], u"app.exe");
  EXPECT_EQ(hot.ExeParam[2], u"-q");
  EXPECT_EQ(hot.SendKey[9], u"A,/A");
  EXPECT_EQ(hot.CloseWndTitleM[9], u"/x/");
  EXPECT_EQ(hot.ZrMacro, u"mac");
  EXPECT_EQ(hot.Description, u"d");
  EXPECT_EQ(hot.Sound, u"s.wav");
  EXPECT_EQ(hot.WallPaper, u"none");
  const HKeyRec& kwd = *model->HKeyList[1];
  EXPECT_EQ(kwd.Command(), u"RECYCLE");
  EXPECT_EQ(kwd.Action(), HotKeyAction{InternalAction{KelvoCommand::kReload}});
  EXPECT_EQ(kwd.Execute[0], u"");
  EXPECT_EQ(kwd.ZrMacro, u"");
}

TEST_F(MainModelTest, RecordsAreFoundByIdentifierAndABlankCommandKeepsTheActions) {
  WriteSettings(
      "[General]\nVersion=169\n[HotKey2]\nKey=Ctrl+B\nCommand= \nExecute1=x.exe\n"
      "[CmdKwd3]\nKey=k\nCommand=exit\n");
  Load();
  ASSERT_NE(model->Record(102), nullptr);
  EXPECT_EQ(model->Record(102)->Execute[0], u"x.exe");
  EXPECT_EQ(model->Record(102)->Action(), HotKeyAction{SlotAction{}});
  ASSERT_NE(model->Record(1003), nullptr);
  EXPECT_EQ(model->Record(1003)->Keyword, u"k");
  EXPECT_EQ(model->Record(101), nullptr);
  model->ClearHotKeys();
  EXPECT_EQ(model->Record(102), nullptr);
}

TEST_F(MainModelTest, EditorOptions) {
  WriteSettings("[General]\nVersion=169\nEditor=D:\\zr\\ZrW32.exe\nZrEditor=other.exe\n");
  Load();
  EXPECT_EQ(model->Editor, u"D:\\zr\\ZrW32.exe");
  EXPECT_EQ(model->ZrEditorPath, u"D:\\zr\\ZrW32.exe");
  EXPECT_EQ(model->WallBmpName, u"C:\\Tools\\KelvoWall.BMP");
  EXPECT_EQ(model->WmPasteClass, u"EDIT;TEDIT");

  WriteSettings(
      "[General]\nVersion=169\nZrEditor=zrload.exe\nWallBmpName=w.bmp\n"
      "WmPasteClass=Edit\n");
  Load();
  EXPECT_EQ(model->Editor, u"notepad.exe");
  EXPECT_EQ(model->ZrEditorPath, u"zrload.exe");
  EXPECT_EQ(model->WallBmpName, u"w.bmp");  // used as written, never made relative
  EXPECT_EQ(model->WmPasteClass, u"Edit");
}

TEST_F(MainModelTest, LaunchDirShortcutsBecomeKeywordEntries) {
  files.directories = {u"C:\\Tools\\links", u"C:\\Tools\\links\\sub"};
  files.files[u"C:\\Tools\\links\\b.lnk"] = "";
  files.files[u"C:\\Tools\\links\\A.LNK"] = "";
  files.files[u"C:\\Tools\\links\\note.txt"] = "";
  files.files[u"C:\\Tools\\links\\sub\\c.d.lnk"] = "";
  WriteSettings("[General]\nVersion=169\n[CmdKwd1]\nKey=k\n[CmdLauncher]\nLaunchDir=links\\\n");
  Load();
  ASSERT_TRUE(model->TakeLaunchDirEntries(true));
  EXPECT_EQ(Ids(), (std::vector<int>{1001, 1251, 1252, 1253}));
  EXPECT_EQ(model->HKeyList[1]->Keyword, u"A");
  EXPECT_EQ(model->HKeyList[1]->Execute[0], u"C:\\Tools\\links\\A.LNK");
  EXPECT_EQ(model->HKeyList[2]->Keyword, u"b");
  EXPECT_EQ(model->HKeyList[3]->Keyword, u"c.d");
  EXPECT_EQ(model->HKeyList[3]->Delay, 50);
  EXPECT_TRUE(registrar.registeredIds().empty());
}

// The folder is listed after the load, on a thread of its own: its entries join the table when
// taken, once, and a reload's listing replaces the one before, which never adds its entries.
TEST_F(MainModelTest, LaunchDirEntriesJoinTheTableOnceTakenAndOnlyFromTheLatestLoad) {
  files.directories = {u"C:\\Tools\\links"};
  files.files[u"C:\\Tools\\links\\a.lnk"] = "";
  WriteSettings("[General]\nVersion=169\n[CmdKwd1]\nKey=k\n[CmdLauncher]\nLaunchDir=links\n");
  Load();
  EXPECT_EQ(Ids(), (std::vector<int>{1001}));
  EXPECT_TRUE(model->TakeLaunchDirEntries(true));
  EXPECT_FALSE(model->TakeLaunchDirEntries(true));
  EXPECT_EQ(Ids(), (std::vector<int>{1001, 1251}));

  files.files[u"C:\\Tools\\links\\b.lnk"] = "";
  Load();
  Load();  // the first reload's listing is dropped
  EXPECT_EQ(Ids(), (std::vector<int>{1001}));
  EXPECT_TRUE(model->TakeLaunchDirEntries(false) || model->TakeLaunchDirEntries(true));
  EXPECT_EQ(Ids(), (std::vector<int>{1001, 1251, 1252}));
  EXPECT_EQ(model->HKeyList[2]->Keyword, u"b");

  WriteSettings("[General]\nVersion=169\n[CmdLauncher]\nLaunchDir=\n");
  Load();
  EXPECT_FALSE(model->TakeLaunchDirEntries(true));  // no folder, nothing listed
}

TEST_F(MainModelTest, ARecordHoldsTextsOnlyForTheActionKeysItHas) {
  // Thousands of shortcut entries must not each carry the texts of every action key.
  files.directories = {u"C:\\Tools\\links"};
  files.files[u"C:\\Tools\\links\\a.lnk"] = "";
  WriteSettings(
      "[General]\nVersion=169\n[HotKey1]\nKey=Ctrl+Alt+N\nExeParam1=-x\nSendKey2=k\n"
      "[CmdLauncher]\nLaunchDir=links\n");
  Load();
  model->TakeLaunchDirEntries(true);
  ASSERT_EQ(model->HKeyList.size(), 2u);
  const HKeyRec& hotkey = *model->HKeyList[0];
  const HKeyRec& shortcut = *model->HKeyList[1];
  EXPECT_TRUE(hotkey.SendKey.Used());
  EXPECT_EQ(hotkey.ExeParam[0], u"");  // no program: its parameters are not kept
  for (const HKeyRec* rec : {&hotkey, &shortcut}) {
    for (const SlotTexts* unused :
         {&rec->ActivateWndClass, &rec->ActivateWndTitle, &rec->ActivateWndTitleR,
          &rec->ActivateWndTitleM, &rec->ExeDir, &rec->MinimizeWndClass, &rec->MinimizeWndTitle,
          &rec->MinimizeWndTitleR, &rec->MinimizeWndTitleM, &rec->CloseWndClass,
          &rec->CloseWndTitle, &rec->CloseWndTitleR, &rec->CloseWndTitleM}) {
      EXPECT_FALSE(unused->Used()) << rec->Id;
    }
  }
  EXPECT_FALSE(hotkey.Execute.Used());
  EXPECT_TRUE(shortcut.Execute.Used());
  EXPECT_FALSE(shortcut.SendKey.Used());
}

TEST_F(MainModelTest, FirstStartWritesTheFileOnceAndThenOnlyOnChange) {
  Load();
  EXPECT_EQ(files.writeCount, 1);
  EXPECT_EQ(model->IniFile->ReadInteger(u"General", u"Version", 0), 169);
  EXPECT_EQ(Settings().rfind("[General]\r\nVersion=169\r\nNoTrayIcon=0\r\n", 0), 0u);
  Load();
  EXPECT_EQ(files.writeCount, 1);
}

TEST_F(MainModelTest, AnUnreadableFileIsNeitherReplacedNorUpgraded) {
  const std::string original = "[General]\nVersion=100\n[HotKey1]\nKey=Ctrl+Alt+N\n";
  WriteSettings(original);
  files.unreadable.insert(kIni);
  EXPECT_EQ(fake.model.LoadSettings(hooks, fake.keeper), LoadResult::kUnreadable);
  EXPECT_TRUE(model->HKeyList.empty()) << "a first load runs with no hotkeys";
  EXPECT_TRUE(trayIcon.shown) << "the tray menu is the way to reload";
  model->IniFile->UpdateFile();
  EXPECT_EQ(Settings(), CrLf(original));

  files.unreadable.clear();
  EXPECT_EQ(fake.model.LoadSettings(hooks, fake.keeper), LoadResult::kLoaded);
  EXPECT_EQ(registrar.registeredIds(), (std::set<int>{101}));

  // A reload that cannot read the file keeps the running configuration.
  const std::string upgraded = Settings();
  files.unreadable.insert(kIni);
  EXPECT_EQ(fake.model.LoadSettings(hooks, fake.keeper), LoadResult::kUnreadable);
  EXPECT_EQ(registrar.registeredIds(), (std::set<int>{101}));
  EXPECT_EQ(model->HKeyList.size(), 1u);
  EXPECT_EQ(Settings(), upgraded);
}

// The reproduction of a drive that is gone for a moment: the reload keeps the configuration, and
// once the file is back a window's hide writes only its own keys into it.
TEST_F(MainModelTest, AFileGoneAtAReloadIsNeverReplacedByTheFirstStartContents) {
  const std::string user =
      "[General]\nVersion=169\nEditor=notepad.exe\n[HotKey1]\nKey=Ctrl+Alt+V\n"
      "[CmdKwd1]\nKey=calc\n[ClipboardList]\nEnable=1\nSaveHistory=1\nExceptWord1=/^pass/\n";
  WriteSettings(user);
  Load();
  const std::string loaded = Settings();
  files.files.erase(kIni);
  files.failAllWrites = true;
  EXPECT_EQ(fake.model.LoadSettings(hooks, fake.keeper), LoadResult::kVanished);
  EXPECT_EQ(registrar.registeredIds(), (std::set<int>{101}));
  EXPECT_EQ(model->HKeyList.size(), 2u);
  EXPECT_EQ(model->Editor, u"notepad.exe");

  files.failAllWrites = false;
  files.files[kIni] = loaded;
  model->IniFile->WriteInteger(u"ClipboardList", u"PosX", 10);
  ASSERT_TRUE(model->IniFile->UpdateFile());
  const std::string after = Settings();
  for (const char* kept :
       {"Editor=notepad.exe\r\n", "[HotKey1]\r\nKey=Ctrl+Alt+V\r\n", "[CmdKwd1]\r\nKey=calc\r\n",
        "Enable=1\r\n", "SaveHistory=1\r\n", "ExceptWord1=/^pass/\r\n", "PosX=10\r\n"}) {
    EXPECT_NE(after.find(kept), std::string::npos) << kept << " in\n" << after;
  }
}

TEST_F(MainModelTest, UpgradesDependOnTheOldVersion) {
  WriteSettings("[General]\nVersion=164\nWmPasteClass=Mine\n");
  Load();
  EXPECT_EQ(model->WmPasteClass, u"EDIT;TEDIT");
  EXPECT_EQ(model->IniFile->ReadInteger(u"General", u"Version", 0), 169);
  EXPECT_EQ(model->IniFile->ReadString(u"ClipboardList", u"TextDataBtn1", u"absent"), u"absent");

  WriteSettings("[General]\nVersion=165\nWmPasteClass=Mine\n");
  Load();
  EXPECT_EQ(model->WmPasteClass, u"Mine");

  WriteSettings("[ClipboardList]\nTransparent=100\n");
  Load();
  EXPECT_EQ(model->IniFile->ReadInteger(u"ClipboardList", u"Transparent", 0), 255);
  EXPECT_EQ(Settings().find("TextDataBtn8=\r\n") != std::string::npos, true);
}

TEST_F(MainModelTest, LoadStepsReachTheOtherWindowsAndTheTray) {
  WriteSettings("[General]\nVersion=169\nNoTrayIcon=1\n[CmdLauncher]\nNoTitleBar=1\nFontSize=14\n");
  Load();
  EXPECT_EQ(hooks.calls, "busy border:none clip menu normal ");
  EXPECT_FALSE(trayIcon.shown);
  EXPECT_TRUE(model->NoTitleBar);
  EXPECT_EQ(model->CmdLauncherFont.size, 14);
  EXPECT_EQ(model->CmdLauncherFont.name, u"Base");
}

TEST_F(MainModelTest, ActionKeysFollowTheReadingRules) {
  // Key names ignore letter case, the first line of a key answers, one pair of quotes is removed
  // and an empty value stays empty.
  WriteSettings(
      "[General]\nVersion=169\n[HotKey1]\nKey=Ctrl+A\nexecute1=\" a b \"\nEXECUTE1=second\n"
      ";SendKey1=comment\nSendKey1=\nExeParam1=-x\nsendkey2=\"\"\nZRMACRO=m\nExecute11=never\n");
  Load();
  const HKeyRec& rec = *model->HKeyList[0];
  EXPECT_EQ(rec.Execute[0], u" a b ");
  EXPECT_EQ(rec.ExeParam[0], u"-x");
  EXPECT_EQ(rec.SendKey[0], u"");
  EXPECT_EQ(rec.SendKey[1], u"");
  EXPECT_EQ(rec.ZrMacro, u"m");
  for (std::size_t i = 0; i < kActionSlots; ++i) EXPECT_NE(rec.Execute[i], u"never");
}

TEST_F(MainModelTest, PopupFileIsMadeAbsoluteWhetherOrNotItExists) {
  WriteSettings("[General]\nVersion=169\n[PopupMenu]\nPopupFile=menu\\popup.txt\n");
  EXPECT_EQ(Load().PopupFile, u"C:\\Tools\\menu\\popup.txt");
  WriteSettings("[General]\nVersion=169\n[PopupMenu]\nPopupFile=D:\\popup.txt\n");
  EXPECT_EQ(Load().PopupFile, u"D:\\popup.txt");
  WriteSettings("[General]\nVersion=169\n");
  EXPECT_EQ(Load().PopupFile, u"");
}

// The start registers the hotkeys and shows the icon before the windows' part: the user's keys
// work while the clipboard window, the menus and the keyword folder are still being read, and the
// file is written once the whole load is done.
TEST_F(MainModelTest, AStartRegistersTheHotKeysBeforeTheWindowsPart) {
  WriteSettings("[HotKey1]\nKey=Ctrl+Alt+N\n[CmdKwd1]\nKey=mail\n[CmdLauncher]\nNoTitleBar=1\n");
  EXPECT_EQ(model->LoadHotKeys(hooks, fake.keeper), LoadResult::kLoaded);
  EXPECT_EQ(registrar.registeredIds(), (std::set<int>{101}));
  EXPECT_TRUE(trayIcon.shown);
  EXPECT_EQ(hooks.calls, "busy normal ");
  EXPECT_EQ(files.writeCount, 0) << "the version is brought up to date with the second half";

  model->LoadWindowSettings(hooks);
  EXPECT_EQ(hooks.calls, "busy normal busy border:none clip menu normal ");
  EXPECT_TRUE(model->NoTitleBar);
  EXPECT_EQ(files.writeCount, 1);
  EXPECT_NE(Settings().find("Version=169"), std::string::npos);
}
