#pragma once
#include <windows.h>

#include <shellapi.h>

#include "platform/tray.h"
#include "win32/unique_handle_win.h"

// The notification-area icon of the main window. Its messages arrive as kTrayMessage.
class WinTrayIcon : public TrayIcon {
 public:
  static constexpr UINT kTrayMessage = WM_APP + 1;

  // Shows the module's icon resource at the small-icon size of the owner's monitor, so that the
  // shell need not scale a large image down.
  WinTrayIcon(HWND owner, HINSTANCE module, const wchar_t* iconResource);
  ~WinTrayIcon() override;
  WinTrayIcon(const WinTrayIcon&) = delete;
  WinTrayIcon& operator=(const WinTrayIcon&) = delete;

  bool Show(const std::u16string& hint) override;
  void Remove() override;
  bool Shown() const { return shown_; }
  HICON Icon() const { return icon_.get(); }

 private:
  NOTIFYICONDATAW Data(const std::u16string& hint) const;

  HWND owner_;
  IconHandle icon_;
  bool shown_ = false;
};
