#pragma once
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

// Every section and key of the settings file that Kelvo knows, with its type, default and range.
// The loaders take their defaults from here and the settings checker knows the file from here,
// so the two cannot drift apart: a key added to the loader without a row here does not compile
// (the defaults are looked up at compile time) or fails the test that watches every read.

// What a value is; the checker tests each kind its own way.
enum class SettingType : std::uint8_t {
  kText,
  kInteger,
  kBool,
  kColour,
  kFile,          // a file that should exist, relative to Kelvo's folder unless it has a drive
  kImage,         // a wallpaper image, or "none"
  kFolder,        // a folder that should exist, relative to Kelvo's folder
  kProgram,       // a program, document, web address or shortcut to start
  kOutputFile,    // a file Kelvo writes; its folder should exist
  kHotKey,        // a key combination
  kKeyword,       // a command-launcher keyword
  kCommand,       // an internal or system command word
  kTitlePattern,  // a title part, or a regular expression between slashes
  kSendKey,       // a key sequence
  kExceptWord,    // a word kept out of the history, or a caseless expression between slashes
  kMenuFile,      // the launcher-menu definition file
  kCannedFile,    // a canned-text file
  kHistoryFile,   // the clipboard history file
  kLogLine,       // anything (the error log)
  kChoice,        // one of the words in `choices`, letter case aside
};

inline constexpr std::int32_t kNoMinimum = std::numeric_limits<std::int32_t>::min();
inline constexpr std::int32_t kNoMaximum = std::numeric_limits<std::int32_t>::max();

struct SettingKey {
  // A name ending in '#' stands for the name followed by a number (HotKey1, Execute10).
  std::u16string_view section;
  std::u16string_view key;
  SettingType type;
  std::int64_t number = 0;         // the default of an integer, bool or colour
  std::u16string_view text = u"";  // the default of a text; for a computed default, what it is
  std::int32_t min = kNoMinimum;   // the range Kelvo uses the value in
  std::int32_t max = kNoMaximum;
  int lastNumber = 0;                 // the highest number of a numbered key; 0: no limit
  bool computed = false;              // the default is worked out when the key is read
  std::u16string_view choices = u"";  // the words a choice takes, separated by blanks
};

// The numbered sections and their highest numbers.
struct NumberedSection {
  std::u16string_view word;
  int lastNumber;
};
inline constexpr NumberedSection kNumberedSections[] = {{u"HotKey", 100}, {u"CmdKwd", 250}};

inline constexpr std::int64_t kMenuText = 0xFF000007;
inline constexpr std::int64_t kMenuBack = 0xFF000004;
inline constexpr std::int64_t kHighlight = 0xFF00000D;
inline constexpr std::int64_t kHighlightText = 0xFF00000E;
inline constexpr std::int64_t kWindowTextColour = 0xFF000008;
inline constexpr std::int64_t kWindowBack = 0xFF000005;
inline constexpr std::int64_t kGreyText = 0xFF000011;

