#include "hotkeys/hotkey_action.h"

#include <cstdint>
#include <iterator>

#include "base/number_text.h"
#include "base/text_case.h"

namespace {

constexpr std::u16string_view kCannedWord = u"CLIPBOARD_T";
constexpr int kCannedSets = 8;

// A command word and what it stands for.
template <class Command>
struct Named {
  std::u16string_view word;
  Command command;
};

// CLIPBOARD_T is a prefix and is matched before this table.
constexpr Named<KelvoCommand> kInternalNames[] = {
    {u"RECYCLE", KelvoCommand::kReload},
    {u"POPUPMENU", KelvoCommand::kLauncherMenu},
    {u"CMDLAUNCHER", KelvoCommand::kCmdLauncher},
    {u"CLIPBOARD", KelvoCommand::kClipboard},
    {u"CLIPBOARD_C", KelvoCommand::kClipboardHistory},
    {u"SCREENSAVE", KelvoCommand::kScreenSaver},
    {u"EDIT_INI", KelvoCommand::kEditSettings},
    {u"EDIT_POPUP", KelvoCommand::kEditMenuFile},
    {u"VERSION", KelvoCommand::kAbout},
    {u"HOTKEY_LIST", KelvoCommand::kHotKeyList},
    {u"EXIT", KelvoCommand::kExit},
};

constexpr Named<SystemCommand> kSystemNames[] = {
    {u"REBOOT", SystemCommand::kReboot},
    {u"LOGOFF", SystemCommand::kLogoff},
    {u"POWEROFF", SystemCommand::kPowerOff},
    {u"MONITOR_OFF", SystemCommand::kMonitorOff},
    {u"TERMINATE_APP", SystemCommand::kTerminateApp},
    {u"MAXIMIZE_FGWND", SystemCommand::kMaximizeForeground},
    {u"MINIMIZE_FGWND", SystemCommand::kMinimizeForeground},
    {u"RESTORE_FGWND", SystemCommand::kRestoreForeground},
    {u"CLOSE_FGWND", SystemCommand::kCloseForeground},
    {u"SETPOS_FGWND", SystemCommand::kSetForegroundPosition},
    {u"CD_OPEN", SystemCommand::kCdOpen},
    {u"CD_CLOSE", SystemCommand::kCdClose},
    {u"ALL_MINIMIZE", SystemCommand::kMinimizeAll},
    {u"ALL_RESTORE", SystemCommand::kRestoreAll},
    {u"CHANGE_TASK", SystemCommand::kChangeTask},
};

bool IsBlank(char16_t c) { return c <= u' '; }

std::u16string_view Trim(std::u16string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool StartsWithNoCase(std::u16string_view text, std::u16string_view prefix) {
  return text.size() >= prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

// The set after CLIPBOARD_T: a suffix that is not a number counts as 1.
std::optional<int> CannedSet(std::u16string_view suffix) {
  if (suffix.empty()) return std::nullopt;
  const std::int32_t number = ParseInt32(suffix).value_or(1);
  // Compared before subtracting, so that the smallest number cannot overflow.
  if (number < 1 || number > kCannedSets) return kNoCannedSet;
  return number - 1;
}

SystemAction ParseSystemAction(std::u16string_view command) {
  const std::size_t blank = command.find(u' ');
  SystemAction action;
  action.word = std::u16string(command.substr(0, blank));
  if (blank != std::u16string_view::npos) action.parameter = Trim(command.substr(blank + 1));
  for (const Named<SystemCommand>& name : kSystemNames) {
    if (EqualsNoCase(action.word, name.word)) action.command = name.command;
  }
  return action;
}

}  // namespace

HotKeyAction ParseHotKeyAction(std::u16string_view command) {
  command = Trim(command);
  if (command.empty()) return SlotAction{};
  if (StartsWithNoCase(command, kCannedWord)) {
    return InternalAction{KelvoCommand::kCannedText, CannedSet(command.substr(kCannedWord.size()))};
  }
  for (const Named<KelvoCommand>& name : kInternalNames) {
    if (EqualsNoCase(command, name.word)) return InternalAction{name.command, std::nullopt};
  }
  return ParseSystemAction(command);
}

std::vector<std::u16string_view> CommandWords() {
  std::vector<std::u16string_view> words;
  for (const Named<KelvoCommand>& name : kInternalNames) {
    words.push_back(name.word);
    if (name.command == KelvoCommand::kClipboardHistory) words.push_back(kCannedWord);
  }
  for (const Named<SystemCommand>& name : kSystemNames) words.push_back(name.word);
  return words;
}
