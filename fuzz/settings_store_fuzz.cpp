// The settings file as users leave it: any bytes in any encoding, edited by hand and by other
// programs. The whole input is the file. Properties:
// - reads agree: ReadString of every key of every section gives what ReadSectionValues lists for
//   it, also when section and key are named in another letter case;
// - after a few writes (keys of the file and new ones, values of the file and new ones) and a
//   rewrite, a fresh load holds the same sections and lines as the store did, and every written
//   value reads back as it was written;
// - when the file keeps its encoding, every line the store did not change has the bytes it had.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_set>
#include <utility>
#include <vector>

#include "base/text_case.h"
#include "fuzz_support.h"
#include "settings/settings_store.h"
#include "support/memory_file_system.h"
#include "support/system_code_page.h"

namespace {

const std::u16string kPath = u"C:\\Kelvo\\Kelvo.INI";
constexpr std::u16string_view kDefault =
    u"\x01"
    u"default";
constexpr std::u16string_view kEditedSection = u"Edited elsewhere 7f3a";

std::u16string AsciiUpper(std::u16string_view text) {
  std::u16string out(text);
  for (char16_t& c : out) {
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
  }
  return out;
}

std::u16string AsciiLower(std::u16string_view text) {
  std::u16string out(text);
  for (char16_t& c : out) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  }
  return out;
}

std::u16string Expected(std::u16string_view value) {
  return std::u16string(value.empty() ? kDefault : value);
}

void CheckReads(const UsrIniFile& store) {
  std::unordered_set<std::u16string> seen;
  for (const IniSection& section : store.Sections) {
    // Only the first section of a name is read.
    if (!seen.insert(FoldedName(section.name)).second) continue;
    for (const auto& [key, value] : store.ReadSectionValues(section.name)) {
      const std::u16string read = store.ReadString(section.name, key, kDefault);
      FUZZ_CHECK(read == Expected(value), "[" + Shown(section.name) + "] " + Shown(key) + ": " +
                                              Shown(read) + " / " + Shown(value));
      const std::u16string otherCase =
          store.ReadString(AsciiUpper(section.name), AsciiLower(key), kDefault);
      FUZZ_CHECK(otherCase == read, "[" + Shown(section.name) + "] " + Shown(key));
    }
  }
}

bool IsHeader(std::u16string_view line) {
  return line.size() > 2 && line.front() == u'[' && line.back() == u']';
}

bool IsKept(std::u16string_view line) {
  return line.front() == u';' || line.find(u'=') != std::u16string_view::npos;
}

// The bytes of every line the store keeps, section by section as the store holds them (the
// README's rules: headers, comments and keys; other lines dropped). Nothing for UTF-16 files,
// whose text is their units.
std::optional<std::vector<std::vector<std::string_view>>> KeptBytes(std::string_view bytes) {
  KeptLineBytes kept;
  const DecodedLines decoded = DecodeLines(bytes, SystemCodePage(), kept);
  if (decoded.encoding == TextEncoding::Utf16Le || decoded.encoding == TextEncoding::Utf16Be) {
    return std::nullopt;
  }
  if (decoded.encoding == TextEncoding::Utf8Bom) bytes.remove_prefix(3);
  const std::vector<std::string_view> lines = SplitByteLines(bytes);
  FUZZ_CHECK(lines.size() == decoded.lines.size(), "line count of the decoded file");
  std::vector<std::vector<std::string_view>> sections(1);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::u16string& text = decoded.lines[i];
    if (text.empty()) continue;
    if (IsHeader(text)) {
      sections.emplace_back();
    } else if (IsKept(text)) {
      sections.back().push_back(lines[i]);
    }
  }
  return sections;
}

std::vector<IniSection> Copy(const UsrIniFile& store) {
  return std::vector<IniSection>(store.Sections.begin(), store.Sections.end());
}

