#pragma once
#include <string>
#include <vector>

// The program's main menu, opened from the tray icon or the about box.
enum class MenuCommand : unsigned {
  kEditSettings = 101,  // PopEditItem
  kEditMenuFile,        // PopDefItem
  kReload,              // PopRecycleItem
  kHotKeyList,          // HotkeyListItem
  kAbout,               // PopAboutItem
  kExit,                // PopExitItem
};

struct MenuEntry {
  MenuCommand command{};
  std::u16string caption;  // empty for a separator
  bool enabled = true;
  bool separator = false;
};

// The items as they are shown now: the edit items need an editor (and the menu definition file
// a name), and the about item is left out while the about box is shown.
std::vector<MenuEntry> TrayMenuItems(const std::u16string& Editor, const std::u16string& PopupFile,
                                     bool aboutBoxShown);

// The parameters for the editor: the file (quoted when it holds a blank) put in place of every
// "$FILE$" of the template, appended to it after a blank, or alone when there is no template.
std::u16string EditorParameters(const std::u16string& file, const std::u16string& EditParam);
