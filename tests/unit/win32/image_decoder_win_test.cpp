#include "win32/image_decoder_win.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <wincodec.h>

#include <cstdint>
#include <string>
#include <vector>

#include "support/image_encoder_win.h"
#include "support/temp_folder_win.h"
#include "util/bmp_file.h"
#include "win32/com_win.h"
#include "win32/file_system_win.h"
#include "win32/wide_win.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// 3 x 1 palette PNG: red, green, blue / blue, a fully transparent grey (0x40 0x50 0x60), red.
constexpr std::uint8_t kPalettePng[] = {
    0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0x00, 0x00, 0x00, 0x0d, 0x49, 0x48, 0x44,
    0x52, 0x00, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00, 0x02, 0x08, 0x03, 0x00, 0x00, 0x00, 0xaa,
    0xaa, 0x96, 0x28, 0x00, 0x00, 0x00, 0x0c, 0x50, 0x4c, 0x54, 0x45, 0xff, 0x00, 0x00, 0x00,
    0xff, 0x00, 0x00, 0x00, 0xff, 0x40, 0x50, 0x60, 0x7c, 0x2d, 0xf7, 0x28, 0x00, 0x00, 0x00,
    0x04, 0x74, 0x52, 0x4e, 0x53, 0xff, 0xff, 0xff, 0x00, 0x40, 0x2a, 0xa9, 0xf4, 0x00, 0x00,
    0x00, 0x10, 0x49, 0x44, 0x41, 0x54, 0x78, 0x9c, 0x63, 0x60, 0x60, 0x64, 0x62, 0x60, 0x62,
    0x66, 0x00, 0x00, 0x00, 0x24, 0x00, 0x09, 0x6a, 0x05, 0xe4, 0x52, 0x00, 0x00, 0x00, 0x00,
    0x49, 0x45, 0x4e, 0x44, 0xae, 0x42, 0x60, 0x82};

// Animated 2 x 1 GIF: frame 0 is red, blue; frame 1 is two lime pixels.
constexpr std::uint8_t kAnimatedGif[] = {
    0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x02, 0x00, 0x01, 0x00, 0xf1, 0x00, 0x00, 0xff, 0x00, 0x00,
    0x00, 0x00, 0xff, 0xff, 0xff, 0xff, 0x00, 0x00, 0x00, 0x21, 0xf9, 0x04, 0x00, 0x0a, 0x00, 0x00,
    0x00, 0x21, 0xff, 0x0b, 0x4e, 0x45, 0x54, 0x53, 0x43, 0x41, 0x50, 0x45, 0x32, 0x2e, 0x30, 0x03,
    0x01, 0x00, 0x00, 0x00, 0x21, 0xff, 0x0b, 0x49, 0x6d, 0x61, 0x67, 0x65, 0x4d, 0x61, 0x67, 0x69,
    0x63, 0x6b, 0x0d, 0x67, 0x61, 0x6d, 0x6d, 0x61, 0x3d, 0x30, 0x2e, 0x34, 0x35, 0x34, 0x35, 0x35,
    0x00, 0x2c, 0x00, 0x00, 0x00, 0x00, 0x02, 0x00, 0x01, 0x00, 0x00, 0x02, 0x02, 0x44, 0x0a, 0x00,
    0x21, 0xf9, 0x04, 0x00, 0x0a, 0x00, 0x00, 0x00, 0x21, 0xff, 0x0b, 0x49, 0x6d, 0x61, 0x67, 0x65,
    0x4d, 0x61, 0x67, 0x69, 0x63, 0x6b, 0x0d, 0x67, 0x61, 0x6d, 0x6d, 0x61, 0x3d, 0x30, 0x2e, 0x34,
    0x35, 0x34, 0x35, 0x35, 0x00, 0x2c, 0x00, 0x00, 0x00, 0x00, 0x02, 0x00, 0x01, 0x00, 0x80, 0x00,
    0xff, 0x00, 0xff, 0xff, 0xff, 0x02, 0x02, 0x04, 0x0a, 0x00, 0x3b};

class ImageLoaderWinTest : public ::testing::Test {
 protected:
  std::u16string WriteBytes(const std::u16string& name, const std::string& bytes) {
    const std::u16string path = folder_.Path(name);
    EXPECT_TRUE(files_.WriteAtomically(path, bytes));
    return path;
  }
  template <std::size_t N>
  std::u16string WriteBytes(const std::u16string& name, const std::uint8_t (&bytes)[N]) {
    return WriteBytes(name, std::string(reinterpret_cast<const char*>(bytes), N));
  }

  // COM is left as the loader found it: not initialised on this thread.
  static void ExpectComUninitialised() {
    const HRESULT result = CoInitialize(nullptr);
    EXPECT_EQ(result, S_OK);
    if (SUCCEEDED(result)) CoUninitialize();
  }

  TempFolder folder_{u"kelvo-img-"};
  WinFileSystem files_;
};

// Six pixels with distinct blue, green and red bytes.
const Bytes kSixPixels = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18};