// Empty when both hold the same sections and lines, else the first difference.
std::string SectionDifference(const std::vector<IniSection>& a, const std::vector<IniSection>& b) {
  for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
    if (a[i].name != b[i].name) {
      return "section " + std::to_string(i) + ": " + Shown(a[i].name) + " / " + Shown(b[i].name);
    }
    for (std::size_t l = 0; l < a[i].lines.size() && l < b[i].lines.size(); ++l) {
      if (a[i].lines[l] != b[i].lines[l]) {
        return "[" + Shown(a[i].name) + "] line " + std::to_string(l) + ": " +
               Shown(a[i].lines[l]) + " / " + Shown(b[i].lines[l]);
      }
    }
    if (a[i].lines.size() != b[i].lines.size()) {
      return "[" + Shown(a[i].name) + "]: " + std::to_string(a[i].lines.size()) + " / " +
             std::to_string(b[i].lines.size()) + " lines";
    }
  }
  if (a.size() != b.size()) {
    return std::to_string(a.size()) + " / " + std::to_string(b.size()) + " sections";
  }
  return {};
}

// A Shift_JIS file may hold lines that are valid UTF-8 but were read in the code page (the
// majority of its lines decided). When a write has to give the file a mark, or tips the majority,
// such a line reads as the UTF-8 it is; its bytes stay as they were. Such a line may even become,
// or stop being, a section header, and move the keys after it into another section.
enum class Reread { kSame, kLinesMayDiffer, kSectionsMayDiffer };

Reread RereadMayDiffer(std::string_view original, TextEncoding readAs) {
  if (readAs != TextEncoding::Ansi) return Reread::kSame;
  const CodePage& codePage = SystemCodePage();
  Reread reread = Reread::kSame;
  for (std::string_view line : SplitByteLines(original)) {
    if (!IsUtf8WithMultibyte(line)) continue;
    const std::u16string asAnsi = codePage.ToUnicode(line);
    if (codePage.FromUnicodeExact(asAnsi) == std::string(line)) continue;
    if (IsHeader(asAnsi) || IsHeader(Utf8ToUtf16(line))) return Reread::kSectionsMayDiffer;
    reread = Reread::kLinesMayDiffer;
  }
  return reread;
}

// A key Kelvo could write: the key of a key line of the file (comments and lines that would read
// as a header are not keys Kelvo writes).
std::optional<std::u16string> KeyOf(std::u16string_view line) {
  const std::size_t equals = line.find(u'=');
  if (equals == std::u16string_view::npos || line.front() == u';' || line.front() == u'[') {
    return std::nullopt;
  }
  return std::u16string(line.substr(0, equals));
}

struct Write {
  std::u16string section;
  std::u16string key;
  std::u16string value;
};

// Values Kelvo writes: numbers, paths, texts the user typed (Japanese, half-width kana, signs,
// quotes, characters the ANSI code page lacks) and values found in the file.
std::u16string PickValue(FuzzChoices& choices, const std::vector<std::u16string>& fileValues) {
  static const std::u16string kValues[] = {
      u"1",
      u"",
      u"-120",
      u"新しい値",
      u"C:\\Program Files\\Kelvo\\Kelvo.exe",
      u"\"C:\\Program Files\\Kelvo\\Kelvo.exe\" -R",
      u"\"quoted\"",
      u" padded ",
      u"a=b",
      u"ﾃｽﾄ",
      u"ｱｲｳｴｵ",
      u"é",
      u"\U0001F600",
      u"\uFEFF先頭",
      u"登録失敗 2024/01/02 03:04:05",
      u"[x]",
      u";not a comment",
  };
  if (!fileValues.empty() && choices.OneIn(3)) {
    return fileValues[choices.Below(fileValues.size())];
  }
  return kValues[choices.Below(std::size(kValues))];
}

