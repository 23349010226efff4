#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The temporary file an atomic write makes beside its target: the target's name, ".~", six hex
// digits that tag the computer, the writing process's id in eight and a sequence number in six,
// then ".tmp" (26 characters more than the target). On a network share several computers write
// into one folder; the tag tells which of them made a file, since a process id means something
// only on the computer that gave it.

// The tag of a computer: a hash of its name without regard to ASCII letter case.
std::uint32_t ComputerTag(std::u16string_view computerName);

std::u16string TempFileName(std::u16string_view target, std::uint32_t computerTag,
                            std::uint32_t processId, std::uint32_t sequence);

// Who made a temporary file of the target named `targetName`: nothing when `name` is not one
// TempFileName gives for it.
struct TempFileWriter {
  std::uint32_t computerTag = 0;
  std::uint32_t processId = 0;
};
std::optional<TempFileWriter> TempFileWriterOf(std::u16string_view name,
                                               std::u16string_view targetName);
