#pragma once
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/code_page.h"
#include "platform/file_system.h"
#include "settings/font_description.h"
#include "util/text_file.h"

// One section of the settings file: its name and raw lines exactly as read (comments and keys
// the program does not know survive a rewrite).
struct IniSection {
  std::u16string name;
  std::vector<std::u16string> lines;
};

// How a load takes a line of the file: a section header, a comment or a key line is kept; an
// empty line and any other line are dropped (the other line vanishes at the next write).
enum class IniLineKind { kEmpty, kHeader, kComment, kEntry, kDropped };
IniLineKind ClassifyIniLine(std::u16string_view line);

// What a load found on disk. kVanished: a file this store read or wrote before is missing now (a
// drive that went away, a file moved elsewhere); the store keeps what it holds, as for a file that
// cannot be read, and nothing is written until the file is there again.
enum class LoadResult { kLoaded, kMissing, kUnreadable, kVanished };

// The settings file in memory. Reads never touch the disk: the file is read only by `Load` and
// written only by `UpdateFile`, and only when something changed. Section and key names compare
// without regard to letter case, values exactly; the first section of a name answers, later
// ones of the same name are only written back.
//
// The user edits the same file with other programs while Kelvo runs. The store therefore
// remembers what it last read or wrote and every key it changed since; a write that finds other
// contents on disk re-reads them and applies only those changes, so an edit made elsewhere is
// never overwritten. A file that exists but cannot be read is never replaced, and a file the store
// has seen is never made anew from the store while it is missing: what the store holds then may
// not be what the user's file holds, and changes made against no file are never applied to a
// file that appears; that file is read instead.
class UsrIniFile {
 public:
  UsrIniFile(std::u16string fileName, FileSystem& fileSystem, const CodePage& codePage);
  UsrIniFile(const UsrIniFile&) = delete;
  UsrIniFile& operator=(const UsrIniFile&) = delete;

  bool Modified = false;
  const std::u16string FileName;
  // Told of every key a read asks for, and of every key a caller of ReadSectionValues takes from
  // it: tests compare what the loaders read with the table of known keys.
  std::function<void(std::u16string_view section, std::u16string_view key)> OnRead;
  // A deque, so that the line list `AddSection` returns stays valid while sections are added.
  std::deque<IniSection> Sections;

  void Clear();
  std::vector<std::u16string>& AddSection(std::u16string_view name);
  // Replaces the contents with the file's. A file that exists but cannot be read leaves the
  // store, its changes and `Modified` as they were; so does a file this store has read or written
  // before and that is missing now (kVanished), after it was looked for again for up to a second
  // (editors that save by delete-and-rename leave no file for a moment). A file the store never
  // saw that is missing empties the store.
  LoadResult Load();
  LoadResult LastLoad() const { return lastLoad_; }

  std::u16string ReadString(std::u16string_view section, std::u16string_view key,
                            std::u16string_view defaultValue) const;
  // Every key of the section with the value ReadString would give for it (empty for an empty
  // value), each key once, in file order. Reading a whole section in one pass is what a load of
  // hundreds of sections with a hundred keys each needs.
  std::vector<std::pair<std::u16string, std::u16string>> ReadSectionValues(
      std::u16string_view section) const;
  std::int32_t ReadInteger(std::u16string_view section, std::u16string_view key,
                           std::int32_t defaultValue) const;
  std::uint32_t ReadColor(std::u16string_view section, std::u16string_view key,
                          std::uint32_t defaultColor) const;
  bool ReadBool(std::u16string_view section, std::u16string_view key, bool defaultValue) const;
  // FontCharset, FontName, FontSize, FontBold and FontItalic of the section; missing keys take
  // the base font's values (the character set always defaults to Shift_JIS).
  FontDescription ReadFont(std::u16string_view section, const FontDescription* base) const;

