#pragma once
#include <string>
#include <string_view>

#include "settings/settings_schema.h"

class UsrIniFile;

// What a new settings file holds, and the upgrades of files written by older versions.
void WriteFirstStartContents(UsrIniFile& ini, int version);
// Applies, in order, every upgrade whose threshold the old version number is below.
void ApplyUpgrades(UsrIniFile& ini, int oldVersion);

inline constexpr std::u16string_view kDefaultWmPasteClass =
    DefaultText(u"General", u"WmPasteClass");
inline constexpr std::u16string_view kDefaultEditor = DefaultText(u"General", u"Editor");
