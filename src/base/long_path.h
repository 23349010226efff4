#pragma once
#include <cstddef>
#include <string>
#include <string_view>

// The file functions of Windows refuse paths of MAX_PATH (260) characters and more, unless the
// path is written in the extended-length form "\\?\C:\..." or "\\?\UNC\server\share\...", which
// has no such limit but is taken literally (no "." or "..", no "/"): a path is made full and
// normal first. A settings folder of 240 characters is readable, and the temporary file beside a
// file in it must be writable too.

// From this length on a path is given to the file functions in the extended form (directories
// are limited to 248 characters, files to 259).
inline constexpr std::size_t kLongPathFrom = 248;

// The extended form of a full, normal path ("C:\a" or "\\server\share\a"); a path already in an
// extended or device form, and a path that is neither, is returned as it is.
std::u16string ExtendedLengthForm(std::u16string_view fullPath);
