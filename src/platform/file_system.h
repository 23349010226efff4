#pragma once
#include <optional>
#include <string>
#include <vector>

// Paths are UTF-16 with "\" separators; the POSIX stand-in maps them to "/".
struct DirEntry {
  std::u16string name;
  bool isDirectory = false;  // links followed
  // A link (symbolic link, junction or other reparse point) rather than a plain entry.
  bool isLink = false;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  virtual std::optional<std::string> ReadAll(const std::u16string& path) const = 0;
  // Replaces the file atomically: a temporary file in the same folder, flushed, then renamed over
  // the old one. On failure the old file is left as it was and false is returned.
  virtual bool WriteAtomically(const std::u16string& path, const std::string& bytes) = 0;
  virtual bool FileExists(const std::u16string& path) const = 0;       // a file, links followed
  virtual bool DirectoryExists(const std::u16string& path) const = 0;  // links followed
  // Every entry of a directory except "." and ".."; nothing when it cannot be enumerated.
  virtual std::optional<std::vector<DirEntry>> ListDirectory(const std::u16string& dir) const = 0;
  // A text that is equal for two paths that lead to the same directory (links resolved);
  // empty when unknown.
  virtual std::u16string DirectoryIdentity(const std::u16string& dir) const = 0;
};
