#pragma once
#include <cstdint>
#include <string>
#include <vector>

// A decoded image of 24 bits per pixel.
struct Bitmap24 {
  int width = 0;
  int height = 0;
  // Rows from top to bottom, each exactly width * 3 bytes in the order blue, green, red.
  std::vector<std::uint8_t> pixels;
};

// Decodes an image file (JPEG, PNG, GIF …) into 24-bit rows; false leaves the bitmap alone.
class ImageDecoder {
 public:
  virtual ~ImageDecoder() = default;
  virtual bool LoadImageToBitmap(const std::u16string& path, Bitmap24& bitmap, int mode) = 0;
};
