#include "check/settings_checker.h"

#include <algorithm>
#include <utility>
#include <variant>

#include "base/number_text.h"
#include "base/text_case.h"
#include "check/check_context.h"
#include "check/nearest_name.h"
#include "hotkeys/action_executor.h"
#include "hotkeys/hotkey_action.h"
#include "settings/settings_layout.h"
#include "util/path_text.h"
#include "util/text_file.h"
#include "util/text_helpers.h"
#include "util/title_pattern.h"

namespace {

constexpr std::u16string_view kUnnamedSections[] = {
    u"General",     u"PopupMenu",  u"CmdLauncher", u"ClipboardList",
    u"FindHistory", u"HotKeyList", u"ErrorLog"};

bool IsActionSection(const KnownSection& s) { return s.name == u"HotKey#" || s.name == u"CmdKwd#"; }

// The number a name ends with, as text ("" when none).
std::u16string TrailingNumber(std::u16string_view name) {
  std::size_t start = name.size();
  while (start > 0 && name[start - 1] >= u'0' && name[start - 1] <= u'9') --start;
  return std::u16string(name.substr(start));
}

std::u16string WithNumber(std::u16string_view name, const std::u16string& number) {
  std::u16string out(name);
  if (!out.empty() && out.back() == u'#') {
    out.pop_back();
    out += number.empty() ? u"1" : number;
  }
  return out;
}

void AddSectionFromLine(std::vector<FileSection>& sections, const std::u16string& line,
                        int number) {
  FileSection section;
  section.name = line.substr(1, line.size() - 2);
  section.line = number;
  section.known = FindKnownSection(section.name);
  sections.push_back(std::move(section));
}

// The sections and key lines of the file as the store takes them; lines it drops are reported.
void ReadLines(CheckContext& c, const std::vector<std::u16string>& lines) {
  c.sections.push_back(FileSection{});
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::u16string& line = lines[i];
    const int number = static_cast<int>(i) + 1;
    switch (ClassifyIniLine(line)) {
      case IniLineKind::kHeader:
        AddSectionFromLine(c.sections, line, number);
        break;
      case IniLineKind::kEntry: {
        const std::size_t equals = line.find(u'=');
        std::u16string value = line.substr(equals + 1);
        if (value.size() >= 2 && value.front() == u'"' && value.back() == u'"')
          value = value.substr(1, value.size() - 2);
        c.sections.back().entries.push_back({line.substr(0, equals), std::move(value), number});
        break;
      }
      case IniLineKind::kDropped:
        c.Warning(number,
                  u"見出しでも注釈でも「キー=値」でもない行です。Kelvo はこの行を読まず、次に"
                  u"ファイルを書き込むときに消します。",
                  line.front() == u'['
                      ? u"見出しは [名前] だけを書きます（前後に空白を入れません）。"
                      : u"注釈なら 1 文字目を「;」にします。");
        break;
      default:
        break;
    }
  }
  std::vector<std::u16string> seen;
  for (FileSection& section : c.sections) {
    const std::u16string folded = FoldedName(section.name);
    section.read = std::find(seen.begin(), seen.end(), folded) == seen.end();
    seen.push_back(folded);
  }
}

void UnknownSection(CheckContext& c, const FileSection& section) {
  std::vector<std::u16string> names(std::begin(kUnnamedSections), std::end(kUnnamedSections));
  const std::u16string number = TrailingNumber(section.name);
  for (const NumberedSection& numbered : kNumberedSections) {
    names.push_back(std::u16string(numbered.word) + (number.empty() ? u"1" : number));
    const std::u16string_view word =
        std::u16string_view(section.name).substr(0, section.name.size() - number.size());
    if (!number.empty() && EqualsNoCase(word, numbered.word)) {
      c.Error(section.line, u"[" + section.name + u"] は読まれません。" +
                                std::u16string(numbered.word) + u" の番号は 1 ～ " +
                                IntToText(numbered.lastNumber) + u" です。");
      return;
    }
  }
  const std::u16string nearest = NearestName(section.name, names);
  c.Error(section.line, u"[" + section.name + u"] は Kelvo の知らないセクションです。",
          nearest.empty() ? u"" : u"[" + nearest + u"] ではありませんか。");
}

void UnknownKey(CheckContext& c, const FileSection& section, const FileEntry& entry) {
  std::vector<std::u16string> names;
  const std::u16string number = TrailingNumber(entry.key);
  for (const SettingKey& row : kSettingKeys) {
    if (row.section == section.known->name && row.key != u"#")
      names.push_back(WithNumber(row.key, number));
  }
  const std::u16string nearest = NearestName(entry.key, names);
  c.Error(entry.line, CheckContext::Where(section, entry) + u" は Kelvo の知らないキーです。",
          nearest.empty() ? u"" : nearest + u" ではありませんか。");
}

