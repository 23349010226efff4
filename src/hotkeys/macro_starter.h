#pragma once
#include <memory>
#include <string>

#include "platform/code_page.h"
#include "platform/types.h"

// Hands a macro to the external editor's window in a copy-data message (identifier 3034, the
// macro's ANSI bytes and a zero byte) and waits until the editor has handled it (at most a
// minute: an editor that takes longer has stopped answering).
class MacroSender {
 public:
  virtual ~MacroSender() = default;
  virtual void SendMacro(WindowHandle target, const std::string& bytesWithZero) = 0;
};

inline constexpr std::uintptr_t kMacroCopyDataId = 3034;
inline constexpr char16_t kEditorWindowClass[] = u"ZRWclassframe32";

// The one worker thread: the user-interface thread places a one-place request and goes on; the
// worker delivers it, blocking in the send, so a busy editor never blocks the hotkeys.
class TZrMacStarter {
 public:
  // The sender must live as long as the process (the worker may outlive this object while an
  // editor never answers).
  TZrMacStarter(MacroSender& sender, const CodePage& codePage);
  // Asks the worker to end; waits for it briefly (it ends within about 100 ms when idle) and
  // leaves it behind only when it is stuck in a delivery.
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
