#include "settings/settings_store.h"

#include <algorithm>
#include <cstddef>
#include <unordered_set>
#include <utility>

#include "base/number_text.h"
#include "base/text_case.h"

namespace {

constexpr std::u16string_view kLineEnd = u"\r\n";
// How long a file that vanished is looked for again, and how often.
constexpr int kRecheckMs = 1000;
constexpr int kRecheckStepMs = 50;

// The key of a line is the text before its first "="; a line without one has no key.
bool LineHasKey(std::u16string_view line, std::u16string_view key) {
  const auto equals = line.find(u'=');
  return equals != std::u16string_view::npos && EqualsNoCase(line.substr(0, equals), key);
}

std::u16string LineValue(std::u16string_view line) {
  return std::u16string(line.substr(line.find(u'=') + 1));
}

// One pair of enclosing double quotes is removed; inner quotes stay.
void StripQuotes(std::u16string& value) {
  if (value.size() >= 2 && value.front() == u'"' && value.back() == u'"') {
    value = value.substr(1, value.size() - 2);
  }
}

// The text a value is written as. A value that itself begins and ends with a double quote gets
// one more pair, which StripQuotes removes again, so that it reads back as it was written.
std::u16string StoredValue(std::u16string_view value) {
  std::u16string stored(value);
  if (value.size() >= 2 && value.front() == u'"' && value.back() == u'"')
    stored = u'"' + stored + u'"';
  return stored;
}

std::u16string ItemKey(int n) { return u"Item" + IntToText(n); }

}  // namespace

IniLineKind ClassifyIniLine(std::u16string_view line) {
  if (line.empty()) return IniLineKind::kEmpty;
  // "[name]" with the brackets as the very first and last characters and at least one character
  // between them.
  if (line.size() > 2 && line.front() == u'[' && line.back() == u']') return IniLineKind::kHeader;
  if (line.front() == u';') return IniLineKind::kComment;
  // A key with a value (the key may be empty).
  if (line.find(u'=') != std::u16string_view::npos) return IniLineKind::kEntry;
  return IniLineKind::kDropped;
}

UsrIniFile::UsrIniFile(std::u16string fileName, FileSystem& fileSystem, const CodePage& codePage)
    : FileName(std::move(fileName)), fileSystem_(fileSystem), codePage_(codePage) {
  Load();
}

void UsrIniFile::Clear() {
  Sections.clear();
  ForgetSectionIndex();
}

std::vector<std::u16string>& UsrIniFile::AddSection(std::u16string_view name) {
  Sections.push_back(IniSection{std::u16string(name), {}});
  // A deque keeps the other sections in place; an earlier section of the name still answers.
  if (sectionIndexValid_) sectionIndex_.emplace(FoldedName(name), &Sections.back());
  return Sections.back().lines;
}

LoadResult UsrIniFile::Load() {
  FileContents contents = ReadSettled(false);
  lastLoad_ = contents.status == ReadStatus::kRead         ? LoadResult::kLoaded
              : contents.status == ReadStatus::kUnreadable ? LoadResult::kUnreadable
              : SeenFile()                                 ? LoadResult::kVanished
                                                           : LoadResult::kMissing;
  if (lastLoad_ == LoadResult::kUnreadable || lastLoad_ == LoadResult::kVanished) return lastLoad_;
  Clear();
  changes_.clear();
  if (lastLoad_ == LoadResult::kLoaded) {
    SetFileBytes(contents.bytes);
    Modified = false;
  }
  disk_ = std::move(contents);
  return lastLoad_;
}

void UsrIniFile::SetFileBytes(std::string_view bytes) {
  Clear();
  keptLines_ = KeptLineBytes();
  DecodedLines decoded = DecodeLines(bytes, codePage_, keptLines_);
  encoding_ = decoded.encoding;
  foreignLine_ = decoded.firstForeignLine;
  foreignText_ = std::move(decoded.foreignText);
  std::vector<std::u16string>* current = &AddSection(u"");
  for (std::u16string& line : decoded.lines) {
    const IniLineKind kind = ClassifyIniLine(line);
    if (kind == IniLineKind::kHeader) {
      current = &AddSection(std::u16string_view(line).substr(1, line.size() - 2));
    } else if (kind == IniLineKind::kComment || kind == IniLineKind::kEntry) {
      current->push_back(std::move(line));
    }
  }
}

FileContents UsrIniFile::ReadSettled(bool beforeWrite) const {
  const auto read = [&] {
    return beforeWrite ? fileSystem_.ReadBeforeWrite(FileName) : fileSystem_.Read(FileName);
  };
  FileContents contents = read();
  if (!SeenFile()) return contents;
  for (int waited = 0; contents.status == ReadStatus::kMissing && waited < kRecheckMs;
       waited += kRecheckStepMs) {
    fileSystem_.PauseBeforeRecheck(kRecheckStepMs);
    contents = read();
  }
  return contents;
}

