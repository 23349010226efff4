// The hotkey list's rows. The input holds several hotkeys: each is a combination (three bytes)
// and its keys (Description, Command, Execute1, ExeParam1, the window tests of slot 1, ZrMacro,
// Sound, WallPaper) as texts separated by NUL; a line break ends a hotkey. Properties:
// - a row is the combination's text, a tab and the summary, and the row layout gives back both
//   columns whatever the summary holds (tabs included);
// - the summary is empty only when none of the keys it looks at has a value; a description wins,
//   then the command, then the program (with its parameters at the end);
// - rows come sorted by the locale's case-insensitive order, hotkeys of equal text in table
//   order, and only the global hotkeys are listed.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "fuzz_support.h"
#include "hotkeylist/model/hotkey_summary.h"
#include "support/fake_hotkey_registrar.h"
#include "support/fake_keyboard_layout.h"
#include "support/fake_locale.h"

namespace {

std::vector<std::u16string> Split(std::u16string_view text, char16_t separator) {
  std::vector<std::u16string> parts;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find(separator, start);
    parts.emplace_back(text.substr(start, end - start));
    if (end == std::u16string_view::npos) return parts;
    start = end + 1;
  }
}

void Fill(HKeyRec& rec, const std::vector<std::u16string>& keys) {
  // The second key is the command, which the record parses as it takes it.
  std::u16string command;
  std::u16string* fields[] = {
      &rec.Description,
      &command,
      &rec.Execute[0],
      &rec.ExeParam[0],
      &rec.ActivateWndClass[0],
      &rec.ActivateWndTitle[0],
      &rec.ActivateWndTitleR[0],
      &rec.ActivateWndTitleM[0],
      &rec.CloseWndClass[0],
      &rec.CloseWndTitle[0],
      &rec.CloseWndTitleR[0],
      &rec.CloseWndTitleM[0],
      &rec.MinimizeWndClass[0],
      &rec.MinimizeWndTitle[0],
      &rec.MinimizeWndTitleR[0],
      &rec.MinimizeWndTitleM[0],
      &rec.ZrMacro,
      &rec.Sound,
      &rec.WallPaper,
  };
  for (std::size_t i = 0; i < keys.size() && i < std::size(fields); ++i) *fields[i] = keys[i];
  rec.SetCommand(std::move(command));
}

bool AnyShown(const HKeyRec& rec) {
  if (!rec.Command().empty()) return true;
  for (const std::u16string* field :
       {&rec.Description, &rec.Execute[0], &rec.ActivateWndClass[0], &rec.ActivateWndTitle[0],
        &rec.ActivateWndTitleR[0], &rec.ActivateWndTitleM[0], &rec.CloseWndClass[0],
        &rec.CloseWndTitle[0], &rec.CloseWndTitleR[0], &rec.CloseWndTitleM[0],
        &rec.MinimizeWndClass[0], &rec.MinimizeWndTitle[0], &rec.MinimizeWndTitleR[0],
        &rec.MinimizeWndTitleM[0], &rec.ZrMacro, &rec.Sound, &rec.WallPaper}) {
    if (!field->empty()) return true;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static FakeKeyboardLayout layout;
  static const KeyNameTable names(layout);
  FakeHotKeyRegistrar registrar;
  FakeLocale locale;
  HKeyList list;
  int id = kFirstGlobalHotKeyId - 2;  // two entries that are not global hotkeys come first
  for (const std::u16string& entry : Split(FuzzText(data, size), u'\n')) {
    if (entry.size() < 3 || id > kLastGlobalHotKeyId + 2) continue;
    const HKeyShortCut shortCut =
        (entry[0] & 0xFF) | ((entry[1] << 8) & 0xE000) | ((entry[2] & 1) ? kWinFlag : 0);
    auto rec = std::make_unique<HKeyRec>(registrar, 1, id++, shortCut);
    Fill(*rec, Split(std::u16string_view(entry).substr(3), u'\0'));

    const std::u16string summary = HotKeySummary(*rec);
    FUZZ_CHECK(summary.empty() == !AnyShown(*rec), "summary " + Shown(summary));
    if (!rec->Description.empty()) {
      FUZZ_CHECK(summary == rec->Description, Shown(summary));
    } else if (!rec->Command().empty()) {
      FUZZ_CHECK(summary.ends_with(rec->Command()), Shown(summary));
    } else if (!rec->Execute[0].empty() && !rec->ExeParam[0].empty()) {
      FUZZ_CHECK(summary.ends_with(u" " + rec->ExeParam[0]), Shown(summary));
    }
    const std::u16string row = HotKeyToText(rec->ShortCut, names) + u"\t" + summary;
    const HotKeyRowLayout columns = LayoutHotKeyRow(row, 10);
    FUZZ_CHECK(columns.left == HotKeyToText(rec->ShortCut, names) && columns.right == summary,
               "columns of " + Shown(row));
    list.push_back(std::move(rec));
  }

  const std::vector<std::u16string> rows = HotKeyListRows(list, names, locale);
  std::vector<std::u16string> expected;
  for (const auto& rec : list) {
    if (rec->Id < kFirstGlobalHotKeyId || rec->Id > kLastGlobalHotKeyId) continue;
    expected.push_back(HotKeyToText(rec->ShortCut, names) + u"\t" + HotKeySummary(*rec));
  }
  FUZZ_CHECK(rows.size() == expected.size(), "row count");
  // Sorted, and rows of equal order in table order: the rows are the stable sort of the table's.
  std::vector<std::u16string> sorted = expected;
  std::stable_sort(sorted.begin(), sorted.end(),
                   [&](const std::u16string& a, const std::u16string& b) {
                     return locale.CompareNoCase(a, b) < 0;
                   });
  FUZZ_CHECK(rows == sorted, "order of the rows");
  return 0;
}
