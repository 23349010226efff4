#include "clip/model/history_view.h"

#include <algorithm>

#include "base/number_text.h"
#include "settings/settings_schema.h"
#include "util/text_helpers.h"

namespace {

// The moment between two lines of an expanded entry, in days (about 10 ms): the lines keep their
// order in a sort by time.
constexpr double kLineTimeStep = 1.157e-7;

// Unsigned decimal, right-aligned in `width` like printf's "%<width>u".
std::u16string Padded(std::size_t value, std::size_t width) {
  std::u16string text = IntToText(static_cast<std::int64_t>(value));
  if (text.size() < width) text.insert(0, width - text.size(), u' ');
  return text;
}

// The lines an entry expands into: its text cut at every line break, empty lines kept (they
// count in the time steps), and no empty last line after a final break.
std::vector<std::u16string> ExpandedLines(std::u16string_view text) {
  std::vector<std::u16string> lines;
  std::u16string line;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != u'\r' && text[i] != u'\n') {
      line.push_back(text[i]);
      continue;
    }
    if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    lines.push_back(std::move(line));
    line.clear();
  }
  if (!line.empty()) lines.push_back(std::move(line));
  return lines;
}

}  // namespace

void HistoryView::Select(int row) {
  selected_ = row >= 0 && static_cast<std::size_t>(row) < rows_.size() ? row : -1;
}

void HistoryView::FillHistList(int row) {
  rows_.resize(history_.Count());
  for (std::size_t i = 0; i < rows_.size(); ++i) rows_[i] = i;
  if (rows_.empty() || row < 0) {
    selected_ = -1;
  } else {
    selected_ = std::min(row, static_cast<int>(rows_.size()) - 1);
  }
}

int HistoryView::RowToHistIndex(int row) const {
  if (row == -1) row = selected_;
  if (row < 0 || static_cast<std::size_t>(row) >= rows_.size()) return -1;
  const std::size_t index = rows_[static_cast<std::size_t>(row)];
  return index < history_.Count() ? static_cast<int>(index) : -1;
}

std::u16string HistoryView::SelText(int row) const {
  const int index = RowToHistIndex(row);
  return index < 0 ? std::u16string()
                   : std::u16string(history_.At(static_cast<std::size_t>(index)).Text());
}

void HistoryView::LoadSettings(const UsrIniFile& ini) {
  constexpr std::u16string_view kSection = u"ClipboardList";
  foldWidthKana_ =
      ini.ReadBool(kSection, u"FoldWidthKana", DefaultBool(kSection, u"FoldWidthKana"));
}

const std::u16string& HistoryView::SearchedForm(std::size_t entry, const SearchWords& search) {
  if (searchFormsOf_ != history_.Changes() || searchFormsFolded_ != foldWidthKana_) {
    searchForms_.assign(history_.Count(), std::u16string());
    searchFormMade_.assign(history_.Count(), false);
    searchFormsOf_ = history_.Changes();
    searchFormsFolded_ = foldWidthKana_;
  }
  if (!searchFormMade_[entry]) {
    search.SearchedForm(HistoryDisplayText(history_.At(entry).Text()), searchForms_[entry]);
    searchFormMade_[entry] = true;
  }
  return searchForms_[entry];
}

void HistoryView::RemoveRowsWhere(std::u16string_view words, bool all, bool negate) {
  const SearchWords search(words, false, locale_, foldWidthKana_);
  std::erase_if(rows_, [&](std::size_t index) {
    if (index >= history_.Count()) return true;
    return search.MatchSearchedForm(SearchedForm(index, search), all, negate);
  });
  selected_ = rows_.empty() ? -1 : 0;
}

void HistoryView::Extract(std::u16string_view words) {
  // A row goes when its text holds none of the words.
  RemoveRowsWhere(words, true, true);
}

void HistoryView::Except(std::u16string_view words) {
  // A row goes when its text holds any of the words.
  RemoveRowsWhere(words, false, false);
}

