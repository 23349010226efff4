#include "util/text_file.h"

#include <cstddef>

#include "util/text_codec.h"

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

}  // namespace

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

EncodedText EncodeText(std::u16string_view text, TextEncoding wanted, const CodePage& codePage) {
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