  void WriteString(std::u16string_view section, std::u16string_view key, std::u16string_view value);
  void WriteInteger(std::u16string_view section, std::u16string_view key, std::int32_t value);
  void WriteBool(std::u16string_view section, std::u16string_view key, bool value);

  // Writes the file when `Modified`, replacing it atomically. When the file on disk is no longer
  // what this store last read or wrote, its new contents are taken and only the keys written
  // since are applied to them. Returns false when nothing was written (the file cannot be read,
  // a file the store has seen is missing, or the write failed); the file is then intact and
  // `Modified` stays true so that a later call retries. A file that appeared where the store
  // found none is taken as it is, without the changes made meanwhile, and false is returned.
  bool UpdateFile();

  // Drop-down list entries stored as Item1 … Item<max>. Reading stops at the first empty value
  // and skips entries already in the list; writing always writes all `max` keys, empty ones for
  // missing entries. The caller supplies the section name (a list control uses its own name
  // when it was given none).
  void ReadItemList(std::vector<std::u16string>& entries, std::u16string_view section,
                    int max) const;
  void WriteItemList(const std::vector<std::u16string>& entries, std::u16string_view section,
                     int max);

  // The encoding `UpdateFile` writes: the one the file was read in, Ansi for a file never read.
  TextEncoding Encoding() const { return encoding_; }
  // The first line of the file last read that is not valid in the file's encoding (1-based, 0
  // when there is none) and its text as read: the user is told, since a value on such a line
  // may not read as they meant. The line itself is written back as it was.
  int ForeignLine() const { return foreignLine_; }
  const std::u16string& ForeignText() const { return foreignText_; }

 private:
  const IniSection* FindSection(std::u16string_view name) const;
  void ForgetSectionIndex();
  IniSection* FindSection(std::u16string_view name);
  // The lines UpdateFile writes; the section headers are made in `headers`.
  std::vector<std::u16string_view> FileLines(std::deque<std::u16string>& headers) const;
  void SetFileBytes(std::string_view bytes);
  // Whether the store has read or written the file in this run.
  bool SeenFile() const { return disk_ && disk_->status == ReadStatus::kRead; }
  // The file as it is now; a file the store has seen that is missing is looked for again. A read
  // before a write keeps other programs from writing meanwhile.
  FileContents ReadSettled(bool beforeWrite) const;
  bool DiskUnchanged(const FileContents& now) const;
  void TakeDiskContents(const FileContents& now);
  void TakeNewFile(const FileContents& now);
  bool SetLine(std::u16string_view section, std::u16string_view key, std::u16string_view value);
  // Lines whose text a line with kept bytes shares are counted, so that the kept bytes stay with
  // their own line when another line of that text changes or is added. `line` is an index into
  // the section's lines, kHeaderLine for its header.
  static constexpr std::size_t kHeaderLine = static_cast<std::size_t>(-1);
  std::size_t LinesBefore(std::u16string_view text, const IniSection& at, std::size_t line) const;
  void NoteNewLine(const std::u16string& text, const IniSection& at, std::size_t line);

  // A key written since the store last matched the file.
  struct Change {
    std::u16string section;
    std::u16string key;
    std::u16string value;
  };

  FileSystem& fileSystem_;
  const CodePage& codePage_;
  TextEncoding encoding_ = TextEncoding::Ansi;
  LoadResult lastLoad_ = LoadResult::kMissing;
  // What the file held when the store last matched it (read or written): kRead with its bytes,
  // or kMissing; nothing while the store has never seen the file.
  std::optional<FileContents> disk_;
  std::vector<Change> changes_;
  KeptLineBytes keptLines_;
  int foreignLine_ = 0;
  std::u16string foreignText_;
  // The first section of each folded name. A load reads several ten thousand keys of hundreds of
  // sections, so a linear search per read would dominate start-up. Rebuilt on demand after the
  // list of sections changed.
  mutable std::unordered_map<std::u16string, const IniSection*> sectionIndex_;
  mutable bool sectionIndexValid_ = false;
};