bool HistoryView::DeleteSelected() {
  const int entry = RowToHistIndex(-1);
  if (entry < 0) return false;
  history_.Delete(static_cast<std::size_t>(entry));
  const auto row = static_cast<std::size_t>(selected_);
  rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(row));
  for (std::size_t i = row; i < rows_.size(); ++i) {
    if (rows_[i] > static_cast<std::size_t>(entry)) --rows_[i];
  }
  if (rows_.empty()) {
    selected_ = -1;
  } else {
    selected_ = static_cast<int>(std::min(row, rows_.size() - 1));
  }
  return true;
}

void HistoryView::DeleteAllShown() {
  if (rows_.size() == history_.Count()) {
    history_.Clear();
  } else {
    // Each delete moves the later entries up by one; the rows ascend, so the entry of row i is
    // then i places higher.
    for (std::size_t i = 0; i < rows_.size(); ++i) {
      if (rows_[i] >= i && rows_[i] - i < history_.Count()) history_.Delete(rows_[i] - i);
    }
  }
  FillHistList(0);
}

ExpandResult HistoryView::ExpandLines(std::size_t limit) {
  const int entry = RowToHistIndex(-1);
  if (entry < 0) return ExpandResult::kNothing;
  const auto at = static_cast<std::size_t>(entry);
  const std::vector<std::u16string> lines = ExpandedLines(history_.At(at).Text());
  const std::size_t kept = static_cast<std::size_t>(
      std::count_if(lines.begin(), lines.end(), [](const auto& line) { return !line.empty(); }));
  // The entry's own lines are never cut: they would be lost with the entry. Older entries may go
  // to keep the history within its limit, as they go when a copy is recorded.
  if (at + kept > limit) return ExpandResult::kWouldCut;
  double time = history_.At(at).CreTime;
  history_.Delete(at);
  std::size_t position = at;
  for (const std::u16string& line : lines) {
    if (!line.empty()) history_.Insert(position++, HistoryRec(line, time));
    time -= kLineTimeStep;
  }
  while (history_.Count() > limit) history_.Delete(limit);
  FillHistList(entry);
  return ExpandResult::kExpanded;
}

void HistoryView::Sort(HistorySort order) {
  history_.Sort(order);
  FillHistList(0);
}

std::u16string HistoryView::StatusRows() const {
  const int entry = RowToHistIndex(-1);
  if (entry < 0) {
    return u"-/" + Padded(rows_.size(), 0) + u"(" + Padded(history_.Count(), 0) + u")";
  }
  std::u16string text =
      Padded(static_cast<std::size_t>(selected_) + 1, 3) + u"/" + Padded(rows_.size(), 3);
  if (Filtered()) text += u"(" + Padded(history_.Count(), 0) + u")";
  return text;
}

std::u16string HistoryView::StatusSize() const {
  const int entry = RowToHistIndex(-1);
  if (entry < 0) return {};
  const HistoryRec& rec = history_.At(static_cast<std::size_t>(entry));
  return Padded(rec.Text().size(), 8) + u"文字/ " +
         Padded(static_cast<std::size_t>(std::max(rec.LineCount, 0)), 5) + u"行";
}

std::optional<std::u16string> HistoryView::PreviewText(std::int32_t previewLn) const {
  const int entry = RowToHistIndex(-1);
  if (entry < 0 || previewLn < 1) return std::nullopt;
  const HistoryRec& rec = history_.At(static_cast<std::size_t>(entry));
  if (rec.LineCount < previewLn) return std::nullopt;
  return std::u16string(rec.Text());
}

bool HistoryView::CanExpand() const {
  const int entry = RowToHistIndex(-1);
  return entry >= 0 && history_.At(static_cast<std::size_t>(entry)).LineCount > 1;
}

std::u16string ExpandRefusal(std::size_t limit) {
  return u"この項目を行毎に展開すると、行の一部が履歴の最大件数 (MaxItems = " +
         IntToText(static_cast<std::int64_t>(limit)) +
         u") を超えて失われるため、展開しませんでした。";
}

void PushHistoryItem(std::vector<std::u16string>& items, const std::u16string& word,
                     const Locale& locale) {
  if (word.empty()) return;
  const auto found = std::find_if(items.begin(), items.end(), [&](const std::u16string& item) {
    return locale.CompareNoCase(item, word) == 0;
  });
  if (found != items.end()) {
    if (found == items.begin()) return;
    items.erase(found);
  }
  items.insert(items.begin(), word);
}
