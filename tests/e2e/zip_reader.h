#pragma once
#include <optional>
#include <string>
#include <vector>

// The files of a zip archive, read as Windows' own unzipping would: the central directory gives
// the names and order, each entry is stored or deflated, and its CRC-32 must match.
struct ZipEntry {
  std::string name;  // as stored: "/" between folders
  std::string bytes;
};

// The entries in the order of the central directory; nothing, with the reason in `error`, when
// the archive is not one Windows could unzip exactly.
std::optional<std::vector<ZipEntry>> ReadZip(const std::string& archive, std::string& error);
