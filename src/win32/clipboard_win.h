#pragma once
#include <windows.h>

#include <optional>
#include <string>

#include "platform/clipboard.h"

// The clipboard through user32. Writes need an owner window: a clipboard emptied without one
// refuses new data on Windows.
class WinClipboard : public Clipboard {
 public:
  // Another program that holds the clipboard usually lets go within milliseconds; ten attempts
  // wait at most 180 ms in all.
  static constexpr int kOpenAttempts = 10;
  static constexpr DWORD kRetryPauseMs = 20;

  explicit WinClipboard(HWND owner) : owner_(owner) {}

  std::optional<std::u16string> ReadText(std::size_t maxUnits) override;
  bool WriteText(std::u16string_view text, ClipboardPrivacy privacy) override;
  SharedClipboardText ReadSharedText(std::size_t maxUnits) override;

 protected:
  // The pause between two attempts to open the clipboard.
  virtual void PauseBeforeRetry();

 private:
  bool Open();

  HWND owner_;
  // What this object placed last, with the clipboard's change count once it was placed. While
  // the count stays, the contents are still these, and a history takes them from here rather
  // than open the clipboard: the program Kelvo just pasted into opens it for its paste at that
  // moment, and a paste that finds the clipboard held pastes nothing.
  struct LastWrite {
    DWORD sequence = 0;
    std::u16string text;
    ClipboardPrivacy privacy = ClipboardPrivacy::kShared;
  };
  std::optional<LastWrite> lastWrite_;
};
