#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Whether clipboard history tools (Windows' own, Kelvo's) may record a text Kelvo places.
enum class ClipboardPrivacy { kShared, kPrivate };

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

  // Whether the current contents carry a mark that asks clipboard histories not to record them
  // ("ExcludeClipboardContentFromMonitorProcessing", "Clipboard Viewer Ignore", or
  // "CanIncludeInClipboardHistory" = 0).
  virtual bool ContentsArePrivate() = 0;

  // The text unless the contents are marked private (then `isPrivate` and no text). Both answers
  // come from the same contents: a program that places a text and then its marks holds the
  // clipboard open until both are there, and a look between the two would see a text that seems
  // public.
  struct CheckedText {
    std::optional<std::u16string> text;
    bool isPrivate = false;
  };
  virtual CheckedText ReadTextUnlessPrivate(std::size_t maxUnits) {
    if (ContentsArePrivate()) return {std::nullopt, true};
    return {ReadText(maxUnits), false};
  }
};

// The text of a clipboard block of `available` UTF-16 units: up to the first terminator, if
// any, and at most maxUnits units. A cut that would leave the first half of a surrogate pair at
// the end drops it too.
std::u16string_view BoundedClipboardText(const char16_t* units, std::size_t available,
                                         std::size_t maxUnits);
