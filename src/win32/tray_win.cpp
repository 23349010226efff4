#include "win32/tray_win.h"

#include "win32/owned_icons_win.h"
#include "win32/shell_win.h"

#include <algorithm>

WinTrayIcon::WinTrayIcon(HWND owner, HINSTANCE module, const wchar_t* iconResource)
    : owner_(owner) {
  const UINT dpi = GetDpiForWindow(owner);
  const int width = GetSystemMetricsForDpi(SM_CXSMICON, dpi ? dpi : USER_DEFAULT_SCREEN_DPI);
  const int height = GetSystemMetricsForDpi(SM_CYSMICON, dpi ? dpi : USER_DEFAULT_SCREEN_DPI);
  // Not shared: an icon of a size other than the system's own ones must be owned and destroyed.
  icon_ = owned::LoadIconImage(module, iconResource, width, height);
}

WinTrayIcon::~WinTrayIcon() { Remove(); }

NOTIFYICONDATAW WinTrayIcon::Data(const std::u16string& hint) const {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof(data);
  data.hWnd = owner_;
  data.uID = 1;
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = kTrayMessage;
  data.hIcon = icon_.get();
  const std::size_t n = std::min(hint.size(), std::size(data.szTip) - 1);
  std::copy_n(hint.begin(), n, data.szTip);
  data.szTip[n] = L'\0';
  return data;
}

bool WinTrayIcon::Show(const std::u16string& hint) {
  NOTIFYICONDATAW data = Data(hint);
  if (shown_ && ShellNotifyIcon(NIM_MODIFY, &data)) return true;
  // Not shown yet, or the shell lost it (it restarted): add it anew.
  shown_ = ShellNotifyIcon(NIM_ADD, &data) != FALSE;
  return shown_;
}

void WinTrayIcon::Remove() {
  if (!shown_) return;
  NOTIFYICONDATAW data = Data(u"");
  ShellNotifyIcon(NIM_DELETE, &data);
  shown_ = false;
}
