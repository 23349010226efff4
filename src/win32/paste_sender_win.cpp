#include "win32/paste_sender_win.h"

#include <windows.h>

bool WinPasteSender::SendPaste(WindowHandle control) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(reinterpret_cast<HWND>(control), WM_PASTE, 0, 0,
                             SMTO_NORMAL | SMTO_ABORTIFHUNG, kPasteTimeoutMs, &result) != 0;
}

void WinPasteSender::ProcessPendingMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // the main loop must still see it
      return;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}
