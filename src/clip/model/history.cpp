#include "clip/model/history.h"

#include <algorithm>
#include <cmath>
#include <unordered_set>
#include <utility>

#include "base/text_codec.h"
#include "util/text_helpers.h"

namespace {

constexpr std::size_t kDisplayUnits = 128;
constexpr std::int64_t kSecondsPerDay = 86400;

// Days from 1 March of year 0 in the proleptic Gregorian calendar (H. Hinnant's algorithm).
constexpr std::int64_t DaysFromCivil(std::int64_t year, int month, int day) {
  year -= month <= 2 ? 1 : 0;
  const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
  const std::int64_t yearOfEra = year - era * 400;
  const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra;
}

constexpr std::int64_t kEpoch = DaysFromCivil(1899, 12, 30);
// The moments a history time may take: the years the platform's date formatting accepts.
constexpr std::int64_t kFirstSecond = (DaysFromCivil(1601, 1, 1) - kEpoch) * kSecondsPerDay;
constexpr std::int64_t kLastSecond = (DaysFromCivil(10000, 1, 1) - kEpoch) * kSecondsPerDay - 1;

LocalDateTime CivilFromDays(std::int64_t days) {
  days += kEpoch;
  const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const std::int64_t dayOfEra = days - era * 146097;
  const std::int64_t yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const std::int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
  LocalDateTime when;
  when.day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
  when.month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
  when.year = static_cast<int>(yearOfEra + era * 400 + (when.month <= 2 ? 1 : 0));
  // 30 December 1899 was a Saturday.
  when.weekday = static_cast<int>(((days - kEpoch) % 7 + 7 + 6) % 7);
  return when;
}

char16_t FoldedUnit(char16_t c) {
  return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

}  // namespace

double DaysFromDateTime(const LocalDateTime& when) {
  const std::int64_t days = DaysFromCivil(when.year, when.month, when.day) - kEpoch;
  const std::int64_t seconds = when.hour * 3600 + when.minute * 60 + when.second;
  return static_cast<double>(days) + static_cast<double>(seconds) / kSecondsPerDay;
}

LocalDateTime DateTimeFromDays(double days) {
  // To the nearest second, so that a time read back from its text is the second it showed.
  // Anything outside the years 1601 to 9999 (or not a number) is held at the nearest end.
  std::int64_t seconds = kFirstSecond;
  if (days >= static_cast<double>(kLastSecond) / kSecondsPerDay) {
    seconds = kLastSecond;
  } else if (days > static_cast<double>(kFirstSecond) / kSecondsPerDay) {
    seconds = std::llround(days * kSecondsPerDay);
  }
  std::int64_t day = seconds / kSecondsPerDay;
  std::int64_t second = seconds % kSecondsPerDay;
  if (second < 0) {
    second += kSecondsPerDay;
    --day;
  }
  LocalDateTime when = CivilFromDays(day);
  when.hour = static_cast<int>(second / 3600);
  when.minute = static_cast<int>(second / 60 % 60);
  when.second = static_cast<int>(second % 60);
  return when;
}

void HistoryDisplayText(std::u16string_view text, std::u16string& out) {
  // An emoji across the cut is left out whole rather than drawn as half a pair.
  const std::size_t shown = CutAtCharacter(text, kDisplayUnits).size();
  out.clear();
  out.reserve(shown + 3);
  for (std::size_t i = 0; i < shown; ++i) {
    if (text[i] != u'\r') {
      out.push_back(text[i]);
    } else if (i + 1 < shown && text[i + 1] == u'\n') {
      continue;  // the LF that follows stands for the pair; a pair cut in two shows its CR
    } else {
      out.push_back(u'\n');
    }
  }
  if (text.size() > kDisplayUnits) out += u"...";
}

std::u16string HistoryDisplayText(std::u16string_view text) {
  std::u16string out;
  HistoryDisplayText(text, out);
  return out;
}

HistoryRec::HistoryRec(std::size_t units, double creTime)
    : text_(units > 0 ? std::make_unique_for_overwrite<char16_t[]>(units) : nullptr),
      // A clipboard text is far below 4 G units (Kelvo keeps at most MaxTextLen of one).
      size_(static_cast<std::uint32_t>(std::min<std::size_t>(units, UINT32_MAX))),
      CreTime(creTime) {}

HistoryRec::HistoryRec(std::u16string_view text, double creTime)
    : HistoryRec(text.size(), creTime) {
  std::copy_n(text.data(), size_, text_.get());
  CountLines();
}

HistoryRec HistoryRec::FromUtf8(std::string_view text, double creTime) {
  HistoryRec rec(Utf16Length(text), creTime);
  DecodeUtf8Into(text, rec.text_.get());
  rec.CountLines();
  return rec;
}

void HistoryRec::CountLines() {
  LineCount = static_cast<std::int32_t>(std::min<std::size_t>(::CountLines(Text()), INT32_MAX));
}

int CompareHistoryText(std::u16string_view a, std::u16string_view b) {
  const std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common; ++i) {
    const char16_t x = FoldedUnit(a[i]);
    const char16_t y = FoldedUnit(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

void THistoryList::Insert(std::size_t index, HistoryRec rec) {
  items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(index), std::move(rec));
  ++changes_;
}

void THistoryList::Append(HistoryRec rec) {
  items_.push_back(std::move(rec));
  ++changes_;
}

void THistoryList::Delete(std::size_t index) {
  items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(index));
  ++changes_;
}

namespace {

bool TextOrder(const HistoryRec& a, const HistoryRec& b) {
  return CompareHistoryText(a.Text(), b.Text()) < 0;
}

bool NewerFirst(const HistoryRec& a, const HistoryRec& b) {
  if (a.CreTime != b.CreTime) return a.CreTime > b.CreTime;
  return TextOrder(a, b);
}

bool LongerFirst(const HistoryRec& a, const HistoryRec& b) {
  if (a.Text().size() != b.Text().size()) return a.Text().size() > b.Text().size();
  return TextOrder(a, b);
}

bool MoreLinesFirst(const HistoryRec& a, const HistoryRec& b) {
  if (a.LineCount != b.LineCount) return a.LineCount > b.LineCount;
  return LongerFirst(a, b);
}

}  // namespace

void THistoryList::MergeBelow(std::vector<HistoryRec> items) {
  // Only texts this run captured are left out; the file's own entries stay as the file has them,
  // repeated texts too (lines of an entry expanded by lines may equal other entries).
  std::unordered_set<std::u16string_view> captured;
  captured.reserve(items_.size());
  for (const HistoryRec& rec : items_) captured.insert(rec.Text());
  std::vector<bool> keep(items.size());
  for (std::size_t i = 0; i < items.size(); ++i) keep[i] = !captured.count(items[i].Text());
  captured.clear();
  items_.reserve(items_.size() +
                 static_cast<std::size_t>(std::count(keep.begin(), keep.end(), true)));
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (keep[i]) items_.push_back(std::move(items[i]));
  }
  ++changes_;
}

void THistoryList::Sort(HistorySort order) {
  ++changes_;
  switch (order) {
    case HistorySort::kText:
      std::sort(items_.begin(), items_.end(), TextOrder);
      break;
    case HistorySort::kTime:
      std::sort(items_.begin(), items_.end(), NewerFirst);
      break;
    case HistorySort::kLength:
      std::sort(items_.begin(), items_.end(), LongerFirst);
      break;
    case HistorySort::kLineCount:
      std::sort(items_.begin(), items_.end(), MoreLinesFirst);
      break;
  }
}
