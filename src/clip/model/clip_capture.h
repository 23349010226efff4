#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "clip/model/history.h"
#include "platform/clipboard.h"
#include "platform/clock.h"
#include "platform/locale.h"
#include "util/title_pattern.h"

class UsrIniFile;
class FileSystem;

// The capture settings of section ClipboardList.
struct CaptureSettings {
  bool Enable = false;
  bool SaveHistory = false;
  std::u16string ClipDataPath;  // ClipDataFile, resolved beside Kelvo.exe when relative
  std::int32_t MaxItems = 50;   // below 0: no limit but kMaxHistoryItems
  std::int32_t MaxTextLen = 0;  // 0 or less: no limit
  std::int32_t MaxLineCnt = 0;
  std::vector<std::u16string> ExceptWords;  // ExceptWord1, 2, ... up to the first missing/empty
};

// A negative MaxItems still keeps at most this many entries.
inline constexpr std::size_t kMaxHistoryItems = 100000;
// The longest clipboard text read when MaxTextLen sets no limit, in UTF-16 units.
inline constexpr std::size_t kMaxClipboardUnits = 16u * 1024 * 1024;

CaptureSettings ReadCaptureSettings(const UsrIniFile& ini, const FileSystem& files,
                                    const std::u16string& exeDir);
// How many entries MaxItems lets the history keep.
std::size_t HistoryLimit(std::int32_t maxItems);

// The exclusion words, patterns compiled once per set-up. A "/pattern/" that does not compile
// excludes every text that reaches it (the user meant to keep something out).
class ExclusionWords {
 public:
  ExclusionWords() = default;
  explicit ExclusionWords(const std::vector<std::u16string>& words);
  bool Excludes(std::u16string_view text, const Locale& locale) const;
  // The first word that is a pattern that does not compile, for one message per set-up.
  const std::optional<std::u16string>& BrokenPattern() const { return broken_; }

 private:
  struct Word {
    std::u16string plain;                 // a plain word, or
    std::optional<TitlePattern> pattern;  // a compiled pattern, or neither: a broken pattern
    bool isPattern = false;
  };
  std::vector<Word> words_;
  std::optional<std::u16string> broken_;
};

// The canned bodies a new clipboard text is compared with (after the first TAB, or the whole item;
// separators "-" skipped; both trimmed of units up to U+0020). A copy made anywhere on the system
// compares with every body, so a body without date macros is expanded once, when the items are
// taken; only a body with a date or time macro is expanded at each copy (a date macro gives the
// date of the copy).
class CannedBodies {
 public:
  CannedBodies() = default;
  CannedBodies(const std::vector<std::u16string>& items, const Clock& clock, const Locale& locale);
  bool Holds(std::u16string_view text, const Clock& clock, const Locale& locale) const;

 private:
  std::vector<std::u16string> fixed_;  // trimmed expansions
  std::vector<std::u16string> dated_;  // bodies to expand at each look
};

enum class CaptureResult {
  kCaptured,
  kNotCapturing,
  kNoText,   // no text, an empty text, or the clipboard could not be read
  kPrivate,  // marked as not for clipboard histories
  kTooLong,
  kTooManyLines,
  kSameAsTop,
  kExcluded,
  kCanned,  // equal to a canned text
};

// The clipboard capture: the rules a new clipboard text passes before it enters the history.
class ClipCapture {
 public:
  ClipCapture(const Clock& clock, const Locale& locale) : clock_(clock), locale_(locale) {}

  // A new set-up: settings, exclusion words compiled.
  void Configure(const CaptureSettings& settings);
  const CaptureSettings& Settings() const { return settings_; }
  const ExclusionWords& Exclusions() const { return words_; }
  bool Capturing = false;

  // Takes the clipboard's text into the history at index 0 unless a rule rejects it; `canned`
  // are the bodies of the current canned-text set.
  CaptureResult CaptureClip(Clipboard& clipboard, THistoryList& history,
                            const CannedBodies& canned);
  // The same rules for a text already read (for tests and benchmarks).
  CaptureResult CaptureText(std::u16string text, THistoryList& history, const CannedBodies& canned);

 private:
  const Clock& clock_;
  const Locale& locale_;
  CaptureSettings settings_;
  ExclusionWords words_;
};
