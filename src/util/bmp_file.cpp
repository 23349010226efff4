#include "util/bmp_file.h"

#include <cstddef>
#include <cstdint>

namespace {

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;

// Multi-byte fields of the format are little-endian whatever the host's byte order.
void PutLittleEndian(std::string& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) {
    out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
  }
}

}  // namespace

std::string EncodeBmp24(const Bitmap24& bitmap) {
  if (bitmap.width <= 0 || bitmap.height <= 0) return {};
  const std::uint64_t rowBytes = static_cast<std::uint64_t>(bitmap.width) * 3;
  if (bitmap.pixels.size() != rowBytes * static_cast<std::uint64_t>(bitmap.height)) return {};
  const std::uint64_t stride = (rowBytes + 3) / 4 * 4;
  const std::uint64_t imageSize = stride * static_cast<std::uint64_t>(bitmap.height);
  const std::uint64_t fileSize = kFileHeaderSize + kInfoHeaderSize + imageSize;
  if (fileSize > 0xFFFFFFFFu) return {};

  std::string out;
  out.reserve(static_cast<std::size_t>(fileSize));
  out += "BM";
  PutLittleEndian(out, static_cast<std::uint32_t>(fileSize), 4);
  PutLittleEndian(out, 0, 4);  // two reserved words
  PutLittleEndian(out, kFileHeaderSize + kInfoHeaderSize, 4);

  PutLittleEndian(out, kInfoHeaderSize, 4);
  PutLittleEndian(out, static_cast<std::uint32_t>(bitmap.width), 4);
  PutLittleEndian(out, static_cast<std::uint32_t>(bitmap.height), 4);  // positive: bottom-up
  PutLittleEndian(out, 1, 2);                                          // planes
  PutLittleEndian(out, 24, 2);                                         // bits per pixel
  PutLittleEndian(out, 0, 4);                                          // no compression
  PutLittleEndian(out, static_cast<std::uint32_t>(imageSize), 4);
  PutLittleEndian(out, 0, 4);  // horizontal resolution: unspecified
  PutLittleEndian(out, 0, 4);  // vertical resolution: unspecified
  PutLittleEndian(out, 0, 4);  // colours used: none, there is no palette
  PutLittleEndian(out, 0, 4);  // important colours: all

  const std::size_t row = static_cast<std::size_t>(rowBytes);
  const std::size_t padding = static_cast<std::size_t>(stride - rowBytes);
  for (int y = bitmap.height - 1; y >= 0; --y) {
    const char* begin =
        reinterpret_cast<const char*>(bitmap.pixels.data()) + static_cast<std::size_t>(y) * row;
    out.append(begin, row);
    out.append(padding, '\0');
  }
  return out;
}
