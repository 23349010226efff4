#pragma once
#include "platform/types.h"

// The paste message and the pending messages of Kelvo's own windows, for pastes into another
// program's control.
class PasteSender {
 public:
  virtual ~PasteSender() = default;
  // Sends the control the paste message and waits until it was handled; gives up on a program
  // that does not answer (false), so a hung target never freezes Kelvo.
  virtual bool SendPaste(WindowHandle control) = 0;
  // Lets Kelvo's windows handle the messages that are waiting.
  virtual void ProcessPendingMessages() = 0;
};
