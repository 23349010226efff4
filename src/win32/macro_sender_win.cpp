#include "win32/macro_sender_win.h"

#include <windows.h>

namespace {

// The editor runs the macro before it answers; a longer wait means it has stopped answering.
constexpr UINT kMacroTimeoutMs = 60000;

}  // namespace

void WinMacroSender::SendMacro(WindowHandle target, const std::string& bytesWithZero) {
  COPYDATASTRUCT data{};
  data.dwData = kMacroCopyDataId;
  data.cbData = static_cast<DWORD>(bytesWithZero.size());
  data.lpData = const_cast<char*>(bytesWithZero.data());
  DWORD_PTR result = 0;
  SendMessageTimeoutW(reinterpret_cast<HWND>(target), WM_COPYDATA, 0,
                      reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, kMacroTimeoutMs, &result);
}

WinMacroSender& WinMacroSender::Instance() {
  static WinMacroSender sender;
  return sender;
}
