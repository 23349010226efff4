#pragma once
#include <cstdint>
#include <vector>

// A decoded image of 24 bits per pixel.
struct Bitmap24 {
  int width = 0;
  int height = 0;
  // Rows from top to bottom, each exactly width * 3 bytes in the order blue, green, red.
  std::vector<std::uint8_t> pixels;
};
