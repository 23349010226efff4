#pragma once
#include <cstdint>
#include <string>

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
