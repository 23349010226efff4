#pragma once
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/clock.h"
#include "platform/locale.h"

// One canned text is one line of its file, in one of three forms:
//   "-"                 a separator: drawn as a line, pastes nothing;
//   label TAB body      shown as the label, pastes the body (trimmed, then expanded);
//   anything else       shown and pasted whole (expanded, not trimmed).
// A line break inside a label or body is written as the two characters "\n", a TAB as "\t".

inline constexpr std::u16string_view kCannedSeparator = u"-";

bool IsCannedSeparator(std::u16string_view item);

// What the item's row shows: the text before the first TAB, or the whole item.
std::u16string_view CannedLabel(std::u16string_view item);

// The text a paste uses before its escapes and macros are expanded: after the first TAB without
// the units up to U+0020 at either end, or the whole plain item; empty for a separator.
std::u16string_view CannedBody(std::u16string_view item);

// The text a paste or a copy uses now: the body with its escapes and date macros expanded at
// this moment (a date macro gives today's date).
std::u16string CannedPasteText(std::u16string_view item, const Clock& clock, const Locale& locale);

// How a row's text is drawn: the pieces from left to right. Texts between the marks are drawn as
// they are; each "\t" and "\n" of the text becomes a mark piece (drawn in the mark colour, 4
// pixels of space after it). A separator row is drawn as a line and has no pieces.
struct CannedRowPiece {
  enum class Kind { kText, kTabMark, kLineBreakMark };
  Kind kind = Kind::kText;
  std::u16string_view text;  // only for kText
};

// Walks the pieces of a text whose TABs and line breaks are written as tabMark and breakMark (the
// escapes of a canned text, or the characters themselves in a history row), one at a time, so
// that drawing stops at the row's right edge without looking at the rest. Each mark is looked
// for once: a walk over the whole text is linear in its length, however many marks it holds.
class MarkedPieces {
 public:
  MarkedPieces(std::u16string_view text, std::u16string_view tabMark,
               std::u16string_view breakMark);
  // A walk without pieces (a separator's row).
  static MarkedPieces None();
  // The next piece; nothing after the last.
  std::optional<CannedRowPiece> Next();

 private:
  std::size_t Find(std::u16string_view mark, std::size_t& cached) const;

  std::u16string_view text_;
  std::u16string_view tabMark_;
  std::u16string_view breakMark_;
  std::size_t at_ = 0;
  std::size_t nextTab_ = 0;
  std::size_t nextBreak_ = 0;
  bool done_ = false;
};

// A canned row's pieces (none for a separator).
MarkedPieces CannedRowPieces(std::u16string_view label);
// Every piece of a walk.
std::vector<CannedRowPiece> AllPieces(MarkedPieces pieces);

// The glyph of a mark in the list's font: fonts whose name begins with "ＭＳ " or "MS " have the
// harpoon and the down-then-left arrow, other fonts get plain arrows.
std::u16string_view CannedMarkGlyph(CannedRowPiece::Kind mark, std::u16string_view fontName);

// A text made into one item: CR LF, a lone CR and a lone LF each become "\n", a TAB "\t".
// Backslash sequences already in the text stay as they are (a later paste expands them).
std::u16string OneLineText(std::u16string_view text);

// The edit panel's two fields for an item: the label trimmed (empty without a TAB) and the body
// (not trimmed) with "\n" as CR LF and "\t" as TAB.
struct CannedEditFields {
  std::u16string label;
  std::u16string body;
};
CannedEditFields EditFieldsOf(std::u16string_view item);
// The item the edited fields make: label TAB body, or the body alone when the label is empty.
// Both fields are made one line as OneLineText does, so that a TAB or line break typed or
// pasted into either field can neither split the line nor move the label's end.
std::u16string ItemOfEditFields(std::u16string_view label, std::u16string_view body);

// The status bar: panel 0 "%3u/%3u" (selected row + 1, rows), empty without a selection;
// panel 1 the text a paste would use, with each CR LF shown as "\n" and each TAB as "\t".
std::u16string CannedStatusRows(int selected, std::size_t rows);
std::u16string CannedStatusText(std::u16string_view pasteText);

// The escape codes the edit fields' context menu offers, in menu order. The window types the
// code into the focused field; the clipboard is left alone.
struct CannedEscapeItem {
  std::u16string_view caption;
  std::u16string_view code;  // the caption up to its first blank
};
extern const std::array<CannedEscapeItem, 17> kCannedEscapeMenu;
