#pragma once
#include <string>

#include "check/check_report.h"
#include "platform/code_page.h"
#include "platform/file_system.h"
#include "platform/hotkey_registrar.h"
#include "platform/keyboard_layout.h"
#include "platform/locale.h"
#include "platform/types.h"

// Where Windows looks for a program named without a folder (notepad.exe): the path, the system
// folders and the programs registered with the shell.
class ProgramFinder {
 public:
  virtual ~ProgramFinder() = default;
  virtual bool Exists(const std::u16string& program) const = 0;
};

// What the checker needs from the system. `window` receives the test registrations of hotkeys;
// while Kelvo runs it holds its own combinations, so that test is left out.
struct CheckServices {
  FileSystem& files;
  const CodePage& codePage;
  const Locale& locale;
  const KeyboardLayout& keyboard;
  HotKeyRegistrar& hotkeys;
  WindowHandle window = 0;
  const ProgramFinder& programs;
  bool kelvoRunning = false;
};

// Reads the settings file and every file it names the way Kelvo reads them and reports, line by
// line, what Kelvo will not do as written. `appVersion` is Kelvo's version number (169), which
// tells the upgrades a load applies to an older file. Changes no file.
CheckReport CheckSettings(const std::u16string& settingsPath, const CheckServices& services,
                          int appVersion);