// Colours read best in hexadecimal.
std::u16string NumberText(std::int64_t value) {
  if (value <= 0xFFFFFF) return IntToText(value);
  std::u16string hex;
  for (int shift = 28; shift >= 0; shift -= 4) hex += u"0123456789ABCDEF"[(value >> shift) & 0xF];
  return u"0x" + hex;
}

void CheckNumber(CheckContext& c, const FileSection& s, const FileEntry& e, const SettingKey& row) {
  const auto value = ParseInt32(e.value);
  const std::u16string where = CheckContext::Where(s, e) + u"=" + e.value;
  if (!value) {
    c.Warning(e.line,
              where + u" は数値ではありません。Kelvo は既定値" +
                  (row.computed ? u"" : u" " + NumberText(row.number)) + u" を使います。",
              u"10 進数か、$FF・0xFF のような 16 進数で書きます。");
    return;
  }
  if (row.type == SettingType::kColour) {
    const std::uint32_t colour = static_cast<std::uint32_t>(*value);
    if ((colour >> 24) != 0 && (colour >> 24) != 0xFF) {
      c.Warning(
          e.line,
          where +
              u" は色として使えません（上位 8 ビットが 0 でもシステム色の FF でもありません）。",
          u"0x00BBGGRR（青・緑・赤）か、システム色の 0xFF0000nn で書きます。");
    } else if ((colour >> 24) == 0xFF && (colour & 0xFFFFFF) > 30) {
      c.Warning(e.line, where + u" は Windows にないシステム色です。",
                u"0xFF000000 ～ 0xFF00001E で書きます。");
    }
    return;
  }
  if (*value >= row.min && *value <= row.max) return;
  // MaxItems and Transparent give their largest value to anything outside; the others are
  // brought into their range.
  const bool toMax = row.key == u"MaxItems" || row.key == u"Transparent";
  const std::int32_t used = toMax || *value > row.max ? row.max : row.min;
  std::u16string range = row.max == kNoMaximum ? IntToText(row.min) + u" 以上"
                                               : IntToText(row.min) + u" ～ " + IntToText(row.max);
  c.Warning(e.line, where + u" は範囲（" + range + u"）の外です。Kelvo は " + IntToText(used) +
                        u" を使います。");
}

std::vector<std::u16string> SplitOn(std::u16string_view text, char16_t separator) {
  std::vector<std::u16string> parts;
  std::size_t start = 0;
  for (std::size_t at = text.find(separator);; at = text.find(separator, start)) {
    parts.emplace_back(
        text.substr(start, at == std::u16string_view::npos ? text.npos : at - start));
    if (at == std::u16string_view::npos) break;
    start = at + 1;
  }
  return parts;
}

void CheckCommand(CheckContext& c, const FileSection& s, const FileEntry& e) {
  const HotKeyAction action = ParseHotKeyAction(c.services.locale.ToUpper(e.value));
  const auto* system = std::get_if<SystemAction>(&action);
  if (system && system->command == SystemCommand::kUnknown) {
    const std::vector<std::u16string_view> words = CommandWords();
    std::u16string nearest =
        NearestName(system->word, std::vector<std::u16string>(words.begin(), words.end()));
    // An internal command followed by more text: the command alone is what Kelvo knows.
    const auto named = std::find_if(words.begin(), words.end(), [&](std::u16string_view word) {
      return EqualsNoCase(word, system->word);
    });
    if (named != words.end()) nearest = *named;
    c.Error(e.line,
            CheckContext::Where(s, e) + u"=" + e.value +
                u" は知らないコマンドです。押すと「不明なコマンドです」と表示します。",
            nearest.empty() ? u"" : nearest + u" ではありませんか。");
    return;
  }
  if (system && system->command == SystemCommand::kSetForegroundPosition &&
      SplitCommaText(system->parameter).size() > 4) {
    c.Error(e.line,
            CheckContext::Where(s, e) +
                u": SETPOS_FGWND の項目が 5 つ以上あるため、押しても何もしません。",
            u"x,y,幅,高さ の 4 つまでにします。");
  }
}

void CheckPattern(CheckContext& c, const FileSection& s, const FileEntry& e, bool caseless) {
  const std::u16string& v = e.value;
  const bool isPattern = caseless ? v.size() >= 3 && v.front() == u'/' && v.back() == u'/'
                                  : v.front() == u'/' && v.back() == u'/';
  if (!isPattern) return;
  const std::u16string body = v.size() >= 2 ? v.substr(1, v.size() - 2) : u"";
  if (body.empty()) {
    c.Warning(e.line,
              CheckContext::Where(s, e) + u": 空の正規表現はどのウィンドウにも合いません。");
    return;
  }
  PatternError error;
  if (TitlePattern::Compile(body, caseless, &error)) return;
  c.Error(e.line, CheckContext::Where(s, e) + u": 正規表現 " + v + u" が正しくありません（" +
                      IntToText(static_cast<std::int64_t>(error.offset) + 2) + u" 文字目: " +
                      error.message + u"）。" +
                      (caseless ? u"直すまで、クリップボードを何も記録しません。"
                                : u"押すと「不正な正規表現です」と表示します。"));
}

