#include "popup_menu/model/launcher_menu_model.h"

#include <map>
#include <utility>

#include "settings/settings_schema.h"
#include "settings/settings_store.h"
#include "util/file_listing.h"
#include "util/text_file.h"
#include "util/text_helpers.h"

namespace {

bool IsDriveRoot(std::u16string_view path) {
  return path.size() == 3 && path[1] == u':' && (path[2] == u'\\' || path[2] == u'/');
}

int DepthOf(const PopupItem& level) {
  int depth = 0;
  for (const PopupItem* p = level.Parent; p; p = p->Parent) ++depth;
  return depth;
}

PopupItem& Append(PopupItem& level, std::unique_ptr<PopupItem> item) {
  item->Parent = &level;
  level.Children.push_back(std::move(item));
  return *level.Children.back();
}

std::unique_ptr<PopupItem> MakeItem(std::u16string caption, int tag, bool measured,
                                    PopupClick click) {
  auto item = std::make_unique<PopupItem>();
  item->Caption = std::move(caption);
  item->Tag = tag;
  item->Measured = measured;
  item->Click = click;
  return item;
}

bool IsCommentLine(std::u16string_view line) {
  const std::u16string_view trimmed = TrimControls(line);
  return trimmed.empty() || trimmed.front() == u';';
}

// Walks the definition file's lines, one level of submenus at a time.
class DefinitionReader {
 public:
  DefinitionReader(PopupItem& root, std::vector<std::u16string> lines, std::vector<int> numbers,
                   std::vector<MenuLineNote>* notes)
      : lines_(std::move(lines)), numbers_(std::move(numbers)), notes_(notes), current_(&root) {
    for (const auto& line : lines_) {
      if (line == u"--") hasBoundary_ = true;
    }
  }

  void Run() {
    for (std::size_t n = 0; n < lines_.size(); ++n) Line(n);
    if (pendingBreak_) Note(breakLine_, MenuLineProblem::kBreakWithoutItem);
  }

 private:
  bool LineIsBar(std::size_t n) const { return n < lines_.size() && lines_[n] == u"|"; }

  void Line(std::size_t n) {
    const std::u16string_view l = TrimControls(lines_[n]);
    if (n == 0 && !hasBoundary_) {
      section_ = kPasteSection;
    } else if (l == u"--") {
      Boundary(n);
      return;
    }
    if (l == u"|") {
      pendingBreak_ = true;
      breakLine_ = n;
    } else if (l == u"<") {
      if (pendingBreak_) Note(breakLine_, MenuLineProblem::kBreakWithoutItem);
      Up(n);
      pendingBreak_ = false;
    } else if (!l.empty() && l.front() == u'>') {
      Submenu(std::u16string(l.substr(1)), n);
      pendingBreak_ = false;
    } else {
      Add(MakeOther(l));
    }
  }

  void Boundary(std::size_t n) {
    if (section_ == kPasteSection) {  // only the first boundary counts
      if (n > 0 || hasBoundary_) Note(n, MenuLineProblem::kSecondBoundary);
      return;
    }
    section_ = kPasteSection;
    // A line that does not exist counts as no column break.
    const bool barBefore = n > 0 && LineIsBar(n - 1);
    const bool last = n + 1 == lines_.size();
    if (current_->Children.empty() || barBefore || LineIsBar(n + 1) || last) return;
    Append(*current_,
           MakeItem(u"-", kLineSeparatorKind + kBoundarySection, false, PopupClick::kNone));
  }

  void Up(std::size_t n) {
    if (overflow_ > 0) {
      --overflow_;
    } else if (current_->Parent) {
      current_ = current_->Parent;
      --depth_;
    } else {
      Note(n, MenuLineProblem::kCloseWithoutSubmenu);
    }
  }

  void Submenu(std::u16string caption, std::size_t n) {
    if (depth_ >= kMaxMenuDepth) {
      ++overflow_;  // the platform cannot nest deeper: the items stay at this level
      Note(n, MenuLineProblem::kTooDeep);
      return;
    }
    auto item = MakeItem(std::move(caption), kEntryKind + section_, true, PopupClick::kNone);
    item->Break = pendingBreak_;
    current_ = &Append(*current_, std::move(item));
    ++depth_;
  }

  std::unique_ptr<PopupItem> MakeOther(std::u16string_view l) const {
    if (l == u"-") return MakeItem(u"-", kLineSeparatorKind + section_, false, PopupClick::kNone);
    if (l == u"#-") return MakeItem(u"-", kBlankKind + section_, false, PopupClick::kNone);
    if (l == u"#+") return MakeItem(u"-", kTallBlankKind + section_, true, PopupClick::kNone);
    const PopupClick click = section_ == kPasteSection ? PopupClick::kPaste : PopupClick::kLaunch;
    return MakeItem(EntryCaption(l), kEntryKind + section_, true, click);
  }

  void Add(std::unique_ptr<PopupItem> item) {
    item->Break = std::exchange(pendingBreak_, false);
    Append(*current_, std::move(item));
  }

  void Note(std::size_t n, MenuLineProblem problem) {
    if (notes_) notes_->push_back({numbers_[n], problem});
  }

