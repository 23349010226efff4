#pragma once
#include <windows.h>

#include <imm.h>

#include <optional>

// An input context of a window's own, closed: the window takes typed letters as they are while the
// input method (IME) of the thread's other windows stays as the user left it, for the thread's
// windows share one context. The input method manager (imm32) is looked up at the first use.
class OwnInputContext {
 public:
  OwnInputContext() = default;
  ~OwnInputContext();
  OwnInputContext(const OwnInputContext&) = delete;
  OwnInputContext& operator=(const OwnInputContext&) = delete;

  // Gives `window` the own context (made at the first call) and closes it; the context the window
  // had is kept to be given back. False when the system has no input method manager.
  bool Close(HWND window);
  // Gives the window the context back that it had before Close; nothing after none.
  void GiveBack();
  bool InUse() const { return window_ != nullptr; }

 private:
  HWND window_ = nullptr;
  HIMC own_ = nullptr;
  HIMC previous_ = nullptr;
};

// Whether the input context that a window of this thread uses now is open; nothing when the
// window has none or the system has no input method manager.
std::optional<bool> InputContextOpen(HWND window);