void CheckSendKey(CheckContext& c, const FileSection& s, const FileEntry& e) {
  for (const std::u16string& token : SplitOn(e.value, u',')) {
    const std::u16string_view trimmed = TrimControls(token);
    if (trimmed.empty() || trimmed == u"/") {
      c.Error(
          e.line,
          CheckContext::Where(s, e) +
              u" に空の項目があります。押すと「範囲チェックエラー」と表示し、そこで止まります。",
          u"「,,」や「/」だけの項目を消します。");
      return;
    }
  }
}

// A choice's words as the user writes them: "auto・off・keep".
std::u16string ChoiceList(std::u16string_view choices) {
  std::u16string list(choices);
  ReplaceAll(list, u" ", u"・");
  return list;
}

void CheckChoice(CheckContext& c, const FileSection& s, const FileEntry& e, const SettingKey& row) {
  if (FindChoice(row.choices, e.value)) return;
  c.Warning(e.line,
            CheckContext::Where(s, e) + u"=" + e.value + u" は使えない値です。Kelvo は既定値 " +
                std::u16string(row.text) + u" を使います。",
            ChoiceList(row.choices) + u" のどれかを書きます。");
}

void CheckValue(CheckContext& c, const FileSection& s, const FileEntry& e, const SettingKey& row) {
  switch (row.type) {
    case SettingType::kInteger:
    case SettingType::kBool:
    case SettingType::kColour:
      CheckNumber(c, s, e, row);
      break;
    case SettingType::kCommand:
      CheckCommand(c, s, e);
      break;
    case SettingType::kTitlePattern:
      CheckPattern(c, s, e, false);
      break;
    case SettingType::kExceptWord:
      CheckPattern(c, s, e, true);
      break;
    case SettingType::kSendKey:
      CheckSendKey(c, s, e);
      break;
    case SettingType::kChoice:
      CheckChoice(c, s, e, row);
      break;
    default:
      break;  // files, hotkeys and texts are checked elsewhere or not at all
  }
}

bool IsActionKey(const SettingKey& row) { return row.key.back() == u'#' || row.key == u"ZrMacro"; }

// Why Kelvo skips a key line it knows, or nothing.
std::u16string SkipReason(const CheckContext& c, const FileSection& s, const FileEntry& e,
                          const SettingKey& row) {
  if (IsActionSection(*s.known) && IsActionKey(row) && HasCommand(c, s.name)) {
    return u"Command があるセクションでは、動作のキーは読まれません。";
  }
  const std::u16string number = TrailingNumber(e.key);
  if ((row.key == u"ExeParam#" || row.key == u"ExeDir#") &&
      c.ini->ReadString(s.name, u"Execute" + number, u"").empty()) {
    return u"Execute" + number + u" がないため、読まれません。";
  }
  if (row.key == u"ExceptWord#") {
    for (int n = 1; n < ParseInt32(number).value_or(1); ++n) {
      if (c.ini->ReadString(s.name, u"ExceptWord" + IntToText(n), u"").empty())
        return u"ExceptWord" + IntToText(n) +
               u" がないため、読まれません（番号は 1 から続けます）。";
    }
  }
  return {};
}

void CheckEntries(CheckContext& c, const FileSection& s) {
  std::vector<std::pair<std::u16string, int>> seen;
  for (const FileEntry& e : s.entries) {
    const std::u16string folded = FoldedName(e.key);
    const auto earlier =
        std::find_if(seen.begin(), seen.end(), [&](const auto& k) { return k.first == folded; });
    if (earlier != seen.end()) {
      c.Warning(e.line, CheckContext::Where(s, e) + u" は " + IntToText(earlier->second) +
                            u" 行目にもあります。Kelvo は最初の行だけを読みます。");
      continue;
    }
    seen.emplace_back(folded, e.line);
    const SettingKey* row = FindSettingKey(*s.known, e.key);
    if (!row) {
      UnknownKey(c, s, e);
      continue;
    }
    if (e.value.empty()) continue;  // the default applies
    if (const std::u16string reason = SkipReason(c, s, e, *row); !reason.empty()) {
      c.Warning(e.line, CheckContext::Where(s, e) + u": " + reason);
      continue;
    }
    CheckValue(c, s, e, *row);
  }
}

