#pragma once
#include <windows.h>

#include "platform/window_system.h"

// The window manager's top-level windows.
class WinWindowSystem : public WindowSystem {
 public:
  std::vector<WindowHandle> TopLevelWindows() const override;
  bool IsVisible(WindowHandle window) const override;
  std::u16string Title(WindowHandle window) const override;
  std::u16string ClassName(WindowHandle window) const override;
  bool IsIconic(WindowHandle window) const override;
  void SendRestore(WindowHandle window) override;
  bool SetForeground(WindowHandle window) override;
  bool SetForegroundForKeys(WindowHandle window) override;
  void ShowWindow(WindowHandle window, int showCommand) override;
  void PostClose(WindowHandle window) override;
};
