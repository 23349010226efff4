#include "clip/model/canned_text.h"

#include <cstdio>

#include "platform/clock.h"
#include "util/text_helpers.h"
#include "util/text_macros.h"

namespace {

constexpr char16_t kTab = u'\t';
constexpr std::u16string_view kTabEscape = u"\\t";
constexpr std::u16string_view kBreakEscape = u"\\n";

}  // namespace

const std::array<CannedEscapeItem, 17> kCannedEscapeMenu = {{
    {u"\\n  改行", u"\\n"},
    {u"\\t  タブ", u"\\t"},
    {u"\\Y  西暦4桁", u"\\Y"},
    {u"\\y  西暦下2桁", u"\\y"},
    {u"\\MM 月 January\uFF5EDecember", u"\\MM"},
    {u"\\M  月 Jan\uFF5EDec", u"\\M"},
    {u"\\0m 月 01\uFF5E12", u"\\0m"},
    {u"\\m  月 1\uFF5E12", u"\\m"},
    {u"\\0d 日 01\uFF5E31", u"\\0d"},
    {u"\\d  日 1\uFF5E31", u"\\d"},
    {u"\\WW 曜日 Sunday\uFF5ESaturday", u"\\WW"},
    {u"\\W  曜日 Sun\uFF5ESat", u"\\W"},
    {u"\\w  曜日 日\uFF5E土", u"\\w"},
    {u"\\T  時刻  hh:mm:ss", u"\\T"},
    {u"\\H  時  hh", u"\\H"},
    {u"\\N  分  mm", u"\\N"},
    {u"\\S  秒  ss", u"\\S"},
}};

bool IsCannedSeparator(std::u16string_view item) { return item == kCannedSeparator; }

std::u16string_view CannedLabel(std::u16string_view item) {
  return item.substr(0, item.find(kTab));
}

std::u16string_view CannedBody(std::u16string_view item) {
  if (IsCannedSeparator(item)) return {};
  const std::size_t tab = item.find(kTab);
  if (tab == std::u16string_view::npos) return item;
  return TrimControls(item.substr(tab + 1));
}

std::u16string CannedPasteText(std::u16string_view item, const Clock& clock, const Locale& locale) {
  return ExpandMacros(CannedBody(item), clock, locale);
}

MarkedPieces::MarkedPieces(std::u16string_view text, std::u16string_view tabMark,
                           std::u16string_view breakMark)
    : text_(text),
      tabMark_(tabMark),
      breakMark_(breakMark),
      nextTab_(text.find(tabMark)),
      nextBreak_(text.find(breakMark)) {}

MarkedPieces MarkedPieces::None() {
  MarkedPieces none(u"", u"\t", u"\n");
  none.done_ = true;
  return none;
}

// The first mark at or after the walk's place. A mark found earlier is still the first as long as
// the walk has not passed it, so each part of the text is searched once.
std::size_t MarkedPieces::Find(std::u16string_view mark, std::size_t& cached) const {
  if (cached != std::u16string_view::npos && cached < at_) cached = text_.find(mark, at_);
  return cached;
}

std::optional<CannedRowPiece> MarkedPieces::Next() {
  if (done_) return std::nullopt;
  const std::size_t tab = Find(tabMark_, nextTab_);
  const std::size_t lineBreak = Find(breakMark_, nextBreak_);
  const std::size_t mark = tab < lineBreak ? tab : lineBreak;
  if (mark == std::u16string_view::npos) {
    // The text after the last mark (a text ending in a mark was done with that mark).
    done_ = true;
    return CannedRowPiece{CannedRowPiece::Kind::kText, text_.substr(at_)};
  }
  if (mark > at_) {
    const std::u16string_view before = text_.substr(at_, mark - at_);
    at_ = mark;
    return CannedRowPiece{CannedRowPiece::Kind::kText, before};
  }
  const bool isTab = mark == tab;
  at_ = mark + (isTab ? tabMark_ : breakMark_).size();
  if (at_ == text_.size()) done_ = true;
  return CannedRowPiece{
      isTab ? CannedRowPiece::Kind::kTabMark : CannedRowPiece::Kind::kLineBreakMark, {}};
}

MarkedPieces CannedRowPieces(std::u16string_view label) {
  if (IsCannedSeparator(label)) return MarkedPieces::None();
  return MarkedPieces(label, kTabEscape, kBreakEscape);
}

std::vector<CannedRowPiece> AllPieces(MarkedPieces pieces) {
  std::vector<CannedRowPiece> all;
  while (const auto piece = pieces.Next()) all.push_back(*piece);
  return all;
}

std::u16string_view CannedMarkGlyph(CannedRowPiece::Kind mark, std::u16string_view fontName) {
  const bool msFont = fontName.starts_with(u"ＭＳ ") || fontName.starts_with(u"MS ");
  if (mark == CannedRowPiece::Kind::kTabMark) return msFont ? u"\u21C0" : u"→";
  return msFont ? u"\u21B4" : u"↓";
}

std::u16string OneLineText(std::u16string_view text) {
  std::u16string line;
  line.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c == u'\r' || c == u'\n') {
      line += kBreakEscape;
      if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    } else if (c == kTab) {
      line += kTabEscape;
    } else {
      line.push_back(c);
    }
  }
  return line;
}

CannedEditFields EditFieldsOf(std::u16string_view item) {
  CannedEditFields fields;
  const std::size_t tab = item.find(kTab);
  std::u16string_view body = item;
  if (tab != std::u16string_view::npos) {
    fields.label = std::u16string(TrimControls(item.substr(0, tab)));
    body = item.substr(tab + 1);
  }
  fields.body = std::u16string(body);
  ReplaceAll(fields.body, kBreakEscape, u"\r\n");
  ReplaceAll(fields.body, kTabEscape, u"\t");
  return fields;
}

std::u16string ItemOfEditFields(std::u16string_view label, std::u16string_view body) {
  if (label.empty()) return OneLineText(body);
  return OneLineText(label) + kTab + OneLineText(body);
}

std::u16string CannedStatusRows(int selected, std::size_t rows) {
  if (selected < 0) return {};
  char text[48];
  std::snprintf(text, sizeof text, "%3u/%3u", static_cast<unsigned>(selected) + 1,
                static_cast<unsigned>(rows));
  return std::u16string(text, text + std::char_traits<char>::length(text));
}

std::u16string CannedStatusText(std::u16string_view pasteText) {
  std::u16string shown(pasteText);
  ReplaceAll(shown, u"\r\n", kBreakEscape);
  ReplaceAll(shown, u"\t", kTabEscape);
  return shown;
}
