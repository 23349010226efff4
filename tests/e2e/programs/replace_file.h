// Test helpers' way of putting a finished file in place of the one a test reads.
#pragma once
#include <windows.h>

#include <string>

// Renames `partial` over `file`. A test reading `file` at this moment holds it open, and an open
// file cannot be replaced: the rename is tried again for a while rather than the older text left
// in place for good.
inline bool ReplaceWithPartial(const std::wstring& partial, const std::wstring& file) {
  for (int attempt = 0; attempt < 200; ++attempt) {
    if (MoveFileExW(partial.c_str(), file.c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
    Sleep(10);
  }
  return false;
}
