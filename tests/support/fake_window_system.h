#pragma once
#include <functional>
#include <string>
#include <vector>

#include "platform/window_system.h"

// A scripted desktop: top-level windows in z-order, topmost first. Every action is recorded in
// call order as text ("restore 3", "foreground 3", "foreground for keys 3", "show 3 6", "close 3")
// and changes the scripted state as the window manager would: bringing a window to the front moves
// it to the top, minimising and restoring set its iconic state.
class FakeWindowSystem : public WindowSystem {
 public:
  struct Window {
    WindowHandle handle = 0;
    std::u16string title;
    std::u16string cls;
    bool visible = true;
    bool iconic = false;
  };

  std::vector<WindowHandle> TopLevelWindows() const override;
  bool IsVisible(WindowHandle window) const override;
  std::u16string Title(WindowHandle window) const override;
  std::u16string ClassName(WindowHandle window) const override;
  bool IsIconic(WindowHandle window) const override;
  void SendRestore(WindowHandle window) override;
  bool SetForeground(WindowHandle window) override;
  // Recorded as "foreground for keys N".
  bool SetForegroundForKeys(WindowHandle window) override;
  void ShowWindow(WindowHandle window, int showCommand) override;
  void PostClose(WindowHandle window) override;

  // Adds a window below the existing ones.
  void Add(WindowHandle handle, std::u16string title, std::u16string cls, bool visible = true,
           bool iconic = false);
  Window* Find(WindowHandle window);
  const Window* Find(WindowHandle window) const;
  // The handle of the topmost window, 0 when there is none.
  WindowHandle Front() const;

  std::vector<Window> windows;  // z-order, topmost first
  std::vector<std::string> actions;
  mutable int titleReads = 0;
  // Called whenever a window is brought to the front.
  std::function<void(WindowHandle)> onForeground;

 private:
  bool BringToTop(WindowHandle window);
};
