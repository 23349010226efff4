#include "util/text_file.h"

#include <algorithm>
#include <cstddef>
#include <unordered_set>
#include <utility>

#include "base/text_codec.h"

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
constexpr std::string_view kUtf16BeBom = "\xFE\xFF";
constexpr char16_t kReplacement = 0xFFFD;

std::u16string DecodeUtf16(std::string_view bytes, bool bigEndian) {
  std::u16string out;
  out.reserve(bytes.size() / 2 + 1);
  std::size_t pos = 0;
  for (; pos + 1 < bytes.size(); pos += 2) {
    const auto first = static_cast<unsigned char>(bytes[pos]);
    const auto second = static_cast<unsigned char>(bytes[pos + 1]);
    out.push_back(bigEndian ? static_cast<char16_t>((first << 8) | second)
                            : static_cast<char16_t>((second << 8) | first));
  }
  // A file cut in the middle of a code unit still shows that something was there.
  if (pos < bytes.size()) out.push_back(kReplacement);
  return out;
}

}  // namespace

std::string EncodeUtf16(std::u16string_view text, bool bigEndian) {
  std::string out;
  out.reserve(2 + text.size() * 2);
  out.append(bigEndian ? kUtf16BeBom : kUtf16LeBom);
  for (char16_t unit : text) {
    const auto high = static_cast<char>(unit >> 8);
    const auto low = static_cast<char>(unit & 0xFF);
    out.push_back(bigEndian ? high : low);
    out.push_back(bigEndian ? low : high);
  }
  return out;
}

bool HasByteOrderMark(std::string_view bytes) {
  return bytes.starts_with(kUtf8Bom) || bytes.starts_with(kUtf16LeBom) ||
         bytes.starts_with(kUtf16BeBom);
}

DecodedText DecodeText(std::string_view bytes, const CodePage& codePage) {
  if (bytes.starts_with(kUtf8Bom)) {
    return {Utf8ToUtf16(bytes.substr(kUtf8Bom.size())), TextEncoding::Utf8Bom};
  }
  if (bytes.starts_with(kUtf16LeBom)) {
    return {DecodeUtf16(bytes.substr(kUtf16LeBom.size()), false), TextEncoding::Utf16Le};
  }
  if (bytes.starts_with(kUtf16BeBom)) {
    return {DecodeUtf16(bytes.substr(kUtf16BeBom.size()), true), TextEncoding::Utf16Be};
  }
  if (IsUtf8WithMultibyte(bytes)) return {Utf8ToUtf16(bytes), TextEncoding::Utf8};
  return {codePage.ToUnicode(bytes), TextEncoding::Ansi};
}

namespace {

EncodedText EncodeTextAs(std::u16string_view text, TextEncoding wanted, const CodePage& codePage) {
  switch (wanted) {
    case TextEncoding::Ansi:
      if (auto ansi = codePage.FromUnicodeExact(text)) return {std::move(*ansi), wanted};
      // The code page would lose characters: keep them all in UTF-8, marked so that the next
      // read recognises it.
      return {std::string(kUtf8Bom) + Utf16ToUtf8(text), TextEncoding::Utf8Bom};
    case TextEncoding::Utf8:
      return {Utf16ToUtf8(text), wanted};
    case TextEncoding::Utf8Bom:
      return {std::string(kUtf8Bom) + Utf16ToUtf8(text), wanted};
    case TextEncoding::Utf16Le:
      return {EncodeUtf16(text, false), wanted};
    case TextEncoding::Utf16Be:
      return {EncodeUtf16(text, true), wanted};
  }
  return {std::string(kUtf8Bom) + Utf16ToUtf8(text), TextEncoding::Utf8Bom};
}

}  // namespace

EncodedText EncodeText(std::u16string_view text, TextEncoding wanted, const CodePage& codePage) {
  EncodedText encoded = EncodeTextAs(text, wanted, codePage);
  if (encoded.encoding != TextEncoding::Ansi && encoded.encoding != TextEncoding::Utf8) {
    return encoded;
  }
  // Without a mark the reader guesses: ANSI bytes that happen to be valid UTF-8 (half-width
  // "ﾃｽ" is C3 BD), or text that begins with U+FEFF, would read back as other text. UTF-8 with a
  // mark keeps it, as it keeps characters the code page lacks.
  if (DecodeText(encoded.bytes, codePage).text == text) return encoded;
  EncodedText marked = EncodeTextAs(text, TextEncoding::Utf8Bom, codePage);
  if (DecodeText(marked.bytes, codePage).text == text) return marked;
  return encoded;
}

