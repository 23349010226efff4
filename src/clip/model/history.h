#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/types.h"

// A moment as days since 30 December 1899 00:00, local time; the fraction is the time of day.
double DaysFromDateTime(const LocalDateTime& when);
LocalDateTime DateTimeFromDays(double days);

// The display form of a history text (see HistoryRec::DispText).
std::u16string HistoryDisplayText(std::u16string_view text);
// The same into a buffer that is used again (a filter over every row).
void HistoryDisplayText(std::u16string_view text, std::u16string& out);

// One copied text of the clipboard history. A long history keeps ten thousand of them for the
// whole run: the text is held in one allocation of exactly its units, and the record takes 24
// bytes beside it (a std::u16string alone took 32).
class HistoryRec {
 public:
  HistoryRec() = default;
  HistoryRec(std::u16string_view text, double creTime);
  // The text decoded from UTF-8 straight into the record (the history file's records).
  static HistoryRec FromUtf8(std::string_view text, double creTime);
  HistoryRec(const HistoryRec& other) : HistoryRec(other.Text(), other.CreTime) {}
  HistoryRec& operator=(const HistoryRec& other) {
    if (this != &other) *this = HistoryRec(other);
    return *this;
  }
  HistoryRec(HistoryRec&&) noexcept = default;
  HistoryRec& operator=(HistoryRec&&) noexcept = default;

  std::u16string_view Text() const { return {text_.get(), size_}; }
  // The first 128 units (127 when the 128th begins a surrogate pair) and "..." for a longer text;
  // CR LF and then a lone CR shown as LF. Made when asked for (a few rows are drawn, a filter reads
  // each once): kept beside every text it would double the memory of a long history.
  std::u16string DispText() const { return HistoryDisplayText(Text()); }

 private:
  HistoryRec(std::size_t units, double creTime);
  void CountLines();

  std::unique_ptr<char16_t[]> text_;
  std::uint32_t size_ = 0;

 public:
  std::int32_t LineCount = 0;  // LF count, plus one when the text does not end with LF
  double CreTime = 0;
};

// The order of texts in the sorts: code unit by code unit, a-z taken as A-Z and nothing else
// folded; a prefix comes first. <0, 0, >0.
int CompareHistoryText(std::u16string_view a, std::u16string_view b);

enum class HistorySort { kText, kTime, kLength, kLineCount };

// The history, newest capture first at index 0. It sets no limit of its own.
class THistoryList {
 public:
  std::size_t Count() const { return items_.size(); }
  bool Empty() const { return items_.empty(); }
  const HistoryRec& At(std::size_t index) const { return items_[index]; }
  void Insert(std::size_t index, HistoryRec rec);
  void Append(HistoryRec rec);
  void Delete(std::size_t index);
  void Clear() {
    items_.clear();
    ++changes_;
  }
  void Sort(HistorySort order);
  const std::vector<HistoryRec>& Items() const { return items_; }
  // Replaces every entry (a successful file load).
  void Assign(std::vector<HistoryRec> items) {
    items_ = std::move(items);
    ++changes_;
  }
  // Appends the entries whose text the list does not hold yet, in their order (a history file
  // read again while the list keeps what was captured since); texts the file repeats stay.
  void MergeBelow(std::vector<HistoryRec> items);
  // Counts the changes of the entries or their order: what was worked out for the entries by
  // their indexes holds while it stays the same.
  std::uint64_t Changes() const { return changes_; }

 private:
  std::vector<HistoryRec> items_;
  std::uint64_t changes_ = 0;
};
