// The items of "SETPOS_FGWND x,y,w,h". The input is the text after the command word; its first
// bytes also place the foreground window. Properties:
// - the command moves the foreground window once, or not at all when it has more than four
//   items, and does nothing else (no message, no other window touched);
// - each item gives its value: a number, MAX or HALF of the primary screen's width (x, w) or
//   height (y, h), "*" or a missing item the window's own, anything else 0;
// - the comma-text reader gives back any list of items written with quotes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/number_text.h"
#include "base/text_case.h"
#include "fuzz_support.h"
#include "hotkeys/action_executor.h"
#include "support/fake_desktop.h"
#include "support/fake_dialogs.h"
#include "support/fake_hotkey_registrar.h"
#include "support/fake_key_input.h"
#include "support/fake_locale.h"
#include "support/fake_window_system.h"
#include "support/system_code_page.h"

namespace {

class NoMacros : public MacroSender {
 public:
  void SendMacro(WindowHandle, const std::string&) override {}
};

std::u16string Trimmed(std::u16string_view text) {
  while (!text.empty() && text.front() <= u' ') text.remove_prefix(1);
  while (!text.empty() && text.back() <= u' ') text.remove_suffix(1);
  return std::u16string(text);
}

std::u16string Quoted(const std::u16string& item) {
  std::u16string quoted = u"\"";
  for (char16_t c : item) {
    quoted += c;
    if (c == u'"') quoted += c;
  }
  return quoted + u"\"";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::u16string parameter = FuzzText(data, size);
  FakeDesktop desktop;
  desktop.foreground = 4;
  if (size >= 4) {
    // Somewhere on a large desktop, as GetWindowRect reports it.
    desktop.rect.left = static_cast<std::int8_t>(data[0]) * 100;
    desktop.rect.top = static_cast<std::int8_t>(data[1]) * 100;
    desktop.rect.right = desktop.rect.left + data[2] * 20;
    desktop.rect.bottom = desktop.rect.top + data[3] * 20;
  }
  const WindowRect rect = desktop.rect;
  FakeHotKeyRegistrar registrar;
  FakeWindowSystem windows;
  windows.Add(4, u"Foreground", u"F");
  FakeSystemControl system;
  FakeKeyInput keys;
  FakeLauncher launcher;
  FakeDialogs dialogs;
  FakeLocale locale;
  // The macro worker is a thread: one for the whole run.
  static NoMacros sender;
  static TZrMacStarter macros(sender, SystemCodePage());
  ActionServices services{windows, desktop, system, keys, launcher, dialogs, locale, macros};
  HKeyRec record(registrar, 1, 1, 0);
  record.SetCommand(u"SETPOS_FGWND " + parameter);
  ExecuteHotKey(record, services, u"");

  FUZZ_CHECK(dialogs.messages.empty() && windows.actions.empty() && system.log.empty() &&
                 keys.log.empty() && launcher.log.empty(),
             "side effects of " + Shown(parameter));
  const std::vector<std::u16string> items = SplitCommaText(Trimmed(parameter));
  if (items.size() > 4) {
    FUZZ_CHECK(desktop.log.empty(), "moved with " + std::to_string(items.size()) + " items");
  } else {
    int values[4] = {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
    for (std::size_t k = 0; k < items.size(); ++k) {
      const int screen = k % 2 == 0 ? desktop.ScreenWidth() : desktop.ScreenHeight();
      if (EqualsNoCase(items[k], u"MAX")) {
        values[k] = screen;
      } else if (EqualsNoCase(items[k], u"HALF")) {
        values[k] = screen / 2;
      } else if (items[k] != u"*") {
        values[k] = ParseInt32(items[k]).value_or(0);
      }
    }
    const std::string expected = "setpos 4 " + std::to_string(values[0]) + "," +
                                 std::to_string(values[1]) + "," + std::to_string(values[2]) + "," +
                                 std::to_string(values[3]);
    FUZZ_CHECK(desktop.log == std::vector<std::string>{expected},
               Shown(parameter) + ": expected " + expected);
  }

  // Items written with quotes read back as they were.
  std::u16string joined;
  for (std::size_t k = 0; k < items.size(); ++k) joined += (k ? u"," : u"") + Quoted(items[k]);
  FUZZ_CHECK(SplitCommaText(joined) == items, Shown(joined));
  return 0;
}
