#include "win32/dialogs_win.h"

#include "win32/wide_win.h"

int WinDialogs::ShowMessage(const std::u16string& text, const std::u16string& caption,
                            unsigned flags) {
  return MessageBoxW(owner_, W(text), W(caption), flags | MB_SETFOREGROUND);
}
