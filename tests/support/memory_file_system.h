#pragma once
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/file_system.h"

// An in-memory file system for tests. Paths are taken literally (no separator mapping, case
// matters); a directory's entries are the files and directories whose path is the directory,
// a "\" or "/", and one more name. Directories must be added explicitly.
class MemoryFileSystem : public FileSystem {
 public:
  std::map<std::u16string, std::string> files;
  std::set<std::u16string> directories;
  // Directory aliases (like links): DirectoryIdentity of the alias is that of its target, and its
  // entry is listed as a link (the alias must also be one of the directories to be listed).
  std::map<std::u16string, std::u16string> directoryLinks;
  // When set, the next WriteAtomically fails (leaving the file as it was) and clears the flag.
  bool failNextWrite = false;
  // When set, every WriteAtomically fails.
  bool failAllWrites = false;
  // When set, reading this path fails although the file may exist (an unreadable file).
  std::set<std::u16string> unreadable;
  // Reads of this path that find it missing before it is there again (delete-and-rename).
  mutable std::map<std::u16string, int> missingReads;
  // Reads before a write of this path that find another program writing it (ReadBeforeWrite
  // answers unreadable); plain reads share writing and see the file.
  mutable std::map<std::u16string, int> busyWrites;
  // Every pause before a missing file is looked for again, in milliseconds.
  mutable std::vector<int> pauses;
  int writeCount = 0;        // successful writes
  int failedWriteCount = 0;  // refused writes

  FileContents Read(const std::u16string& path) const override;
  FileContents ReadBeforeWrite(const std::u16string& path) const override;
  bool WriteAtomically(const std::u16string& path, const std::string& bytes) override;
  void PauseBeforeRecheck(int milliseconds) const override { pauses.push_back(milliseconds); }
  bool FileExists(const std::u16string& path) const override;
  bool DirectoryExists(const std::u16string& path) const override;
  std::optional<std::vector<DirEntry>> ListDirectory(const std::u16string& dir) const override;
  std::u16string DirectoryIdentity(const std::u16string& dir) const override;
};
