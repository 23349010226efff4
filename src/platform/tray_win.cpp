#include "platform/tray_win.h"

#include "platform/shell_win.h"

#include <algorithm>

NOTIFYICONDATAW WinTrayIcon::Data(const std::u16string& hint) const {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof(data);
  data.hWnd = owner_;
  data.uID = 1;
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = kTrayMessage;
  data.hIcon = icon_;
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
