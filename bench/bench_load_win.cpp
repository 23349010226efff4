// Where a settings load spends its time: the load of the maximal settings file prepared by
// bench_startup_win (run that first), taken apart into its expensive steps.
//   bench_load_win.exe
#include <windows.h>

#include <cstdio>
#include <vector>

#include "core/main_model.h"
#include "core/tray_keeper.h"
#include "platform/retry_timer.h"
#include "support/bench_support_win.h"
#include "support/null_app_shell.h"
#include "util/file_listing.h"
#include "win32/clock_win.h"
#include "win32/code_page_win.h"
#include "win32/file_system_win.h"
#include "win32/hotkey_registrar_win.h"
#include "win32/keyboard_layout_win.h"
#include "win32/locale_win.h"
#include "win32/wide_win.h"

namespace {

class NoTray : public TrayIcon {
 public:
  bool Show(const std::u16string&) override { return true; }
  void Remove() override {}
};
class NoTimer : public RetryTimer {
 public:
  void Start(unsigned) override {}
  void Stop() override {}
};

}  // namespace

int wmain() {
  const std::u16string folder = U16(BenchFolder(L"kelvo-bench").c_str());
  WinFileSystem files;
  WinCodePage codePage;
  WinLocale locale;
  WinClock clock;
  WinHotKeyRegistrar hotkeys;
  WinKeyboardLayout keyboard;
  HWND wnd =
      CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  MainModel model({files, codePage, locale, clock, hotkeys, keyboard}, folder + u"\\Kelvo.exe",
                  reinterpret_cast<WindowHandle>(wnd), FontDescription{}, 169);
  NoTray tray;
  NoTimer timer;
  TrayKeeper keeper(tray, timer);
  NullAppShell hooks;
  const int runs = 9;
  std::printf("whole load: %.1f ms\n", MedianMs(runs, [&] { model.LoadSettings(hooks, keeper); }));
  std::printf("settings file read: %.1f ms\n", MedianMs(runs, [&] { model.IniFile->Load(); }));
  std::printf("key names: %.1f ms\n", MedianMs(runs, [&] { KeyNameTable names(keyboard); }));
  std::printf("launcher directory listing: %.1f ms\n", MedianMs(runs, [&] {
                std::vector<std::u16string> out;
                ListFiles(files, locale, folder + u"\\links", out, u"LNK", true);
              }));
  std::printf("launcher directory listing, unsorted: %.1f ms\n", MedianMs(runs, [&] {
                std::vector<std::u16string> out;
                ListFiles(files, locale, folder + u"\\links", out, u"LNK", false);
              }));
  std::printf("2,000 sort keys: %.1f ms\n", MedianMs(runs, [&] {
                for (int i = 0; i < 2000; ++i)
                  locale.SortKeyNoCase(folder + u"\\links\\group1\\tool1.lnk");
              }));
  return 0;
}