const IniSection* UsrIniFile::FindSection(std::u16string_view name) const {
  if (!sectionIndexValid_) {
    sectionIndex_.clear();
    for (const IniSection& section : Sections)
      sectionIndex_.emplace(FoldedName(section.name), &section);
    sectionIndexValid_ = true;
  }
  const auto found = sectionIndex_.find(FoldedName(name));
  return found == sectionIndex_.end() ? nullptr : found->second;
}

void UsrIniFile::ForgetSectionIndex() { sectionIndexValid_ = false; }

IniSection* UsrIniFile::FindSection(std::u16string_view name) {
  return const_cast<IniSection*>(std::as_const(*this).FindSection(name));
}

std::u16string UsrIniFile::ReadString(std::u16string_view section, std::u16string_view key,
                                      std::u16string_view defaultValue) const {
  if (OnRead) OnRead(section, key);
  std::u16string value;
  if (const IniSection* found = FindSection(section)) {
    const auto line = std::find_if(found->lines.begin(), found->lines.end(),
                                   [&](const std::u16string& l) { return LineHasKey(l, key); });
    if (line != found->lines.end()) value = LineValue(*line);
  }
  StripQuotes(value);
  if (value.empty()) return std::u16string(defaultValue);
  return value;
}

std::vector<std::pair<std::u16string, std::u16string>> UsrIniFile::ReadSectionValues(
    std::u16string_view section) const {
  std::vector<std::pair<std::u16string, std::u16string>> values;
  const IniSection* found = FindSection(section);
  if (!found) return values;
  std::unordered_set<std::u16string> seen;
  for (const std::u16string& line : found->lines) {
    const auto equals = line.find(u'=');
    if (equals == std::u16string::npos) continue;  // a comment has no key
    std::u16string key = line.substr(0, equals);
    if (!seen.insert(FoldedName(key)).second) continue;  // the first line of a key answers
    std::u16string value = LineValue(line);
    StripQuotes(value);
    values.emplace_back(std::move(key), std::move(value));
  }
  return values;
}

std::int32_t UsrIniFile::ReadInteger(std::u16string_view section, std::u16string_view key,
                                     std::int32_t defaultValue) const {
  return ParseInt32(ReadString(section, key, u"")).value_or(defaultValue);
}

std::uint32_t UsrIniFile::ReadColor(std::u16string_view section, std::u16string_view key,
                                    std::uint32_t defaultColor) const {
  const auto value = ParseInt32(ReadString(section, key, u""));
  return value ? static_cast<std::uint32_t>(*value) : defaultColor;
}

