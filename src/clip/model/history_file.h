#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "clip/model/history.h"
#include "platform/code_page.h"
#include "platform/file_system.h"
#include "platform/locale.h"

// The history file: per entry the lines "CreTime=<local date and time>", "LineCount=<n>", the
// text and an empty line, each ending with CR LF, in UTF-8 with a byte-order mark. n counts the
// lines the reader will cut the text into, so texts with lone CRs or LFs, or with lines that look
// like "CreTime=", come back exactly as they were copied.
std::string HistoryFileBytes(const std::vector<HistoryRec>& items, const Locale& locale);

enum class HistoryReadStatus {
  kLoaded,      // records read (the file may also hold none and be empty)
  kMissing,     // no such file: the history stays as it is
  kUnreadable,  // exists but cannot be read, or is not empty yet holds no record
};

struct HistoryRead {
  HistoryReadStatus status = HistoryReadStatus::kMissing;
  std::vector<HistoryRec> items;  // in file order
};

// Reads records from history-file bytes (any byte-order mark; without one the ANSI code page).
// A time that does not read takes the previous record's, or `now` for the first. Old files
// (whose counts were the text's LF lines) still read.
HistoryRead ParseHistoryFile(std::string_view bytes, const CodePage& codePage, const Locale& locale,
                             double now);
HistoryRead ReadHistoryFile(const FileSystem& files, const CodePage& codePage, const Locale& locale,
                            const std::u16string& path, double now);
// Replaces the file atomically; false leaves the old file as it was.
bool WriteHistoryFile(FileSystem& files, const Locale& locale, const std::u16string& path,
                      const std::vector<HistoryRec>& items);

// What storing the history at exit or at the session's end came to.
enum class HistoryStoreResult {
  kStored,
  kMerged,       // stored, after the file that could not be read before was merged in
  kUnreadable,   // the file exists but still cannot be read: it was not written over
  kWriteFailed,  // a read-only file, a full disk, a path too long: the file is as it was
};

// Writes the history to its file. `blocked` says that the file could not be read when it was
// last read (held by a backup or virus-scanning program at set-up): it is read again first, and
// the run's entries stay above its own; while it still cannot be read nothing is written, and a
// later store tries again. `blocked` is cleared once the file was read.
HistoryStoreResult StoreHistoryFile(FileSystem& files, const CodePage& codePage,
                                    const Locale& locale, const std::u16string& path, double now,
                                    THistoryList& history, bool& blocked);

// What the user is told when a store failed (nothing for a store that worked): the box's text and
// the value of the ErrorLog line, whose key is kHistoryErrorLogKey.
inline constexpr std::u16string_view kHistoryErrorLogKey = u"ClipDataFile";
std::u16string HistoryStoreFailureMessage(HistoryStoreResult result, const std::u16string& path);
std::u16string HistoryStoreLogValue(HistoryStoreResult result, const std::u16string& path,
                                    const std::u16string& dateTime);
