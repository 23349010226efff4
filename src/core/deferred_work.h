#pragma once
#include <array>
#include <deque>
#include <functional>
#include <string>
#include <variant>

#include "core/saved_target.h"

// What Kelvo puts off while one of its parts runs a nested message loop (a hotkey's actions, a
// menu, a message box, a file dialog, the clipboard window's paste) or a load is under way.
namespace deferred {

// The windows' half of the first load: the user waits for the hotkeys and the tray icon only.
struct FinishStart {};
// The clipboard changed while the clipboard window was busy: what Kelvo places there itself in
// the middle of its own work is not taken before that work has ended.
struct Capture {};
// The settings file, written when the session may end while a load holds it half made.
struct StoreSettings {};
// A settings load. `byHotKey`: the hotkey that asked has finished its record and is the
// outermost one; the load runs before its tidy-up, so a hotkey pressed right after it finds the
// new table.
struct Reload {
  bool byHotKey = false;
};
// A box about the settings file that a load asks for.
struct LoadNotice {
  std::u16string text;
  std::u16string caption;
  unsigned flags = 0;
};
// A hotkey pressed while it could not run, with the window that was in front at the press.
struct HotKey {
  int id = 0;
  SavedTarget target;
};
// The end of Kelvo. `sessionEnds`: nobody would see a box any more, and it would hold up the end.
struct Close {
  bool sessionEnds = false;
};

}  // namespace deferred

// In the order they run when several are ready.
using DeferredItem =
    std::variant<deferred::FinishStart, deferred::Capture, deferred::StoreSettings,
                 deferred::Reload, deferred::LoadNotice, deferred::HotKey, deferred::Close>;

// A part of Kelvo that, while it runs, keeps some of the work waiting.
enum class BusyPart {
  kLoad,          // a settings load (also the start's second half)
  kHotKey,        // a hotkey's actions, with the boxes they show
  kClipWindow,    // the clipboard window's paste, its boxes and dialogs
  kNoticeBox,     // the box of a load notice
  kLauncherMenu,  // the launcher menu, until its chosen item has run
  kOther,         // the tray menu, the store at exit
};

// One queue of the work put off. Each kind of item has its own rule of what it waits for:
//  - FinishStart waits for nothing, but all the rest waits for it.
//  - Capture waits for the clipboard window.
//  - StoreSettings waits for a load.
//  - Reload waits for a load, a hotkey and the clipboard window (a reload that the outermost
//    hotkey asks for as its record ends does not wait for that hotkey).
//  - LoadNotice waits for the box of the notice before (one box at a time).
//  - HotKey waits for a load and the clipboard window, not for boxes: hotkeys nest.
//  - Close waits for every busy part and for every other item still queued.
// Asked again while one is queued, an item is asked once (the newest notice replaces the older
// one; a close for the session's end stays one); hotkeys queue in press order. What is ready
// when asked runs at once, except FinishStart and LoadNotice, which always run from the posted
// message: the load that asks (and a second start waiting for it) must have returned first.
// The rest never runs where a busy part ends: the end posts a message, and the work runs from
// it. Each hotkey waits for a message of its own, so that what it asks for runs before the next.
class DeferredWork {
 public:
  // `post` posts the message that calls Posted(); `run` does an item's work.
  DeferredWork(std::function<void()> post, std::function<void(const DeferredItem&)> run);
  DeferredWork(const DeferredWork&) = delete;
  DeferredWork& operator=(const DeferredWork&) = delete;

  // Marks the time a part runs.
  class Scope {
   public:
    Scope(DeferredWork& work, BusyPart part) : work_(work), part_(part) { work_.Enter(part_); }
    ~Scope() { work_.Leave(part_); }
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

   private:
    DeferredWork& work_;
    BusyPart part_;
  };

  bool Busy() const;
  bool Busy(BusyPart part) const { return Count(part) > 0; }
  void Ask(DeferredItem item);
  // The posted message has arrived.
  void Posted();

 private:
  void Enter(BusyPart part) { ++counts_[Index(part)]; }
  void Leave(BusyPart part);
  static std::size_t Index(BusyPart part) { return static_cast<std::size_t>(part); }
  int Count(BusyPart part) const { return counts_[Index(part)]; }
  bool Ready(const DeferredItem& item) const;
  bool Waits(const deferred::Reload& reload) const;
  // The queued item that runs next, or end().
  std::deque<DeferredItem>::iterator Next();
  void RunReady();
  void PostOnce();

  std::function<void()> post_;
  std::function<void(const DeferredItem&)> run_;
  std::array<int, 6> counts_{};
  std::deque<DeferredItem> items_;
  bool posted_ = false;
};
