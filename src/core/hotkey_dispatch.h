#pragma once
#include <optional>
#include <string>

#include "core/main_model.h"
#include "core/saved_target.h"
#include "hotkeys/action_executor.h"
#include "hotkeys/hotkey_action.h"
#include "platform/image_decoder.h"

// The windows and commands of Kelvo's own that a hotkey can reach; the main window implements
// them.
class KelvoWindows {
 public:
  virtual ~KelvoWindows() = default;
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
};

// What the main window does with a hotkey message (a registered hotkey, or a keyword entry run
// by the command launcher).
//
// A hotkey that waits in a message box lets further hotkeys in, so hotkeys nest. A command that
// reloads or closes never acts inside the record that runs it: it asks, and the outermost
// hotkey carries the request out once its record has finished (a reload before the tidy-up, so
// that a hotkey pressed right after it finds the new table).
class HotKeyDispatcher {
 public:
  HotKeyDispatcher(MainModel& model, ActionServices& services, FileSystem& files,
                   ImageDecoder& images, KelvoWindows& windows)
      : model_(model), services_(services), files_(files), images_(images), windows_(windows) {}

  // A hotkey message. A press that had to wait (while a window of Kelvo was busy) brings the
  // target remembered when it was pressed; its actions act on that, not on what is in front when
  // it finally runs.
  void WMHotKey(int id, const std::optional<SavedTarget>& pressedOver = std::nullopt);
  const SavedTarget& Target() const { return target_; }
  // True while a hotkey runs, also while it waits in a message box.
  bool Running() const { return depth_ > 0; }

 private:
  void RememberTarget(const std::optional<SavedTarget>& pressedOver);
  void PlaySound(const HKeyRec& rec);
  void SetWallPaper(const HKeyRec& rec);
  bool ConvertWallPaper(const std::u16string& path);
  // Kelvo's own commands; every other record goes to the action executor.
  void Perform(const InternalAction& action, bool& showAbout, bool& showHotKeyList);
  void TidyUp(bool showAbout, bool showHotKeyList);

  // What the commands of the running hotkeys asked for.
  struct Requests {
    bool reload = false;
    bool close = false;
  };

  MainModel& model_;
  ActionServices& services_;
  FileSystem& files_;
  ImageDecoder& images_;
  KelvoWindows& windows_;
  SavedTarget target_;
  int depth_ = 0;
  Requests requests_;
};
