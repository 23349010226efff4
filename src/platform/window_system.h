#pragma once
#include <string>
#include <vector>

#include "platform/types.h"

// Show commands of the system's ShowWindow (SW_SHOWNORMAL is kSwShowNormal of the launcher).
inline constexpr int kSwMaximize = 3;
inline constexpr int kSwMinimize = 6;
inline constexpr int kSwRestore = 9;

// The desktop's top-level windows as the hotkey actions see them: the list in z-order, what
// identifies a window, and the actions taken on found windows. A handle of a window that has
// gone away is harmless: it reads as invisible with an empty title and class, and actions on it
// do nothing.
class WindowSystem {
 public:
  virtual ~WindowSystem() = default;

  // Every top-level window, visible or not, in z-order, topmost first.
  virtual std::vector<WindowHandle> TopLevelWindows() const = 0;
  virtual bool IsVisible(WindowHandle window) const = 0;
  // The window's title, at most 2046 code units.
  virtual std::u16string Title(WindowHandle window) const = 0;
  // The window's class name, at most 510 code units.
  virtual std::u16string ClassName(WindowHandle window) const = 0;
  virtual bool IsIconic(WindowHandle window) const = 0;

  // Asks a minimised window to restore itself, as its system menu's Restore does; returns when
  // the window has handled the request, or after a short time when it does not answer.
  virtual void SendRestore(WindowHandle window) = 0;
  // Brings the window to the front and activates it; false when the system refused. Returns at
  // once: another program's window takes the activation when its thread next handles messages.
  virtual bool SetForeground(WindowHandle window) = 0;
  // The same for a window that keys are typed into next: returns once the window's thread has
  // handled the activation, so that the keys reach its focused control rather than nobody (at
  // most a fifth of a second; at once for a window already in front or a program that does not
  // answer).
  virtual bool SetForegroundForKeys(WindowHandle window) = 0;
  // Shows, hides, minimises or restores the window (kSwMinimize, kSwRestore ...); the window of
  // another program does so when it next handles its messages.
  virtual void ShowWindow(WindowHandle window, int showCommand) = 0;
  // Asks the window to close, as its system menu's Close does, without waiting for it.
  virtual void PostClose(WindowHandle window) = 0;
};
