#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"
#include "platform/locale.h"

// Appends the full paths of the files under dir (subdirectories included) whose extension equals
// ext without regard to case ("lnk" and ".LNK" alike). Unsorted, the walk is breadth-first in the
// order the file system gives; sorted, the directories are walked depth-first in the locale's
// case-blind order and out is kept in that order without duplicates. A missing directory or an
// empty extension leaves out as it was. Directory links are entered after the rest of the tree,
// and a link to a directory met before (by its identity) is not entered; no walk goes deeper than
// 64 levels.
void ListFiles(const FileSystem& fs, const Locale& locale, std::u16string dir,
               std::vector<std::u16string>& out, std::u16string ext, bool sorted);

// True when the path begins with a drive letter and a colon, or with a network prefix
// \\server\share.
bool HasDrivePart(std::u16string_view path);

// Resolves a user-given file name against the program's directory exeDir (which ends with "\"):
// a path without a drive part, also one beginning with "\", becomes exeDir + path, and the
// caller's string is changed. True when a file (not a directory) exists there.
bool AppFileExists(const FileSystem& fs, const std::u16string& exeDir, std::u16string& path);

// A path as Kelvo writes it to the settings: a file inside the program's directory exeDir (or a
// folder below it) as the name relative to exeDir, which AppFileExists resolves back to it, so
// that the portable folder can be moved or renamed; any other path whole. Letter case is ignored
// as the file system ignores it.
std::u16string AppRelativePath(std::u16string_view path, std::u16string_view exeDir);
