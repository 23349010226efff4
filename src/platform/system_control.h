#pragma once
#include <cstdint>
#include <string>

// System-wide commands and small services of the hotkey actions.
class SystemControl {
 public:
  virtual ~SystemControl() = default;
  // Enables the shutdown privilege and asks the system to end the session (EWX_ flags); false
  // when any step fails.
  virtual bool Shutdown(unsigned flags) = 0;
  // Broadcasts the monitor-power system command (1 low power, 2 off) without waiting for any
  // window.
  virtual void MonitorPower(int level) = 0;
  virtual bool TerminateProcess(std::uint32_t processId) = 0;
  // Opens or closes the CD tray of the drive ("E:") or of the default CD device (empty).
  virtual void CdDoor(const std::u16string& drive, bool open) = 0;
  virtual void Sleep(int milliseconds) = 0;
  virtual void Beep() = 0;
  virtual void PlaySoundAsync(const std::u16string& path) = 0;
  virtual bool ScreenSaverEnabled() const = 0;
  virtual void StartScreenSaver() = 0;
  // Sets the desktop wallpaper to a bitmap file, or removes it for the empty path.
  virtual bool SetWallpaper(const std::u16string& bmpPath) = 0;
};

inline constexpr unsigned kEwxLogoff = 0;
inline constexpr unsigned kEwxReboot = 2;
inline constexpr unsigned kEwxPowerOff = 8;
