#pragma once
#include <string>

#include "platform/image_decoder.h"

// The bytes of a 24-bit BMP file (file header, 40-byte info header, bottom-up rows padded to a
// multiple of 4 bytes), which is the form the desktop wallpaper file is written in. Empty when the
// bitmap is not consistent (no pixels, or a pixel buffer that does not match its size) or too
// large for the format.
std::string EncodeBmp24(const Bitmap24& bitmap);
