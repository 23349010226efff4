#include "popup_menu/window/launcher_menu_win.h"

#include <vector>

#include "ui/colour_win.h"
#include "ui/dpi_win.h"
#include "ui/font_win.h"
#include "ui/owned_gdi_objects_win.h"
#include "ui/row_text_win.h"
#include "util/text_macros.h"
#include "win32/wide_win.h"

namespace {

const PopupItem* ItemOf(ULONG_PTR data) { return reinterpret_cast<const PopupItem*>(data); }

void Fill(HDC dc, const RECT& rect, std::uint32_t colour) {
  const BrushHandle brush = owned::CreateSolidBrush(ResolveColour(colour));
  FillRect(dc, &rect, brush.get());
}

RECT ToRect(const LayoutRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

}  // namespace

// Text sizes in a device context with the menu's fonts.
class LauncherMenuWin::Measure : public LauncherTextMeasure {
 public:
  Measure(HDC dc, HFONT font, HFONT accelerator, int barHeight)
      : dc_(dc), font_(font), accelerator_(accelerator), barHeight_(barHeight) {}
  int Width(std::u16string_view text, bool accelerator) const override {
    if (text.empty()) return 0;
    const SelectedObject selected(dc_, accelerator ? accelerator_ : font_);
    return RowTextWidth(dc_, text);
  }
  int BarHeight() const override { return barHeight_; }

 private:
  HDC dc_;
  HFONT font_;
  HFONT accelerator_;
  int barHeight_;
};

std::u16string LauncherMenuWin::Label(const PopupItem& item) const {
  const std::u16string_view label = CaptionLabel(item.Caption);
  // Every escape and macro starts with a backslash; most labels have none, and expanding asks
  // the clock and the locale.
  if (label.find(u'\\') == std::u16string_view::npos) return std::u16string(label);
  return ExpandMacros(label, clock_, locale_);
}

MenuHandle LauncherMenuWin::BuildMenus() {
  levels_.clear();
  filled_.clear();
  MenuHandle root = owned::CreatePopupMenu();
  if (root) FillMenu(root.get(), *state_.menu.root);
  return root;
}

void LauncherMenuWin::FillMenu(HMENU menu, const PopupItem& level) {
  levels_[menu] = &level;
  filled_[menu] = true;
  UINT position = 0;
  for (const auto& child : level.Children) {
    const PopupItem& item = *child;
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_DATA | MIIM_STATE;
    info.fType = MFT_OWNERDRAW | (item.Break ? MFT_MENUBARBREAK : 0);
    // Separators are known by their kind, never by their caption.
    if (item.IsSeparator()) {
      info.fType |= MFT_SEPARATOR;
      info.fState = MFS_DISABLED;
    }
    info.wID = item.Command;
    info.dwItemData = reinterpret_cast<ULONG_PTR>(&item);
    if (!item.IsSeparator() && !item.Children.empty()) {
      if (MenuHandle made = owned::CreatePopupMenu()) {
        // The parent menu destroys its submenus with itself.
        HMENU sub = made.release();
        info.fMask |= MIIM_SUBMENU;
        info.hSubMenu = sub;
        levels_[sub] = &item;
        filled_[sub] = false;
      }
    }
    InsertMenuItemW(menu, position++, TRUE, &info);
  }
}

void LauncherMenuWin::Load(LauncherOptions options, LauncherSources sources,
                           const FileSystem& files, const CodePage& codePage,
                           const Locale& locale) {
  listing_.reset();  // a listing still running is waited for: its result is stale
  state_.options = std::move(options);
  state_.sources = std::move(sources);
  if (state_.sources.PopupDir.empty() && state_.sources.PopupFile.empty()) {
    // Nothing to read: the menu is made here, and no thread is started for it (~1 ms of every
    // start under Wine for a user without a launcher menu).
    state_.menu = BuildLauncherMenu(state_.sources, files, codePage, locale);
    return;
  }
  listing_ = std::make_unique<BackgroundTask<PopupLauncher>>(
      [sources = state_.sources, &files, &codePage, &locale] {
        return BuildLauncherMenu(sources, files, codePage, locale);
      },
      nullptr);
}

void LauncherMenuWin::TakeListedItems() {
  if (!listing_) return;
  if (auto items = listing_->Take()) state_.menu = std::move(*items);
  listing_.reset();
}

std::optional<ChosenItem> LauncherMenuWin::Track(POINT at) {
  if (open_) return std::nullopt;
  TakeListedItems();
  const MenuHandle menu = BuildMenus();
  if (!menu) return std::nullopt;
  const UINT dpi = WindowDpi(owner_);
  font_ = CreateSettingsFont(state_.options.Font, dpi);
  measureDC_ = owned::CreateCompatibleDC(nullptr);
  if (!measureDC_) return std::nullopt;
  SelectObject(measureDC_.get(), font_.get());
  SIZE bar{};
  GetTextExtentPoint32W(measureDC_.get(), L"|", 1, &bar);
  barHeight_ = bar.cy;
  LOGFONTW accelerator = SettingsLogFont(state_.options.Font, dpi);
  accelerator.lfUnderline = AcceleratorUnderlined(state_.options) ? TRUE : FALSE;
  if (AcceleratorAddsBold(state_.options)) accelerator.lfWeight = FW_BOLD;
  acceleratorFont_ = owned::CreateFontIndirectW(&accelerator);
  open_ = true;
  const UINT chosen = static_cast<UINT>(
      TrackPopupMenuEx(menu.get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD | TPM_RIGHTBUTTON,
                       at.x, at.y, owner_, nullptr));
  open_ = false;
  // Without it the next menu of this window may not open at the first try.
  PostMessageW(owner_, WM_NULL, 0, 0);
  levels_.clear();
  filled_.clear();
  measureDC_.reset();  // before the font it holds
  font_.reset();
  acceleratorFont_.reset();
  const PopupItem* item = state_.menu.ByCommand(chosen);
  if (!item) return std::nullopt;
  return CopyChosenItem(*item);
}

std::optional<LRESULT> LauncherMenuWin::HandleMenuMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (!open_) return std::nullopt;
  switch (msg) {
    case WM_MEASUREITEM: {
      auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
      if (mis->CtlType != ODT_MENU || !OnMeasureItem(*mis)) return std::nullopt;
      return TRUE;
    }
    case WM_DRAWITEM: {
      const auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
      if (dis->CtlType != ODT_MENU || !OnDrawItem(*dis)) return std::nullopt;
      return TRUE;
    }
    case WM_INITMENUPOPUP: {
      HMENU menu = reinterpret_cast<HMENU>(wp);
      const auto found = filled_.find(menu);
      if (found == filled_.end()) return std::nullopt;
      if (!found->second) FillMenu(menu, *levels_[menu]);
      return 0;
    }
    case WM_MENUCHAR:
      return OnMenuChar(static_cast<char16_t>(LOWORD(wp)), reinterpret_cast<HMENU>(lp));
    default:
      return std::nullopt;
  }
}

