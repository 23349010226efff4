#pragma once
#include <string>
#include <string_view>

// Parts of file paths, with "\" or "/" between folders.

// The name after the last folder separator (a drive's ":" counts as one).
std::u16string_view FileNamePart(std::u16string_view path);
// The folder with its trailing separator; empty for a bare name.
std::u16string_view DirectoryPart(std::u16string_view path);
// The file name's extension with its dot, from the name's last "."; empty when it has none.
std::u16string_view FileExtension(std::u16string_view path);
// The file name without its extension.
std::u16string_view FileStem(std::u16string_view path);
// The path with its file name's extension replaced (or added).
std::u16string WithExtension(std::u16string_view path, std::u16string_view extension);
// A settings name followed by a decimal number: "HotKey" 3 gives "HotKey3".
std::u16string NumberedName(std::u16string_view word, int n);
