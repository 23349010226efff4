#pragma once
#include <optional>
#include <string>
#include <vector>

#include "platform/clipboard.h"

// A clipboard whose contents and failures the test sets, and which records every write.
class FakeClipboard : public Clipboard {
 public:
  struct Write {
    std::u16string text;
    ClipboardPrivacy privacy;
  };

  std::optional<std::u16string> ReadText(std::size_t maxUnits) override {
    ++reads;
    if (busy || !text) return std::nullopt;
    return std::u16string(BoundedClipboardText(text->data(), text->size(), maxUnits));
  }

  bool WriteText(std::u16string_view written, ClipboardPrivacy privacy) override {
    writes.push_back(Write{std::u16string(written), privacy});
    if (busy || failedWrites > 0) {
      if (failedWrites > 0) --failedWrites;
      return false;
    }
    text = std::u16string(written);
    isPrivate = privacy == ClipboardPrivacy::kPrivate;
    return true;
  }

  SharedClipboardText ReadSharedText(std::size_t maxUnits) override {
    if (busy) return {};
    if (isPrivate) return {true, std::nullopt};
    return {false, ReadText(maxUnits)};
  }

  // Another program's copy.
  void SetByOtherProgram(std::u16string copied, bool markedPrivate = false) {
    text = std::move(copied);
    isPrivate = markedPrivate;
  }

  std::optional<std::u16string> text;  // nothing: the clipboard holds no text
  bool isPrivate = false;
  bool busy = false;     // another program holds the clipboard: reads and writes fail
  int failedWrites = 0;  // so many writes fail (memory, a refused format) before they work
  int reads = 0;
  std::vector<Write> writes;
};
