#pragma once
#include "platform/file_system.h"

// Files through the Win32 API. Paths of kLongPathFrom characters and more are passed in the
// extended-length form, so that every file Kelvo can read it can also write (the temporary file
// beside it is longer). A rewrite keeps the file's permissions, owner (where the user may set
// it), creation time and attributes, not its alternate data streams; a read-only file, or one
// the user may not replace, is refused at once.
class WinFileSystem : public FileSystem {
 public:
  FileContents Read(const std::u16string& path) const override;
  FileContents ReadBeforeWrite(const std::u16string& path) const override;
  bool WriteAtomically(const std::u16string& path, const std::string& bytes) override;
  void PauseBeforeRecheck(int milliseconds) const override;
  bool FileExists(const std::u16string& path) const override;
  bool DirectoryExists(const std::u16string& path) const override;
  std::optional<std::vector<DirEntry>> ListDirectory(const std::u16string& dir) const override;
  std::u16string DirectoryIdentity(const std::u16string& dir) const override;
};
