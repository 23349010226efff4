#pragma once
#include "platform/file_system.h"

// Files through the Win32 API, with UTF-16 paths passed as they are.
class WinFileSystem : public FileSystem {
 public:
  FileContents Read(const std::u16string& path) const override;
  bool WriteAtomically(const std::u16string& path, const std::string& bytes) override;
  void PauseBeforeRecheck(int milliseconds) const override;
  bool FileExists(const std::u16string& path) const override;
  bool DirectoryExists(const std::u16string& path) const override;
  std::optional<std::vector<DirEntry>> ListDirectory(const std::u16string& dir) const override;
  std::u16string DirectoryIdentity(const std::u16string& dir) const override;
};