std::vector<Write> PickWrites(const UsrIniFile& store, FuzzChoices& choices) {
  std::vector<std::pair<std::u16string, std::u16string>> fileKeys;
  std::vector<std::u16string> fileValues;
  for (const IniSection& section : store.Sections) {
    for (const std::u16string& line : section.lines) {
      if (auto key = KeyOf(line)) {
        fileKeys.emplace_back(section.name, *key);
        // Kelvo never writes the mark of a byte sequence the decoder could not read.
        std::u16string value = line.substr(key->size() + 1);
        if (value.find(u'\uFFFD') == std::u16string::npos) fileValues.push_back(std::move(value));
      }
    }
  }
  static const std::u16string kSections[] = {u"General", u"HotKeyList", u"ErrorLog", u"履歴",
                                             u"ｇｅｎｅｒａｌ"};
  static const std::u16string kKeys[] = {u"Version",    u"WinLeft",    u"Item1", u"HotKey1",
                                         u"新しいキー", u"Ｗｉｄｔｈ", u"ÀÉ"};
  std::vector<Write> writes;
  const std::size_t count = 1 + choices.Below(6);
  for (std::size_t n = 0; n < count; ++n) {
    Write write;
    if (!fileKeys.empty() && !choices.OneIn(4)) {
      const auto& [section, key] = fileKeys[choices.Below(fileKeys.size())];
      write.section = section;
      write.key = choices.OneIn(3) ? AsciiUpper(key) : key;
    } else {
      write.section = choices.OneIn(2) || store.Sections.size() < 2
                          ? kSections[choices.Below(std::size(kSections))]
                          : store.Sections[1 + choices.Below(store.Sections.size() - 1)].name;
      write.key = kKeys[choices.Below(std::size(kKeys))];
    }
    write.value = PickValue(choices, fileValues);
    writes.push_back(std::move(write));
  }
  return writes;
}

// The value each written key must read: the last write of it.
std::map<std::pair<std::u16string, std::u16string>, Write> LastWrites(
    const std::vector<Write>& writes) {
  std::map<std::pair<std::u16string, std::u16string>, Write> last;
  for (const Write& write : writes)
    last[{FoldedName(write.section), FoldedName(write.key)}] = write;
  return last;
}

bool IsAscii(std::u16string_view text) {
  for (char16_t c : text) {
    if (c >= 0x80) return false;
  }
  return true;
}

// asciiNamesOnly: when lines may read differently after the rewrite, so may section names and
// keys of the file that are not ASCII (Kelvo's own names are ASCII).
void CheckWritten(const UsrIniFile& store, const std::vector<Write>& writes, const char* when,
                  bool asciiNamesOnly = false) {
  for (const auto& [name, write] : LastWrites(writes)) {
    if (asciiNamesOnly && !(IsAscii(write.section) && IsAscii(write.key))) continue;
    const std::u16string read = store.ReadString(write.section, write.key, kDefault);
    FUZZ_CHECK(read == Expected(write.value), std::string(when) + ": [" + Shown(write.section) +
                                                  "] " + Shown(write.key) + " wrote " +
                                                  Shown(write.value) + ", reads " + Shown(read));
  }
}

// The lines (section and line index) writes replace: the first line of the key in the first
// section of the name.
std::set<std::pair<std::size_t, std::size_t>> TouchedLines(const std::vector<IniSection>& sections,
                                                           const std::vector<Write>& writes) {
  std::set<std::pair<std::size_t, std::size_t>> touched;
  for (const Write& write : writes) {
    for (std::size_t s = 0; s < sections.size(); ++s) {
      if (!EqualsNoCase(sections[s].name, write.section)) continue;
      for (std::size_t l = 0; l < sections[s].lines.size(); ++l) {
        const std::u16string& line = sections[s].lines[l];
        const std::size_t equals = line.find(u'=');
        if (equals != std::u16string::npos && EqualsNoCase(line.substr(0, equals), write.key)) {
          touched.insert({s, l});
          break;
        }
      }
      break;
    }
  }
  return touched;
}

