#include "win32/shell_win.h"

#include "win32/late_bound_win.h"

BOOL ShellNotifyIcon(DWORD message, NOTIFYICONDATAW* data) {
  static const auto notify =
      LateBound<decltype(&Shell_NotifyIconW)>(L"shell32.dll", "Shell_NotifyIconW");
  return notify ? notify(message, data) : FALSE;
}

HINSTANCE ShellExecuteOpen(const wchar_t* file, const wchar_t* params, const wchar_t* dir,
                           int show) {
  static const auto execute = LateBound<decltype(&ShellExecuteW)>(L"shell32.dll", "ShellExecuteW");
  // The shell's answer for "no such function" is an error code below 32, as for other failures.
  return execute ? execute(nullptr, L"open", file, params, dir, show)
                 : reinterpret_cast<HINSTANCE>(SE_ERR_DLLNOTFOUND);
}
