#pragma once
#include "platform/paste_sender.h"

class WinPasteSender : public PasteSender {
 public:
  // How long a paste message may take before the target counts as hung.
  static constexpr unsigned kPasteTimeoutMs = 2000;

  bool SendPaste(WindowHandle control) override;
  void ProcessPendingMessages() override;
};
