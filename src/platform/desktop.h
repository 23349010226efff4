#pragma once
#include <cstdint>
#include <string>

#include "platform/types.h"

struct WindowRect {
  int left = 0, top = 0, right = 0, bottom = 0;
};

// Foreground, keyboard focus across threads and placement of the user's windows.
class Desktop {
 public:
  virtual ~Desktop() = default;
  virtual WindowHandle Foreground() const = 0;
  // The thread that owns the window (0 when there is none) and, when asked, its process.
  virtual std::uint32_t WindowThread(WindowHandle window, std::uint32_t* processId) const = 0;
  // Attaches (or detaches) this thread's input to another thread's, so that the focus of that
  // thread can be read and set.
  virtual bool AttachInput(std::uint32_t otherThread, bool attach) = 0;
  virtual WindowHandle FocusedWindow() const = 0;
  // Does nothing to a window whose program has stopped answering.
  virtual void SetFocus(WindowHandle window) = 0;
  virtual bool GetRect(WindowHandle window, WindowRect& rect) const = 0;
  // Moves, sizes, raises, shows and activates the window in one step (another program's window
  // when it next handles its messages).
  virtual void SetPosition(WindowHandle window, int x, int y, int width, int height) = 0;
  virtual int ScreenWidth() const = 0;
  virtual int ScreenHeight() const = 0;
  // A top-level window of that class, any title; 0 when there is none.
  virtual WindowHandle FindByClass(const std::u16string& className) const = 0;
  // Brings Kelvo itself to the foreground, so that it may activate its own windows. Handles no
  // waiting messages.
  virtual void BringKelvoToFront() = 0;
};
