#include "platform/dialogs_win.h"

#include "platform/wide_win.h"

int WinDialogs::ShowMessage(const std::u16string& text, const std::u16string& caption,
                            unsigned flags) {
  return MessageBoxW(owner_, W(text), W(caption), flags | MB_SETFOREGROUND);
}
