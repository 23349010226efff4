#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/code_page.h"
#include "platform/file_system.h"

// How a text file is stored. Utf8 is UTF-8 without a byte-order mark, Utf8Bom with one; the
// UTF-16 forms always carry their mark.
enum class TextEncoding { Ansi, Utf8, Utf8Bom, Utf16Le, Utf16Be };

struct DecodedText {
  std::u16string text;
  TextEncoding encoding = TextEncoding::Ansi;
};

struct EncodedText {
  std::string bytes;
  TextEncoding encoding = TextEncoding::Ansi;
};

// A byte-order mark selects UTF-8, UTF-16 LE or UTF-16 BE (the mark is not part of the text).
// Without one, valid UTF-8 that holds multi-byte sequences is UTF-8 (what current editors save);
// anything else is the ANSI code page. Ill-formed sequences decode to U+FFFD, nothing is refused.
DecodedText DecodeText(std::string_view bytes, const CodePage& codePage);

// The text in the wanted encoding, with its byte-order mark where it has one. Never drops a
// character: when ANSI is wanted and the code page cannot hold every character exactly, the text
// is written as UTF-8 with a mark instead, and `encoding` says so.
EncodedText EncodeText(std::u16string_view text, TextEncoding wanted, const CodePage& codePage);

// Lines end at CR LF, CR or LF. A line end at the very end of the text does not start another
// line, so "a\r\n" is one line and the empty text none; empty lines inside the text are kept.
std::vector<std::u16string> SplitLines(std::u16string_view text);

// Reads and decodes a whole file; nothing when it cannot be read.
std::optional<DecodedText> ReadTextFile(const FileSystem& fileSystem, const CodePage& codePage,
                                        const std::u16string& path);

// Encodes (as EncodeText) and replaces the file atomically. Returns the encoding actually
// written, nothing when the write failed (the old file is then left as it was).
std::optional<TextEncoding> WriteTextFile(FileSystem& fileSystem, const CodePage& codePage,
                                          const std::u16string& path, std::u16string_view text,
                                          TextEncoding wanted);
