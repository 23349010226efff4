#pragma once
#include <string>

#include "core/saved_target.h"
#include "platform/clipboard.h"
#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/key_input.h"
#include "platform/locale.h"
#include "platform/paste_sender.h"
#include "platform/window_system.h"

// What a paste into another program's window needs. The clock and the locale expand the macros
// of texts that have them (launcher items) before they are pasted.
struct PasteServices {
  Clipboard& clipboard;
  Desktop& desktop;
  WindowSystem& windows;
  KeyInput& keys;
  PasteSender& sender;
  const Clock& clock;
  const Locale& locale;
};

enum class PasteOutcome {
  kNothing,          // no text: the clipboard is untouched
  kClipboardFailed,  // the clipboard could not be written: nothing pasted
  kOnClipboard,      // the text is on the clipboard; it was not pasted (target gone, not in
                     // front, keys held, no answer)
  kPastedByMessage,
  kPastedByKeys,
};

// Retries of a clipboard write that another program blocks, about 100 ms in all.
inline constexpr int kClipboardWriteAttempts = 3;
inline constexpr int kClipboardRetryPauseMs = 50;
// How long Ctrl+V waits for the user to let go of Shift, Alt and the Windows keys.
inline constexpr int kModifierWaitMs = 1000;

// Puts the text on the clipboard, trying again briefly while another program holds it; false when
// it could not be placed.
bool WriteClipboard(PasteServices& services, const std::u16string& text, ClipboardPrivacy privacy);

// Puts the text on the clipboard and pastes it into the remembered target: the paste message to
// a focused control of one of the wmPasteClass classes (";"-separated), Ctrl+V otherwise. Nothing
// is pasted when the clipboard cannot be written (Ctrl+V would paste what was there before). No
// key is sent unless the target still exists in the same thread and is in front, and none while
// the user still holds Shift, Alt or a Windows key (Shift+Enter must not become Ctrl+Shift+V).
// Right before Ctrl goes down the target is looked at once more: when another window took the
// front during the waits, or the focus went to another thread, no key is typed and the text
// stays on the clipboard.
PasteOutcome PasteIntoTarget(const std::u16string& text, const SavedTarget& target,
                             const std::u16string& wmPasteClass, PasteServices& services,
                             ClipboardPrivacy privacy);

// The foreground window now, its thread and the thread's focused control (read with the input
// attached for a moment): the target a later paste goes to.
SavedTarget RememberForeground(Desktop& desktop);

// Whether the window is still the one remembered: it, and its focused control if it had one,
// belong to the remembered thread (a closed window's handle may have gone to another program).
bool TargetStillThere(const SavedTarget& target, const Desktop& desktop);

// Whether a class name is one of the ";"-separated classes, without regard to case.
bool IsPasteMessageClass(const std::u16string& className, const std::u16string& wmPasteClass);
