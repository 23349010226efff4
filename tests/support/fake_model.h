#pragma once
#include <string>

#include "core/main_model.h"
#include "core/tray_keeper.h"
#include "support/fake_hotkey_registrar.h"
#include "support/fake_keyboard_layout.h"
#include "support/fake_locale.h"
#include "support/fake_tray.h"
#include "support/memory_file_system.h"
#include "support/null_app_shell.h"
#include "support/system_code_page.h"

// The text with every LF made a CR LF, as settings files are written.
inline std::string CrLf(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

// The main model of a Kelvo.exe in C:\Tools, with every service it loads through faked.
struct FakeModel {
  static constexpr char16_t kExe[] = u"C:\\Tools\\Kelvo.exe";
  static constexpr char16_t kIni[] = u"C:\\Tools\\Kelvo.INI";

  // Writes the settings file (LF line ends become CR LF) and loads it.
  MainModel& Load(const std::string& settings, AppShell& shell) {
    files.files[kIni] = CrLf(settings);
    model.LoadSettings(shell, keeper);
    return model;
  }
  MainModel& Load(const std::string& settings) { return Load(settings, hooks); }
  std::string Settings() { return files.files[kIni]; }

  MemoryFileSystem files;
  FakeLocale locale;
  FakeClock clock;
  FakeHotKeyRegistrar registrar;
  FakeKeyboardLayout keyboard;
  FakeTrayIcon trayIcon;
  FakeRetryTimer trayTimer;
  TrayKeeper keeper{trayIcon, trayTimer};
  NullAppShell hooks;
  MainModel model{LoadServices{files, SystemCodePage(), locale, clock, registrar, keyboard}, kExe,
                  0x1234, FontDescription{u"Base", 9, 1, true, false}, 169};
};
