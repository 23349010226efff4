#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "clip/history.h"
#include "platform/code_page.h"
#include "platform/file_system.h"
#include "platform/locale.h"

// The history file: per entry the lines "CreTime=<local date and time>", "LineCount=<n>", the
// text and an empty line, each ending with CR LF, in UTF-8 with a byte-order mark. n counts the
// lines the reader will cut the text into, so texts with lone CRs or LFs, or with lines that look
// like "CreTime=", come back exactly as they were copied.
std::string HistoryFileBytes(const std::vector<HistoryRec>& items, const Locale& locale);

enum class HistoryReadStatus {
  kLoaded,     // records read (the file may also hold none and be empty)
  kMissing,    // no such file: the history stays as it is
  kUnreadable, // exists but cannot be read, or is not empty yet holds no record
};

struct HistoryRead {
  HistoryReadStatus status = HistoryReadStatus::kMissing;
  std::vector<HistoryRec> items;  // in file order
};

// Reads records from history-file bytes (any byte-order mark; without one the ANSI code page).
// A time that does not read takes the previous record's, or `now` for the first. Old files
// (whose counts were the text's LF lines) still read.
HistoryRead ParseHistoryFile(std::string_view bytes, const CodePage& codePage,
                             const Locale& locale, double now);
HistoryRead ReadHistoryFile(const FileSystem& files, const CodePage& codePage,
                            const Locale& locale, const std::u16string& path, double now);
// Replaces the file atomically; false leaves the old file as it was.
bool WriteHistoryFile(FileSystem& files, const Locale& locale, const std::u16string& path,
                      const std::vector<HistoryRec>& items);
