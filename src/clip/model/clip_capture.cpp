#include "clip/model/clip_capture.h"

#include <algorithm>
#include <utility>

#include "base/number_text.h"
#include "platform/clock.h"
#include "settings/settings_schema.h"
#include "settings/settings_store.h"
#include "util/file_listing.h"
#include "util/text_helpers.h"
#include "util/text_macros.h"

namespace {

constexpr std::u16string_view kSection = u"ClipboardList";

bool IsPatternWord(std::u16string_view word) {
  return word.size() >= 3 && word.front() == u'/' && word.back() == u'/';
}

// The body a canned item pastes, before its macros: the text after the first TAB, trimmed, or
// the whole item.
std::u16string_view CannedBody(std::u16string_view item) {
  const std::size_t tab = item.find(u'\t');
  if (tab == std::u16string_view::npos) return item;
  return TrimControls(item.substr(tab + 1));
}

// The most units a text may have to be taken.
std::size_t TextLimit(std::int32_t maxTextLen) {
  return maxTextLen > 0 ? static_cast<std::size_t>(maxTextLen) : kMaxClipboardUnits;
}

}  // namespace

CaptureSettings ReadCaptureSettings(const UsrIniFile& ini, const FileSystem& files,
                                    const std::u16string& exeDir) {
  CaptureSettings s;
  s.Enable = ini.ReadBool(kSection, u"Enable", DefaultBool(kSection, u"Enable"));
  s.SaveHistory = ini.ReadBool(kSection, u"SaveHistory", DefaultBool(kSection, u"SaveHistory"));
  s.ClipDataPath =
      ini.ReadString(kSection, u"ClipDataFile", DefaultText(kSection, u"ClipDataFile"));
  AppFileExists(files, exeDir, s.ClipDataPath);  // only to make the path absolute
  s.MaxItems = ini.ReadInteger(kSection, u"MaxItems", DefaultInteger(kSection, u"MaxItems"));
  s.MaxTextLen = ini.ReadInteger(kSection, u"MaxTextLen", DefaultInteger(kSection, u"MaxTextLen"));
  s.MaxLineCnt = ini.ReadInteger(kSection, u"MaxLineCnt", DefaultInteger(kSection, u"MaxLineCnt"));
  for (std::int64_t n = 1;; ++n) {
    std::u16string word = ini.ReadString(kSection, u"ExceptWord" + IntToText(n), u"");
    if (word.empty()) break;
    s.ExceptWords.push_back(std::move(word));
  }
  return s;
}

std::size_t HistoryLimit(std::int32_t maxItems) {
  if (maxItems < 0) return kMaxHistoryItems;
  return std::min(static_cast<std::size_t>(maxItems), kMaxHistoryItems);
}

ExclusionWords::ExclusionWords(const std::vector<std::u16string>& words) {
  for (const std::u16string& word : words) {
    Word entry;
    entry.isPattern = IsPatternWord(word);
    if (!entry.isPattern) {
      entry.plain = word;
    } else {
      entry.pattern =
          TitlePattern::Compile(std::u16string_view(word).substr(1, word.size() - 2), true);
      if (!entry.pattern && !broken_) broken_ = word;
    }
    words_.push_back(std::move(entry));
  }
}

bool ExclusionWords::Excludes(std::u16string_view text, const Locale& locale) const {
  for (const Word& word : words_) {
    if (!word.isPattern) {
      if (PosText(word.plain, text, locale) > 0) return true;
      continue;
    }
    // A pattern that does not compile, or gives up before an answer, keeps the text out: the
    // user meant to keep something out and Kelvo cannot tell that this is not it.
    if (!word.pattern || word.pattern->Match(text) != PatternMatch::kNoMatch) return true;
  }
  return false;
}

CannedBodies::CannedBodies(const std::vector<std::u16string>& items, const Clock& clock,
                           const Locale& locale) {
  for (const std::u16string& item : items) {
    if (item == u"-") continue;
    const std::u16string_view body = CannedBody(item);
    if (HasDateMacros(body)) {
      dated_.emplace_back(body);
    } else {
      fixed_.emplace_back(TrimControls(ExpandMacros(body, clock, locale)));
    }
  }
}

bool CannedBodies::Holds(std::u16string_view text, const Clock& clock, const Locale& locale) const {
  const std::u16string_view trimmed = TrimControls(text);
  for (const std::u16string& body : fixed_) {
    if (body.size() == trimmed.size() && body == trimmed) return true;
  }
  for (const std::u16string& body : dated_) {
    if (TrimControls(ExpandMacros(body, clock, locale)) == trimmed) return true;
  }
  return false;
}

void ClipCapture::Configure(const CaptureSettings& settings) {
  settings_ = settings;
  words_ = ExclusionWords(settings.ExceptWords);
}

CaptureResult ClipCapture::CaptureClip(Clipboard& clipboard, THistoryList& history,
                                       const CannedBodies& canned) {
  if (!Capturing) return CaptureResult::kNotCapturing;
  // Password managers mark their copies; such a text is never read, let alone kept. Two units
  // beyond the limit: a read never ends in half a surrogate pair, so a longer text read with one
  // unit more could come back at exactly the limit.
  SharedClipboardText read = clipboard.ReadSharedText(TextLimit(settings_.MaxTextLen) + 2);
  if (read.isPrivate) return CaptureResult::kPrivate;
  if (!read.text) return CaptureResult::kNoText;
  return CaptureText(std::move(*read.text), history, canned);
}

CaptureResult ClipCapture::CaptureText(std::u16string text, THistoryList& history,
                                       const CannedBodies& canned) {
  if (!Capturing) return CaptureResult::kNotCapturing;
  if (text.size() > TextLimit(settings_.MaxTextLen)) return CaptureResult::kTooLong;
  if (text.empty()) return CaptureResult::kNoText;
  if (settings_.MaxLineCnt > 0 &&
      CountLines(text) > static_cast<std::size_t>(settings_.MaxLineCnt)) {
    return CaptureResult::kTooManyLines;
  }
  if (!history.Empty() && history.At(0).Text() == text) return CaptureResult::kSameAsTop;
  if (words_.Excludes(text, locale_)) return CaptureResult::kExcluded;
  if (canned.Holds(text, clock_, locale_)) return CaptureResult::kCanned;

  history.Insert(0, HistoryRec(text, DaysFromDateTime(clock_.Now())));
  for (std::size_t i = history.Count(); i-- > 1;) {
    if (history.At(i).Text() == text) history.Delete(i);
  }
  const std::size_t limit = HistoryLimit(settings_.MaxItems);
  while (history.Count() > limit) history.Delete(history.Count() - 1);
  return CaptureResult::kCaptured;
}
