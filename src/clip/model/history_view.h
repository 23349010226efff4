#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "clip/model/history.h"
#include "platform/locale.h"
#include "settings/settings_store.h"
#include "util/text_helpers.h"

enum class ExpandResult { kNothing, kExpanded, kWouldCut };

// The rows of the history page: each row shows an entry of the history by its index. Rows are
// made in history order and only ever removed (filters, deletes), so indexes ascend downward.
class HistoryView {
 public:
  HistoryView(THistoryList& history, const Locale& locale) : history_(history), locale_(locale) {}

  std::size_t RowCount() const { return rows_.size(); }
  // -1 for none.
  int Selected() const { return selected_; }
  void Select(int row);

  // One row per entry; selects `row`, or the last row when it is past the end.
  void FillHistList(int row);
  // The entry of the row (-1: the selected row); -1 when there is none or it is out of range.
  int RowToHistIndex(int row) const;
  // The entry's text, or empty.
  std::u16string SelText(int row) const;

  // Reads FoldWidthKana (section ClipboardList): whether the filters fold width and kana.
  void LoadSettings(const UsrIniFile& ini);
  bool FoldsWidthKana() const { return foldWidthKana_; }

  // Search-word filters over the display texts (MatchWords: blanks separate words, no case;
  // with FoldWidthKana also across character width and hiragana/katakana).
  void Extract(std::u16string_view words);
  void Except(std::u16string_view words);
  void Release() { FillHistList(0); }

  // Editing (the selected row). False when nothing was done.
  bool DeleteSelected();
  void DeleteAllShown();
  // Expands the selected entry into its lines at its place; the history then keeps its first
  // `limit` entries. Refused, changing nothing, when a line of the entry itself would fall
  // beyond the limit.
  ExpandResult ExpandLines(std::size_t limit);
  void Sort(HistorySort order);

  // Status bar: panel 0 ("-/%u(%u)" or "%3u/%3u" and "(%u)"), panel 1 ("%8u文字/ %5u行").
  std::u16string StatusRows() const;
  std::u16string StatusSize() const;
  // The preview's text when the selected entry has at least previewLn (>= 1) lines; nothing hides
  // the preview. (With no entry selected the window leaves the preview as it is.)
  std::optional<std::u16string> PreviewText(std::int32_t previewLn) const;

  // Whether the actions of the history page may run now.
  bool CanExpand() const;  // a selected entry of more than one line
  bool CanSort() const { return history_.Count() > 1; }
  bool CanDeleteAll() const { return !rows_.empty(); }
  bool CanFilter(std::u16string_view words) const { return !words.empty() && !rows_.empty(); }
  bool Filtered() const { return rows_.size() != history_.Count(); }

 private:
  void RemoveRowsWhere(std::u16string_view words, bool all, bool negate);
  const std::u16string& SearchedForm(std::size_t entry, const SearchWords& search);

  THistoryList& history_;
  const Locale& locale_;
  std::vector<std::size_t> rows_;
  int selected_ = -1;
  bool foldWidthKana_ = true;
  // Each entry's display text in the form a search looks in (folded, upper-cased), made when a
  // search first reads the entry and kept for the next searches while the history is unchanged:
  // a search then only looks for its words.
  std::vector<std::u16string> searchForms_;
  std::vector<bool> searchFormMade_;
  std::uint64_t searchFormsOf_ = ~0ull;  // the history's Changes() they were made for
  bool searchFormsFolded_ = false;
};

// Why 行毎に展開 refused: the entry's lines would not fit within the history's limit.
std::u16string ExpandRefusal(std::size_t limit);

// The search box's history: the word moves to (or enters) the top, found without regard to case.
void PushHistoryItem(std::vector<std::u16string>& items, const std::u16string& word,
                     const Locale& locale);
