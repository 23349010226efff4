#include "clip/history_file.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

#include "base/number_text.h"
#include "base/text_codec.h"
#include "clip/history_time_text.h"
#include "util/text_file.h"

namespace {

constexpr std::u16string_view kTimeKey = u"CreTime=";
constexpr std::u16string_view kCountKey = u"LineCount=";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// A line of the file and the break that ended it (CR LF, CR, LF, or none at the very end).
struct FileLine {
  std::u16string_view text;
  std::u16string_view lineBreak;
};

std::vector<FileLine> LinesWithBreaks(std::u16string_view text) {
  std::vector<FileLine> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find_first_of(u"\r\n", start);
    if (end == std::u16string_view::npos) {
      lines.push_back({text.substr(start), {}});
      break;
    }
    const std::size_t breakSize = text.compare(end, 2, u"\r\n") == 0 ? 2 : 1;
    lines.push_back({text.substr(start, end - start), text.substr(end, breakSize)});
    start = end + breakSize;
  }
  return lines;
}

// The lines the reader cuts `text` followed by CR LF into: every break of the text (CR LF, a lone
// CR, a lone LF) ends one, and the CR LF written after it ends the last.
std::size_t LinesOfRecord(std::u16string_view text) {
  std::size_t breaks = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\n') {
      ++breaks;
    } else if (text[i] == u'\r') {
      ++breaks;
      if (i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    }
  }
  return breaks + 1;
}

bool StartsWithAsciiNoCase(std::u16string_view line, std::u16string_view key) {
  if (line.size() < key.size()) return false;
  for (std::size_t i = 0; i < key.size(); ++i) {
    char16_t c = line[i];
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
    char16_t k = key[i];
    if (k >= u'a' && k <= u'z') k = static_cast<char16_t>(k - u'a' + u'A');
    if (c != k) return false;
  }
  return true;
}

bool HoldsNonBlank(std::u16string_view text) {
  for (char16_t c : text) {
    if (c > u' ' && c != u'\uFEFF') return true;
  }
  return false;
}

// The history file is Kelvo's own and carries a mark; one without is an old or hand-made file in
// the ANSI code page.
std::u16string DecodeHistoryText(std::string_view bytes, const CodePage& codePage) {
  if (HasByteOrderMark(bytes)) return DecodeText(bytes, codePage).text;
  return codePage.ToUnicode(bytes);
}

// The text of a record: its lines with the breaks they had in the file, less the break the
// writer put after the text.
std::u16string RecordText(const std::vector<FileLine>& lines, std::size_t first,
                          std::size_t count) {
  std::size_t units = 0;
  for (std::size_t i = first; i < first + count; ++i) {
    units += lines[i].text.size();
    if (i + 1 < first + count) units += lines[i].lineBreak.size();
  }
  std::u16string text;
  text.reserve(units);  // exactly what the text keeps, for as long as the history does
  for (std::size_t i = first; i < first + count; ++i) {
    text += lines[i].text;
    if (i + 1 < first + count) text += lines[i].lineBreak;
  }
  return text;
}

}  // namespace

std::string HistoryFileBytes(const std::vector<HistoryRec>& items, const Locale& locale) {
  const HistoryTimeText timeText(locale);
  std::size_t units = 0;
  for (const HistoryRec& rec : items) units += rec.Text.size() + 64;
  std::u16string text;
  text.reserve(units);
  for (const HistoryRec& rec : items) {
    text += kTimeKey;
    text += timeText.Format(DateTimeFromDays(rec.CreTime));
    text += u"\r\n";
    text += kCountKey;
    text += IntToText(static_cast<std::int64_t>(LinesOfRecord(rec.Text)));
    text += u"\r\n";
    text += rec.Text;
    text += u"\r\n\r\n";
  }
  // UTF-8 cannot hold a lone surrogate (a clipboard text may have one); UTF-16 keeps it.
  if (HasLoneSurrogate(text)) return EncodeUtf16(text, false);
  return std::string(kUtf8Bom) + Utf16ToUtf8(text);
}

