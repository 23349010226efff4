#pragma once
#include <windows.h>

#include "platform/desktop.h"

class WinDesktop : public Desktop {
 public:
  // Kelvo's own window, brought to the front before Kelvo shows a box of its own.
  explicit WinDesktop(HWND kelvoWindow) : kelvoWindow_(kelvoWindow) {}

  WindowHandle Foreground() const override;
  std::uint32_t WindowThread(WindowHandle window, std::uint32_t* processId) const override;
  bool AttachInput(std::uint32_t otherThread, bool attach) override;
  WindowHandle FocusedWindow() const override;
  void SetFocus(WindowHandle window) override;
  bool GetRect(WindowHandle window, WindowRect& rect) const override;
  void SetPosition(WindowHandle window, int x, int y, int width, int height) override;
  int ScreenWidth() const override;
  int ScreenHeight() const override;
  WindowHandle FindByClass(const std::u16string& className) const override;
  void BringKelvoToFront() override;

 private:
  HWND kelvoWindow_;
};
