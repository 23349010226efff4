#pragma once
#include <memory>
#include <string>

#include "platform/code_page.h"
#include "platform/macro_sender.h"
#include "platform/types.h"

inline constexpr char16_t kEditorWindowClass[] = u"ZRWclassframe32";

// The one worker thread, made at the first request: the user-interface thread places a one-place
// request and goes on; the worker delivers it, blocking in the send, so a busy editor never
// blocks the hotkeys.
class TZrMacStarter {
 public:
  // The sender must live as long as the process (the worker may outlive this object while an
  // editor never answers).
  TZrMacStarter(MacroSender& sender, const CodePage& codePage);
  // Asks the worker to end; waits for it briefly (it ends at once when idle) and leaves it behind
  // only when it is stuck in a delivery.
  ~TZrMacStarter();
  TZrMacStarter(const TZrMacStarter&) = delete;
  TZrMacStarter& operator=(const TZrMacStarter&) = delete;

  // Places a request; false (and nothing placed) while one is pending or being delivered.
  bool Request(WindowHandle target, const std::u16string& macro);
  bool Pending() const;

 private:
  struct State;
  std::shared_ptr<State> state_;
};