  std::vector<std::u16string> lines_;
  std::vector<int> numbers_;  // each line's number in the file
  std::vector<MenuLineNote>* notes_;
  std::size_t breakLine_ = 0;
  bool hasBoundary_ = false;
  PopupItem* current_;
  int depth_ = 0;
  int overflow_ = 0;  // submenus opened beyond the deepest level and not yet closed
  int section_ = kLaunchSection;
  bool pendingBreak_ = false;
};

}  // namespace

std::u16string EntryCaption(std::u16string_view line) {
  const std::size_t tab = line.find(u'\t');
  if (tab == std::u16string_view::npos || tab + 1 == line.size()) {
    return std::u16string(line.substr(0, tab));
  }
  std::u16string caption(line.substr(0, tab + 1));
  for (char16_t c : line.substr(tab + 1)) caption.push_back(c == u'&' ? kHiddenAmpersand : c);
  return caption;
}

std::u16string_view CaptionLabel(std::u16string_view caption) {
  return caption.substr(0, caption.find(u'\t'));
}

bool HasCaptionText(std::u16string_view caption) {
  return caption.find(u'\t') != std::u16string_view::npos;
}

std::u16string_view CaptionText(std::u16string_view caption) {
  const std::size_t tab = caption.find(u'\t');
  return tab == std::u16string_view::npos ? std::u16string_view() : caption.substr(tab + 1);
}

std::u16string WithoutTrailingSeparator(std::u16string path) {
  if (!path.empty() && (path.back() == u'\\' || path.back() == u'/') && !IsDriveRoot(path)) {
    path.pop_back();
  }
  return path;
}

std::u16string JoinPath(const std::u16string& dir, std::u16string_view name) {
  std::u16string path = dir;
  if (path.empty() || (path.back() != u'\\' && path.back() != u'/')) path.push_back(u'\\');
  path.append(name);
  return path;
}

LauncherSources ReadLauncherSources(const UsrIniFile& ini, const std::u16string& exeDir,
                                    std::u16string popupFile) {
  LauncherSources sources;
  sources.PopupDir =
      ini.ReadString(u"PopupMenu", u"PopupDir", DefaultText(u"PopupMenu", u"PopupDir"));
  if (!sources.PopupDir.empty() && !HasDrivePart(sources.PopupDir)) {
    sources.PopupDir = exeDir + sources.PopupDir;
  }
  sources.PopupDir = WithoutTrailingSeparator(std::move(sources.PopupDir));
  sources.Sort = ini.ReadBool(u"PopupMenu", u"Sort", DefaultBool(u"PopupMenu", u"Sort"));
  sources.PopupFile = std::move(popupFile);
  return sources;
}

void AddPopupDirItems(PopupLauncher& /*menu*/, const FileSystem& files, const Locale& locale,
                      const std::u16string& directory, bool sorted, PopupItem& level) {
  const std::u16string dir = WithoutTrailingSeparator(directory);
  if (dir.empty() || !files.DirectoryExists(dir)) return;
  std::vector<std::u16string> paths;
  ListFiles(files, locale, dir, paths, u"LNK", sorted);
  // The prefix every listed path starts with: the folder and the separator after it.
  const std::size_t prefix = JoinPath(dir, u"").size();
  const int baseDepth = DepthOf(level);
  // Folders made so far, by their level and upper-cased name. Only folders merge: a shortcut of
  // the same name stays an item of its own.
  std::map<std::pair<const PopupItem*, std::u16string>, PopupItem*> folders;
  // The same, by the name as written: the shortcuts of one folder share its spelling, so the
  // locale is asked once per folder rather than once per shortcut.
  std::map<const PopupItem*, std::map<std::u16string, PopupItem*, std::less<>>> spelled;
  for (std::u16string& path : paths) {
    if (path.size() <= prefix) continue;
    const std::u16string_view relative = std::u16string_view(path).substr(prefix);
    PopupItem* current = &level;
    int depth = baseDepth;
    std::size_t start = 0;
    for (std::size_t sep = relative.find(u'\\'); sep != std::u16string_view::npos;
         start = sep + 1, sep = relative.find(u'\\', start)) {
      if (depth >= kMaxMenuDepth) break;  // deeper shortcuts join the deepest level
      const std::u16string_view name = relative.substr(start, sep - start);
      auto& spellings = spelled[current];
      const auto known = spellings.find(name);
      if (known != spellings.end()) {
        current = known->second;
        ++depth;
        continue;
      }
      auto key = std::make_pair(static_cast<const PopupItem*>(current), locale.ToUpper(name));
      auto found = folders.find(key);
      if (found == folders.end()) {
        PopupItem& folder = Append(
            *current,
            MakeItem(std::u16string(name), kEntryKind + kLaunchSection, true, PopupClick::kNone));
        found = folders.emplace(std::move(key), &folder).first;
      }
      spellings.emplace(std::u16string(name), found->second);
      current = found->second;
      ++depth;
    }
    const std::u16string_view fileName = relative.substr(relative.rfind(u'\\') + 1);
    std::u16string caption(fileName.substr(0, fileName.rfind(u'.')));
    auto item =
        MakeItem(std::move(caption), kEntryKind + kLaunchSection, true, PopupClick::kLaunch);
    item->Path = std::move(path);
    Append(*current, std::move(item));
  }
}

