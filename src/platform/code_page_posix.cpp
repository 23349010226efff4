#include "platform/code_page_posix.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <utility>

namespace {

constexpr char16_t kReplacement = 0xFFFD;
constexpr char kDefaultChar = '?';

// One conversion descriptor per call: iconv state must not be shared, and the methods are const.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (ok()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  void Reset() { iconv(cd_, nullptr, nullptr, nullptr, nullptr); }

  // Converts as much of `in` as it can, appending to `out`; advances `in`. Returns 0 when all
  // was converted, else the errno that stopped it (EILSEQ or EINVAL).
  int Convert(std::string_view& in, std::string& out) {
    char buffer[256];
    while (!in.empty()) {
      char* inPtr = const_cast<char*>(in.data());
      std::size_t inLeft = in.size();
      char* outPtr = buffer;
      std::size_t outLeft = sizeof buffer;
      const std::size_t result = iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft);
      const int error = result == static_cast<std::size_t>(-1) ? errno : 0;
      out.append(buffer, outPtr);
      in.remove_prefix(in.size() - inLeft);
      if (error != 0 && error != E2BIG) return error;
    }
    // Flush any shift state.
    char* outPtr = buffer;
    std::size_t outLeft = sizeof buffer;
    iconv(cd_, nullptr, nullptr, &outPtr, &outLeft);
    out.append(buffer, outPtr);
    return 0;
  }

 private:
  iconv_t cd_;
};

std::string ToUtf16LeBytes(std::u16string_view text) {
  std::string bytes;
  bytes.reserve(text.size() * 2);
  for (char16_t unit : text) {
    bytes.push_back(static_cast<char>(unit & 0xFF));
    bytes.push_back(static_cast<char>(unit >> 8));
  }
  return bytes;
}

std::u16string FromUtf16LeBytes(std::string_view bytes) {
  std::u16string text;
  text.reserve(bytes.size() / 2);
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    text.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                         (static_cast<unsigned char>(bytes[i + 1]) << 8)));
  }
  return text;
}

// Bytes of the UTF-16 LE character at the start of `in`: 4 for a surrogate pair, else 2.
std::size_t CharacterBytes(std::string_view in) {
  if (in.size() < 4) return std::min<std::size_t>(in.size(), 2);
  const auto unit = [&](std::size_t i) {
    return static_cast<char16_t>(static_cast<unsigned char>(in[i]) |
                                 (static_cast<unsigned char>(in[i + 1]) << 8));
  };
  const bool pair =
      unit(0) >= 0xD800 && unit(0) <= 0xDBFF && unit(2) >= 0xDC00 && unit(2) <= 0xDFFF;
  return pair ? 4 : 2;
}

}  // namespace

PosixCodePage::PosixCodePage(std::string charset) : charset_(std::move(charset)) {}

std::u16string PosixCodePage::ToUnicode(std::string_view bytes) const {
  Converter converter("UTF-16LE", charset_.c_str());
  if (!converter.ok()) return std::u16string(bytes.size(), kReplacement);
  std::string utf16;
  std::string_view in = bytes;
  while (converter.Convert(in, utf16) != 0 && !in.empty()) {
    // An invalid or truncated byte shows as U+FFFD; decoding goes on after it.
    utf16.append("\xFD\xFF", 2);
    in.remove_prefix(1);
    converter.Reset();
  }
  return FromUtf16LeBytes(utf16);
}

std::optional<std::string> PosixCodePage::FromUnicodeExact(std::u16string_view text) const {
  Converter converter(charset_.c_str(), "UTF-16LE");
  if (!converter.ok()) return std::nullopt;
  const std::string utf16 = ToUtf16LeBytes(text);
  std::string_view in = utf16;
  std::string out;
  if (converter.Convert(in, out) != 0) return std::nullopt;
  // iconv maps a few characters to a near neighbour ("¥" to 0x5C, which reads back as "\");
  // Windows, asked for no best fit, does not. Exact means the bytes read back as the text.
  if (ToUnicode(out) != text) return std::nullopt;
  return out;
}

std::string PosixCodePage::FromUnicodeLossy(std::u16string_view text) const {
  Converter converter(charset_.c_str(), "UTF-16LE");
  if (!converter.ok()) return std::string(text.size(), kDefaultChar);
  const std::string utf16 = ToUtf16LeBytes(text);
  std::string_view in = utf16;
  std::string out;
  while (converter.Convert(in, out) != 0 && !in.empty()) {
    out.push_back(kDefaultChar);
    in.remove_prefix(CharacterBytes(in));
    converter.Reset();
  }
  return out;
}
