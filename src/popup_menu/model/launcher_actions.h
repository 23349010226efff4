#pragma once
#include <optional>
#include <string>
#include <vector>

#include "core/paste_into_target.h"
#include "core/saved_target.h"
#include "platform/desktop.h"
#include "platform/window_system.h"
#include "popup_menu/model/launcher_menu_model.h"

// What a chosen item needs for its action, copied out of the menu when it closes: a reload that
// runs afterwards may free the menu, never this.
struct ChosenItem {
  PopupClick Click = PopupClick::kNone;
  std::u16string Caption;
  std::u16string Path;                    // the shortcut of a tree item
  std::vector<std::u16string> Enclosing;  // captions of the enclosing submenus, outermost first
};

ChosenItem CopyChosenItem(const PopupItem& item);

// A program start that a launch item asks for.
struct LauncherStart {
  std::u16string program;
  std::u16string params;
  bool reportFailure = false;  // entries with a command say so when the start fails
};

// The start a launch item asks for; nothing when it has nothing to start.
std::optional<LauncherStart> PlanLauncherStart(const ChosenItem& item,
                                               const std::u16string& popupDir);

// The message of a program that could not be started.
std::u16string LaunchFailedMessage(const std::u16string& program);

// The text a paste item pastes (before macros); empty for nothing.
std::u16string PasteText(const std::u16string& caption);

// Puts the item's text, macros expanded, on the clipboard and pastes it into the remembered
// target (PasteIntoTarget). With no window in front when the menu opened nothing happens at all,
// not even to the clipboard; with no control that had the focus the text is only put on the
// clipboard and no key is typed.
PasteOutcome PasteLauncherText(const std::u16string& caption, const SavedTarget& target,
                               const std::u16string& wmPasteClass, PasteServices& services);

// Gives the foreground and the focus back to the remembered target once the menu has closed;
// a window that is gone (or whose handle now belongs to another thread) is left alone.
void RestoreTarget(const SavedTarget& target, Desktop& desktop, WindowSystem& windows);