void CheckSections(CheckContext& c) {
  for (const FileEntry& e : c.sections.front().entries) {
    c.Warning(e.line, u"最初のセクションより前にある行は、Kelvo に読まれません。",
              u"[General] などのセクションの中に書きます。");
  }
  for (std::size_t i = 1; i < c.sections.size(); ++i) {
    const FileSection& s = c.sections[i];
    if (!s.known) {
      UnknownSection(c, s);
    } else if (!s.read) {
      c.Warning(s.line,
                u"[" + s.name + u"] は前にもあります。Kelvo は最初のセクションだけを読みます。");
    } else if (!IsActionSection(*s.known) || !c.ini->ReadString(s.name, u"Key", u"").empty()) {
      CheckEntries(c, s);
    }
  }
}

// The values Kelvo's next load will put in place of the file's, when the file is of an older
// version: the upgrades are run on a scratch copy and compared key by key.
void CheckUpgrades(CheckContext& c, int appVersion) {
  const int version =
      c.ini->ReadInteger(u"General", u"Version", DefaultInteger(u"General", u"Version"));
  if (version >= appVersion) return;
  UsrIniFile upgraded(c.settingsPath, c.services.files, c.services.codePage);
  ApplyUpgrades(upgraded, version);
  for (const FileSection* s : c.ReadSections()) {
    for (const FileEntry& e : s->entries) {
      const std::u16string now = upgraded.ReadString(s->name, e.key, u"");
      if (s->Find(e.key) == &e && now != e.value) {
        c.Warning(e.line, CheckContext::Where(*s, e) + u": Version=" + IntToText(version) +
                              u" は古い版の設定です。次の読み込みで、Kelvo はこの値を「" + now +
                              u"」に書き換えます。");
      }
    }
  }
}

}  // namespace

bool HasCommand(const CheckContext& c, const std::u16string& section) {
  return !std::holds_alternative<SlotAction>(
      ParseHotKeyAction(c.ini->ReadString(section, u"Command", u"")));
}

const FileEntry* FileSection::Find(std::u16string_view key) const {
  for (const FileEntry& e : entries) {
    if (EqualsNoCase(e.key, key)) return &e;
  }
  return nullptr;
}

std::u16string CheckContext::Shown(const std::u16string& path) const {
  const std::u16string_view dir = DirectoryPart(path);
  return EqualsNoCase(dir, exeDir) ? std::u16string(FileNamePart(path)) : path;
}

void CheckContext::Add(const std::u16string& path, int line, Severity severity,
                       std::u16string problem, std::u16string fix) {
  report.Add({Shown(path), line, severity, std::move(problem), std::move(fix)});
}

void CheckContext::Error(int line, std::u16string problem, std::u16string fix) {
  Add(settingsPath, line, Severity::kError, std::move(problem), std::move(fix));
}

void CheckContext::Warning(int line, std::u16string problem, std::u16string fix) {
  Add(settingsPath, line, Severity::kWarning, std::move(problem), std::move(fix));
}

std::u16string CheckContext::Where(const FileSection& section, const FileEntry& entry) {
  return u"[" + section.name + u"] " + entry.key;
}

std::vector<const FileSection*> CheckContext::ReadSections() const {
  std::vector<const FileSection*> read;
  for (std::size_t i = 1; i < sections.size(); ++i) {
    if (sections[i].known && sections[i].read) read.push_back(&sections[i]);
  }
  return read;
}

CheckReport CheckSettings(const std::u16string& settingsPath, const CheckServices& services,
                          int appVersion) {
  CheckReport report;
  CheckContext c{services, report, settingsPath, std::u16string(DirectoryPart(settingsPath)),
                 {},       {}};
  const FileContents contents = services.files.Read(settingsPath);
  if (contents.status != ReadStatus::kRead) {
    report.Unreadable(c.Shown(settingsPath), contents.status == ReadStatus::kMissing
                                                 ? u"設定ファイルがありません。"
                                                 : u"設定ファイルを読み込めません（ほかのプログラム"
                                                   u"が使用中か、アクセスが拒否されています）。");
    return report;
  }
  KeptLineBytes kept;
  const DecodedLines decoded = DecodeLines(contents.bytes, services.codePage, kept);
  ReadLines(c, decoded.lines);
  if (decoded.firstForeignLine > 0) {
    c.Warning(decoded.firstForeignLine,
              u"ほかの行と文字コードが異なる行です（Kelvo "
              u"も読み込むたびに知らせます）。この行の値は意図した"
              u"とおりに読めていない可能性があります。",
              u"ファイル全体を同じ文字コードで保存し直します。");
  }
  c.ini = std::make_unique<UsrIniFile>(settingsPath, services.files, services.codePage);
  CheckSections(c);
  CheckUpgrades(c, appVersion);
  CheckHotKeys(c);
  CheckNamedFiles(c);
  report.SortByPlace();
  return report;
}
