#include "win32/clipboard_win.h"

#include <cstring>
#include <utility>

#include "win32/owned_kernel_objects_win.h"

namespace {

// Formats whose presence asks clipboard histories and monitors to skip the contents; the third
// does so only with the value 0.
constexpr wchar_t kExcludeFromMonitoring[] = L"ExcludeClipboardContentFromMonitorProcessing";
constexpr wchar_t kViewerIgnore[] = L"Clipboard Viewer Ignore";
constexpr wchar_t kCanIncludeInHistory[] = L"CanIncludeInClipboardHistory";

UINT Format(const wchar_t* name) { return RegisterClipboardFormatW(name); }

// Closes the clipboard that a successful Open() opened.
class ClipboardCloser {
 public:
  ClipboardCloser() = default;
  ~ClipboardCloser() { CloseClipboard(); }
  ClipboardCloser(const ClipboardCloser&) = delete;
  ClipboardCloser& operator=(const ClipboardCloser&) = delete;
};

// A global memory block, locked from GlobalLock to GlobalUnlock.
class LockedMemory {
 public:
  explicit LockedMemory(HGLOBAL memory) : memory_(memory), data_(GlobalLock(memory)) {}
  ~LockedMemory() {
    if (data_) GlobalUnlock(memory_);
  }
  LockedMemory(const LockedMemory&) = delete;
  LockedMemory& operator=(const LockedMemory&) = delete;
  void* get() const { return data_; }

 private:
  HGLOBAL memory_;
  void* data_;
};

// A block for the clipboard holding the bytes and then `zeros` zero bytes; empty when the
// memory cannot be had.
GlobalMemory CopyToGlobal(const void* bytes, std::size_t size, std::size_t zeros) {
  GlobalMemory memory = owned::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size + zeros);
  if (!memory) return memory;
  const LockedMemory locked(memory.get());
  if (!locked.get()) return GlobalMemory();
  if (size > 0) std::memcpy(locked.get(), bytes, size);
  return memory;
}

// Places the block on the open clipboard, which then owns it; false when it is refused.
bool SetData(UINT format, GlobalMemory memory) {
  if (format == 0 || !memory) return false;
  if (!SetClipboardData(format, memory.get())) return false;
  static_cast<void>(memory.release());
  return true;
}

bool SetPrivacyMarks() {
  const DWORD zero = 0;
  for (const wchar_t* name : {kExcludeFromMonitoring, kViewerIgnore, kCanIncludeInHistory}) {
    if (!SetData(Format(name), CopyToGlobal(&zero, sizeof zero, 0))) return false;
  }
  return true;
}

bool Available(const wchar_t* formatName) {
  const UINT format = Format(formatName);
  return format != 0 && IsClipboardFormatAvailable(format);
}

// The text of the clipboard this thread holds open.
std::optional<std::u16string> HeldText(std::size_t maxUnits) {
  const HANDLE data = GetClipboardData(CF_UNICODETEXT);
  if (!data) return std::nullopt;
  const LockedMemory locked(data);
  if (!locked.get()) return std::nullopt;
  // The block's own size bounds the read, whatever its text claims.
  const std::size_t units = GlobalSize(data) / sizeof(char16_t);
  return std::u16string(
      BoundedClipboardText(static_cast<const char16_t*>(locked.get()), units, maxUnits));
}

// Whether the contents of the clipboard this thread holds open carry a privacy mark.
bool HeldContentsArePrivate() {
  if (Available(kExcludeFromMonitoring) || Available(kViewerIgnore)) return true;
  const UINT canInclude = Format(kCanIncludeInHistory);
  if (canInclude == 0 || !IsClipboardFormatAvailable(canInclude)) return false;
  // Only the value 0 forbids recording. A value that cannot be read counts as forbidding: a
  // private text wrongly kept would be worse than a public one wrongly skipped.
  const HANDLE data = GetClipboardData(canInclude);
  if (!data) return true;
  const LockedMemory locked(data);
  if (!locked.get() || GlobalSize(data) < sizeof(DWORD)) return true;
  DWORD value = 0;
  std::memcpy(&value, locked.get(), sizeof value);
  return value == 0;
}

}  // namespace

void WinClipboard::PauseBeforeRetry() { Sleep(kRetryPauseMs); }

bool WinClipboard::Open() {
  for (int attempt = 1;; ++attempt) {
    if (OpenClipboard(owner_)) return true;
    if (attempt >= kOpenAttempts) return false;
    PauseBeforeRetry();
  }
}

std::optional<std::u16string> WinClipboard::ReadText(std::size_t maxUnits) {
  if (!Open()) return std::nullopt;
  const ClipboardCloser closer;
  return HeldText(maxUnits);
}

bool WinClipboard::WriteText(std::u16string_view text, ClipboardPrivacy privacy) {
  // Made before the clipboard is opened, so that a failure leaves the old contents alone.
  GlobalMemory memory = CopyToGlobal(text.data(), text.size() * sizeof(char16_t), sizeof(char16_t));
  if (!memory || !Open()) return false;
  {
    const ClipboardCloser closer;
    if (!EmptyClipboard()) return false;
    const bool placed = (privacy == ClipboardPrivacy::kShared || SetPrivacyMarks()) &&
                        SetData(CF_UNICODETEXT, std::move(memory));
    // Half-placed contents (a private text without its marks, marks without the text) go.
    if (!placed) {
      EmptyClipboard();
      return false;
    }
  }
  // Counted once closed: closing the clipboard counts as a change too.
  lastWrite_ = LastWrite{GetClipboardSequenceNumber(), std::u16string(text), privacy};
  return true;
}

SharedClipboardText WinClipboard::ReadSharedText(std::size_t maxUnits) {
  if (lastWrite_ && lastWrite_->sequence != 0 &&
      lastWrite_->sequence == GetClipboardSequenceNumber()) {
    if (lastWrite_->privacy == ClipboardPrivacy::kPrivate) return {true, std::nullopt};
    return {false, std::u16string(BoundedClipboardText(lastWrite_->text.data(),
                                                       lastWrite_->text.size(), maxUnits))};
  }
  if (!Open()) return {};
  const ClipboardCloser closer;
  if (HeldContentsArePrivate()) return {true, std::nullopt};
  return {false, HeldText(maxUnits)};
}
