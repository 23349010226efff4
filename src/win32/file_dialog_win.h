#pragma once
#include <windows.h>

#include <optional>
#include <string>

// The system's open and save dialogs, looked up at their first use (the common-dialog library
// costs every start when imported).
struct FileDialogRequest {
  std::u16string title;
  std::u16string filterName;     // "履歴データファイル (*.txt)"
  std::u16string filterPattern;  // "*.TXT"
  std::u16string defaultExt;     // added to a name typed without one
  std::u16string fileName;       // the name the dialog starts with
  std::u16string folder;         // the folder it starts in
};

// The chosen path; nothing when the user cancelled or the dialog could not be shown. A save
// dialog asks before an existing file is replaced.
std::optional<std::u16string> AskFileName(HWND owner, const FileDialogRequest& request, bool save);
