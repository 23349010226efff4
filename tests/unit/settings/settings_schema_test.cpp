#include "settings/settings_schema.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>

#include "clip/model/canned_page.h"
#include "clip/model/clip_capture.h"
#include "clip/model/history_view.h"
#include "cmd_launcher/model/cmd_launcher_model.h"
#include "popup_menu/model/launcher_menu_model.h"
#include "support/fake_model.h"

namespace {

using ReadKeys = std::set<std::pair<std::u16string, std::u16string>>;

// A settings file with a value for every kind of entry, so that every reader goes everywhere.
constexpr char kEverything[] =
    "[General]\nVersion=169\nEditor=zrw32.exe\n"
    "[HotKey1]\nKey=Ctrl+A\nSound=a.wav\nExecute1=x.exe\nExeParam1=-a\nExeDir1=C:\\\n"
    "ActivateWndClass1=A\nActivateWndTitle1=B\nActivateWndTitleR1=C\nActivateWndTitleM1=D\n"
    "SendKey10=A,/A\nMinimizeWndClass2=E\nMinimizeWndTitle2=F\nMinimizeWndTitleR2=G\n"
    "MinimizeWndTitleM2=H\nCloseWndClass3=I\nCloseWndTitle3=J\nCloseWndTitleR3=K\n"
    "CloseWndTitleM3=L\nZrMacro=m\nUnknownKey=1\n"
    "[HotKey2]\nKey=Ctrl+B\nCommand=RECYCLE\n"
    "[CmdKwd1]\nKey=k\nIcon=i.ico\n"
    "[CmdLauncher]\nLaunchDir=L\n"
    "[ClipboardList]\nExceptWord1=a\nExceptWord2=/b/\nTextDataBtn1=t1.txt\n"
    "[FindHistory]\nItem1=x\nItem2=y\n";

// Every key the loaders read, by the names they asked for: the main load (a reload, after the
// first one made the file), and each window's own part of it.
ReadKeys KeysTheLoadersRead() {
  FakeModel fake;
  MainModel& model = fake.Load(kEverything);
  ReadKeys read;
  model.IniFile->OnRead = [&](std::u16string_view section, std::u16string_view key) {
    read.emplace(std::u16string(section), std::u16string(key));
  };
  model.LoadSettings(fake.hooks, fake.keeper);
  const UsrIniFile& ini = *model.IniFile;
  ReadCmdLauncherOptions(ini);
  LoadLauncherState(ini, model.ExeDir, model.PopupFile, FontDescription{}, fake.files,
                    SystemCodePage(), fake.locale);
  ReadCaptureSettings(ini, fake.files, model.ExeDir);
  THistoryList history;
  HistoryView(history, fake.locale).LoadSettings(ini);
  CannedTextPage(fake.files, SystemCodePage(), fake.clock, fake.locale)
      .LoadSettings(ini, model.ExeDir);
  std::vector<std::u16string> items;
  ini.ReadItemList(items, u"FindHistory", 40);
  return read;
}

std::string Name(const std::pair<std::u16string, std::u16string>& key) {
  std::string out;
  for (char16_t c : key.first + u"." + key.second) out += static_cast<char>(c < 128 ? c : '?');
  return out;
}

}  // namespace

TEST(SettingsSchemaTest, EveryKeyTheLoadersReadIsInTheTable) {
  const ReadKeys read = KeysTheLoadersRead();
  ASSERT_GT(read.size(), 80u) << "the loaders were not watched";
  for (const auto& key : read) {
    const auto section = FindKnownSection(key.first);
    ASSERT_TRUE(section) << Name(key);
    EXPECT_NE(FindSettingKey(*section, key.second), nullptr) << Name(key);
  }
  // Keys of the file that no loader asks for are not counted as read.
  EXPECT_EQ(read.count({u"HotKey1", u"UnknownKey"}), 0u);
}

TEST(SettingsSchemaTest, NumberedSectionsAndKeysStopWhereTheLoaderStops) {
  ASSERT_TRUE(FindKnownSection(u"hotkey7"));
  EXPECT_TRUE(FindKnownSection(u"hotkey7")->name == u"HotKey#");
  ASSERT_TRUE(FindKnownSection(u"HotKey100"));
  EXPECT_EQ(FindKnownSection(u"HotKey100")->number, 100);
  EXPECT_FALSE(FindKnownSection(u"HotKey101"));
  EXPECT_FALSE(FindKnownSection(u"HotKey0"));
  EXPECT_FALSE(FindKnownSection(u"HotKey07"));
  EXPECT_TRUE(FindKnownSection(u"CmdKwd250"));
  EXPECT_FALSE(FindKnownSection(u"CmdKwd251"));
  EXPECT_FALSE(FindKnownSection(u"HotKeys"));
  ASSERT_TRUE(FindKnownSection(u"gENERAL"));
  EXPECT_TRUE(FindKnownSection(u"gENERAL")->name == u"General");

  const KnownSection hotKey{u"HotKey#", 1};
  EXPECT_NE(FindSettingKey(hotKey, u"EXECUTE10"), nullptr);
  EXPECT_EQ(FindSettingKey(hotKey, u"Execute11"), nullptr);
  EXPECT_EQ(FindSettingKey(hotKey, u"Execute"), nullptr);
  EXPECT_EQ(FindSettingKey(hotKey, u"Icon"), nullptr) << "only keywords have icons";
  EXPECT_NE(FindSettingKey({u"CmdKwd#", 3}, u"Icon"), nullptr);
  const KnownSection clip{u"ClipboardList", 0};
  EXPECT_NE(FindSettingKey(clip, u"ExceptWord900"), nullptr);
  EXPECT_EQ(FindSettingKey(clip, u"TextDataBtn9"), nullptr);
  EXPECT_NE(FindSettingKey({u"ErrorLog", 0}, u"HotKey3"), nullptr) << "any key";
}

TEST(SettingsSchemaTest, DefaultsAreThoseTheWindowsUse) {
  static_assert(DefaultInteger(u"CmdLauncher", u"ExeDelay") == 250);
  static_assert(DefaultColour(u"PopupMenu", u"SelBgColorL") == 0xFF00000Du);
  static_assert(DefaultBool(u"CmdLauncher", u"Dropdown"));
  EXPECT_TRUE(DefaultText(u"ClipboardList", u"TextDataFile") == u"TEXTDATA.txt");
  const CmdLauncherOptions fromEmptyFile = [] {
    FakeModel fake;
    return ReadCmdLauncherOptions(*fake.Load("[General]\nVersion=169\n").IniFile);
  }();
  EXPECT_EQ(fromEmptyFile.ListSize, 10);
  EXPECT_EQ(fromEmptyFile.BgColorC, 0xFF000005u);
  EXPECT_EQ(fromEmptyFile.ImeMode, CmdImeMode::kAuto);
}
