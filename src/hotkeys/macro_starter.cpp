#include "hotkeys/macro_starter.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

struct TZrMacStarter::State {
  State(MacroSender& s, const CodePage& c) : sender(s), codePage(c) {}
  MacroSender& sender;
  const CodePage& codePage;
  std::mutex mutex;
  std::condition_variable wake;
  std::condition_variable ended;
  std::u16string text;  // empty: no request
  WindowHandle target = 0;
  bool started = false;
  bool stop = false;
  bool finished = false;

  void Loop() {
    std::unique_lock lock(mutex);
    while (!stop) {
      if (text.empty()) {
        wake.wait(lock);
        continue;
      }
      // Text and target are taken together, so the worker never pairs a text with another
      // request's window.
      const WindowHandle to = target;
      std::string bytes = codePage.FromUnicodeLossy(text);
      bytes.push_back('\0');
      lock.unlock();
      if (to != 0) sender.SendMacro(to, bytes);
      lock.lock();
      text.clear();
    }
    finished = true;
    ended.notify_all();
  }
};

TZrMacStarter::TZrMacStarter(MacroSender& sender, const CodePage& codePage)
    : state_(std::make_shared<State>(sender, codePage)) {}

TZrMacStarter::~TZrMacStarter() {
  std::unique_lock lock(state_->mutex);
  if (!state_->started) return;
  state_->stop = true;
  state_->wake.notify_all();
  state_->ended.wait_for(lock, std::chrono::milliseconds(200), [&] { return state_->finished; });
}

bool TZrMacStarter::Request(WindowHandle target, const std::u16string& macro) {
  std::lock_guard lock(state_->mutex);
  if (!state_->text.empty() || macro.empty()) return false;
  state_->target = target;
  state_->text = macro;
  // The worker is made for the first macro: most users never send one, and an idle thread costs
  // its stack.
  if (!state_->started) {
    std::thread([state = state_] { state->Loop(); }).detach();
    state_->started = true;
  }
  state_->wake.notify_all();
  return true;
}

bool TZrMacStarter::Pending() const {
  std::lock_guard lock(state_->mutex);
  return !state_->text.empty();
}
