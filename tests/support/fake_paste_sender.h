#pragma once
#include <map>
#include <string>
#include <vector>

#include "core/paste_into_target.h"
#include "platform/paste_sender.h"
#include "support/fake_clipboard.h"
#include "support/fake_desktop.h"
#include "support/fake_key_input.h"
#include "support/fake_locale.h"
#include "support/fake_window_system.h"

// Records the paste messages and message pumps in order ("paste 8", "pump").
class RecordingSender : public PasteSender {
 public:
  bool SendPaste(WindowHandle control) override {
    log.push_back("paste " + std::to_string(control));
    return answers;
  }
  void ProcessPendingMessages() override { log.push_back("pump"); }
  bool answers = true;  // false: the target does not answer in time
  std::vector<std::string> log;
};

// A desktop whose windows belong to the threads the test gives them; others do not exist.
class ThreadedDesktop : public FakeDesktop {
 public:
  std::uint32_t WindowThread(WindowHandle window, std::uint32_t*) const override {
    const auto found = threads.find(window);
    return found == threads.end() ? 0 : found->second;
  }
  std::map<WindowHandle, std::uint32_t> threads{{7, 70}, {8, 70}};
};

// Everything a paste needs, as fakes: a target window 7 of thread 70 with its control 8.
struct FakePasteServices {
  FakeClipboard clipboard;
  ThreadedDesktop desktop;
  FakeWindowSystem windows;
  FakeKeyInput keys;
  RecordingSender sender;
  FakeClock clock;
  FakeLocale locale;
  PasteServices services{clipboard, desktop, windows, keys, sender, clock, locale};
  SavedTarget target{7, 70, 8};
};
