#pragma once
#include <string>

class UsrIniFile;

// What a new settings file holds, and the upgrades of files written by older versions.
void WriteFirstStartContents(UsrIniFile& ini, int version);
// Applies, in order, every upgrade whose threshold the old version number is below.
void ApplyUpgrades(UsrIniFile& ini, int oldVersion);

inline constexpr char16_t kDefaultWmPasteClass[] = u"EDIT;TEDIT";
inline constexpr char16_t kDefaultEditor[] = u"notepad.exe";
