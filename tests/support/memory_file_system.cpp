#include "support/memory_file_system.h"

namespace {

bool IsSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

std::u16string WithoutTrailingSeparator(std::u16string path) {
  while (path.size() > 1 && IsSeparator(path.back())) path.pop_back();
  return path;
}

// The name of `path` inside `dir`, when `path` is directly in it; empty otherwise.
std::u16string ChildName(const std::u16string& dir, const std::u16string& path) {
  if (path.size() <= dir.size() + 1 || path.compare(0, dir.size(), dir) != 0) return u"";
  if (!IsSeparator(path[dir.size()])) return u"";
  std::u16string name = path.substr(dir.size() + 1);
  for (char16_t c : name) {
    if (IsSeparator(c)) return u"";
  }
  return name;
}

}  // namespace

FileContents MemoryFileSystem::Read(const std::u16string& path) const {
  if (unreadable.count(path) != 0) return {ReadStatus::kUnreadable, {}};
  if (const auto gone = missingReads.find(path); gone != missingReads.end() && gone->second > 0) {
    --gone->second;
    return {ReadStatus::kMissing, {}};
  }
  const auto found = files.find(path);
  if (found == files.end()) return {ReadStatus::kMissing, {}};
  return {ReadStatus::kRead, found->second};
}

FileContents MemoryFileSystem::ReadBeforeWrite(const std::u16string& path) const {
  if (const auto busy = busyWrites.find(path); busy != busyWrites.end() && busy->second > 0) {
    --busy->second;
    return {ReadStatus::kUnreadable, {}};
  }
  return Read(path);
}

bool MemoryFileSystem::WriteAtomically(const std::u16string& path, const std::string& bytes) {
  if (failNextWrite || failAllWrites) {
    failNextWrite = false;
    ++failedWriteCount;
    return false;
  }
  files[path] = bytes;
  ++writeCount;
  return true;
}

bool MemoryFileSystem::FileExists(const std::u16string& path) const {
  return files.count(path) != 0;
}

bool MemoryFileSystem::DirectoryExists(const std::u16string& path) const {
  const std::u16string dir = WithoutTrailingSeparator(path);
  return directories.count(dir) != 0 || directoryLinks.count(dir) != 0;
}

std::optional<std::vector<DirEntry>> MemoryFileSystem::ListDirectory(
    const std::u16string& path) const {
  std::u16string dir = WithoutTrailingSeparator(path);
  if (const auto link = directoryLinks.find(dir); link != directoryLinks.end()) {
    dir = WithoutTrailingSeparator(link->second);
  }
  if (directories.count(dir) == 0) return std::nullopt;
  std::vector<DirEntry> entries;
  for (const std::u16string& other : directories) {
    std::u16string name = ChildName(dir, other);
    if (!name.empty()) {
      entries.push_back(DirEntry{std::move(name), true, directoryLinks.count(other) != 0});
    }
  }
  for (const auto& [filePath, bytes] : files) {
    std::u16string name = ChildName(dir, filePath);
    if (!name.empty()) entries.push_back(DirEntry{std::move(name), false});
  }
  return entries;
}

std::u16string MemoryFileSystem::DirectoryIdentity(const std::u16string& path) const {
  const std::u16string dir = WithoutTrailingSeparator(path);
  if (const auto link = directoryLinks.find(dir); link != directoryLinks.end()) {
    return DirectoryIdentity(link->second);
  }
  return directories.count(dir) != 0 ? dir : u"";
}