bool LauncherMenuWin::OnMeasureItem(MEASUREITEMSTRUCT& mis) {
  const PopupItem* item = ItemOf(mis.itemData);
  if (!item) return false;
  const Measure measure(measureDC_.get(), font_.get(), acceleratorFont_.get(), barHeight_);
  const ItemSize size = MeasureLauncherItem(*item, Label(*item), state_.options, measure,
                                            GetSystemMetrics(SM_CYMENUSIZE) / 2);
  mis.itemWidth = static_cast<UINT>(size.width);
  mis.itemHeight = static_cast<UINT>(size.height);
  return true;
}

bool LauncherMenuWin::OnDrawItem(const DRAWITEMSTRUCT& dis) {
  const PopupItem* item = ItemOf(dis.itemData);
  if (!item) return false;
  HDC dc = dis.hDC;
  // A long menu reaches below the screen; what cannot be seen is not drawn.
  if (!RectVisible(dc, &dis.rcItem)) return true;
  const Measure measure(dc, font_.get(), acceleratorFont_.get(), barHeight_);
  const LayoutRect rect{dis.rcItem.left, dis.rcItem.top, dis.rcItem.right, dis.rcItem.bottom};
  const bool selected = (dis.itemState & ODS_SELECTED) != 0 && !item->IsSeparator();
  const ItemPaint paint =
      LayoutLauncherItem(*item, Label(*item), rect, selected, state_.options, measure);
  Fill(dc, dis.rcItem, paint.background);
  if (paint.pasteFill) Fill(dc, ToRect(*paint.pasteFill), state_.options.BgColorP);
  if (paint.etchedLine) {
    RECT line = ToRect(*paint.etchedLine);
    DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
  }
  if (paint.raisedEdge) {
    RECT frame = dis.rcItem;
    DrawEdge(dc, &frame, EDGE_RAISED, BF_RECT);
  }
  if (paint.runs.empty()) return true;
  const SavedTextColors colours(dc, GetTextColor(dc), GetBkColor(dc));
  for (const TextRun& run : paint.runs) {
    const SelectedObject font(dc, run.accelerator ? acceleratorFont_.get() : font_.get());
    SetTextColor(dc, ResolveColour(run.colour));
    DrawRowText(dc, run.x, run.y, run.text, dis.rcItem.right - run.x);
  }
  return true;
}

std::optional<LRESULT> LauncherMenuWin::OnMenuChar(char16_t typed, HMENU menu) {
  const auto found = levels_.find(menu);
  if (found == levels_.end()) return std::nullopt;
  const PopupItem& level = *found->second;
  std::vector<std::u16string> labels;
  std::optional<std::size_t> selected;
  for (std::size_t i = 0; i < level.Children.size(); ++i) {
    const PopupItem& item = *level.Children[i];
    labels.push_back(item.IsSeparator() ? std::u16string() : Label(item));
    if (GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_HILITE) selected = i;
  }
  const MenuCharAnswer answer = MatchAccelerator(labels, typed, selected, locale_);
  switch (answer.action) {
    case MenuCharAnswer::Action::kExecute:
      return MAKELRESULT(answer.index, MNC_EXECUTE);
    case MenuCharAnswer::Action::kSelect:
      return MAKELRESULT(answer.index, MNC_SELECT);
    default:
      return MAKELRESULT(0, MNC_IGNORE);
  }
}