// The keys of an action slot, numbered 1 … 10, in the hotkey and keyword sections.
#define KELVO_ACTION_KEYS(S)                                                                      \
  {S, u"ActivateWndClass#", SettingType::kText, 0, u"", kNoMinimum, kNoMaximum, 10},              \
      {S, u"ActivateWndTitle#", SettingType::kText, 0, u"", kNoMinimum, kNoMaximum, 10},          \
      {S, u"ActivateWndTitleR#", SettingType::kText, 0, u"", kNoMinimum, kNoMaximum, 10},         \
      {S, u"ActivateWndTitleM#", SettingType::kTitlePattern, 0, u"", kNoMinimum, kNoMaximum, 10}, \
      {S, u"Execute#", SettingType::kProgram, 0, u"", kNoMinimum, kNoMaximum, 10},                \
      {S, u"ExeParam#", SettingType::kText, 0, u"", kNoMinimum, kNoMaximum, 10},                  \
      {S, u"ExeDir#", SettingType::kFolder, 0, u"", kNoMinimum, kNoMaximum, 10},                  \
      {S, u"SendKey#", SettingType::kSendKey, 0, u"", kNoMinimum, kNoMaximum, 10},                \
      {S, u"MinimizeWndClass#", SettingType::kText, 0, u"", kNoMinimum, kNoMaximum, 10},          \
      {S, u"MinimizeWndTitle#", SettingType::kText, 0, u"", kNoMinimum, kNoMaximum, 10},          \
      {S, u"MinimizeWndTitleR#", SettingType::kText, 0, u"", kNoMinimum, kNoMaximum, 10},         \
      {S, u"MinimizeWndTitleM#", SettingType::kTitlePattern, 0, u"", kNoMinimum, kNoMaximum, 10}, \
      {S, u"CloseWndClass#", SettingType::kText, 0, u"", kNoMinimum, kNoMaximum, 10},             \
      {S, u"CloseWndTitle#", SettingType::kText, 0, u"", kNoMinimum, kNoMaximum, 10},             \
      {S, u"CloseWndTitleR#", SettingType::kText, 0, u"", kNoMinimum, kNoMaximum, 10},            \
      {S, u"CloseWndTitleM#", SettingType::kTitlePattern, 0, u"", kNoMinimum, kNoMaximum, 10},    \
      {S, u"Description", SettingType::kText}, {S, u"Sound", SettingType::kFile},                 \
      {S, u"WallPaper", SettingType::kImage}, {S, u"Command", SettingType::kCommand}, {           \
    S, u"ZrMacro", SettingType::kText                                                             \
  }

// The five keys of a font; their defaults come from the window's own font.
#define KELVO_FONT_KEYS(S)                                                                         \
  {S, u"FontCharset", SettingType::kInteger, 128},                                                 \
      {S, u"FontName", SettingType::kText, 0, u"the window's font", kNoMinimum, kNoMaximum,        \
       0, true},                                                                                   \
      {S, u"FontSize", SettingType::kInteger, 0, u"the window's font", kNoMinimum, kNoMaximum,     \
       0, true},                                                                                   \
      {S, u"FontBold", SettingType::kBool, 0, u"the window's font", kNoMinimum, kNoMaximum,        \
       0, true},                                                                                   \
  {                                                                                                \
    S, u"FontItalic", SettingType::kBool, 0, u"the window's font", kNoMinimum, kNoMaximum, 0, true \
  }