// An edit another program makes before Kelvo writes, in the file's own encoding.
std::optional<std::string> EditedElsewhere(const std::string& bytes, TextEncoding encoding) {
  const std::u16string added = u"\r\n[" + std::u16string(kEditedSection) + u"]\r\nEdit=1\r\n";
  if (encoding == TextEncoding::Utf16Le || encoding == TextEncoding::Utf16Be) {
    if (bytes.size() % 2 != 0) return std::nullopt;
    return bytes + EncodeText(added, encoding, SystemCodePage()).bytes.substr(2);
  }
  return bytes + Utf16ToUtf8(added);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string original(reinterpret_cast<const char*>(data), size);
  MemoryFileSystem files;
  files.files[kPath] = original;
  UsrIniFile store(kPath, files, SystemCodePage());
  FUZZ_CHECK(store.LastLoad() == LoadResult::kLoaded, "load");
  CheckReads(store);

  const std::vector<IniSection> before = Copy(store);
  const TextEncoding readAs = store.Encoding();
  FuzzChoices choices(data, size);
  const std::vector<Write> writes = PickWrites(store, choices);
  const bool verbose = std::getenv("KELVO_FUZZ_VERBOSE") != nullptr;
  for (const Write& write : writes) {
    if (verbose) {
      std::fprintf(stderr, "write [%s] %s=%s\n", Shown(write.section).c_str(),
                   Shown(write.key).c_str(), Shown(write.value).c_str());
    }
    store.WriteString(write.section, write.key, write.value);
  }
  CheckReads(store);
  CheckWritten(store, writes, "in memory");

  std::optional<std::string> edited;
  if (choices.OneIn(4)) edited = EditedElsewhere(original, readAs);
  if (edited) files.files[kPath] = *edited;

  const bool modified = store.Modified;
  FUZZ_CHECK(store.UpdateFile(), "UpdateFile");
  const std::string rewritten = files.files[kPath];
  // Without a change nothing is written, and an edit made elsewhere is not read either.
  if (!modified) {
    FUZZ_CHECK(rewritten == (edited ? *edited : original), "a store without changes wrote");
    return 0;
  }
  UsrIniFile again(kPath, files, SystemCodePage());
  CheckReads(again);
  const Reread reread = RereadMayDiffer(original, readAs);
  if (reread != Reread::kSectionsMayDiffer) {
    CheckWritten(again, writes, "after the rewrite", reread == Reread::kLinesMayDiffer);
  }
  if (reread == Reread::kSame) {
    const std::string difference = SectionDifference(Copy(store), Copy(again));
    FUZZ_CHECK(difference.empty(), "store / reloaded file: " + difference);
  }
  if (edited) {
    FUZZ_CHECK(again.ReadString(kEditedSection, u"Edit", kDefault) == u"1", "edit kept");
    return 0;
  }

  // Unchanged lines keep their bytes while the file keeps its encoding.
  if (store.Encoding() != readAs) return 0;
  const std::set<std::pair<std::size_t, std::size_t>> touched = TouchedLines(before, writes);
  const auto oldBytes = KeptBytes(original);
  const auto newBytes = KeptBytes(rewritten);
  if (!oldBytes || !newBytes) return 0;
  FUZZ_CHECK(oldBytes->size() == before.size(), "sections of the original file");
  for (std::size_t s = 0; s < before.size(); ++s) {
    FUZZ_CHECK((*oldBytes)[s].size() == before[s].lines.size(), "lines of the original file");
    for (std::size_t l = 0; l < before[s].lines.size(); ++l) {
      if (touched.count({s, l}) != 0) continue;  // Kelvo wrote it, perhaps the same text again
      FUZZ_CHECK((*oldBytes)[s][l] == (*newBytes)[s][l],
                 "line " + Shown(before[s].lines[l]) + " was " + ShownBytes((*oldBytes)[s][l]) +
                     ", is " + ShownBytes((*newBytes)[s][l]));
    }
  }
  return 0;
}
