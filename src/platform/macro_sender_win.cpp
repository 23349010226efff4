#include "platform/macro_sender_win.h"

#include <windows.h>

void WinMacroSender::SendMacro(WindowHandle target, const std::string& bytesWithZero) {
  COPYDATASTRUCT data{};
  data.dwData = kMacroCopyDataId;
  data.cbData = static_cast<DWORD>(bytesWithZero.size());
  data.lpData = const_cast<char*>(bytesWithZero.data());
  SendMessageW(reinterpret_cast<HWND>(target), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
}

WinMacroSender& WinMacroSender::Instance() {
  static WinMacroSender sender;
  return sender;
}
