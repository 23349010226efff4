#include "zip_reader.h"

#include <zlib.h>

#include <cstdint>

namespace {

constexpr std::uint32_t kEndOfDirectory = 0x06054b50;
constexpr std::uint32_t kDirectoryEntry = 0x02014b50;
constexpr std::uint32_t kLocalHeader = 0x04034b50;
constexpr std::size_t kEndSize = 22;
constexpr std::size_t kDirectoryEntrySize = 46;
constexpr std::size_t kLocalHeaderSize = 30;
constexpr int kStored = 0;
constexpr int kDeflated = 8;
constexpr int kEncrypted = 1;

class Reader {
 public:
  explicit Reader(const std::string& bytes) : bytes_(bytes) {}
  bool Has(std::size_t at, std::size_t count) const {
    return at <= bytes_.size() && count <= bytes_.size() - at;
  }
  std::uint32_t U16(std::size_t at) const { return Byte(at) | Byte(at + 1) << 8; }
  std::uint32_t U32(std::size_t at) const { return U16(at) | U16(at + 2) << 16; }
  std::string Text(std::size_t at, std::size_t count) const { return bytes_.substr(at, count); }

 private:
  std::uint32_t Byte(std::size_t at) const { return static_cast<unsigned char>(bytes_[at]); }
  const std::string& bytes_;
};

// The end-of-directory record: searched backwards, since a comment may follow it.
std::optional<std::size_t> FindEnd(const Reader& zip, std::size_t size) {
  if (size < kEndSize) return std::nullopt;
  for (std::size_t at = size - kEndSize + 1; at-- > 0;) {
    if (zip.U32(at) == kEndOfDirectory) return at;
    if (size - at > kEndSize + 0xFFFF) break;
  }
  return std::nullopt;
}

std::optional<std::string> Inflate(const std::string& packed, std::size_t size) {
  std::string out(size, '\0');
  z_stream stream{};
  if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) return std::nullopt;
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data()));
  stream.avail_in = static_cast<uInt>(packed.size());
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  const int result = inflate(&stream, Z_FINISH);
  const bool whole = result == Z_STREAM_END && stream.total_out == size;
  inflateEnd(&stream);
  if (!whole) return std::nullopt;
  return out;
}

}  // namespace

std::optional<std::vector<ZipEntry>> ReadZip(const std::string& archive, std::string& error) {
  const Reader zip(archive);
  const std::optional<std::size_t> end = FindEnd(zip, archive.size());
  if (!end) {
    error = "no end-of-directory record";
    return std::nullopt;
  }
  const std::uint32_t count = zip.U16(*end + 10);
  std::size_t at = zip.U32(*end + 16);
  std::vector<ZipEntry> entries;
  for (std::uint32_t i = 0; i < count; ++i) {
    if (!zip.Has(at, kDirectoryEntrySize) || zip.U32(at) != kDirectoryEntry) {
      error = "directory entry " + std::to_string(i) + " is broken";
      return std::nullopt;
    }
    const std::uint32_t flags = zip.U16(at + 8);
    const int method = static_cast<int>(zip.U16(at + 10));
    const std::uint32_t crc = zip.U32(at + 16);
    const std::size_t packedSize = zip.U32(at + 20);
    const std::size_t size = zip.U32(at + 24);
    const std::size_t nameLength = zip.U16(at + 28);
    const std::size_t skip = nameLength + zip.U16(at + 30) + zip.U16(at + 32);
    const std::size_t local = zip.U32(at + 42);
    ZipEntry entry{zip.Text(at + kDirectoryEntrySize, nameLength), {}};
    at += kDirectoryEntrySize + skip;
    if (!zip.Has(local, kLocalHeaderSize) || zip.U32(local) != kLocalHeader ||
        (flags & kEncrypted)) {
      error = entry.name + ": no readable local header";
      return std::nullopt;
    }
    const std::size_t data = local + kLocalHeaderSize + zip.U16(local + 26) + zip.U16(local + 28);
    if (!zip.Has(data, packedSize)) {
      error = entry.name + ": the data runs past the end";
      return std::nullopt;
    }
    const std::string packed = zip.Text(data, packedSize);
    std::optional<std::string> bytes;
    if (method == kStored && packedSize == size) bytes = packed;
    if (method == kDeflated) bytes = Inflate(packed, size);
    if (!bytes || crc32(0, reinterpret_cast<const Bytef*>(bytes->data()),
                        static_cast<uInt>(bytes->size())) != crc) {
      error = entry.name + ": cannot be unpacked exactly (method " + std::to_string(method) + ")";
      return std::nullopt;
    }
    entry.bytes = std::move(*bytes);
    entries.push_back(std::move(entry));
  }
  return entries;
}
