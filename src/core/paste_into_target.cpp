#include "core/paste_into_target.h"

#include <cstdint>

#include "base/text_case.h"

namespace {

constexpr std::uint8_t kVkV = 0x56;
constexpr int kBeforeKeysMs = 50;
constexpr int kKeyHoldMs = 100;
constexpr int kModifierPollMs = 10;

void TypeCtrlV(PasteServices& s) {
  s.keys.Sleep(kBeforeKeysMs);
  s.keys.SendKeyEvent(kVkControl, false);
  s.keys.SendKeyEvent(kVkV, false);
  s.keys.Sleep(kKeyHoldMs);
  s.keys.SendKeyEvent(kVkV, true);
  s.keys.SendKeyEvent(kVkControl, true);
  s.sender.ProcessPendingMessages();
}

// Pastes into the target while this thread's input is attached to the target's.
PasteOutcome PasteAttached(const SavedTarget& target, const std::u16string& wmPasteClass,
                           PasteServices& s) {
  const bool byMessage =
      target.SavedFocusWnd != 0 &&
      IsPasteMessageClass(s.windows.ClassName(target.SavedFocusWnd), wmPasteClass);
  // Only typed keys need the window to have taken its activation first.
  const bool asked = byMessage ? s.windows.SetForeground(target.SavedFgWnd)
                               : s.windows.SetForegroundForKeys(target.SavedFgWnd);
  const bool inFront = asked || s.desktop.Foreground() == target.SavedFgWnd;
  if (target.SavedFocusWnd != 0) s.desktop.SetFocus(target.SavedFocusWnd);
  if (byMessage) {
    return s.sender.SendPaste(target.SavedFocusWnd) ? PasteOutcome::kPastedByMessage
                                                    : PasteOutcome::kOnClipboard;
  }
  // Typed keys go to whatever window is in front: only when it is the target.
  if (!inFront || !WaitForKeysUp(s.keys, {kVkShift, kVkMenu, kVkLWin, kVkRWin}, kModifierWaitMs,
                                 kModifierPollMs)) {
    return PasteOutcome::kOnClipboard;
  }
  TypeCtrlV(s);
  return PasteOutcome::kPastedByKeys;
}

}  // namespace

bool WriteClipboard(PasteServices& s, const std::u16string& text, ClipboardPrivacy privacy) {
  for (int attempt = 0; attempt < kClipboardWriteAttempts; ++attempt) {
    if (attempt > 0) s.keys.Sleep(kClipboardRetryPauseMs);
    if (s.clipboard.WriteText(text, privacy)) return true;
  }
  return false;
}

bool IsPasteMessageClass(const std::u16string& className, const std::u16string& wmPasteClass) {
  std::size_t start = 0;
  while (start <= wmPasteClass.size()) {
    std::size_t end = wmPasteClass.find(u';', start);
    if (end == std::u16string::npos) end = wmPasteClass.size();
    const std::u16string_view part = std::u16string_view(wmPasteClass).substr(start, end - start);
    if (!part.empty() && EqualsNoCase(part, className)) return true;
    start = end + 1;
  }
  return false;
}

SavedTarget RememberForeground(Desktop& desktop) {
  SavedTarget target;
  target.SavedFgWnd = desktop.Foreground();
  target.SavedFgThread = desktop.WindowThread(target.SavedFgWnd, nullptr);
  if (desktop.AttachInput(target.SavedFgThread, true)) {
    target.SavedFocusWnd = desktop.FocusedWindow();
    desktop.AttachInput(target.SavedFgThread, false);
  }
  return target;
}

bool TargetStillThere(const SavedTarget& target, const Desktop& desktop) {
  if (target.SavedFgWnd == 0 || target.SavedFgThread == 0) return false;
  if (desktop.WindowThread(target.SavedFgWnd, nullptr) != target.SavedFgThread) return false;
  return target.SavedFocusWnd == 0 ||
         desktop.WindowThread(target.SavedFocusWnd, nullptr) == target.SavedFgThread;
}

PasteOutcome PasteIntoTarget(const std::u16string& text, const SavedTarget& target,
                             const std::u16string& wmPasteClass, PasteServices& s,
                             ClipboardPrivacy privacy) {
  if (text.empty()) return PasteOutcome::kNothing;
  if (!WriteClipboard(s, text, privacy)) return PasteOutcome::kClipboardFailed;
  if (!TargetStillThere(target, s.desktop)) return PasteOutcome::kOnClipboard;
  if (!s.desktop.AttachInput(target.SavedFgThread, true)) return PasteOutcome::kOnClipboard;
  const PasteOutcome outcome = PasteAttached(target, wmPasteClass, s);
  s.desktop.AttachInput(target.SavedFgThread, false);
  return outcome;
}