// clang-format off
inline constexpr SettingKey kSettingKeys[] = {
    {u"General", u"Version", SettingType::kInteger, 0},
    {u"General", u"NoTrayIcon", SettingType::kBool, 0},
    {u"General", u"Editor", SettingType::kProgram, 0, u"notepad.exe"},
    {u"General", u"ZrEditor", SettingType::kProgram},
    {u"General", u"EditParam", SettingType::kText},
    {u"General", u"WmPasteClass", SettingType::kText, 0, u"EDIT;TEDIT"},
    {u"General", u"WallBmpName", SettingType::kOutputFile, 0, u"KelvoWall.BMP beside Kelvo.exe",
     kNoMinimum, kNoMaximum, 0, true},
    {u"General", u"KeyWait", SettingType::kInteger, 50},

    {u"HotKey#", u"Key", SettingType::kHotKey},
    KELVO_ACTION_KEYS(u"HotKey#"),
    {u"CmdKwd#", u"Key", SettingType::kKeyword},
    {u"CmdKwd#", u"Icon", SettingType::kFile},
    KELVO_ACTION_KEYS(u"CmdKwd#"),

    {u"PopupMenu", u"PopupDir", SettingType::kFolder},
    {u"PopupMenu", u"PopupFile", SettingType::kMenuFile},
    {u"PopupMenu", u"Sort", SettingType::kBool, 0},
    {u"PopupMenu", u"PosX", SettingType::kInteger, -1},
    {u"PopupMenu", u"PosY", SettingType::kInteger, -1},
    {u"PopupMenu", u"MinWidth", SettingType::kInteger, 0},
    {u"PopupMenu", u"ItemHeight", SettingType::kInteger, 0},
    {u"PopupMenu", u"FgColorL", SettingType::kColour, kMenuText},
    {u"PopupMenu", u"BgColorL", SettingType::kColour, kMenuBack},
    {u"PopupMenu", u"SelFgColorL", SettingType::kColour, kHighlightText},
    {u"PopupMenu", u"SelBgColorL", SettingType::kColour, kHighlight},
    {u"PopupMenu", u"FgColorP", SettingType::kColour, kMenuText},
    {u"PopupMenu", u"BgColorP", SettingType::kColour, kMenuBack},
    {u"PopupMenu", u"SelFgColorP", SettingType::kColour, kHighlightText},
    {u"PopupMenu", u"SelBgColorP", SettingType::kColour, kHighlight},
    {u"PopupMenu", u"AkColor", SettingType::kColour, kMenuText},
    {u"PopupMenu", u"SelAkColor", SettingType::kColour, kHighlightText},
    {u"PopupMenu", u"SelRaised", SettingType::kBool, 0},
    {u"PopupMenu", u"NoAkUnderline", SettingType::kBool, 0},
    {u"PopupMenu", u"AkBold", SettingType::kBool, 0},
    KELVO_FONT_KEYS(u"PopupMenu"),

    {u"CmdLauncher", u"LaunchDir", SettingType::kFolder},
    {u"CmdLauncher", u"NoTitleBar", SettingType::kBool, 0},
    {u"CmdLauncher", u"PosX", SettingType::kInteger, 0, u"centred on the pointer's monitor", kNoMinimum,
     kNoMaximum, 0, true},
    {u"CmdLauncher", u"PosY", SettingType::kInteger, 0, u"centred on the pointer's monitor", kNoMinimum,
     kNoMaximum, 0, true},
    {u"CmdLauncher", u"ListSize", SettingType::kInteger, 10, u"", 1},
    {u"CmdLauncher", u"ListWidth", SettingType::kInteger, 0, u"", 0},
    {u"CmdLauncher", u"Dropdown", SettingType::kBool, 1},
    {u"CmdLauncher", u"SkipInput", SettingType::kBool, 0},
    {u"CmdLauncher", u"CnfExecute", SettingType::kBool, 0},
    {u"CmdLauncher", u"ExeDelay", SettingType::kInteger, 250, u"", 0, 10000},
    {u"CmdLauncher", u"FgColorK", SettingType::kColour, kWindowTextColour},
    {u"CmdLauncher", u"BgColorK", SettingType::kColour, kWindowBack},
    {u"CmdLauncher", u"FgColorC", SettingType::kColour, kWindowTextColour},
    {u"CmdLauncher", u"BgColorC", SettingType::kColour, kWindowBack},
    {u"CmdLauncher", u"CnfSound", SettingType::kFile},
    {u"CmdLauncher", u"NgSound", SettingType::kFile},
    {.section = u"CmdLauncher", .key = u"ImeMode", .type = SettingType::kChoice,
     .text = u"auto", .choices = u"auto off keep"},
    KELVO_FONT_KEYS(u"CmdLauncher"),

    {u"ClipboardList", u"Enable", SettingType::kBool, 0},
    {u"ClipboardList", u"SaveHistory", SettingType::kBool, 0},
    {u"ClipboardList", u"ClipDataFile", SettingType::kHistoryFile, 0, u"CLIPDATA.txt"},
    {u"ClipboardList", u"TextDataFile", SettingType::kCannedFile, 0, u"TEXTDATA.txt"},
    {u"ClipboardList", u"TextDataBtn#", SettingType::kCannedFile, 0, u"", kNoMinimum, kNoMaximum, 8},
    {u"ClipboardList", u"ExceptWord#", SettingType::kExceptWord},
    {u"ClipboardList", u"MaxItems", SettingType::kInteger, 50, u"", 0, 100000},
    {u"ClipboardList", u"MaxTextLen", SettingType::kInteger, 0},
    {u"ClipboardList", u"MaxLineCnt", SettingType::kInteger, 0},
    KELVO_FONT_KEYS(u"ClipboardList"),
    {u"ClipboardList", u"FontSizeV", SettingType::kInteger, 0, u"FontSize", kNoMinimum, kNoMaximum, 0, true},
    {u"ClipboardList", u"ShowLnCt", SettingType::kBool, 0},
    {u"ClipboardList", u"PreviewLn", SettingType::kInteger, 0},
    {u"ClipboardList", u"Transparent", SettingType::kInteger, 255, u"", 0, 255},
    {u"ClipboardList", u"PosX", SettingType::kInteger, 0, u"centred on the pointer's monitor", kNoMinimum,
     kNoMaximum, 0, true},
    {u"ClipboardList", u"PosY", SettingType::kInteger, 0, u"centred on the pointer's monitor", kNoMinimum,
     kNoMaximum, 0, true},
    {u"ClipboardList", u"Width", SettingType::kInteger, 320},
    {u"ClipboardList", u"Height", SettingType::kInteger, 400},
    {u"ClipboardList", u"PreviewHeight", SettingType::kInteger, 50},
    {u"ClipboardList", u"LineSpace", SettingType::kInteger, 0},
    {u"ClipboardList", u"FgColorL", SettingType::kColour, kWindowTextColour},
    {u"ClipboardList", u"BgColorL", SettingType::kColour, kWindowBack},
    {u"ClipboardList", u"FgColorT", SettingType::kColour, kWindowTextColour},
    {u"ClipboardList", u"BgColorT", SettingType::kColour, kWindowBack},
    {u"ClipboardList", u"FgColorV", SettingType::kColour, kWindowTextColour},
    {u"ClipboardList", u"BgColorV", SettingType::kColour, kWindowBack},
    {u"ClipboardList", u"CtrlColor", SettingType::kColour, kGreyText},
    {u"ClipboardList", u"LnCtColor", SettingType::kColour, kWindowTextColour},
    {u"ClipboardList", u"FoldWidthKana", SettingType::kBool, 1},

    {u"FindHistory", u"Item#", SettingType::kText, 0, u"", kNoMinimum, kNoMaximum, 40},

    {u"HotKeyList", u"WinLeft", SettingType::kInteger, 0, u"centred", kNoMinimum, kNoMaximum, 0, true},
    {u"HotKeyList", u"WinTop", SettingType::kInteger, 0, u"centred", kNoMinimum, kNoMaximum, 0, true},
    {u"HotKeyList", u"WinWidth", SettingType::kInteger, 500},
    {u"HotKeyList", u"WinHeight", SettingType::kInteger, 400},

    {u"ErrorLog", u"#", SettingType::kLogLine},
};
// clang-format on

