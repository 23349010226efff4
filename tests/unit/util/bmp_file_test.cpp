#include "util/bmp_file.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

std::uint32_t Read32(const std::string& bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<std::uint8_t>(bytes[at + i]);
  return value;
}

std::uint16_t Read16(const std::string& bytes, std::size_t at) {
  return static_cast<std::uint16_t>(static_cast<std::uint8_t>(bytes[at]) |
                                    static_cast<std::uint8_t>(bytes[at + 1]) << 8);
}

// Each pixel's three bytes carry its row and column, so misplaced bytes show.
Bitmap24 Numbered(int width, int height) {
  Bitmap24 bitmap{width, height, {}};
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      bitmap.pixels.push_back(static_cast<std::uint8_t>(0x10 * y + x));
      bitmap.pixels.push_back(static_cast<std::uint8_t>(0x80 + y));
      bitmap.pixels.push_back(static_cast<std::uint8_t>(0xC0 + x));
    }
  }
  return bitmap;
}

TEST(BmpFileTest, HeadersDescribeA24BitBottomUpImage) {
  // A row of 5 pixels is 15 bytes, padded to 16.
  const std::string bytes = EncodeBmp24(Numbered(5, 3));
  ASSERT_EQ(bytes.size(), 14u + 40u + 16u * 3u);
  EXPECT_EQ(bytes.substr(0, 2), "BM");
  EXPECT_EQ(Read32(bytes, 2), bytes.size());
  EXPECT_EQ(Read32(bytes, 6), 0u);
  EXPECT_EQ(Read32(bytes, 10), 54u);
  EXPECT_EQ(Read32(bytes, 14), 40u);
  EXPECT_EQ(Read32(bytes, 18), 5u);
  EXPECT_EQ(Read32(bytes, 22), 3u);  // positive height: the bottom row comes first
  EXPECT_EQ(Read16(bytes, 26), 1u);
  EXPECT_EQ(Read16(bytes, 28), 24u);
  EXPECT_EQ(Read32(bytes, 30), 0u);
  EXPECT_EQ(Read32(bytes, 34), 48u);
  EXPECT_EQ(Read32(bytes, 46), 0u);  // no palette
}

TEST(BmpFileTest, RowsAreStoredBottomUpAndPaddedWithZeros) {
  const Bitmap24 bitmap = Numbered(5, 3);
  const std::string bytes = EncodeBmp24(bitmap);
  ASSERT_EQ(bytes.size(), 54u + 48u);
  for (int stored = 0; stored < 3; ++stored) {
    const int y = 2 - stored;
    const std::string row = bytes.substr(54 + 16 * stored, 16);
    const std::string expected(reinterpret_cast<const char*>(bitmap.pixels.data()) + 15 * y, 15);
    EXPECT_EQ(row.substr(0, 15), expected) << "stored row " << stored;
    EXPECT_EQ(row[15], '\0');
  }
}

TEST(BmpFileTest, RowsThatAreAMultipleOfFourGetNoPadding) {
  const std::string bytes = EncodeBmp24(Numbered(4, 2));
  ASSERT_EQ(bytes.size(), 54u + 12u * 2u);
  EXPECT_EQ(Read32(bytes, 34), 24u);
  EXPECT_EQ(static_cast<std::uint8_t>(bytes[54]), 0x10);  // the first stored pixel is row 1's
}

TEST(BmpFileTest, InconsistentBitmapsGiveNothing) {
  EXPECT_EQ(EncodeBmp24(Bitmap24{}), "");
  Bitmap24 shortBuffer = Numbered(3, 2);
  shortBuffer.pixels.pop_back();
  EXPECT_EQ(EncodeBmp24(shortBuffer), "");
  Bitmap24 negative = Numbered(2, 2);
  negative.height = -2;
  EXPECT_EQ(EncodeBmp24(negative), "");
}

}  // namespace
