#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/locale.h"
#include "popup_menu/model/launcher_menu_model.h"

// Text sizes in the launcher's font, as the painting window measures them.
class LauncherTextMeasure {
 public:
  virtual ~LauncherTextMeasure() = default;
  // Width of the text in the item font, or in the accelerator's font (bold when that is asked).
  virtual int Width(std::u16string_view text, bool accelerator) const = 0;
  // Height of "|" in the item font.
  virtual int BarHeight() const = 0;
};

struct ItemSize {
  int width = 0;
  int height = 0;
};

// The size of an item whose label (already expanded) is given. Items that are not measured by
// Kelvo (line and blank separators, the boundary) get the platform's small separator height.
ItemSize MeasureLauncherItem(const PopupItem& item, std::u16string_view label,
                             const LauncherOptions& options, const LauncherTextMeasure& measure,
                             int separatorHeight);

struct LayoutRect {
  int left = 0, top = 0, right = 0, bottom = 0;
};

// One piece of text to draw with a transparent background.
struct TextRun {
  std::u16string text;
  int x = 0;
  int y = 0;
  std::uint32_t colour = 0;  // a settings colour (system colours resolved when painting)
  bool accelerator = false;  // drawn in the accelerator's font
};

// Everything painting an item decides, without a device context.
struct ItemPaint {
  std::uint32_t background = 0;  // fills the whole rectangle
  // Separators: the paste background below the line, and the etched line along its top.
  std::optional<LayoutRect> pasteFill;
  std::optional<LayoutRect> etchedLine;
  bool raisedEdge = false;  // a raised frame around the whole rectangle
  std::vector<TextRun> runs;
};

ItemPaint LayoutLauncherItem(const PopupItem& item, std::u16string_view label, LayoutRect rect,
                             bool selected, const LauncherOptions& options,
                             const LauncherTextMeasure& measure);

// The accelerator's font: underlined unless switched off, bold when asked and the font is not
// bold already.
bool AcceleratorUnderlined(const LauncherOptions& options);
bool AcceleratorAddsBold(const LauncherOptions& options);

// The character after the first "&" of a label; nothing when there is none or the "&" ends it.
std::optional<char16_t> AcceleratorOf(std::u16string_view label);

// What a typed character does in an open menu level.
struct MenuCharAnswer {
  enum class Action { kNone, kExecute, kSelect } action = Action::kNone;
  std::size_t index = 0;
};

// labels: the labels of the level's items by position (empty for separators); selected: the
// highlighted position, if any. One match is executed; of several, the next after the selection
// is selected. Letter case does not matter.
MenuCharAnswer MatchAccelerator(const std::vector<std::u16string>& labels, char16_t typed,
                                std::optional<std::size_t> selected, const Locale& locale);
