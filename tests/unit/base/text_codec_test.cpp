#include "base/text_codec.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct DecodeCase {
  const char* name;
  std::string utf8;
  std::u16string utf16;
};

TEST(TextCodecTest, Utf8ToUtf16DecodesAndReplacesIllFormedSequences) {
  const DecodeCase cases[] = {
      {"ascii", "Key=1", u"Key=1"},
      {"two bytes", "\xC3\xA9", u"\u00E9"},
      {"three bytes", "\xE6\x97\xA5\xE6\x9C\xAC", u"日本"},
      {"four bytes", "\xF0\x9F\x98\x80", u"\U0001F600"},
      {"largest code point", "\xF4\x8F\xBF\xBF", u"\U0010FFFF"},
      {"stray continuation", "a\x80z", u"a\uFFFDz"},
      {"overlong slash", "\xC0\xAF", u"\uFFFD\uFFFD"},
      {"overlong three bytes", "\xE0\x80\xAF", u"\uFFFD\uFFFD\uFFFD"},
      {"encoded surrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},
      {"above U+10FFFF", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
      {"invalid lead", "\xF5z", u"\uFFFDz"},
      {"truncated at end", "a\xE6\x97", u"a\uFFFD"},
      {"truncated before ascii", "\xE6\x97z", u"\uFFFDz"},
      {"shift_jis bytes", "\x93\xFA\x96\x7B", u"\uFFFD\uFFFD\uFFFD{"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Utf8ToUtf16(c.utf8), c.utf16) << c.name;
  }
}

TEST(TextCodecTest, Utf16ToUtf8EncodesAndReplacesLoneSurrogates) {
  const DecodeCase cases[] = {
      {"ascii", "Key=1", u"Key=1"},
      {"japanese", "\xE6\x97\xA5\xE6\x9C\xAC", u"日本"},
      {"pair", "\xF0\x9F\x98\x80", u"\U0001F600"},
      {"lone high then ascii",
       "\xEF\xBF\xBD"
       "a",
       std::u16string{0xD800, u'a'}},
      {"lone high at end", "a\xEF\xBF\xBD", std::u16string{u'a', 0xDBFF}},
      {"lone low", "\xEF\xBF\xBD", std::u16string{0xDC00}},
      {"reversed pair", "\xEF\xBF\xBD\xEF\xBF\xBD", std::u16string{0xDC00, 0xD800}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Utf16ToUtf8(c.utf16), c.utf8) << c.name;
  }
}

TEST(TextCodecTest, EveryCodePointSurvivesARoundTrip) {
  std::u16string all;
  for (char32_t cp = 1; cp <= 0x10FFFF; cp += (cp < 0x10000 ? 1 : 0x3FF)) {
    if (cp >= 0xD800 && cp <= 0xDFFF) continue;
    if (cp < 0x10000) {
      all.push_back(static_cast<char16_t>(cp));
    } else {
      all.push_back(static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)));
      all.push_back(static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
    }
  }
  EXPECT_EQ(Utf8ToUtf16(Utf16ToUtf8(all)), all);
}

TEST(TextCodecTest, IsUtf8WithMultibyteNeedsValidUtf8WithAMultibyteSequence) {
  const struct {
    const char* name;
    std::string bytes;
    bool expected;
  } cases[] = {
      {"empty", "", false},
      {"ascii only", "[General]\r\nKey=1\r\n", false},
      {"japanese", "Key=\xE6\x97\xA5\xE6\x9C\xAC", true},
      {"latin-1 in utf-8", "caf\xC3\xA9", true},
      {"shift_jis japanese", "Key=\x93\xFA\x96\x7B", false},
      {"windows-1252 e acute", "caf\xE9", false},
      {"overlong", "a\xC0\xAF", false},
      {"encoded surrogate", "\xED\xA0\x80", false},
      {"valid then truncated", "\xE6\x97\xA5\xE6\x9C", false},
      {"valid then stray continuation", "\xE6\x97\xA5\x80", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsUtf8WithMultibyte(c.bytes), c.expected) << c.name;
  }
}

}  // namespace

TEST(TextCodecTest, Utf8DecodesAlikeWhereverItIsCutAtABreakOrShifted) {
  // Readers decode a file line by line or record by record, and ASCII is taken eight bytes at a
  // time: neither may change what a byte sequence decodes to.
  const std::string pieces[] = {
      "a",        "\r",   "\n",           "\xC3\xA9", "\xE6\x97\xA5", "\xF0\x9F\x98\x80",
      "\xE3\x81", "\xFF", "\xED\xA0\x80", "\xC3",     "12345678"};
  std::uint32_t seed = 7;
  for (int round = 0; round < 2000; ++round) {
    std::string bytes;
    for (int n = static_cast<int>(seed % 40); n > 0; --n) {
      seed = seed * 1664525u + 1013904223u;
      bytes += pieces[(seed >> 16) % std::size(pieces)];
    }
    seed = seed * 1664525u + 1013904223u;
    const std::u16string whole = Utf8ToUtf16(bytes);
    std::u16string byLines;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= bytes.size(); ++i) {
      if (i == bytes.size() || bytes[i] == '\r' || bytes[i] == '\n') {
        byLines += Utf8ToUtf16(std::string_view(bytes).substr(start, i - start));
        if (i < bytes.size()) byLines += static_cast<char16_t>(bytes[i]);
        start = i + 1;
      }
    }
    ASSERT_EQ(byLines, whole) << bytes;
    for (std::size_t shift = 1; shift <= 8; ++shift) {
      ASSERT_EQ(Utf8ToUtf16(std::string(shift, 'x') + bytes), std::u16string(shift, u'x') + whole)
          << bytes;
    }
  }
}
