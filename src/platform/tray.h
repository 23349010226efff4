#pragma once
#include <string>

// The notification-area icon.
class TrayIcon {
 public:
  virtual ~TrayIcon() = default;
  // Adds the icon (or updates it when it is shown); false when the shell refuses it.
  virtual bool Show(const std::u16string& hint) = 0;
  virtual void Remove() = 0;
};