std::vector<std::u16string> SplitLines(std::u16string_view text) {
  std::vector<std::u16string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find_first_of(u"\r\n", start);
    if (end == std::u16string_view::npos) {
      lines.emplace_back(text.substr(start));
      break;
    }
    lines.emplace_back(text.substr(start, end - start));
    start = end + 1;
    if (text[end] == u'\r' && start < text.size() && text[start] == u'\n') ++start;
  }
  return lines;
}

void KeptLineBytes::Keep(const std::u16string& text, std::optional<std::string> bytes) {
  kept_[text].bytes.push_back(std::move(bytes));
}

const std::string* KeptLineBytes::Next(const std::u16string& text) {
  const auto found = kept_.find(text);
  if (found == kept_.end() || found->second.next >= found->second.bytes.size()) return nullptr;
  const std::optional<std::string>& bytes = found->second.bytes[found->second.next++];
  return bytes ? &*bytes : nullptr;
}

void KeptLineBytes::Remove(const std::u16string& text, std::size_t occurrence) {
  const auto found = kept_.find(text);
  if (found == kept_.end() || occurrence >= found->second.bytes.size()) return;
  found->second.bytes.erase(found->second.bytes.begin() + static_cast<std::ptrdiff_t>(occurrence));
}

void KeptLineBytes::Insert(const std::u16string& text, std::size_t occurrence) {
  const auto found = kept_.find(text);
  if (found == kept_.end()) return;
  auto& bytes = found->second.bytes;
  bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(std::min(occurrence, bytes.size())),
               std::nullopt);
}

namespace {

bool IsAscii(std::string_view bytes) {
  for (char c : bytes) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

bool IsUtf8(TextEncoding encoding) {
  return encoding == TextEncoding::Utf8 || encoding == TextEncoding::Utf8Bom;
}

// Without a mark, the encoding most non-ASCII lines are valid in. Valid multi-byte UTF-8 hardly
// ever happens by chance in Shift_JIS text, so UTF-8 also wins a tie.
TextEncoding GuessEncoding(const std::vector<std::string_view>& lines) {
  int utf8 = 0;
  int other = 0;
  for (std::string_view line : lines) {
    if (IsAscii(line)) continue;
    ++(IsUtf8WithMultibyte(line) ? utf8 : other);
  }
  return utf8 > 0 && utf8 >= other ? TextEncoding::Utf8 : TextEncoding::Ansi;
}

// The line's text, and whether it is valid in the file's encoding (else it was decoded in the
// other one).
std::pair<std::u16string, bool> DecodeLine(std::string_view line, TextEncoding encoding,
                                           const CodePage& codePage) {
  if (IsAscii(line)) return {std::u16string(line.begin(), line.end()), true};
  if (IsUtf8(encoding)) {
    if (IsUtf8WithMultibyte(line)) return {Utf8ToUtf16(line), true};
    return {codePage.ToUnicode(line), false};
  }
  std::u16string text = codePage.ToUnicode(line);
  const auto back = codePage.FromUnicodeExact(text);
  return {std::move(text), back && *back == line};
}

}  // namespace

// Neither UTF-8 nor the double-byte code pages use CR or LF bytes inside a character.
std::vector<std::string_view> SplitByteLines(std::string_view bytes) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < bytes.size()) {
    const std::size_t end = bytes.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.push_back(bytes.substr(start));
      break;
    }
    lines.push_back(bytes.substr(start, end - start));
    start = end + 1;
    if (bytes[end] == '\r' && start < bytes.size() && bytes[start] == '\n') ++start;
  }
  return lines;
}

DecodedLines DecodeLines(std::string_view bytes, const CodePage& codePage, KeptLineBytes& kept) {
  DecodedLines decoded;
  if (bytes.starts_with(kUtf16LeBom) || bytes.starts_with(kUtf16BeBom)) {
    // UTF-16 decodes every unit as it is; there is nothing to keep.
    DecodedText text = DecodeText(bytes, codePage);
    decoded.lines = SplitLines(text.text);
    decoded.encoding = text.encoding;
    return decoded;
  }
  std::vector<std::string_view> lines;
  if (bytes.starts_with(kUtf8Bom)) {
    decoded.encoding = TextEncoding::Utf8Bom;
    lines = SplitByteLines(bytes.substr(kUtf8Bom.size()));
  } else {
    lines = SplitByteLines(bytes);
    decoded.encoding = GuessEncoding(lines);
  }
  decoded.lines.reserve(lines.size());
  std::vector<bool> validLines;
  std::unordered_set<std::u16string> foreignTexts;
  for (std::string_view line : lines) {
    auto [text, valid] = DecodeLine(line, decoded.encoding, codePage);
    if (!valid && decoded.firstForeignLine == 0) {
      decoded.firstForeignLine = static_cast<int>(decoded.lines.size()) + 1;
      decoded.foreignText = text;
    }
    if (!valid) foreignTexts.insert(text);
    validLines.push_back(valid);
    decoded.lines.push_back(std::move(text));
  }
  // Each line whose text a foreign line shares, in file order.
  for (std::size_t i = 0; i < lines.size() && !foreignTexts.empty(); ++i) {
    if (foreignTexts.count(decoded.lines[i]) == 0) continue;
    kept.Keep(decoded.lines[i],
              validLines[i] ? std::nullopt : std::optional<std::string>(std::string(lines[i])));
  }
  return decoded;
}

