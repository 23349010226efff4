#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
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
// is written as UTF-8 with a mark instead, and `encoding` says so. The same happens when ANSI or
// UTF-8 without a mark would read back as other text (code-page bytes that are valid UTF-8, a
// leading U+FEFF).
EncodedText EncodeText(std::u16string_view text, TextEncoding wanted, const CodePage& codePage);

// Whether the bytes begin with the mark of UTF-8, UTF-16 LE or UTF-16 BE.
bool HasByteOrderMark(std::string_view bytes);

// UTF-16 code units as bytes, little or big endian, after their byte-order mark. Holds any
// text, lone surrogates included.
std::string EncodeUtf16(std::u16string_view text, bool bigEndian);

// Lines end at CR LF, CR or LF. A line end at the very end of the text does not start another
// line, so "a\r\n" is one line and the empty text none; empty lines inside the text are kept.
std::vector<std::u16string> SplitLines(std::u16string_view text);

// A text file read line by line, for files that users edit with whatever editor is at hand and
// that therefore may mix encodings (a UTF-8 file with a line pasted from a Shift_JIS one, or the
// reverse). Each line is decoded on its own: without a byte-order mark the file is UTF-8 when
// most of its non-ASCII lines are valid UTF-8, and a line that is not valid in the file's encoding
// is decoded in the other one. Lines whose text would not be written back as the bytes they were
// read from keep those bytes, so a rewrite leaves every line it did not change byte for byte.
struct DecodedLines {
  std::vector<std::u16string> lines;  // as SplitLines gives them, empty lines included
  TextEncoding encoding = TextEncoding::Ansi;
  // The first line (1-based, 0 for none) that is not valid in the file's encoding, and its text.
  int firstForeignLine = 0;
  std::u16string foreignText;
};

// The bytes lines were read from where their text alone would not give those bytes back. Every
// line that shares its text with such a line is noted as well, in file order, so that each line
// gets its own bytes back and not those of another line with the same text (a line pasted from a
// Shift_JIS file beside the same line in UTF-8).
class KeptLineBytes {
 public:
  // The next line of this text in file order: its bytes, or nothing when its text gives them.
  void Keep(const std::u16string& text, std::optional<std::string> bytes);
  // The bytes of the next line written with this text, if it kept any.
  const std::string* Next(const std::u16string& text);
  // Whether lines of this text are noted; a change to such lines must be told with Remove and
  // Insert, each naming the line by the number of lines of its text before it.
  bool Holds(const std::u16string& text) const { return kept_.count(text) != 0; }
  void Remove(const std::u16string& text, std::size_t occurrence);
  void Insert(const std::u16string& text, std::size_t occurrence);
  bool empty() const { return kept_.empty(); }

 private:
  struct Entry {
    std::vector<std::optional<std::string>> bytes;
    std::size_t next = 0;
  };
  std::unordered_map<std::u16string, Entry> kept_;
};

DecodedLines DecodeLines(std::string_view bytes, const CodePage& codePage, KeptLineBytes& kept);

// The lines, each followed by CR LF, in the wanted encoding with its byte-order mark. Lines with
// kept bytes are written as those bytes; the others as EncodeText would (an ANSI file that
// cannot hold a character becomes UTF-8 with a mark). A file without a mark whose text begins
// with U+FEFF gets a mark, so that the character is not taken for one when read again; so does
// one whose lines DecodeLines would read back as other text (the guess of a file without a mark
// goes by the majority of its lines, which a change can tip).
EncodedText EncodeLines(const std::vector<std::u16string_view>& lines, TextEncoding wanted,
                        const CodePage& codePage, KeptLineBytes kept);

// Lines of bytes end at CR LF, CR or LF, as SplitLines cuts text.
std::vector<std::string_view> SplitByteLines(std::string_view bytes);

// Reads and decodes a whole file; nothing when it cannot be read.
std::optional<DecodedText> ReadTextFile(const FileSystem& fileSystem, const CodePage& codePage,
                                        const std::u16string& path);

// Encodes (as EncodeText) and replaces the file atomically. Returns the encoding actually
// written, nothing when the write failed (the old file is then left as it was).
std::optional<TextEncoding> WriteTextFile(FileSystem& fileSystem, const CodePage& codePage,
                                          const std::u16string& path, std::u16string_view text,
                                          TextEncoding wanted);
