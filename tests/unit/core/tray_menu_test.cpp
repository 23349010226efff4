#include "core/tray_menu.h"

#include <gtest/gtest.h>

namespace {

const MenuEntry* Find(const std::vector<MenuEntry>& items, MenuCommand command) {
  for (const auto& item : items) {
    if (!item.separator && item.command == command) return &item;
  }
  return nullptr;
}

}  // namespace

TEST(TrayMenu, EnabledAndVisibleRules) {
  auto items = TrayMenuItems(u"notepad.exe", u"", false);
  EXPECT_TRUE(Find(items, MenuCommand::kEditSettings)->enabled);
  EXPECT_FALSE(Find(items, MenuCommand::kEditMenuFile)->enabled);
  // A menu definition file that does not exist still has a name to edit.
  items = TrayMenuItems(u"notepad.exe", u"C:\\K\\missing.txt", false);
  EXPECT_TRUE(Find(items, MenuCommand::kEditMenuFile)->enabled);
  items = TrayMenuItems(u"", u"C:\\K\\menu.txt", false);
  EXPECT_FALSE(Find(items, MenuCommand::kEditSettings)->enabled);
  EXPECT_FALSE(Find(items, MenuCommand::kEditMenuFile)->enabled);
  items = TrayMenuItems(u"notepad.exe", u"", true);
  EXPECT_EQ(Find(items, MenuCommand::kAbout), nullptr);
  EXPECT_NE(Find(items, MenuCommand::kExit), nullptr);
}

TEST(EditorParameters, QuotingAndTheFilePlaceholder) {
  const std::u16string spaced = u"C:\\My Tools\\Kelvo.INI";
  EXPECT_EQ(EditorParameters(spaced, u""), u"\"C:\\My Tools\\Kelvo.INI\"");
  EXPECT_EQ(EditorParameters(u"C:\\K\\Kelvo.INI", u""), u"C:\\K\\Kelvo.INI");
  EXPECT_EQ(EditorParameters(spaced, u"-a $FILE$ -b $FILE$"),
            u"-a \"C:\\My Tools\\Kelvo.INI\" -b \"C:\\My Tools\\Kelvo.INI\"");
  EXPECT_EQ(EditorParameters(u"a.ini", u"/readonly"), u"/readonly a.ini");
  // The placeholder is case-sensitive.
  EXPECT_EQ(EditorParameters(u"a.ini", u"$file$"), u"$file$ a.ini");
  EXPECT_EQ(EditorParameters(u"a.ini", u"$FILE$$FILE$"), u"a.inia.ini");
}
