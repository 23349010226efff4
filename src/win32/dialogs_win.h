#pragma once
#include <windows.h>

#include "platform/dialogs.h"

// Modal message boxes owned by the application's main window.
class WinDialogs : public Dialogs {
 public:
  explicit WinDialogs(HWND owner) : owner_(owner) {}
  int ShowMessage(const std::u16string& text, const std::u16string& caption,
                  unsigned flags) override;

 private:
  HWND owner_;
};
