#include "hotkeylist/model/hotkey_summary.h"

#include <algorithm>
#include <initializer_list>
#include <numeric>

#include "base/text_case.h"
#include "util/path_text.h"

namespace {

constexpr char16_t kColumnSeparator = u'\t';

// Programs show by their file name alone; documents keep their whole path, which says more.
bool IsProgramFile(std::u16string_view path) {
  const std::u16string_view ext = FileExtension(path);
  return EqualsNoCase(ext, u".EXE") || EqualsNoCase(ext, u".COM") || EqualsNoCase(ext, u".BAT");
}

std::u16string ProgramSummary(const HKeyRec& rec) {
  const std::u16string& program = rec.Execute[0];
  std::u16string text(IsProgramFile(program) ? FileNamePart(program) : program);
  if (!rec.ExeParam[0].empty()) text += u" " + rec.ExeParam[0];
  return text;
}

// The label followed by the non-empty window tests joined by ","; empty when all are empty.
std::u16string WindowTestsSummary(std::u16string_view label,
                                  std::initializer_list<const std::u16string*> tests) {
  std::u16string joined;
  for (const std::u16string* test : tests) {
    if (test->empty()) continue;
    if (!joined.empty()) joined += u",";
    joined += *test;
  }
  return joined.empty() ? std::u16string() : std::u16string(label) + joined;
}

std::u16string Labelled(std::u16string_view label, const std::u16string& value) {
  return std::u16string(label) + value;
}

}  // namespace

std::u16string HotKeySummary(const HKeyRec& rec) {
  if (!rec.Description.empty()) return rec.Description;
  if (!rec.Command().empty()) return Labelled(u"コマンド: ", rec.Command());
  if (!rec.Execute[0].empty()) return ProgramSummary(rec);
  std::u16string tests =
      WindowTestsSummary(u"アクティブ: ", {&rec.ActivateWndClass[0], &rec.ActivateWndTitle[0],
                                           &rec.ActivateWndTitleR[0], &rec.ActivateWndTitleM[0]});
  if (!tests.empty()) return tests;
  tests = WindowTestsSummary(u"閉じる: ", {&rec.CloseWndClass[0], &rec.CloseWndTitle[0],
                                           &rec.CloseWndTitleR[0], &rec.CloseWndTitleM[0]});
  if (!tests.empty()) return tests;
  tests = WindowTestsSummary(u"最小化: ", {&rec.MinimizeWndClass[0], &rec.MinimizeWndTitle[0],
                                           &rec.MinimizeWndTitleR[0], &rec.MinimizeWndTitleM[0]});
  if (!tests.empty()) return tests;
  if (!rec.ZrMacro.empty()) return Labelled(u"ZRマクロ: ", rec.ZrMacro);
  if (!rec.Sound.empty()) return Labelled(u"サウンド: ", rec.Sound);
  if (!rec.WallPaper.empty()) return Labelled(u"壁紙: ", rec.WallPaper);
  return {};
}

std::vector<std::u16string> HotKeyListRows(const HKeyList& list, const KeyNameTable& names,
                                           const Locale& locale) {
  std::vector<std::u16string> rows;
  for (const auto& rec : list) {
    if (!rec || rec->Id < kFirstGlobalHotKeyId || rec->Id > kLastGlobalHotKeyId) continue;
    rows.push_back(HotKeyToText(rec->ShortCut, names) + kColumnSeparator + HotKeySummary(*rec));
  }
  // One locale call per row instead of one per comparison.
  std::vector<std::string> keys;
  keys.reserve(rows.size());
  for (const std::u16string& row : rows) keys.push_back(locale.SortKeyNoCase(row));
  std::vector<std::size_t> order(rows.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(),
                   [&keys](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });
  std::vector<std::u16string> sorted;
  sorted.reserve(rows.size());
  for (std::size_t index : order) sorted.push_back(std::move(rows[index]));
  return sorted;
}

HotKeyRowLayout LayoutHotKeyRow(std::u16string_view row, int widestDisplayTextWidth) {
  HotKeyRowLayout layout;
  const std::size_t tab = row.find(kColumnSeparator);
  layout.left = std::u16string(row.substr(0, tab));
  if (tab != std::u16string_view::npos) layout.right = std::u16string(row.substr(tab + 1));
  layout.rightX = widestDisplayTextWidth + kHotKeySummaryGap;
  return layout;
}
