#pragma once
#include <windows.h>

#include <shellapi.h>

#include "platform/tray.h"
#include "platform/unique_handle_win.h"

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

// A window timer of the main window; its ticks arrive as WM_TIMER with kTimerId.
class WinRetryTimer : public RetryTimer {
 public:
  static constexpr UINT_PTR kTimerId = 1;

  explicit WinRetryTimer(HWND owner) : owner_(owner) {}
  ~WinRetryTimer() override { Stop(); }
  WinRetryTimer(const WinRetryTimer&) = delete;
  WinRetryTimer& operator=(const WinRetryTimer&) = delete;

  void Start(unsigned intervalMs) override { SetTimer(owner_, kTimerId, intervalMs, nullptr); }
  void Stop() override { KillTimer(owner_, kTimerId); }

 private:
  HWND owner_;
};
