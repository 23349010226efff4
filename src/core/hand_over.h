#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The command line a second start hands to the resident instance, and the reading of it there.

// The data kind of the hand-over's copy-data record.
inline constexpr std::uintptr_t kHandOverKind = 1;

// A second start returns only after its reload has run. The resident instance answers the
// hand-over with 0 when it has; when it is busy (a hotkey waits in a message box, or a load runs)
// it answers the number of finished loads that will include the reload, and the second start
// asks with this registered message, which answers the loads finished so far, until that number
// is reached or kHandOverTimeoutMs have passed.
inline constexpr char16_t kLoadsDoneMessageName[] = u"Kelvo.LoadsDone";
inline constexpr unsigned kHandOverTimeoutMs = 30000;

// The process command line without the program's own path (quoted or not) and the blanks and
// tabs after it; the rest is kept unchanged, trailing blanks included.
std::u16string CommandLineTail(std::u16string_view commandLine);

// The text of a received hand-over, read only within the byte count the message carries: it ends
// at the first NUL or at the last whole UTF-16 unit, whichever comes first. Any other data kind or
// a missing buffer gives the empty text.
std::u16string ReadHandOverText(std::uintptr_t kind, const void* data, std::size_t byteCount);

// Only this exact text (case-sensitive, no trimming) asks for a reload.
bool IsReloadRequest(std::u16string_view handOverText);
