#pragma once
#include <optional>
#include <string>
#include <vector>

#include "hotkeys/hotkey_record.h"
#include "hotkeys/macro_starter.h"
#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "platform/key_input.h"
#include "platform/locale.h"
#include "platform/program_launcher.h"
#include "platform/system_control.h"
#include "platform/window_system.h"

// Everything the action executor acts through.
struct ActionServices {
  WindowSystem& windows;
  Desktop& desktop;
  SystemControl& system;
  KeyInput& keys;
  ProgramLauncher& launcher;
  Dialogs& dialogs;
  const Locale& locale;
  TZrMacStarter& macros;
};

// Carries out one record: its built-in system command, then the minimise, close and activation
// steps of its ten slots, then its editor macro. Failures are shown in message boxes. The
// commands on the foreground window act on `foreground` (the window in front when the hotkey was
// pressed), or on the window in front now when none is given.
void ExecuteHotKey(const HKeyRec& rec, ActionServices& services, const std::u16string& ZrEditorPath,
                   std::optional<WindowHandle> foreground = std::nullopt);

// The items of a comma text: separated by commas and by blanks, optionally in double quotes;
// two commas in a row give an empty item, as does a comma at the end.
std::vector<std::u16string> SplitCommaText(std::u16string_view text);

inline constexpr char16_t kUnknownCommand[] = u"不明なコマンドです [";
inline constexpr char16_t kCommandFailed[] = u" コマンドの処理に失敗しました";
