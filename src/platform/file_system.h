#pragma once
#include <optional>
#include <string>
#include <utility>
#include <vector>

// Paths are UTF-16 with "\" separators; the POSIX stand-in maps them to "/".
struct DirEntry {
  std::u16string name;
  bool isDirectory = false;  // links followed
  // A link (symbolic link, junction or other reparse point) rather than a plain entry.
  bool isLink = false;
};

// What reading a whole file found. A missing file and one that exists but cannot be read (locked
// by another program, access denied, a directory of that name) must be told apart: only the
// first may be created anew.
enum class ReadStatus { kRead, kMissing, kUnreadable };

struct FileContents {
  ReadStatus status = ReadStatus::kMissing;
  std::string bytes;  // only with kRead
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  virtual FileContents Read(const std::u16string& path) const = 0;
  // Read as the check before a write: no other program may write the file while it is read, so
  // that a half-written file is not taken for the user's edit. A file that another program is
  // writing is tried again like a busy one, and is unreadable when it stays busy.
  virtual FileContents ReadBeforeWrite(const std::u16string& path) const = 0;
  // The bytes of the file; nothing when it is missing or cannot be read.
  std::optional<std::string> ReadAll(const std::u16string& path) const {
    FileContents contents = Read(path);
    if (contents.status != ReadStatus::kRead) return std::nullopt;
    return std::move(contents.bytes);
  }
  // Replaces the file atomically: a temporary file in the same folder, flushed, then renamed over
  // the old one. On failure the old file is left as it was and false is returned. A path that is
  // a symbolic link is written through to its target (the link stays a link); a file with more
  // than one hard link is rewritten in place so that every name keeps seeing it, with a complete
  // copy of the new contents beside it until the rewrite is done. The file's attributes or
  // permissions are kept.
  virtual bool WriteAtomically(const std::u16string& path, const std::string& bytes) = 0;
  // Waits before a missing file is looked for again (an editor that saves by delete-and-rename
  // leaves no file for a moment).
  virtual void PauseBeforeRecheck(int milliseconds) const = 0;
  virtual bool FileExists(const std::u16string& path) const = 0;       // a file, links followed
  virtual bool DirectoryExists(const std::u16string& path) const = 0;  // links followed
  // Every entry of a directory except "." and ".."; nothing when it cannot be enumerated.
  virtual std::optional<std::vector<DirEntry>> ListDirectory(const std::u16string& dir) const = 0;
  // A text that is equal for two paths that lead to the same directory (links resolved);
  // empty when unknown.
  virtual std::u16string DirectoryIdentity(const std::u16string& dir) const = 0;
};
