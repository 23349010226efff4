#pragma once
#include <string_view>

// The program's version as one integer, for comparing with the version a settings file was
// written by: the first 5 characters of the FileVersion text without their dots, read as a
// decimal number ("1.6.9.0" gives 169, "1.10.2.0" gives 110). Anything else gives 0.
int VersionNumberFromText(std::u16string_view fileVersionText);