void AddDefinitionItems(PopupLauncher& menu, const std::vector<std::u16string>& lines,
                        std::vector<MenuLineNote>* notes) {
  std::vector<std::u16string> kept;
  std::vector<int> numbers;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (IsCommentLine(lines[i])) continue;
    kept.push_back(lines[i]);
    numbers.push_back(static_cast<int>(i) + 1);
  }
  DefinitionReader(*menu.root, std::move(kept), std::move(numbers), notes).Run();
}

PopupLauncher BuildLauncherMenu(const LauncherSources& sources, const FileSystem& files,
                                const CodePage& codePage, const Locale& locale) {
  PopupLauncher menu;
  if (!sources.PopupDir.empty()) {
    AddPopupDirItems(menu, files, locale, sources.PopupDir, sources.Sort, *menu.root);
  }
  if (!sources.PopupFile.empty() && files.FileExists(sources.PopupFile)) {
    // A file that cannot be read now leaves the menu without its entries; the load goes on.
    if (const auto bytes = files.ReadAll(sources.PopupFile)) {
      KeptLineBytes kept;
      AddDefinitionItems(menu, DecodeLines(*bytes, codePage, kept).lines);
    }
  }
  AssignCommands(menu);
  return menu;
}

void AssignCommands(PopupLauncher& menu) {
  menu.commands.assign(1, nullptr);
  // Menu order, without recursion: a stack of (level, next child).
  std::vector<std::pair<const PopupItem*, std::size_t>> stack{{menu.root.get(), 0}};
  while (!stack.empty()) {
    auto& [level, next] = stack.back();
    if (next == level->Children.size()) {
      stack.pop_back();
      continue;
    }
    PopupItem& item = *level->Children[next++];
    item.Command = 0;
    if (item.Click != PopupClick::kNone && menu.commands.size() <= kMaxCommandId) {
      item.Command = static_cast<std::uint16_t>(menu.commands.size());
      menu.commands.push_back(&item);
    }
    if (!item.Children.empty()) stack.emplace_back(&item, 0);
  }
}

LauncherOptions ReadLauncherOptions(const UsrIniFile& ini, const FontDescription& mainFont) {
  constexpr std::u16string_view s = u"PopupMenu";
  LauncherOptions o;
  o.Font = ini.ReadFont(s, &mainFont);
  o.FgColorL = ini.ReadColor(s, u"FgColorL", DefaultColour(s, u"FgColorL"));
  o.BgColorL = ini.ReadColor(s, u"BgColorL", DefaultColour(s, u"BgColorL"));
  o.SelFgColorL = ini.ReadColor(s, u"SelFgColorL", DefaultColour(s, u"SelFgColorL"));
  o.SelBgColorL = ini.ReadColor(s, u"SelBgColorL", DefaultColour(s, u"SelBgColorL"));
  o.FgColorP = ini.ReadColor(s, u"FgColorP", DefaultColour(s, u"FgColorP"));
  o.BgColorP = ini.ReadColor(s, u"BgColorP", DefaultColour(s, u"BgColorP"));
  o.SelFgColorP = ini.ReadColor(s, u"SelFgColorP", DefaultColour(s, u"SelFgColorP"));
  o.SelBgColorP = ini.ReadColor(s, u"SelBgColorP", DefaultColour(s, u"SelBgColorP"));
  o.AkColor = ini.ReadColor(s, u"AkColor", DefaultColour(s, u"AkColor"));
  o.SelAkColor = ini.ReadColor(s, u"SelAkColor", DefaultColour(s, u"SelAkColor"));
  o.PosX = ini.ReadInteger(s, u"PosX", DefaultInteger(s, u"PosX"));
  o.PosY = ini.ReadInteger(s, u"PosY", DefaultInteger(s, u"PosY"));
  o.SelRaised = ini.ReadBool(s, u"SelRaised", DefaultBool(s, u"SelRaised"));
  o.NoAkUnderline = ini.ReadBool(s, u"NoAkUnderline", DefaultBool(s, u"NoAkUnderline"));
  o.AkBold = ini.ReadBool(s, u"AkBold", DefaultBool(s, u"AkBold"));
  o.MinWidth = ini.ReadInteger(s, u"MinWidth", DefaultInteger(s, u"MinWidth"));
  o.ItemHeight = ini.ReadInteger(s, u"ItemHeight", DefaultInteger(s, u"ItemHeight"));
  return o;
}

LauncherState LoadLauncherState(const UsrIniFile& ini, const std::u16string& exeDir,
                                const std::u16string& popupFile, const FontDescription& mainFont,
                                const FileSystem& files, const CodePage& codePage,
                                const Locale& locale) {
  LauncherState state;
  state.options = ReadLauncherOptions(ini, mainFont);
  state.sources = ReadLauncherSources(ini, exeDir, popupFile);
  state.menu = BuildLauncherMenu(state.sources, files, codePage, locale);
  return state;
}
