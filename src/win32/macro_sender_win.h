#pragma once
#include "platform/macro_sender.h"

// Sends the macro to the editor's window and waits until it has been handled.
class WinMacroSender : public MacroSender {
 public:
  void SendMacro(WindowHandle target, const std::string& bytesWithZero) override;
  // The one sender of the process; it outlives every starter.
  static WinMacroSender& Instance();
};
