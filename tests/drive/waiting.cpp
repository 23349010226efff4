#include "drive/waiting.h"

#include "drive/program_control.h"

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds deadline,
             Polling polling) {
  const auto end = std::chrono::steady_clock::now() + deadline;
  for (;;) {
    if (polling.pump) PumpMessages();
    if (condition()) return true;
    if (std::chrono::steady_clock::now() > end) return false;
    if (polling.pump) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, polling.pauseMs, QS_ALLINPUT);
    } else {
      Sleep(polling.pauseMs);
    }
  }
}
