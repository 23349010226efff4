#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The command line a second start hands to the resident instance, and the reading of it there.

// The data kind of the hand-over's copy-data record.
inline constexpr std::uintptr_t kHandOverKind = 1;

// The process command line without the program's own path (quoted or not) and the blanks and
// tabs after it; the rest is kept unchanged, trailing blanks included.
std::u16string CommandLineTail(std::u16string_view commandLine);

// The text of a received hand-over, read only within the byte count the message carries: it ends
// at the first NUL or at the last whole UTF-16 unit, whichever comes first. Any other data kind or
// a missing buffer gives the empty text.
std::u16string ReadHandOverText(std::uintptr_t kind, const void* data, std::size_t byteCount);

// Only this exact text (case-sensitive, no trimming) asks for a reload.
bool IsReloadRequest(std::u16string_view handOverText);
