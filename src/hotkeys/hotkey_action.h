#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

// What a hotkey does, read once from its `Command` when the table is loaded; pressing the key
// then compares no text.

// Kelvo's own commands. They run instead of the record's window and program slots.
enum class KelvoCommand {
  kReload,            // RECYCLE
  kLauncherMenu,      // POPUPMENU
  kCmdLauncher,       // CMDLAUNCHER
  kClipboard,         // CLIPBOARD: the clipboard window on the page used last
  kClipboardHistory,  // CLIPBOARD_C
  kCannedText,        // CLIPBOARD_T, optionally followed by a set number
  kScreenSaver,       // SCREENSAVE
  kEditSettings,      // EDIT_INI
  kEditMenuFile,      // EDIT_POPUP
  kAbout,             // VERSION
  kHotKeyList,        // HOTKEY_LIST
  kExit,              // EXIT
};

// A canned-text set number outside 1..8: the page is shown and no set is switched to.
inline constexpr int kNoCannedSet = -1;

struct InternalAction {
  KelvoCommand command = KelvoCommand::kReload;
  // CLIPBOARD_T only: the set chosen (0 to 7, or kNoCannedSet), nothing for the bare command.
  std::optional<int> cannedSet;
  bool operator==(const InternalAction&) const = default;
};

// The commands on the system and the foreground window; the word is followed by a blank and its
// parameter where it takes one (SETPOS_FGWND, CD_OPEN, CD_CLOSE).
enum class SystemCommand {
  kUnknown,  // reported when pressed, naming the word
  kReboot,
  kLogoff,
  kPowerOff,
  kMonitorOff,
  kTerminateApp,
  kMaximizeForeground,
  kMinimizeForeground,
  kRestoreForeground,
  kCloseForeground,
  kSetForegroundPosition,
  kCdOpen,
  kCdClose,
  kMinimizeAll,
  kRestoreAll,
  kChangeTask,
};

struct SystemAction {
  SystemCommand command = SystemCommand::kUnknown;
  std::u16string word;  // as written, for the messages that name it
  std::u16string parameter;
  bool operator==(const SystemAction&) const = default;
};

// No command: the record's window and program slots, then its editor macro.
struct SlotAction {
  bool operator==(const SlotAction&) const = default;
};

using HotKeyAction = std::variant<SlotAction, InternalAction, SystemAction>;

// The action of a `Command` value. Blanks around the whole value are ignored; command words are
// matched without regard to letter case (as settings names are); an internal command must be the
// whole value, except CLIPBOARD_T, whose rest is its set number.
HotKeyAction ParseHotKeyAction(std::u16string_view command);

// Every command word, in the order they are matched, for the settings check's suggestions.
std::vector<std::u16string_view> CommandWords();
