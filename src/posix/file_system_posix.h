#pragma once
#include "platform/file_system.h"

// Stand-in for the Windows file system on Linux: "\" in paths becomes "/", and the UTF-16 paths
// become UTF-8 file names.
class PosixFileSystem : public FileSystem {
 public:
  FileContents Read(const std::u16string& path) const override;
  // POSIX has no mandatory share modes: the same as Read.
  FileContents ReadBeforeWrite(const std::u16string& path) const override { return Read(path); }
  bool WriteAtomically(const std::u16string& path, const std::string& bytes) override;
  void PauseBeforeRecheck(int milliseconds) const override;
  bool FileExists(const std::u16string& path) const override;
  bool DirectoryExists(const std::u16string& path) const override;
  std::optional<std::vector<DirEntry>> ListDirectory(const std::u16string& dir) const override;
  std::u16string DirectoryIdentity(const std::u16string& dir) const override;
};