#undef KELVO_ACTION_KEYS
#undef KELVO_FONT_KEYS

// The row of a key as the code names it (exact spelling, '#' for numbers); a name without a row
// does not compile where a constant is needed.
consteval const SettingKey& SettingRow(std::u16string_view section, std::u16string_view key) {
  for (const SettingKey& row : kSettingKeys) {
    if (row.section == section && row.key == key) return row;
  }
  throw "not a key of the settings table";
}

consteval std::int32_t DefaultInteger(std::u16string_view section, std::u16string_view key) {
  return static_cast<std::int32_t>(SettingRow(section, key).number);
}
consteval std::uint32_t DefaultColour(std::u16string_view section, std::u16string_view key) {
  return static_cast<std::uint32_t>(SettingRow(section, key).number);
}
consteval bool DefaultBool(std::u16string_view section, std::u16string_view key) {
  return SettingRow(section, key).number != 0;
}
consteval std::u16string_view DefaultText(std::u16string_view section, std::u16string_view key) {
  return SettingRow(section, key).text;
}

// A section of the file as Kelvo reads it: the table's name for it and its number (0 for an
// unnumbered section).
struct KnownSection {
  std::u16string_view name;
  int number = 0;
};
// The known section a name in the file stands for, letter case aside; nothing for a name Kelvo
// does not read (also HotKey0 or HotKey101).
std::optional<KnownSection> FindKnownSection(std::u16string_view name);
// The row of a key of a known section, letter case aside; nothing for a key Kelvo does not read
// (also Execute11).
const SettingKey* FindSettingKey(const KnownSection& section, std::u16string_view key);

// The place of the word a value names among the blank-separated words of a choice (letter case
// and surrounding blanks aside), or nothing for any other value.
std::optional<std::size_t> FindChoice(std::u16string_view choices, std::u16string_view value);
