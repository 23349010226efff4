#include "popup_menu/model/launcher_menu_model.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "base/text_codec.h"
#include "settings/settings_store.h"
#include "support/fake_locale.h"
#include "support/memory_file_system.h"
#include "support/system_code_page.h"
#include "util/text_helpers.h"

namespace {

// One line per item, indented by depth: caption (TAB as "→", U+0002 as "^"), tag, "|" for a
// column break, L or P for the click.
void Render(const PopupItem& level, int depth, std::vector<std::string>& out) {
  for (const auto& item : level.Children) {
    std::string caption = Utf16ToUtf8(item->Caption);
    std::string shown;
    for (char c : caption) {
      if (c == '\t') {
        shown += "→";
      } else if (c == '\x02') {
        shown += "^";
      } else {
        shown += c;
      }
    }
    char tag[16];
    std::snprintf(tag, sizeof tag, " %x", item->Tag);
    std::string line = std::string(depth * 2, ' ') + shown + tag;
    if (item->Break) line += " |";
    if (item->Click == PopupClick::kLaunch) line += " L";
    if (item->Click == PopupClick::kPaste) line += " P";
    out.push_back(line);
    EXPECT_EQ(item->Parent, &level);
    Render(*item, depth + 1, out);
  }
}

std::vector<std::string> Render(const PopupLauncher& menu) {
  std::vector<std::string> out;
  Render(*menu.root, 0, out);
  return out;
}

using Lines = std::vector<std::string>;

class LauncherMenuTest : public ::testing::Test {
 protected:
  PopupLauncher Definition(const std::string& utf8) {
    files.files[u"C:\\K\\menu.txt"] = utf8;
    LauncherSources sources;
    sources.PopupDir = tree;
    sources.Sort = true;
    sources.PopupFile = u"C:\\K\\menu.txt";
    return BuildLauncherMenu(sources, files, SystemCodePage(), locale);
  }
  void AddShortcut(const std::u16string& path) {
    files.files[path] = "";
    for (std::size_t sep = path.find(u'\\', 3); sep != std::u16string::npos;
         sep = path.find(u'\\', sep + 1)) {
      files.directories.insert(path.substr(0, sep));
    }
  }

  MemoryFileSystem files;
  FakeLocale locale;
  std::u16string tree;
};

}  // namespace

TEST(EntryCaptionTest, TextPartHidesAmpersandsAndAnEmptyTextLeavesTheLabel) {
  EXPECT_EQ(EntryCaption(u"&Thanks\tThank you & goodbye"), u"&Thanks\tThank you \u0002 goodbye");
  EXPECT_EQ(EntryCaption(u"Label\t"), u"Label");
  EXPECT_EQ(EntryCaption(u"Label"), u"Label");
  EXPECT_EQ(EntryCaption(u"A\tb\tc&d"), u"A\tb\tc\u0002d");  // split at the first TAB only
  EXPECT_EQ(CaptionLabel(u"A\tb"), u"A");
  EXPECT_EQ(std::u16string(TrimControls(u"\t x \r\x01")), u"x");
}

TEST_F(LauncherMenuTest, SectionsSubmenusSeparatorsAndColumns) {
  const auto menu = Definition(
      "; comment\n"
      "Editor\tnotepad.exe\n"
      "\n"
      "&Calc\tcalc.exe\n"
      "Docs\n"
      "--\n"
      ">Greetings\n"
      "Thanks\tThank you & goodbye\n"
      "<\n"
      "|\n"
      "#+\n"
      "-\n"
      "#-\n"
      "Entry \t   \n");
  EXPECT_EQ(Render(menu), (Lines{"Editor→notepad.exe 101 L", "&Calc→calc.exe 101 L", "Docs 101 L",
                                 "- 205", "Greetings 104", "  Thanks→Thank you ^ goodbye 104 P",
                                 "- 1004 |", "- 204", "- 2004", "Entry 104 P"}));
}

TEST_F(LauncherMenuTest, WithoutBoundaryEveryEntryPastes) {
  // "--" with blanks around it is no boundary, and is ignored as a line.
  EXPECT_EQ(Render(Definition("A\n -- \nB\tb\n")), (Lines{"A 104 P", "B→b 104 P"}));
}

