#include "clip/model/history_file.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <type_traits>
#include <utility>

#include "base/number_text.h"
#include "base/text_codec.h"
#include "clip/model/history_time_text.h"
#include "util/text_file.h"

namespace {

constexpr std::u16string_view kTimeKey = u"CreTime=";
constexpr std::u16string_view kCountKey = u"LineCount=";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

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

template <typename Char>
bool StartsWithAsciiNoCase(std::basic_string_view<Char> line, std::u16string_view key) {
  if (line.size() < key.size()) return false;
  for (std::size_t i = 0; i < key.size(); ++i) {
    auto c = static_cast<char16_t>(static_cast<std::make_unsigned_t<Char>>(line[i]));
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

// Reads a file's lines one after the other without copying them; every break (CR LF, a lone CR,
// a lone LF) ends one, and a break at the very end starts no further line.
template <typename Char>
class LineCursor {
 public:
  explicit LineCursor(std::basic_string_view<Char> text) : text_(text) {}
  bool AtEnd() const { return pos_ >= text_.size(); }
  std::size_t Pos() const { return pos_; }
  void Seek(std::size_t pos) { pos_ = pos; }
  // The next line without its break; call only when not AtEnd().
  std::basic_string_view<Char> Next() {
    const std::size_t start = pos_;
    std::size_t end = start;
    while (end < text_.size() && text_[end] != Char('\r') && text_[end] != Char('\n')) ++end;
    pos_ = end;
    if (pos_ < text_.size())
      pos_ += text_[pos_] == Char('\r') && pos_ + 1 < text_.size() && text_[pos_ + 1] == Char('\n')
                  ? 2
                  : 1;
    return text_.substr(start, end - start);
  }

 private:
  std::basic_string_view<Char> text_;
  std::size_t pos_ = 0;
};

std::u16string Units(std::string_view utf8) { return Utf8ToUtf16(utf8); }
std::u16string Units(std::u16string_view text) { return std::u16string(text); }
HistoryRec Record(std::string_view utf8, double time) { return HistoryRec::FromUtf8(utf8, time); }
HistoryRec Record(std::u16string_view text, double time) { return HistoryRec(text, time); }

// The records of a file's text: bytes of UTF-8, whose breaks are single bytes that no sequence
// spans, so that each record is decoded on its own straight into its entry; or decoded units.
template <typename Char>
HistoryRead ParseRecords(std::basic_string_view<Char> text, const Locale& locale, double now) {
  const HistoryTimeText timeText(locale);
  const int nowYear = DateTimeFromDays(now).year;
  HistoryRead read;
  read.status = HistoryReadStatus::kLoaded;
  double lastTime = now;
  LineCursor<Char> lines(text);
  while (!lines.AtEnd()) {
    const auto line = lines.Next();
    if (!StartsWithAsciiNoCase(line, kTimeKey)) continue;
    const auto when = timeText.Parse(Units(line.substr(kTimeKey.size())), nowYear);
    const double time = when ? DaysFromDateTime(*when) : lastTime;
    if (lines.AtEnd()) break;
    // Any other line than the count ends the record and is not looked at again.
    const auto countLine = lines.Next();
    const bool hasCount = StartsWithAsciiNoCase(countLine, kCountKey);
    const std::int32_t count =
        hasCount ? ParseInt32(Units(countLine.substr(kCountKey.size()))).value_or(0) : 0;
    if (count < 1) continue;
    // The text is its lines with the breaks between them, as they stand in the file. A count
    // beyond the end of the file would swallow the records after it: such a record is dropped
    // and the lines after its count are read as usual.
    const std::size_t start = lines.Pos();
    std::size_t end = start;
    std::int32_t taken = 0;
    for (; taken < count && !lines.AtEnd(); ++taken) {
      const auto textLine = lines.Next();
      end = static_cast<std::size_t>(textLine.data() - text.data()) + textLine.size();
    }
    if (taken < count) {
      lines.Seek(start);
      continue;
    }
    read.items.push_back(Record(text.substr(start, end - start), time));
    lastTime = time;
  }
  return read;
}

}  // namespace

std::string HistoryFileBytes(const std::vector<HistoryRec>& items, const Locale& locale) {
  const HistoryTimeText timeText(locale);
  const auto header = [&](const HistoryRec& rec) {
    return std::u16string(kTimeKey) + timeText.Format(DateTimeFromDays(rec.CreTime)) + u"\r\n" +
           std::u16string(kCountKey) +
           IntToText(static_cast<std::int64_t>(LinesOfRecord(rec.Text()))) + u"\r\n";
  };
  // UTF-8 cannot hold a lone surrogate (a clipboard text may have one); UTF-16 keeps it.
  const bool lone = std::any_of(items.begin(), items.end(),
                                [](const HistoryRec& rec) { return HasLoneSurrogate(rec.Text()); });
  if (lone) {
    std::u16string text;
    for (const HistoryRec& rec : items) {
      text += header(rec);
      text += rec.Text();
      text += u"\r\n\r\n";
    }
    return EncodeUtf16(text, false);
  }
  // Written straight into one buffer of the file's size: a long history is tens of megabytes.
  std::size_t bytes = kUtf8Bom.size();
  for (const HistoryRec& rec : items) bytes += Utf8Length(rec.Text()) + 80;
  std::string file(kUtf8Bom);
  file.reserve(bytes);
  for (const HistoryRec& rec : items) {
    AppendAsUtf8(file, header(rec));
    AppendAsUtf8(file, rec.Text());
    file += "\r\n\r\n";
  }
  return file;
}

HistoryRead ParseHistoryFile(std::string_view bytes, const CodePage& codePage, const Locale& locale,
                             double now) {
  // The history file is Kelvo's own and carries a mark; one without is an old or hand-made file
  // in the ANSI code page.
  const bool utf8 = bytes.starts_with(kUtf8Bom);
  std::u16string decoded;
  if (!utf8)
    decoded =
        HasByteOrderMark(bytes) ? DecodeText(bytes, codePage).text : codePage.ToUnicode(bytes);
  HistoryRead read = utf8 ? ParseRecords(bytes.substr(kUtf8Bom.size()), locale, now)
                          : ParseRecords(std::u16string_view(decoded), locale, now);
  // Something that is not a history file must not be taken for an empty history (and later be
  // overwritten by one).
  if (read.items.empty() && HoldsNonBlank(utf8 ? Utf8ToUtf16(bytes) : decoded)) {
    read.status = HistoryReadStatus::kUnreadable;
  }
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
