// The launcher menu's definition file as users write it: any bytes in any encoding. The whole
// input is the file. Properties:
// - the menu is a sound tree: every item knows its parent, no submenu is deeper than the
//   platform's menus nest, separators and submenus are never chosen;
// - command identifiers go to the items that can be chosen in menu order, 1, 2, 3, ..., each
//   finds its item again, and none is beyond the 16 bits a command has;
// - the text part of an entry's caption holds no "&" (it would act as an accelerator);
// - no more items than lines: every line gives at most one item (and the first boundary one
//   separator);
// - the encoding does not matter: the same lines saved as UTF-16 with a mark give the same menu.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "popup_menu/model/launcher_menu_model.h"
#include "support/fake_locale.h"
#include "support/memory_file_system.h"
#include "support/system_code_page.h"
#include "util/text_file.h"

namespace {

const std::u16string kFile = u"C:\\Kelvo\\KelvoMenu.txt";

PopupLauncher Build(const std::string& bytes) {
  MemoryFileSystem files;
  files.files[kFile] = bytes;
  LauncherSources sources;
  sources.PopupFile = kFile;
  const FakeLocale locale;
  return BuildLauncherMenu(sources, files, SystemCodePage(), locale);
}

struct Walk {
  std::size_t items = 0;
  std::vector<const PopupItem*> choosable;  // in menu order
};

// depth: the submenus the level is in.
void CheckLevel(const PopupItem& level, int depth, Walk& walk) {
  FUZZ_CHECK(depth <= kMaxMenuDepth, "items in " + std::to_string(depth) + " nested submenus");
  for (const auto& child : level.Children) {
    const PopupItem& item = *child;
    ++walk.items;
    FUZZ_CHECK(item.Parent == &level, "parent of " + Shown(item.Caption));
    if (item.IsSeparator() || !item.Children.empty()) {
      FUZZ_CHECK(item.Click == PopupClick::kNone, "a separator or submenu can be chosen");
    }
    if (item.Click != PopupClick::kNone) {
      FUZZ_CHECK(CaptionText(item.Caption).find(u'&') == std::u16string_view::npos,
                 "an accelerator in the text of " + Shown(item.Caption));
    }
    if (item.Click != PopupClick::kNone) walk.choosable.push_back(&item);
    if (item.Click == PopupClick::kNone) FUZZ_CHECK(item.Command == 0, "a command for nothing");
    if (!item.Children.empty()) CheckLevel(item, depth + 1, walk);
  }
}

bool SameTree(const PopupItem& a, const PopupItem& b) {
  if (a.Caption != b.Caption || a.Tag != b.Tag || a.Break != b.Break || a.Measured != b.Measured ||
      a.Click != b.Click || a.Command != b.Command || a.Children.size() != b.Children.size()) {
    return false;
  }
  for (std::size_t i = 0; i < a.Children.size(); ++i) {
    if (!SameTree(*a.Children[i], *b.Children[i])) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const PopupLauncher menu = Build(bytes);

  Walk walk;
  CheckLevel(*menu.root, 0, walk);
  FUZZ_CHECK(menu.commands.size() >= 1 && menu.commands[0] == nullptr, "command 0 is nothing");
  FUZZ_CHECK(menu.commands.size() - 1 <= kMaxCommandId, "more commands than 16 bits hold");
  for (std::size_t i = 0; i < walk.choosable.size(); ++i) {
    const PopupItem& item = *walk.choosable[i];
    if (i + 1 < menu.commands.size()) {
      FUZZ_CHECK(item.Command == i + 1 && menu.ByCommand(item.Command) == &item,
                 "command of item " + std::to_string(i) + ": " + std::to_string(item.Command));
    } else {
      FUZZ_CHECK(item.Command == 0, "an item beyond the identifiers has one");
    }
  }

  KeptLineBytes kept;
  const DecodedLines decoded = DecodeLines(bytes, SystemCodePage(), kept);
  FUZZ_CHECK(walk.items <= decoded.lines.size() + 1, std::to_string(walk.items) + " items from " +
                                                         std::to_string(decoded.lines.size()) +
                                                         " lines");

  std::u16string text;
  for (const std::u16string& line : decoded.lines) text += line + u"\r\n";
  const PopupLauncher again = Build(EncodeUtf16(text, false));
  FUZZ_CHECK(SameTree(*menu.root, *again.root), "the same lines in UTF-16 give another menu");
  return 0;
}