namespace {

// The line in the encoding, or nothing when the code page cannot hold it exactly.
std::optional<std::string> EncodeLine(std::u16string_view line, TextEncoding encoding,
                                      const CodePage& codePage) {
  switch (encoding) {
    case TextEncoding::Ansi:
      return codePage.FromUnicodeExact(line);
    case TextEncoding::Utf16Le:
    case TextEncoding::Utf16Be:
      return EncodeUtf16(line, encoding == TextEncoding::Utf16Be).substr(2);
    default:
      return Utf16ToUtf8(line);
  }
}

std::string_view MarkOf(TextEncoding encoding) {
  switch (encoding) {
    case TextEncoding::Utf8Bom:
      return kUtf8Bom;
    case TextEncoding::Utf16Le:
      return kUtf16LeBom;
    case TextEncoding::Utf16Be:
      return kUtf16BeBom;
    default:
      return {};
  }
}

std::optional<std::string> EncodeAllLines(const std::vector<std::u16string_view>& lines,
                                          TextEncoding encoding, const CodePage& codePage,
                                          KeptLineBytes kept) {
  const std::string lineEnd = *EncodeLine(u"\r\n", encoding, codePage);
  std::string out(MarkOf(encoding));
  for (std::u16string_view line : lines) {
    if (const std::string* bytes = kept.Next(std::u16string(line))) {
      out += *bytes;
    } else if (auto encoded = EncodeLine(line, encoding, codePage)) {
      out += *encoded;
    } else {
      return std::nullopt;
    }
    out += lineEnd;
  }
  return out;
}

// Whether the bytes read back as the lines.
bool ReadsBackAs(std::string_view bytes, const std::vector<std::u16string_view>& lines,
                 const CodePage& codePage) {
  KeptLineBytes unused;
  const DecodedLines decoded = DecodeLines(bytes, codePage, unused);
  if (decoded.lines.size() != lines.size()) return false;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (decoded.lines[i] != lines[i]) return false;
  }
  return true;
}

}  // namespace

EncodedText EncodeLines(const std::vector<std::u16string_view>& lines, TextEncoding wanted,
                        const CodePage& codePage, KeptLineBytes kept) {
  if (wanted == TextEncoding::Utf8 && !lines.empty() && lines.front().starts_with(u"\uFEFF"))
    wanted = TextEncoding::Utf8Bom;
  auto bytes = EncodeAllLines(lines, wanted, codePage, kept);
  // Without a mark the reader guesses the encoding from the lines, and a write can tip the
  // balance: a UTF-8 file whose last UTF-8 line Kelvo replaced now has more Shift_JIS lines, or
  // a value Kelvo wrote in the code page happens to be valid UTF-8. Such a file would read back
  // as other text. With a mark nothing is guessed: every line Kelvo writes reads back, and kept
  // lines keep their bytes (one that is valid UTF-8 then reads as such).
  if (bytes && (wanted == TextEncoding::Ansi || wanted == TextEncoding::Utf8) &&
      !ReadsBackAs(*bytes, lines, codePage)) {
    bytes.reset();
  }
  if (bytes) return {std::move(*bytes), wanted};
  // The code page would lose characters: keep them all in UTF-8, marked so that the next read
  // recognises it.
  return {*EncodeAllLines(lines, TextEncoding::Utf8Bom, codePage, std::move(kept)),
          TextEncoding::Utf8Bom};
}

std::optional<DecodedText> ReadTextFile(const FileSystem& fileSystem, const CodePage& codePage,
                                        const std::u16string& path) {
  const auto bytes = fileSystem.ReadAll(path);
  if (!bytes) return std::nullopt;
  return DecodeText(*bytes, codePage);
}

std::optional<TextEncoding> WriteTextFile(FileSystem& fileSystem, const CodePage& codePage,
                                          const std::u16string& path, std::u16string_view text,
                                          TextEncoding wanted) {
  EncodedText encoded = EncodeText(text, wanted, codePage);
  if (!fileSystem.WriteAtomically(path, encoded.bytes)) return std::nullopt;
  return encoded.encoding;
}
