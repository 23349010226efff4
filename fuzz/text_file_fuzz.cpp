// Text files in every encoding Kelvo reads (UTF-8 with and without a mark, UTF-16 LE and BE, the
// ANSI code page, which is 932 natively). The input serves twice: as the bytes of a file, and as
// text (its UTF-16 LE units after a first byte that picks the encoding). Properties:
// - encode(decode(bytes)) is stable: decoding it again gives the same text, and encoding that
//   gives the same bytes; read line by line, every line of the file comes back with its bytes
//   while the file keeps its encoding;
// - text encoded and decoded gives the text back, whole and line by line, where the encoding
//   can hold it (UTF-8 holds no lone surrogate); nothing is lost in the code page's place, which
//   falls back to UTF-8 with a mark;
// - the code page's exact conversion reads back as the text it was given.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/text_codec.h"
#include "fuzz_support.h"
#include "support/system_code_page.h"
#include "util/text_file.h"

namespace {

constexpr TextEncoding kEncodings[] = {TextEncoding::Ansi, TextEncoding::Utf8,
                                       TextEncoding::Utf8Bom, TextEncoding::Utf16Le,
                                       TextEncoding::Utf16Be};

std::string Named(TextEncoding encoding) {
  switch (encoding) {
    case TextEncoding::Ansi:
      return "ANSI";
    case TextEncoding::Utf8:
      return "UTF-8";
    case TextEncoding::Utf8Bom:
      return "UTF-8 with mark";
    case TextEncoding::Utf16Le:
      return "UTF-16 LE";
    case TextEncoding::Utf16Be:
      return "UTF-16 BE";
  }
  return "?";
}

bool HoldsEverything(TextEncoding encoding, std::u16string_view text) {
  if (encoding == TextEncoding::Utf16Le || encoding == TextEncoding::Utf16Be) return true;
  return !HasLoneSurrogate(text);
}

std::vector<std::u16string_view> Views(const std::vector<std::u16string>& lines) {
  return std::vector<std::u16string_view>(lines.begin(), lines.end());
}

void CheckFileBytes(std::string_view bytes) {
  const CodePage& codePage = SystemCodePage();
  // Whole text.
  const DecodedText decoded = DecodeText(bytes, codePage);
  const EncodedText encoded = EncodeText(decoded.text, decoded.encoding, codePage);
  const DecodedText again = DecodeText(encoded.bytes, codePage);
  FUZZ_CHECK(again.text == decoded.text, Named(decoded.encoding) + " as " +
                                             Named(encoded.encoding) + ": " + Shown(decoded.text) +
                                             " / " + Shown(again.text));
  const EncodedText encodedAgain = EncodeText(again.text, again.encoding, codePage);
  FUZZ_CHECK(encodedAgain.bytes == encoded.bytes, "a second round changed the bytes");

  // Line by line: every line keeps its bytes while the file keeps its encoding.
  KeptLineBytes kept;
  const DecodedLines lines = DecodeLines(bytes, codePage, kept);
  const EncodedText written = EncodeLines(Views(lines.lines), lines.encoding, codePage, kept);
  KeptLineBytes keptAgain;
  const DecodedLines reread = DecodeLines(written.bytes, codePage, keptAgain);
  const bool sameEncoding = written.encoding == lines.encoding;
  if (sameEncoding || lines.encoding != TextEncoding::Ansi) {
    FUZZ_CHECK(reread.lines == lines.lines,
               "lines of " + Named(lines.encoding) + " read back differently from " +
                   Named(written.encoding) + ", wrote " + ShownBytes(written.bytes));
  }
  if (sameEncoding && lines.encoding != TextEncoding::Utf16Le &&
      lines.encoding != TextEncoding::Utf16Be) {
    // The bytes of the file with every line ended by CR LF.
    std::string body(bytes.substr(lines.encoding == TextEncoding::Utf8Bom ? 3 : 0));
    std::string expected = lines.encoding == TextEncoding::Utf8Bom ? "\xEF\xBB\xBF" : "";
    std::size_t start = 0;
    while (start < body.size()) {
      const std::size_t end = body.find_first_of("\r\n", start);
      expected += body.substr(start, end == std::string::npos ? std::string::npos : end - start);
      expected += "\r\n";
      if (end == std::string::npos) break;
      start = end + 1;
      if (body[end] == '\r' && start < body.size() && body[start] == '\n') ++start;
    }
    FUZZ_CHECK(written.bytes == expected,
               "wrote " + ShownBytes(written.bytes) + ", read " + ShownBytes(bytes));
  }
}

void CheckText(std::u16string_view text, TextEncoding wanted) {
  const CodePage& codePage = SystemCodePage();
  const EncodedText encoded = EncodeText(text, wanted, codePage);
  if (wanted != TextEncoding::Ansi) {
    FUZZ_CHECK(encoded.encoding == wanted || encoded.encoding == TextEncoding::Utf8Bom,
               Named(wanted) + " written as " + Named(encoded.encoding));
  }
  if (HoldsEverything(encoded.encoding, text)) {
    const DecodedText decoded = DecodeText(encoded.bytes, codePage);
    FUZZ_CHECK(decoded.text == text, Named(wanted) + " written as " + Named(encoded.encoding) +
                                         ": " + Shown(text) + " / " + Shown(decoded.text));
  }

  // Line by line; the lines of a file hold no line break.
  const std::vector<std::u16string> lines = SplitLines(text);
  KeptLineBytes none;
  const EncodedText written = EncodeLines(Views(lines), wanted, codePage, none);
  if (HoldsEverything(written.encoding, text)) {
    KeptLineBytes kept;
    const DecodedLines reread = DecodeLines(written.bytes, codePage, kept);
    FUZZ_CHECK(reread.lines == lines,
               Named(wanted) + " lines written as " + Named(written.encoding) + ": " + Shown(text));
  }

  // The code page's exact conversion is exact.
  if (const auto ansi = codePage.FromUnicodeExact(text)) {
    FUZZ_CHECK(codePage.ToUnicode(*ansi) == text,
               Shown(text) + " / " + Shown(codePage.ToUnicode(*ansi)));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  CheckFileBytes(std::string_view(reinterpret_cast<const char*>(data), size));
  if (size == 0) return 0;
  std::u16string text;
  for (std::size_t i = 1; i + 1 < size; i += 2) {
    text.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
  }
  CheckText(text, kEncodings[data[0] % std::size(kEncodings)]);
  return 0;
}
