#pragma once
#include <map>
#include <string>
#include <vector>

#include "base/text_codec.h"
#include "hotkeys/macro_starter.h"
#include "platform/desktop.h"
#include "platform/program_launcher.h"
#include "platform/system_control.h"

// Foreground, focus and placement as the test scripts them; calls are logged in order.
class FakeDesktop : public Desktop {
 public:
  WindowHandle Foreground() const override { return foreground; }
  std::uint32_t WindowThread(WindowHandle window, std::uint32_t* processId) const override {
    if (processId) *processId = window ? static_cast<std::uint32_t>(window) + 5000 : 0;
    return window ? static_cast<std::uint32_t>(window) + 1000 : 0;
  }
  bool AttachInput(std::uint32_t thread, bool attach) override {
    log.push_back(std::string(attach ? "attach " : "detach ") + std::to_string(thread));
    return attachWorks && thread != 0;
  }
  WindowHandle FocusedWindow() const override { return focus; }
  void SetFocus(WindowHandle window) override { log.push_back("focus " + std::to_string(window)); }
  bool GetRect(WindowHandle window, WindowRect& r) const override {
    if (window == 0) return false;
    r = rect;
    return true;
  }
  void SetPosition(WindowHandle window, int x, int y, int w, int h) override {
    log.push_back("setpos " + std::to_string(window) + " " + std::to_string(x) + "," +
                  std::to_string(y) + "," + std::to_string(w) + "," + std::to_string(h));
  }
  int ScreenWidth() const override { return 1280; }
  int ScreenHeight() const override { return 1025; }
  WindowHandle FindByClass(const std::u16string& cls) const override {
    const auto found = classes.find(cls);
    return found == classes.end() ? 0 : found->second;
  }
  void BringKelvoToFront() override { log.push_back("kelvo front"); }

  WindowHandle foreground = 0;
  WindowHandle focus = 0;
  bool attachWorks = true;
  WindowRect rect{10, 20, 410, 320};
  std::map<std::u16string, WindowHandle> classes;
  std::vector<std::string> log;
};

class FakeSystemControl : public SystemControl {
 public:
  bool Shutdown(unsigned flags) override {
    log.push_back("shutdown " + std::to_string(flags));
    return shutdownWorks;
  }
  void MonitorPower(int level) override { log.push_back("monitor " + std::to_string(level)); }
  bool TerminateProcess(std::uint32_t pid) override {
    log.push_back("terminate " + std::to_string(pid));
    return true;
  }
  void CdDoor(const std::u16string& drive, bool open) override {
    log.push_back(std::string(open ? "cd open " : "cd close ") + Utf16ToUtf8(drive));
  }
  void Sleep(int ms) override { log.push_back("sleep " + std::to_string(ms)); }
  void Beep() override { log.push_back("beep"); }
  void PlaySoundAsync(const std::u16string& path) override {
    log.push_back("sound " + Utf16ToUtf8(path));
  }
  bool ScreenSaverEnabled() const override { return screenSaver; }
  void StartScreenSaver() override { log.push_back("screensaver"); }
  bool SetWallpaper(const std::u16string& path) override {
    log.push_back("wallpaper " + Utf16ToUtf8(path));
    return true;
  }

  bool shutdownWorks = true;
  bool screenSaver = false;
  std::vector<std::string> log;
};

class FakeLauncher : public ProgramLauncher {
 public:
  bool LaunchProgram(const std::u16string& file, const std::u16string& params,
                     const std::u16string& dir, int show, bool wait) override {
    log.push_back("launch " + Utf16ToUtf8(file) + "|" + Utf16ToUtf8(params) + "|" +
                  Utf16ToUtf8(dir) + "|" + std::to_string(show) + (wait ? "|wait" : "|nowait"));
    return true;
  }
  std::vector<std::string> log;
};
