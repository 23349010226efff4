#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/code_page.h"
#include "platform/file_system.h"
#include "platform/locale.h"
#include "settings/font_description.h"
#include "util/text_helpers.h"

class UsrIniFile;

// Sections of the launcher menu (the low byte of an item's tag) and kinds (the bits above).
inline constexpr int kLaunchSection = 1;
inline constexpr int kPasteSection = 4;
inline constexpr int kBoundarySection = 5;
inline constexpr int kEntryKind = 0x100;
inline constexpr int kLineSeparatorKind = 0x200;
inline constexpr int kTallBlankKind = 0x1000;
inline constexpr int kBlankKind = 0x2000;

// Stands for "&" in the text part of a caption, so that no character of it acts as an
// accelerator; the click handlers turn it back.
inline constexpr char16_t kHiddenAmpersand = u'\u0002';

// The platform's menus nest at most this deep; deeper items join the deepest level.
inline constexpr int kMaxMenuDepth = 24;
// Command identifiers are 16 bits wide, and 0 means "nothing chosen".
inline constexpr std::uint32_t kMaxCommandId = 0xFFFF;

enum class PopupClick { kNone, kLaunch, kPaste };

// One item of the launcher menu, at any depth.
struct PopupItem {
  std::u16string Caption;
  int Tag = 0;
  bool Break = false;     // starts a new column
  bool Measured = false;  // sized by Kelvo rather than by the platform
  PopupClick Click = PopupClick::kNone;
  // The full path of the shortcut a tree item stands for; empty for items of the definition file.
  std::u16string Path;
  // The command identifier when chosen; 0 when the item cannot be chosen.
  std::uint16_t Command = 0;
  PopupItem* Parent = nullptr;  // the submenu it is in; the root for top-level items
  std::vector<std::unique_ptr<PopupItem>> Children;

  int Section() const { return Tag & 0xFF; }
  int Kind() const { return Tag & ~0xFF; }
  // Separators of any kind: they cannot be chosen.
  bool IsSeparator() const { return Kind() != kEntryKind; }
};

// The menu as one load built it: a root whose children are the top-level items.
// Moving it keeps every item where it is.
struct PopupLauncher {
  std::unique_ptr<PopupItem> root = std::make_unique<PopupItem>();
  // Items by command identifier (index 0 unused).
  std::vector<const PopupItem*> commands{nullptr};

  const PopupItem* ByCommand(std::uint32_t id) const {
    return id < commands.size() ? commands[id] : nullptr;
  }
};

// The caption of an entry line: the label alone, or label, TAB and the text with every "&"
// hidden.
std::u16string EntryCaption(std::u16string_view line);
// What an item shows: its caption up to the first TAB.
std::u16string_view CaptionLabel(std::u16string_view caption);
// Whether the caption has a text part (a TAB), and that part.
bool HasCaptionText(std::u16string_view caption);
std::u16string_view CaptionText(std::u16string_view caption);
// A folder path without its trailing separator, except a drive's root ("D:\") which stays the
// root.
std::u16string WithoutTrailingSeparator(std::u16string path);
// dir "\" name, without doubling the separator after a drive's root.
std::u16string JoinPath(const std::u16string& dir, std::u16string_view name);

// What the launcher menu is built from.
struct LauncherSources {
  std::u16string PopupDir;  // resolved; empty for no tree
  bool Sort = false;
  std::u16string PopupFile;  // resolved; empty or missing for no definition file
};

// The settings of the menu's building blocks, resolved against the program's folder.
LauncherSources ReadLauncherSources(const UsrIniFile& ini, const std::u16string& exeDir,
                                    std::u16string popupFile);

// Adds the shortcut tree below dir to level.
void AddPopupDirItems(PopupLauncher& menu, const FileSystem& files, const Locale& locale,
                      const std::u16string& dir, bool sorted, PopupItem& level);
// Lines of a definition file that give no item, or not the item they seem to give.
enum class MenuLineProblem {
  kCloseWithoutSubmenu,  // "<" with no submenu open
  kSecondBoundary,       // a "--" after the first (or after the first line made pastes)
  kTooDeep,              // a submenu beyond kMaxMenuDepth: its items join the level above
  kBreakWithoutItem,     // "|" with no item after it in its menu
};
struct MenuLineNote {
  int line;  // 1-based, in the file
  MenuLineProblem problem;
};

// Adds the items of a definition file's lines to the end of the menu; `notes`, when given, gets
// the lines that give no item.
void AddDefinitionItems(PopupLauncher& menu, const std::vector<std::u16string>& lines,
                        std::vector<MenuLineNote>* notes = nullptr);
// Builds the whole menu: the shortcut tree, then the definition file (read with the project's
// encoding detection). A missing or unreadable file adds nothing.
PopupLauncher BuildLauncherMenu(const LauncherSources& sources, const FileSystem& files,
                                const CodePage& codePage, const Locale& locale);
// Gives every item that can be chosen a command identifier, in menu order; items beyond the
// identifiers get none.
void AssignCommands(PopupLauncher& menu);

// The launcher menu's look and place, read at every load.
struct LauncherOptions {
  FontDescription Font;
  std::uint32_t FgColorL = 0, BgColorL = 0, SelFgColorL = 0, SelBgColorL = 0;
  std::uint32_t FgColorP = 0, BgColorP = 0, SelFgColorP = 0, SelBgColorP = 0;
  std::uint32_t AkColor = 0, SelAkColor = 0;
  int PosX = -1, PosY = -1;
  bool SelRaised = false, NoAkUnderline = false, AkBold = false;
  int MinWidth = 0, ItemHeight = 0;
};

LauncherOptions ReadLauncherOptions(const UsrIniFile& ini, const FontDescription& mainFont);

// What one settings load gives the launcher menu: its look, its building blocks and its items.
struct LauncherState {
  LauncherOptions options;
  LauncherSources sources;
  PopupLauncher menu;
};

// Reads the menu's options and rebuilds its items; popupFile is the resolved definition file.
LauncherState LoadLauncherState(const UsrIniFile& ini, const std::u16string& exeDir,
                                const std::u16string& popupFile, const FontDescription& mainFont,
                                const FileSystem& files, const CodePage& codePage,
                                const Locale& locale);
