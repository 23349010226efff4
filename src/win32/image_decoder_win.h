#pragma once
#include <string>

#include "platform/image_decoder.h"

// Decodes an image file of any format the Windows Imaging Component knows (JPEG, PNG, GIF, BMP
// ...) into 24-bit blue-green-red rows. mode 2 prefers the file's thumbnail; any other mode its
// preview image; without either the first frame is taken. False on any failure, and then bitmap
// is left as it was. Initialises COM for the call and leaves it as it was.
bool LoadImageToBitmap(const std::u16string& path, Bitmap24& bitmap, int mode);

class WinImageDecoder : public ImageDecoder {
 public:
  bool LoadImageToBitmap(const std::u16string& path, Bitmap24& bitmap, int mode) override {
    return ::LoadImageToBitmap(path, bitmap, mode);
  }
};
