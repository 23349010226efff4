#include "settings/settings_layout.h"

#include <initializer_list>
#include <utility>

#include "settings/settings_store.h"
#include "util/path_text.h"

namespace {

using Entries = std::initializer_list<std::pair<const char16_t*, const char16_t*>>;

void WriteAll(UsrIniFile& ini, const std::u16string& section, Entries entries) {
  for (const auto& [key, value] : entries) ini.WriteString(section, key, value);
}

void WriteEmptyKeys(UsrIniFile& ini, const char16_t* sectionWord, int count) {
  for (int n = 1; n <= count; ++n) ini.WriteString(NumberedName(sectionWord, n), u"Key", u"");
}

void WriteTextDataButtons(UsrIniFile& ini) {
  for (int n = 1; n <= 8; ++n)
    ini.WriteString(u"ClipboardList", NumberedName(u"TextDataBtn", n), u"");
}

}  // namespace

void WriteFirstStartContents(UsrIniFile& ini, int version) {
  ini.WriteInteger(u"General", u"Version", version);
  WriteAll(ini, u"General",
           {{u"NoTrayIcon", u"0"},
            {u"Editor", u""},
            {u"ZrEditor", u""},
            {u"WmPasteClass", kDefaultWmPasteClass.data()}});
  WriteEmptyKeys(ini, u"HotKey", 5);
  WriteAll(
      ini, u"PopupMenu",
      {{u"PopupDir", u""},   {u"PopupFile", u""},   {u"PosX", u"-1"},         {u"PosY", u"-1"},
       {u"Sort", u"0"},      {u"MinWidth", u""},    {u"ItemHeight", u""},     {u"FgColorL", u""},
       {u"BgColorL", u""},   {u"SelFgColorL", u""}, {u"SelBgColorL", u""},    {u"FgColorP", u""},
       {u"BgColorP", u""},   {u"SelFgColorP", u""}, {u"SelBgColorP", u""},    {u"AkColor", u""},
       {u"SelAkColor", u""}, {u"SelRaised", u"0"},  {u"NoAkUnderline", u"0"}, {u"AkBold", u"0"}});
  WriteAll(ini, u"CmdLauncher",
           {{u"LaunchDir", u""},
            {u"ListSize", u"10"},
            {u"Dropdown", u"1"},
            {u"SkipInput", u"0"},
            {u"CnfExecute", u"0"},
            {u"ExeDelay", u"250"},
            {u"FontName", u""},
            {u"FontSize", u"10"},
            {u"FgColorK", u""},
            {u"BgColorK", u""},
            {u"FgColorC", u""},
            {u"BgColorC", u""},
            {u"CnfSound", u""},
            {u"NgSound", u""}});
  WriteAll(ini, u"ClipboardList",
           {{u"Enable", u"0"},
            {u"SaveHistory", u"0"},
            {u"ClipDataFile", u"CLIPDATA.txt"},
            {u"TextDataFile", u"TEXTDATA.txt"},
            {u"MaxItems", u"50"},
            {u"MaxTextLen", u"0"},
            {u"MaxLineCnt", u"0"},
            {u"FontName", u""},
            {u"FontSize", u"10"},
            {u"LineSpace", u"0"},
            {u"FgColorL", u""},
            {u"BgColorL", u""},
            {u"FgColorT", u""},
            {u"BgColorT", u""},
            {u"FgColorV", u""},
            {u"BgColorV", u""},
            {u"CtrlColor", u""},
            {u"LnCtColor", u""},
            {u"ShowLnCt", u"0"},
            {u"PreviewLn", u"0"},
            {u"Transparent", u"255"},
            {u"ExceptWord1", u""}});
  WriteTextDataButtons(ini);
  WriteEmptyKeys(ini, u"CmdKwd", 5);
}

void ApplyUpgrades(UsrIniFile& ini, int oldVersion) {
  if (oldVersion < 160) {
    WriteAll(ini, u"ClipboardList",
             {{u"Transparent", u"255"}, {u"ExceptWord1", u""}, {u"MaxLineCnt", u"0"}});
  }
  if (oldVersion < 161) WriteTextDataButtons(ini);
  if (oldVersion < 165) ini.WriteString(u"General", u"WmPasteClass", kDefaultWmPasteClass);
}
