#pragma once
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>

#include "core/app_shell.h"
#include "hotkeys/hotkey_record.h"
#include "hotkeys/key_text.h"
#include "platform/clock.h"
#include "platform/code_page.h"
#include "platform/file_system.h"
#include "platform/hotkey_registrar.h"
#include "platform/keyboard_layout.h"
#include "platform/locale.h"
#include "platform/types.h"
#include "settings/font_description.h"
#include "settings/settings_store.h"
#include "util/background_task.h"

class TrayKeeper;

// The error shown when the settings file exists but cannot be read; it names the file.
std::u16string UnreadableSettingsMessage(const std::u16string& fileName);
// The error shown once when a settings file that was read before is missing at a reload.
std::u16string VanishedSettingsMessage(const std::u16string& fileName);
// The hint shown when a line of the settings file is not in the file's encoding.
std::u16string MixedEncodingMessage(const std::u16string& fileName, int line,
                                    const std::u16string& text);

// The operating-system services the settings load needs.
struct LoadServices {
  FileSystem& files;
  const CodePage& codePage;
  const Locale& locale;
  const Clock& clock;
  HotKeyRegistrar& hotkeys;
  const KeyboardLayout& keyboard;
  // Called on the listing's thread once the shortcuts under LaunchDir are listed: it should only
  // post a message, on which the user-interface thread takes them (TakeLaunchDirEntries).
  std::function<void()> launchDirListed = nullptr;
};

// A load that read the file, or found none and starts from the first-start contents.
inline bool LoadWentAhead(LoadResult result) {
  return result == LoadResult::kLoaded || result == LoadResult::kMissing;
}

// The main window's running configuration: the settings store, the hotkey table and the
// options the other parts read from it.
class MainModel {
 public:
  MainModel(LoadServices services, std::u16string exePath, WindowHandle wnd,
            FontDescription mainFont, int appVersion);
  ~MainModel();

  // Turns the settings file into the running configuration; also every reload. When the file
  // exists but cannot be read, or a file read before is missing, nothing changes (a first load
  // runs with no hotkeys) and nothing is written: the caller tells the user.
  LoadResult LoadSettings(AppShell& shell, TrayKeeper& tray);
  // The two halves of a load, for a start that must not keep the user's hotkeys waiting: the
  // first registers the hotkeys and shows the tray icon; the second, which the caller runs
  // soon after (before any hotkey is handled), reads what the windows need and writes the
  // file when the load changed it. The second is only for a file that was read or created.
  LoadResult LoadHotKeys(AppShell& shell, TrayKeeper& tray);
  void LoadWindowSettings(AppShell& shell);
  // The executable's path with the extension ".INI".
  std::u16string SettingsFileName() const;
  // Unregisters every hotkey and forgets the table.
  void ClearHotKeys();

  // The shortcuts under LaunchDir are listed on a thread of their own after each load, so that
  // neither the start nor a reload waits for a large folder; here they join the table as keyword
  // entries, once. `wait`: waits for a listing still running (for what needs the keywords now);
  // without it only a finished listing is taken. True when entries were added.
  bool TakeLaunchDirEntries(bool wait);

  const KeyNameTable& KeyNames() const { return *keyNames_; }
  // The record a hotkey message names, or nothing.
  const HKeyRec* Record(int id) const;

  std::u16string ExeDir;
  std::unique_ptr<UsrIniFile> IniFile;
  ::HKeyList HKeyList;
  int FirstKwdIndex = -1;
  std::u16string Editor;
  std::u16string ZrEditorPath;
  std::u16string WallBmpName;
  std::u16string WmPasteClass;
  FontDescription CmdLauncherFont;
  bool NoTitleBar = false;
  bool NoTrayIcon = false;
  // The menu definition file, made absolute against ExeDir; it need not exist.
  std::u16string PopupFile;

 private:
  LoadResult RegisterHotKeys(TrayKeeper& tray);
  void ReadWindowSettings(AppShell& shell);
  void BringUpToDate(bool fileExisted);
  void ReadGeneral();
  void BuildHotKeyTable();
  void AddEntry(std::unique_ptr<HKeyRec> rec, const std::u16string& section, int keyWait);
  void ReadActions(HKeyRec& rec, const std::u16string& section) const;
  void StartLaunchDirListing();
  void Keep(std::unique_ptr<HKeyRec> rec);

  LoadServices services_;
  std::u16string exePath_;
  WindowHandle wnd_;
  FontDescription mainFont_;
  int appVersion_;
  std::unique_ptr<KeyNameTable> keyNames_;
  std::unordered_map<int, const HKeyRec*> recordsById_;
  // Last: a listing still running is waited for before anything it uses goes.
  std::unique_ptr<BackgroundTask<std::vector<std::u16string>>> launchDirListing_;
};
