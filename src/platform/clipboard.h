#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Whether clipboard history tools (Windows' own, Kelvo's) may record a text Kelvo places.
enum class ClipboardPrivacy { kShared, kPrivate };

// What a clipboard history may take: the text, unless the contents are marked private.
struct SharedClipboardText {
  bool isPrivate = false;
  // Nothing when the contents are private, hold no text, or the clipboard could not be opened.
  std::optional<std::u16string> text;
};

// The system clipboard's Unicode text. Another program may hold the clipboard for a moment;
// the implementation tries again a few times, within a bounded time, before it gives up.
class Clipboard {
 public:
  virtual ~Clipboard() = default;

  // The text on the clipboard, at most maxUnits UTF-16 units; nothing when the clipboard holds
  // no text or could not be opened.
  virtual std::optional<std::u16string> ReadText(std::size_t maxUnits) = 0;

  // Replaces the clipboard's contents with the text; false when the clipboard could not be
  // opened or the text not be placed (the clipboard may then have been emptied). A private text
  // is marked so that clipboard histories skip it, and is never placed without the marks.
  virtual bool WriteText(std::u16string_view text, ClipboardPrivacy privacy) = 0;

  // The text for a clipboard history, at most maxUnits units, unless the contents carry a mark
  // that asks histories not to record them ("ExcludeClipboardContentFromMonitorProcessing",
  // "Clipboard Viewer Ignore", or "CanIncludeInClipboardHistory" = 0). The marks and the text are
  // read in one hold of the clipboard: a program writes its text and its marks in one hold too, so
  // the text read is always the one whose marks were looked at, never one whose marks were not
  // placed yet or that replaced the contents in between.
  virtual SharedClipboardText ReadSharedText(std::size_t maxUnits) = 0;
};

// The text of a clipboard block of `available` UTF-16 units: up to the first terminator, if
// any, and at most maxUnits units. A cut that would leave the first half of a surrogate pair at
// the end drops it too.
std::u16string_view BoundedClipboardText(const char16_t* units, std::size_t available,
                                         std::size_t maxUnits);
