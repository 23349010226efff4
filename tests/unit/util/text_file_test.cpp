#include "util/text_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/memory_file_system.h"
#include "support/system_code_page.h"
#include "support/text_encoding_print.h"

namespace {

// "日本語" in each encoding.
const std::string kSjis = "\x93\xFA\x96\x7B\x8C\xEA";
const std::string kUtf8 = "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E";
const std::string kUtf16Le = "\xE5\x65\x2C\x67\x9E\x8A";
const std::string kUtf16Be = "\x65\xE5\x67\x2C\x8A\x9E";
const std::string kUtf8Bom = "\xEF\xBB\xBF";

TEST(TextFileTest, DecodeTextDetectsTheEncoding) {
  const struct {
    const char* name;
    std::string bytes;
    TextEncoding encoding;
    std::u16string text;
  } cases[] = {
      {"empty", "", TextEncoding::Ansi, u""},
      {"ascii", "a=1", TextEncoding::Ansi, u"a=1"},
      {"shift_jis", kSjis, TextEncoding::Ansi, u"日本語"},
      {"utf-8 without mark", kUtf8, TextEncoding::Utf8, u"日本語"},
      {"utf-8 with mark", kUtf8Bom + kUtf8, TextEncoding::Utf8Bom, u"日本語"},
      {"utf-8 mark, ascii", kUtf8Bom + "a", TextEncoding::Utf8Bom, u"a"},
      {"utf-8 mark only", kUtf8Bom, TextEncoding::Utf8Bom, u""},
      {"utf-16 le", "\xFF\xFE" + kUtf16Le, TextEncoding::Utf16Le, u"日本語"},
      {"utf-16 be", "\xFE\xFF" + kUtf16Be, TextEncoding::Utf16Be, u"日本語"},
      {"utf-16 le, odd length",
       std::string("\xFF\xFE"
                   "a\0b",
                   5),
       TextEncoding::Utf16Le, u"a\uFFFD"},
      {"utf-16 le, pair", std::string("\xFF\xFE\x3D\xD8\x00\xDE", 6), TextEncoding::Utf16Le,
       u"\U0001F600"},
  };
  for (const auto& c : cases) {
    const DecodedText decoded = DecodeText(c.bytes, SystemCodePage());
    EXPECT_EQ(decoded.encoding, c.encoding) << c.name;
    EXPECT_EQ(decoded.text, c.text) << c.name;
  }
}

TEST(TextFileTest, EncodeTextWritesTheWantedEncodingWithItsMark) {
  const struct {
    TextEncoding wanted;
    std::string bytes;
  } cases[] = {
      {TextEncoding::Ansi, kSjis},
      {TextEncoding::Utf8, kUtf8},
      {TextEncoding::Utf8Bom, kUtf8Bom + kUtf8},
      {TextEncoding::Utf16Le, "\xFF\xFE" + kUtf16Le},
      {TextEncoding::Utf16Be, "\xFE\xFF" + kUtf16Be},
  };
  for (const auto& c : cases) {
    const EncodedText encoded = EncodeText(u"日本語", c.wanted, SystemCodePage());
    EXPECT_EQ(encoded.encoding, c.wanted) << static_cast<int>(c.wanted);
    EXPECT_EQ(encoded.bytes, c.bytes) << static_cast<int>(c.wanted);
    const DecodedText decoded = DecodeText(encoded.bytes, SystemCodePage());
    EXPECT_EQ(decoded.text, u"日本語");
    EXPECT_EQ(decoded.encoding, c.wanted);
  }
}

TEST(TextFileTest, AnsiThatWouldLoseACharacterBecomesUtf8WithMark) {
  for (const std::u16string text : {u"café", u"5€", u"日本\U0001F600", u"한국어"}) {
    const EncodedText encoded = EncodeText(text, TextEncoding::Ansi, SystemCodePage());
    EXPECT_EQ(encoded.encoding, TextEncoding::Utf8Bom);
    const DecodedText decoded = DecodeText(encoded.bytes, SystemCodePage());
    EXPECT_EQ(decoded.text, text);
    EXPECT_EQ(decoded.encoding, TextEncoding::Utf8Bom);
  }
}

TEST(TextFileTest, TextWithoutAMarkThatWouldReadBackAsOtherTextGetsOne) {
  const struct {
    std::u16string text;
    TextEncoding wanted;
    TextEncoding written;
  } cases[] = {
      {u"ﾃｽ", TextEncoding::Ansi, TextEncoding::Utf8Bom},  // C3 BD is "ý" in UTF-8
      {u"ﾃｽﾄ", TextEncoding::Ansi, TextEncoding::Ansi},    // C3 BD C4 is not UTF-8
      {u"\uFEFFKey=1", TextEncoding::Utf8, TextEncoding::Utf8Bom},
      {u"Key=1", TextEncoding::Utf8, TextEncoding::Utf8},
  };
  for (const auto& c : cases) {
    const EncodedText encoded = EncodeText(c.text, c.wanted, SystemCodePage());
    EXPECT_EQ(encoded.encoding, c.written);
    EXPECT_EQ(DecodeText(encoded.bytes, SystemCodePage()).text, c.text);
  }
}

TEST(TextFileTest, SplitLinesEndsLinesAtCrLfCrOrLf) {
  using Lines = std::vector<std::u16string>;
  const struct {
    std::u16string text;
    Lines lines;
  } cases[] = {
      {u"", {}},
      {u"a", {u"a"}},
      {u"a\r\n", {u"a"}},
      {u"a\r\nb", {u"a", u"b"}},
      {u"a\rb\nc\r\nd", {u"a", u"b", u"c", u"d"}},
      {u"a\n\rb", {u"a", u"", u"b"}},  // LF CR is two line ends
      {u"a\r\n\r\nb", {u"a", u"", u"b"}},
      {u"\r\n", {u""}},
      {u"a\r\n\r\n", {u"a", u""}},
      {u"\n\nx", {u"", u"", u"x"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SplitLines(c.text), c.lines);
  }
}

TEST(TextFileTest, ReadAndWriteTextFileGoThroughTheFileSystem) {
  MemoryFileSystem files;
  EXPECT_FALSE(ReadTextFile(files, SystemCodePage(), u"C:\\missing.txt").has_value());

  EXPECT_EQ(WriteTextFile(files, SystemCodePage(), u"C:\\a.txt", u"日本語", TextEncoding::Ansi),
            TextEncoding::Ansi);
  EXPECT_EQ(files.files[u"C:\\a.txt"], kSjis);
  const auto read = ReadTextFile(files, SystemCodePage(), u"C:\\a.txt");
  ASSERT_TRUE(read.has_value());
  EXPECT_EQ(read->text, u"日本語");
  EXPECT_EQ(read->encoding, TextEncoding::Ansi);

  EXPECT_EQ(WriteTextFile(files, SystemCodePage(), u"C:\\a.txt", u"é", TextEncoding::Ansi),
            TextEncoding::Utf8Bom);

  files.failNextWrite = true;
  EXPECT_FALSE(
      WriteTextFile(files, SystemCodePage(), u"C:\\a.txt", u"x", TextEncoding::Utf8).has_value());
  EXPECT_EQ(files.files[u"C:\\a.txt"], kUtf8Bom + "\xC3\xA9");
}

}  // namespace