bool UsrIniFile::ReadBool(std::u16string_view section, std::u16string_view key,
                          bool defaultValue) const {
  return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

FontDescription UsrIniFile::ReadFont(std::u16string_view section,
                                     const FontDescription* base) const {
  const FontDescription fallback = base ? *base : FontDescription{};
  FontDescription font;
  font.charset = ReadInteger(section, u"FontCharset", FontDescription{}.charset);
  font.name = ReadString(section, u"FontName", fallback.name);
  font.size = ReadInteger(section, u"FontSize", fallback.size);
  font.bold = ReadBool(section, u"FontBold", fallback.bold);
  font.italic = ReadBool(section, u"FontItalic", fallback.italic);
  return font;
}

void UsrIniFile::WriteString(std::u16string_view section, std::u16string_view key,
                             std::u16string_view value) {
  if (!SetLine(section, key, value)) return;
  Modified = true;
  changes_.push_back(Change{std::u16string(section), std::u16string(key), std::u16string(value)});
}

bool UsrIniFile::SetLine(std::u16string_view section, std::u16string_view key,
                         std::u16string_view value) {
  IniSection* found = FindSection(section);
  if (!found) {
    AddSection(section);
    found = &Sections.back();
    if (!found->name.empty()) NoteNewLine(u"[" + found->name + u"]", *found, kHeaderLine);
  }
  std::vector<std::u16string>& lines = found->lines;
  std::u16string newLine = std::u16string(key) + u"=" + StoredValue(value);
  const auto line = std::find_if(lines.begin(), lines.end(),
                                 [&](const std::u16string& l) { return LineHasKey(l, key); });
  if (line == lines.end()) {
    NoteNewLine(newLine, *found, lines.size());
    lines.push_back(std::move(newLine));
    return true;
  }
  if (*line == newLine) return false;
  const auto index = static_cast<std::size_t>(line - lines.begin());
  if (keptLines_.Holds(*line)) keptLines_.Remove(*line, LinesBefore(*line, *found, index));
  NoteNewLine(newLine, *found, index);
  // Also rewrites a key stored in another letter case, in the caller's letter case.
  *line = std::move(newLine);
  return true;
}

std::size_t UsrIniFile::LinesBefore(std::u16string_view text, const IniSection& at,
                                    std::size_t line) const {
  const bool headerText = text.size() >= 2 && text.front() == u'[' && text.back() == u']';
  std::size_t count = 0;
  for (const IniSection& section : Sections) {
    const bool here = &section == &at;
    if (!section.name.empty()) {
      if (here && line == kHeaderLine) return count;
      if (headerText && text.substr(1, text.size() - 2) == section.name) ++count;
    }
    for (std::size_t i = 0; i < section.lines.size(); ++i) {
      if (here && i == line) return count;
      if (section.lines[i] == text) ++count;
    }
    if (here) return count;
  }
  return count;
}

void UsrIniFile::NoteNewLine(const std::u16string& text, const IniSection& at, std::size_t line) {
  if (keptLines_.Holds(text)) keptLines_.Insert(text, LinesBefore(text, at, line));
}

void UsrIniFile::WriteInteger(std::u16string_view section, std::u16string_view key,
                              std::int32_t value) {
  WriteString(section, key, IntToText(value));
}

void UsrIniFile::WriteBool(std::u16string_view section, std::u16string_view key, bool value) {
  WriteString(section, key, value ? u"1" : u"0");
}

std::vector<std::u16string_view> UsrIniFile::FileLines(std::deque<std::u16string>& headers) const {
  std::vector<std::u16string_view> lines;
  for (const IniSection& section : Sections) {
    if (!section.name.empty()) lines.push_back(headers.emplace_back(u"[" + section.name + u"]"));
    lines.insert(lines.end(), section.lines.begin(), section.lines.end());
    // Every section that produced a line is followed by exactly one blank line.
    if (!lines.empty() && !lines.back().empty()) lines.push_back(u"");
  }
  return lines;
}

bool UsrIniFile::UpdateFile() {
  if (!Modified) return true;
  const FileContents now = ReadSettled(true);
  if (now.status == ReadStatus::kUnreadable) return false;
  if (now.status == ReadStatus::kMissing) {
    // Only a first start, which found no file, makes one. A store that never looked holds too
    // little to stand for a file; a file that went away (a drive unplugged, a folder moved) may
    // come back, and a file written now would stand in its way or hide that it is gone.
    if (!disk_ || SeenFile()) return false;
  } else if (disk_ && disk_->status == ReadStatus::kMissing) {
    // The file appeared where the store found none: what the store holds was made without it
    // (the first-start contents), and none of it may blank the user's keys. The file is read.
    TakeNewFile(now);
    return false;
  } else if (!DiskUnchanged(now)) {
    TakeDiskContents(now);
  }
  // The file keeps the encoding it was read in, and every line Kelvo did not change keeps its
  // bytes; a new or ANSI file that would lose a character in the code page becomes UTF-8 with a
  // byte-order mark.
  std::deque<std::u16string> headers;
  EncodedText encoded = EncodeLines(FileLines(headers), encoding_, codePage_, keptLines_);
  if (!fileSystem_.WriteAtomically(FileName, encoded.bytes)) return false;
  encoding_ = encoded.encoding;
  disk_ = FileContents{ReadStatus::kRead, std::move(encoded.bytes)};
  changes_.clear();
  Modified = false;
  return true;
}

bool UsrIniFile::DiskUnchanged(const FileContents& now) const {
  return disk_ && disk_->status == now.status && disk_->bytes == now.bytes;
}

// Another program changed the file since the store last matched it: its contents are taken as
// they are now, and only the keys this store wrote since then are applied again.
void UsrIniFile::TakeDiskContents(const FileContents& now) {
  SetFileBytes(now.bytes);
  for (const Change& change : changes_) SetLine(change.section, change.key, change.value);
}

void UsrIniFile::TakeNewFile(const FileContents& now) {
  SetFileBytes(now.bytes);
  changes_.clear();
  Modified = false;
  disk_ = now;
}

void UsrIniFile::ReadItemList(std::vector<std::u16string>& entries, std::u16string_view section,
                              int max) const {
  entries.clear();
  for (int n = 1; n <= max; ++n) {
    std::u16string value = ReadString(section, ItemKey(n), u"");
    if (value.empty()) break;
    if (std::find(entries.begin(), entries.end(), value) == entries.end()) {
      entries.push_back(std::move(value));
    }
  }
}

void UsrIniFile::WriteItemList(const std::vector<std::u16string>& entries,
                               std::u16string_view section, int max) {
  for (int n = 1; n <= max; ++n) {
    const bool present = static_cast<std::size_t>(n) <= entries.size();
    WriteString(section, ItemKey(n), present ? std::u16string_view(entries[n - 1]) : u"");
  }
}
