#pragma once
#include <windows.h>

#include <string>

#include "base/number_text.h"
#include "win32/wide_win.h"

// A fresh folder under the user's temporary folder, removed with its contents at the end.
class TempFolder {
 public:
  explicit TempFolder(const std::u16string& prefix) {
    wchar_t temp[MAX_PATH];
    if (GetTempPathW(MAX_PATH, temp) == 0) return;
    for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
      const std::u16string candidate =
          U16(temp) + prefix + IntToText(GetCurrentProcessId()) + u"-" + IntToText(attempt);
      if (CreateDirectoryW(W(candidate), nullptr)) path_ = candidate;
    }
  }
  ~TempFolder() {
    if (!path_.empty()) RemoveTree(path_);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // Empty when no folder could be made.
  const std::u16string& Path() const { return path_; }
  std::u16string Path(const std::u16string& name) const { return path_ + u"\\" + name; }

 private:
  static void RemoveTree(const std::u16string& dir) {
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(W(dir + u"\\*"), &data);
    if (find != INVALID_HANDLE_VALUE) {
      do {
        const std::u16string name = U16(data.cFileName);
        if (name == u"." || name == u"..") continue;
        const std::u16string path = dir + u"\\" + name;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
          // A link goes, not what it leads to.
          if (!RemoveDirectoryW(W(path))) DeleteFileW(W(path));
        } else if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
          RemoveTree(path);
        } else {
          DeleteFileW(W(path));
        }
      } while (FindNextFileW(find, &data));
      FindClose(find);
    }
    RemoveDirectoryW(W(dir));
  }

  std::u16string path_;
};
