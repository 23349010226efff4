#pragma once
#include <string>

// The FileVersion text of a file's version resource (its first translation); empty when the file
// or the resource is missing.
std::u16string FileVersionText(const std::u16string& file);

// The full path of the running executable.
std::u16string ExecutablePath();

// The program's own version as an integer (see VersionNumberFromText); 0 when unknown.
int AppVersionNumber();
