#pragma once
#include <windows.h>

#include "platform/system_control.h"

class WinSystemControl : public SystemControl {
 public:
  explicit WinSystemControl(HWND kelvoWindow) : kelvoWindow_(kelvoWindow) {}

  bool Shutdown(unsigned flags) override;
  void MonitorPower(int level) override;
  bool TerminateProcess(std::uint32_t processId) override;
  void CdDoor(const std::u16string& drive, bool open) override;
  void Sleep(int milliseconds) override;
  void Beep() override;
  void PlaySoundAsync(const std::u16string& path) override;
  bool ScreenSaverEnabled() const override;
  void StartScreenSaver() override;
  bool SetWallpaper(const std::u16string& bmpPath) override;

 private:
  HWND kelvoWindow_;
};