HistoryRead ParseHistoryFile(std::string_view bytes, const CodePage& codePage, const Locale& locale,
                             double now) {
  const std::u16string text = DecodeHistoryText(bytes, codePage);
  const std::vector<FileLine> lines = LinesWithBreaks(text);
  const HistoryTimeText timeText(locale);
  const int nowYear = DateTimeFromDays(now).year;
  HistoryRead read;
  read.status = HistoryReadStatus::kLoaded;
  double lastTime = now;
  std::size_t i = 0;
  while (i < lines.size()) {
    if (!StartsWithAsciiNoCase(lines[i].text, kTimeKey)) {
      ++i;
      continue;
    }
    const auto when = timeText.Parse(lines[i].text.substr(kTimeKey.size()), nowYear);
    const double time = when ? DaysFromDateTime(*when) : lastTime;
    if (++i == lines.size()) break;
    // Any other line than the count ends the record and is not looked at again.
    const bool hasCount = StartsWithAsciiNoCase(lines[i].text, kCountKey);
    const std::int32_t count =
        hasCount ? ParseInt32(lines[i].text.substr(kCountKey.size())).value_or(0) : 0;
    ++i;
    // A count beyond the end of the file would swallow the records after it: such a record is
    // dropped and the lines after its count are read as usual.
    if (count < 1 || static_cast<std::size_t>(count) > lines.size() - i) continue;
    read.items.emplace_back(RecordText(lines, i, static_cast<std::size_t>(count)), time);
    lastTime = time;
    i += static_cast<std::size_t>(count);
  }
  // Something that is not a history file must not be taken for an empty history (and later be
  // overwritten by one).
  if (read.items.empty() && HoldsNonBlank(text)) read.status = HistoryReadStatus::kUnreadable;
  // The list keeps these entries for the whole run: not the room its growth left over (a third
  // of a megabyte for 10,000 entries).
  read.items.shrink_to_fit();
  return read;
}

HistoryRead ReadHistoryFile(const FileSystem& files, const CodePage& codePage, const Locale& locale,
                            const std::u16string& path, double now) {
  FileContents contents = files.Read(path);
  if (contents.status == ReadStatus::kMissing) return {HistoryReadStatus::kMissing, {}};
  if (contents.status == ReadStatus::kUnreadable) return {HistoryReadStatus::kUnreadable, {}};
  return ParseHistoryFile(contents.bytes, codePage, locale, now);
}

bool WriteHistoryFile(FileSystem& files, const Locale& locale, const std::u16string& path,
                      const std::vector<HistoryRec>& items) {
  return files.WriteAtomically(path, HistoryFileBytes(items, locale));
}

HistoryStoreResult StoreHistoryFile(FileSystem& files, const CodePage& codePage,
                                    const Locale& locale, const std::u16string& path, double now,
                                    THistoryList& history, bool& blocked) {
  bool merged = false;
  if (blocked) {
    // Read while no other program writes it: a half-written file must not pass for the file.
    const FileContents contents = files.ReadBeforeWrite(path);
    if (contents.status == ReadStatus::kUnreadable) return HistoryStoreResult::kUnreadable;
    HistoryRead read;
    if (contents.status == ReadStatus::kRead) {
      read = ParseHistoryFile(contents.bytes, codePage, locale, now);
      if (read.status == HistoryReadStatus::kUnreadable) return HistoryStoreResult::kUnreadable;
    }
    blocked = false;
    merged = read.status == HistoryReadStatus::kLoaded && !read.items.empty();
    history.MergeBelow(std::move(read.items));
  }
  if (!WriteHistoryFile(files, locale, path, history.Items())) {
    return HistoryStoreResult::kWriteFailed;
  }
  return merged ? HistoryStoreResult::kMerged : HistoryStoreResult::kStored;
}

std::u16string HistoryStoreFailureMessage(HistoryStoreResult result, const std::u16string& path) {
  if (result == HistoryStoreResult::kUnreadable) {
    return u"クリップボードの履歴を保存できませんでした。\n" + path +
           u"\n\nファイルを読み込めないため（ほかのプログラムが使用中か、履歴ではない内容です）、"
           u"上書きしていません。次に保存するときにもう一度試します。";
  }
  return u"クリップボードの履歴を保存できませんでした。\n" + path +
         u"\n\nファイルが読み取り専用か、書き込みが拒否されたか、ディスクの空きが足りないか、"
         u"パスが長すぎる可能性があります。ファイルは変更していません。";
}

std::u16string HistoryStoreLogValue(HistoryStoreResult result, const std::u16string& path,
                                    const std::u16string& dateTime) {
  const std::u16string_view what =
      result == HistoryStoreResult::kUnreadable ? u"読込失敗 " : u"保存失敗 ";
  return std::u16string(what) + dateTime + u" " + path;
}