TEST_F(ImageLoaderWinTest, APngGivesItsPixelsAsBlueGreenRedRowsTopDown) {
  const std::u16string path = folder_.Path(u"rgb.png");
  ASSERT_TRUE(
      EncodeImage(path, GUID_ContainerFormatPng, GUID_WICPixelFormat24bppBGR, 3, 2, kSixPixels, 9));
  for (int mode : {1, 2}) {  // a PNG has neither thumbnail nor preview: frame 0 either way
    Bitmap24 bitmap;
    ASSERT_TRUE(LoadImageToBitmap(path, bitmap, mode)) << "mode " << mode;
    EXPECT_EQ(bitmap.width, 3);
    EXPECT_EQ(bitmap.height, 2);
    EXPECT_EQ(bitmap.pixels, kSixPixels);
  }
  ExpectComUninitialised();
}

TEST_F(ImageLoaderWinTest, TheAlphaChannelIsDropped) {
  const std::u16string path = folder_.Path(u"alpha.png");
  const Bytes bgra = {10, 20, 30, 255, 40, 50, 60, 128};
  ASSERT_TRUE(
      EncodeImage(path, GUID_ContainerFormatPng, GUID_WICPixelFormat32bppBGRA, 2, 1, bgra, 8));
  Bitmap24 bitmap;
  ASSERT_TRUE(LoadImageToBitmap(path, bitmap, 1));
  EXPECT_EQ(bitmap.width, 2);
  // Colours are kept as stored, also that of the half-transparent pixel.
  EXPECT_EQ(bitmap.pixels, (Bytes{10, 20, 30, 40, 50, 60}));
}

TEST_F(ImageLoaderWinTest, APaletteImageWithTransparencyDecodes) {
  Bitmap24 bitmap;
  ASSERT_TRUE(LoadImageToBitmap(WriteBytes(u"palette.png", kPalettePng), bitmap, 1));
  EXPECT_EQ(bitmap.width, 3);
  EXPECT_EQ(bitmap.height, 2);
  ASSERT_EQ(bitmap.pixels.size(), 18u);
  const Bytes topRow(bitmap.pixels.begin(), bitmap.pixels.begin() + 9);
  EXPECT_EQ(topRow, (Bytes{0, 0, 255, 0, 255, 0, 255, 0, 0}));
  // Bottom row: blue, the transparent entry, red.
  EXPECT_EQ((Bytes{bitmap.pixels[9], bitmap.pixels[10], bitmap.pixels[11]}), (Bytes{255, 0, 0}));
  EXPECT_EQ((Bytes{bitmap.pixels[15], bitmap.pixels[16], bitmap.pixels[17]}), (Bytes{0, 0, 255}));
  ExpectComUninitialised();
}

TEST_F(ImageLoaderWinTest, AnAnimatedGifGivesItsFirstFrame) {
  Bitmap24 bitmap;
  ASSERT_TRUE(LoadImageToBitmap(WriteBytes(u"anim.gif", kAnimatedGif), bitmap, 1));
  EXPECT_EQ(bitmap.width, 2);
  EXPECT_EQ(bitmap.height, 1);
  EXPECT_EQ(bitmap.pixels, (Bytes{0, 0, 255, 255, 0, 0}));
}

TEST_F(ImageLoaderWinTest, AJpegDecodesToItsSizeAndRoughlyItsColour) {
  const std::u16string path = folder_.Path(u"photo.jpg");
  Bytes grey(8 * 8 * 3, 0x80);
  ASSERT_TRUE(
      EncodeImage(path, GUID_ContainerFormatJpeg, GUID_WICPixelFormat24bppBGR, 8, 8, grey, 24));
  Bitmap24 bitmap;
  ASSERT_TRUE(LoadImageToBitmap(path, bitmap, 1));
  EXPECT_EQ(bitmap.width, 8);
  EXPECT_EQ(bitmap.height, 8);
  ASSERT_EQ(bitmap.pixels.size(), grey.size());
  EXPECT_NEAR(bitmap.pixels[100], 0x80, 4);  // lossy
}

TEST_F(ImageLoaderWinTest, OurBmpFilesDecodeBackToTheSamePixels) {
  // A width of 5 pads each stored row, so both the padding and the row order are checked.
  Bitmap24 original{5, 3, {}};
  for (int i = 0; i < 5 * 3 * 3; ++i) original.pixels.push_back(static_cast<std::uint8_t>(i * 5));
  Bitmap24 decoded;
  ASSERT_TRUE(LoadImageToBitmap(WriteBytes(u"wall.bmp", EncodeBmp24(original)), decoded, 1));
  EXPECT_EQ(decoded.width, 5);
  EXPECT_EQ(decoded.height, 3);
  EXPECT_EQ(decoded.pixels, original.pixels);
}

TEST_F(ImageLoaderWinTest, WhatCannotBeDecodedLeavesTheBitmapAsItWas) {
  const Bitmap24 before{1, 1, {7, 8, 9}};
  Bitmap24 bitmap = before;
  EXPECT_FALSE(LoadImageToBitmap(WriteBytes(u"text.png", std::string("not an image")), bitmap, 1));
  EXPECT_FALSE(LoadImageToBitmap(folder_.Path(u"missing.jpg"), bitmap, 1));
  EXPECT_FALSE(LoadImageToBitmap(u"", bitmap, 2));
  // A PNG cut off in its image data.
  EXPECT_FALSE(LoadImageToBitmap(
      WriteBytes(u"cut.png", std::string(reinterpret_cast<const char*>(kPalettePng), 60)), bitmap,
      1));
  EXPECT_EQ(bitmap.width, before.width);
  EXPECT_EQ(bitmap.height, before.height);
  EXPECT_EQ(bitmap.pixels, before.pixels);
  ExpectComUninitialised();
}

}  // namespace
