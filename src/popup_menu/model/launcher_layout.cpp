#include "popup_menu/model/launcher_layout.h"

#include <algorithm>

#include "base/text_codec.h"

namespace {

constexpr int kTextLeft = 8;
constexpr int kWidthPadding = 12;
constexpr int kRaisedExtra = 2;
constexpr int kSeparatorInset = 4;

bool IsPasteSection(int tag) { return (tag & 1) == 0; }

}  // namespace

ItemSize MeasureLauncherItem(const PopupItem& item, std::u16string_view label,
                             const LauncherOptions& options, const LauncherTextMeasure& measure,
                             int separatorHeight) {
  if (!item.Measured) return ItemSize{0, separatorHeight};
  ItemSize size;
  size.width = measure.Width(label, false) + kWidthPadding;
  size.height = measure.BarHeight();
  if (options.SelRaised) size.height += kRaisedExtra;
  size.height = std::max(size.height, options.ItemHeight);
  size.width = std::max(size.width, options.MinWidth);
  return size;
}

bool AcceleratorUnderlined(const LauncherOptions& options) { return !options.NoAkUnderline; }

bool AcceleratorAddsBold(const LauncherOptions& options) {
  return options.AkBold && !options.Font.bold;
}

ItemPaint LayoutLauncherItem(const PopupItem& item, std::u16string_view label, LayoutRect rect,
                             bool selected, const LauncherOptions& o,
                             const LauncherTextMeasure& measure) {
  ItemPaint paint;
  const bool paste = IsPasteSection(item.Tag);
  if (selected) {
    paint.background = paste ? o.SelBgColorP : o.SelBgColorL;
  } else {
    paint.background = paste ? o.BgColorP : o.BgColorL;
  }
  const std::uint32_t text =
      selected ? (paste ? o.SelFgColorP : o.SelFgColorL) : (paste ? o.FgColorP : o.FgColorL);
  const int kind = item.Kind();
  if (kind == kLineSeparatorKind) {
    LayoutRect lower = rect;
    lower.top += kSeparatorInset;
    // The paste section and the boundary show the paste background below the line.
    if (item.Tag & 4) paint.pasteFill = lower;
    paint.etchedLine = lower;
    return paint;
  }
  if (kind != kEntryKind) return paint;  // blank separators show only the background
  paint.raisedEdge = selected && o.SelRaised;
  int x = rect.left + kTextLeft;
  const int y = rect.top + (rect.bottom - rect.top - measure.BarHeight()) / 2;
  const std::size_t amp = label.find(u'&');
  if (amp == std::u16string_view::npos) {
    paint.runs.push_back(TextRun{std::u16string(label), x, y, text, false});
    return paint;
  }
  const std::u16string_view before = label.substr(0, amp);
  if (!before.empty()) paint.runs.push_back(TextRun{std::u16string(before), x, y, text, false});
  x += measure.Width(before, false);
  if (amp + 1 >= label.size()) return paint;  // a trailing "&" marks nothing
  // The marked character whole: an emoji after "&" is one character of two units.
  const std::u16string_view key = label.substr(amp + 1, CharacterUnits(label, amp + 1));
  paint.runs.push_back(
      TextRun{std::u16string(key), x, y, selected ? o.SelAkColor : o.AkColor, true});
  x += measure.Width(key, true);
  const std::u16string_view rest = label.substr(amp + 1 + key.size());
  if (!rest.empty()) paint.runs.push_back(TextRun{std::u16string(rest), x, y, text, false});
  return paint;
}

std::optional<char16_t> AcceleratorOf(std::u16string_view label) {
  const std::size_t amp = label.find(u'&');
  if (amp == std::u16string_view::npos || amp + 1 >= label.size()) return std::nullopt;
  return label[amp + 1];
}

MenuCharAnswer MatchAccelerator(const std::vector<std::u16string>& labels, char16_t typed,
                                std::optional<std::size_t> selected, const Locale& locale) {
  const std::u16string wanted = locale.ToUpper(std::u16string_view(&typed, 1));
  std::vector<std::size_t> matches;
  for (std::size_t i = 0; i < labels.size(); ++i) {
    const std::optional<char16_t> key = AcceleratorOf(labels[i]);
    if (key && locale.ToUpper(std::u16string_view(&*key, 1)) == wanted) matches.push_back(i);
  }
  MenuCharAnswer answer;
  if (matches.empty()) return answer;
  if (matches.size() == 1) {
    answer.action = MenuCharAnswer::Action::kExecute;
    answer.index = matches.front();
    return answer;
  }
  answer.action = MenuCharAnswer::Action::kSelect;
  answer.index = matches.front();
  if (selected) {
    const auto next = std::upper_bound(matches.begin(), matches.end(), *selected);
    if (next != matches.end()) answer.index = *next;
  }
  return answer;
}
