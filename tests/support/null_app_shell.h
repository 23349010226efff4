#pragma once
#include "core/app_shell.h"

// An application that does nothing: a test overrides what it watches.
class NullAppShell : public AppShell {
 public:
  void Reload() override {}
  void OpenLauncherMenu() override {}
  void ToggleCmdLauncher() override {}
  void ShowClipboard(const InternalAction&) override {}
  void EditSettings() override {}
  void EditMenuFile() override {}
  void CloseMainWindow() override {}
  bool CmdLauncherVisible() const override { return false; }
  void ForegroundCmdLauncher() override {}
  void HideMainWindow() override {}
  void ShowAbout() override {}
  void ShowHotKeyList() override {}
  void HideHotKeyList() override {}
  void SetBusyCursor(bool) override {}
  void ApplyCmdLauncherBorder(bool) override {}
  void LoadClipSettings() override {}
  void BuildLauncherMenu() override {}
};
