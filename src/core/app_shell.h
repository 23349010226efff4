#pragma once
#include "hotkeys/hotkey_action.h"

// What the application does for the portable parts: the windows and commands of Kelvo's own that
// a hotkey can reach, and the windows a settings load hands its options to. A window that does
// not exist yet simply does nothing.
class AppShell {
 public:
  virtual ~AppShell() = default;

  // Commands of a hotkey.
  virtual void Reload() = 0;
  virtual void OpenLauncherMenu() = 0;
  virtual void ToggleCmdLauncher() = 0;
  // CLIPBOARD, CLIPBOARD_C and CLIPBOARD_T with its set.
  virtual void ShowClipboard(const InternalAction& command) = 0;
  virtual void EditSettings() = 0;
  virtual void EditMenuFile() = 0;
  virtual void CloseMainWindow() = 0;
  virtual bool CmdLauncherVisible() const = 0;
  virtual void ForegroundCmdLauncher() = 0;
  // Hides the main window (the about box) and Kelvo's application window.
  virtual void HideMainWindow() = 0;
  virtual void ShowAbout() = 0;
  virtual void ShowHotKeyList() = 0;
  // A hide that stores nothing.
  virtual void HideHotKeyList() = 0;

  // Each called at its place in a settings load.
  virtual void SetBusyCursor(bool busy) = 0;
  // The command launcher's border follows `NoTitleBar`.
  virtual void ApplyCmdLauncherBorder(bool noTitleBar) = 0;
  // The clipboard window re-reads its own options.
  virtual void LoadClipSettings() = 0;
  // The launcher menu's options are read and the menu is rebuilt.
  virtual void BuildLauncherMenu() = 0;
};
