#pragma once
#include <map>
#include <string>
#include <vector>

#include "platform/paste_sender.h"
#include "support/fake_desktop.h"

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