TEST_F(LauncherMenuTest, BoundarySeparatorRules) {
  // First line: nothing before it counts as "not a column break"; the level is still empty.
  EXPECT_EQ(Render(Definition("--\nA\n")), (Lines{"A 104 P"}));
  // Last line: no separator, nothing follows.
  EXPECT_EQ(Render(Definition("A\n--\n")), (Lines{"A 101 L"}));
  // A column break right before or after: no separator, the break still applies.
  EXPECT_EQ(Render(Definition("A\n|\n--\nB\n")), (Lines{"A 101 L", "B 104 | P"}));
  EXPECT_EQ(Render(Definition("A\n--\n|\nB\n")), (Lines{"A 101 L", "B 104 | P"}));
  // A second boundary is ignored, separators included.
  EXPECT_EQ(Render(Definition("A\n--\nB\n--\nC\n")),
            (Lines{"A 101 L", "- 205", "B 104 P", "C 104 P"}));
}

TEST_F(LauncherMenuTest, FirstLineBoundaryAfterTheTreeSeparatesIt) {
  tree = u"C:\\T";
  AddShortcut(u"C:\\T\\Mail.lnk");
  EXPECT_EQ(Render(Definition("--\nA\n")), (Lines{"Mail 101 L", "- 205", "A 104 P"}));
}

TEST_F(LauncherMenuTest, LevelChangesAndPendingBreaks) {
  EXPECT_EQ(Render(Definition("--\n<\n|\n<\nA\n|\n>\nB\n<\n<\n")),
            (Lines{"A 104 P", " 104 |", "  B 104 P"}));
}

TEST_F(LauncherMenuTest, DeepNestingStopsAtTheDeepestLevelAndClosesInOrder) {
  std::string text = "--\n";
  for (int i = 0; i < 30; ++i) text += ">S" + std::to_string(i) + "\n";
  text += "Deep\n";
  for (int i = 0; i < 30; ++i) text += "<\n";
  text += "Top\n";
  const auto lines = Render(Definition(text));
  ASSERT_EQ(lines.size(), static_cast<std::size_t>(kMaxMenuDepth) + 2);
  EXPECT_EQ(lines[kMaxMenuDepth], std::string(kMaxMenuDepth * 2, ' ') + "Deep 104 P");
  EXPECT_EQ(lines.back(), "Top 104 P");  // the closing lines of ignored submenus count
}

TEST_F(LauncherMenuTest, ShortcutTreeMergesFoldersOnlyWithFolders) {
  tree = u"C:\\T\\";
  AddShortcut(u"C:\\T\\b.lnk");
  AddShortcut(u"C:\\T\\Tools.lnk");
  AddShortcut(u"C:\\T\\tools\\Ed.v2.LNK");
  AddShortcut(u"C:\\T\\tools\\x\\Y.lnk");
  AddShortcut(u"C:\\T\\-.lnk");
  AddShortcut(u"C:\\T\\empty\\readme.txt");
  files.files[u"C:\\K\\menu.txt"] = "";
  const auto menu = Definition("");
  EXPECT_EQ(Render(menu), (Lines{"- 101 L", "b 101 L", "Tools 101 L", "tools 101", "  Ed.v2 101 L",
                                 "  x 101", "    Y 101 L"}));
  // Tree items launch their own file; an item captioned "-" is still an entry.
  const PopupItem& dash = *menu.root->Children[0];
  EXPECT_EQ(dash.Path, u"C:\\T\\-.lnk");
  EXPECT_FALSE(dash.IsSeparator());
  EXPECT_EQ(menu.root->Children[3]->Children[1]->Children[0]->Path, u"C:\\T\\tools\\x\\Y.lnk");
}

TEST_F(LauncherMenuTest, DriveRootStaysTheRoot) {
  EXPECT_EQ(WithoutTrailingSeparator(u"D:\\"), u"D:\\");
  EXPECT_EQ(WithoutTrailingSeparator(u"D:\\x\\"), u"D:\\x");
  EXPECT_EQ(JoinPath(u"D:\\", u"a.lnk"), u"D:\\a.lnk");
  EXPECT_EQ(JoinPath(u"D:\\x", u"a.lnk"), u"D:\\x\\a.lnk");
}

