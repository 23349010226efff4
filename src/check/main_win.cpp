// KelvoCheck.exe: reads a settings file and every file it names as Kelvo reads them and prints
// one line per finding. Exit code 0 without errors, 1 with errors, 2 when a file could not be
// read. "--windows" lists the class and title of every visible window instead, for the window
// tests of the settings.
#include <windows.h>

#include <string>
#include <vector>

#include "app/main_window_win.h"
#include "check/settings_checker.h"
#include "win32/code_page_win.h"
#include "win32/file_system_win.h"
#include "win32/hotkey_registrar_win.h"
#include "win32/keyboard_layout_win.h"
#include "win32/locale_win.h"
#include "win32/version_info_win.h"
#include "win32/wide_win.h"
#include "win32/window_system_win.h"

namespace {

// A program named without a folder, found where the shell looks when it starts one: the
// folders of the search path (the system folders included) and the programs registered under
// "App Paths".
class WinProgramFinder : public ProgramFinder {
 public:
  bool Exists(const std::u16string& program) const override {
    wchar_t found[MAX_PATH];
    if (SearchPathW(nullptr, W(program), L".exe", MAX_PATH, found, nullptr) > 0) return true;
    const std::wstring key =
        L"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\" + std::wstring(W(program));
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
      HKEY opened = nullptr;
      if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, &opened) == ERROR_SUCCESS) {
        RegCloseKey(opened);
        return true;
      }
    }
    return false;
  }
};

// Writes text to standard output in the console's code page, or in UTF-8.
void Print(const std::u16string& text, bool utf8) {
  UINT codePage = utf8 ? CP_UTF8 : GetConsoleOutputCP();
  if (codePage == 0) codePage = GetACP();  // no console: the system's code page
  const std::wstring wide(W(text));
  const int size = WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
  WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), bytes.data(), size,
                      nullptr, nullptr);
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), bytes.data(), static_cast<DWORD>(bytes.size()),
            &written, nullptr);
}

std::u16string WindowList() {
  std::u16string text;
  WinWindowSystem windows;
  for (const WindowHandle window : windows.TopLevelWindows()) {
    if (!windows.IsVisible(window)) continue;
    text += windows.ClassName(window) + u"\t" + windows.Title(window) + u"\r\n";
  }
  return text;
}

std::u16string DefaultSettingsPath() {
  const std::u16string exe = ExecutablePath();
  return exe.substr(0, exe.find_last_of(u'\\') + 1) + u"Kelvo.INI";
}

// The full path of a settings file named on the command line (relative to the current folder).
std::u16string FullPath(const std::u16string& path) {
  wchar_t full[MAX_PATH * 4];
  const DWORD n = GetFullPathNameW(W(path), MAX_PATH * 4, full, nullptr);
  return n > 0 && n < MAX_PATH * 4 ? U16(full, n) : path;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
  bool utf8 = false;
  bool windows = false;
  std::u16string settings;
  for (int i = 1; i < argc; ++i) {
    const std::u16string arg = U16(argv[i]);
    if (arg == u"--utf8") {
      utf8 = true;
    } else if (arg == u"--windows") {
      windows = true;
    } else {
      settings = FullPath(arg);
    }
  }
  if (windows) {
    Print(WindowList(), utf8);
    return 0;
  }
  if (settings.empty()) settings = DefaultSettingsPath();
  // Registrations are tried on a window of the checker's own, and released at once.
  const HWND window = CreateWindowExW(0, L"STATIC", L"KelvoCheck", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                      nullptr, GetModuleHandleW(nullptr), nullptr);
  WinFileSystem files;
  WinCodePage codePage;
  WinLocale locale;
  WinKeyboardLayout keyboard;
  WinHotKeyRegistrar hotkeys;
  WinProgramFinder programs;
  const bool kelvoRunning = FindWindowW(TKelvoMainForm::kClassName, nullptr) != nullptr;
  const CheckServices services{files,    codePage,    locale,
                               keyboard, hotkeys,     reinterpret_cast<WindowHandle>(window),
                               programs, kelvoRunning};
  const CheckReport report = CheckSettings(settings, services, AppVersionNumber());
  Print(report.Text(), utf8);
  if (window) DestroyWindow(window);
  return report.ExitCode();
}
