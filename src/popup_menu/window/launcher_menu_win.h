#pragma once
#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>

#include "platform/clock.h"
#include "popup_menu/model/launcher_actions.h"
#include "popup_menu/model/launcher_layout.h"
#include "popup_menu/model/launcher_menu_model.h"
#include "ui/gdi_win.h"
#include "util/background_task.h"

// The launcher menu on the screen: an owner-drawn popup menu of the owner window, built anew
// from the model at every open (sizes of items with date macros change from one open to the
// next, and the system keeps measured sizes until a menu changes).
class LauncherMenuWin {
 public:
  LauncherMenuWin(HWND owner, const Clock& clock, const Locale& locale)
      : owner_(owner), clock_(clock), locale_(locale) {}

  // The state of the last settings load: the options and sources at once, the items listed on
  // a thread of their own (a tree of thousands of shortcuts took a third of a second, and every
  // reload waited for it). A menu opened before the listing is done waits for it; a load that
  // comes while one still lists takes over once that one has finished.
  void Load(LauncherOptions options, LauncherSources sources, const FileSystem& files,
            const CodePage& codePage, const Locale& locale);
  // The options and sources (the items may still be being listed).
  const LauncherState& State() const { return state_; }

  // Shows the menu with its top-left corner at the point and returns when it closes: the chosen
  // item, copied, or nothing.
  std::optional<ChosenItem> Track(POINT at);

  // The owner's measuring, drawing and menu-character messages while the menu is open;
  // nothing for messages that are not the launcher menu's.
  std::optional<LRESULT> HandleMenuMessage(UINT msg, WPARAM wp, LPARAM lp);

 private:
  class Measure;
  // The items of the last load, waited for when they are still being listed.
  void TakeListedItems();
  MenuHandle BuildMenus();
  // Fills a submenu when it first opens: most of a big tree is never looked at.
  void FillMenu(HMENU menu, const PopupItem& level);
  std::u16string Label(const PopupItem& item) const;
  bool OnMeasureItem(MEASUREITEMSTRUCT& mis);
  bool OnDrawItem(const DRAWITEMSTRUCT& dis);
  std::optional<LRESULT> OnMenuChar(char16_t typed, HMENU menu);

  HWND owner_;
  const Clock& clock_;
  const Locale& locale_;
  LauncherState state_;
  std::unique_ptr<BackgroundTask<PopupLauncher>> listing_;
  // While the menu is open: its fonts and the model level of each menu.
  FontHandle font_;
  FontHandle acceleratorFont_;
  std::unordered_map<HMENU, const PopupItem*> levels_;
  std::unordered_map<HMENU, bool> filled_;
  MemoryDC measureDC_;  // the item font selected, for measuring
  int barHeight_ = 0;
  bool open_ = false;
};