TEST_F(LauncherMenuTest, MissingOrUnreadableFileAddsNothing) {
  LauncherSources sources;
  sources.PopupFile = u"C:\\K\\none.txt";
  EXPECT_TRUE(BuildLauncherMenu(sources, files, SystemCodePage(), locale).root->Children.empty());
  files.files[u"C:\\K\\locked.txt"] = "A\n";
  files.unreadable.insert(u"C:\\K\\locked.txt");
  sources.PopupFile = u"C:\\K\\locked.txt";
  EXPECT_TRUE(BuildLauncherMenu(sources, files, SystemCodePage(), locale).root->Children.empty());
}

TEST_F(LauncherMenuTest, EncodingsOfTheDefinitionFile) {
  // UTF-16 with its mark, and Shift_JIS without one.
  std::string utf16 = "\xFF\xFE";
  for (char16_t c : std::u16string(u"メモ\tnotepad\r\n")) {
    utf16.push_back(static_cast<char>(c & 0xFF));
    utf16.push_back(static_cast<char>(c >> 8));
  }
  EXPECT_EQ(Render(Definition(utf16)), (Lines{"メモ→notepad 104 P"}));
  EXPECT_EQ(Render(Definition("\x83\x81\x83\x82\n")), (Lines{"メモ 104 P"}));
}

TEST_F(LauncherMenuTest, CommandsAreGivenInMenuOrderUpToSixteenBits) {
  auto menu = Definition("--\n>S\nA\n-\nB\n<\nC\n");
  ASSERT_EQ(menu.commands.size(), 4u);
  EXPECT_EQ(menu.ByCommand(1)->Caption, u"A");
  EXPECT_EQ(menu.ByCommand(2)->Caption, u"B");
  EXPECT_EQ(menu.ByCommand(3)->Caption, u"C");
  EXPECT_EQ(menu.ByCommand(4), nullptr);
  EXPECT_EQ(menu.root->Children[0]->Command, 0);  // a submenu is not chosen by identifier

  std::string many = "--\n";
  for (int i = 0; i < 70000; ++i) many += "x\n";
  menu = Definition(many);
  EXPECT_EQ(menu.commands.size(), kMaxCommandId + 1);
  EXPECT_EQ(menu.root->Children[kMaxCommandId - 1]->Command, kMaxCommandId);
  EXPECT_EQ(menu.root->Children[kMaxCommandId]->Command, 0);
}

TEST_F(LauncherMenuTest, EveryLoadReadsTheOptionsAndRebuildsFromRelativeFolders) {
  files.files[u"C:\\K\\Kelvo.INI"] =
      "[PopupMenu]\r\nPopupDir=Links\\\r\nSort=1\r\nPosX=-5\r\nSelRaised=1\r\nAkColor=$FF\r\n"
      "FgColorP=0xFF000008\r\nMinWidth=120\r\nFontName=Meiryo\r\nFontSize=12\r\n";
  AddShortcut(u"C:\\K\\Links\\Mail.lnk");
  files.files[u"C:\\K\\menu.txt"] = "--\nA\n";
  UsrIniFile ini(u"C:\\K\\Kelvo.INI", files, SystemCodePage());
  FontDescription main;
  main.name = u"Main";
  main.size = 9;
  const LauncherState state =
      LoadLauncherState(ini, u"C:\\K\\", u"C:\\K\\menu.txt", main, files, SystemCodePage(), locale);
  EXPECT_EQ(state.sources.PopupDir, u"C:\\K\\Links");
  EXPECT_TRUE(state.sources.Sort);
  EXPECT_EQ(Render(state.menu), (Lines{"Mail 101 L", "- 205", "A 104 P"}));
  const LauncherOptions& o = state.options;
  EXPECT_EQ(o.PosX, -5);  // a monitor left of the primary: a real coordinate
  EXPECT_EQ(o.PosY, -1);
  EXPECT_TRUE(o.SelRaised);
  EXPECT_FALSE(o.AkBold);
  EXPECT_EQ(o.AkColor, 0xFFu);
  EXPECT_EQ(o.FgColorP, 0xFF000008u);
  EXPECT_EQ(o.FgColorL, 0xFF000007u);
  EXPECT_EQ(o.SelBgColorL, 0xFF00000Du);
  EXPECT_EQ(o.MinWidth, 120);
  EXPECT_EQ(o.ItemHeight, 0);
  EXPECT_EQ(o.Font.name, u"Meiryo");
  EXPECT_EQ(o.Font.size, 12);
}
