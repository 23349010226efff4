#include "core/deferred_work.h"

#include <algorithm>
#include <utility>

#include "base/overloaded.h"

namespace {

template <class T>
bool Is(const DeferredItem& item) {
  return std::holds_alternative<T>(item);
}

// The box of a notice, and the start: never under the code that asks for them.
bool RunsFromMessageOnly(const DeferredItem& item) {
  return Is<deferred::FinishStart>(item) || Is<deferred::LoadNotice>(item);
}

// A second ask of these adds nothing to the one queued; each hotkey press is its own.
bool Coalesces(const DeferredItem& item) { return !Is<deferred::HotKey>(item); }

void Combine(DeferredItem& queued, const DeferredItem& asked) {
  if (Is<deferred::LoadNotice>(asked)) {
    queued = asked;  // what the user reads is the newest load's word
  } else if (const auto* close = std::get_if<deferred::Close>(&asked)) {
    std::get<deferred::Close>(queued).sessionEnds |= close->sessionEnds;
  }
}

}  // namespace

DeferredWork::DeferredWork(std::function<void()> post, std::function<void(const DeferredItem&)> run)
    : post_(std::move(post)), run_(std::move(run)) {}

bool DeferredWork::Busy() const {
  return std::any_of(counts_.begin(), counts_.end(), [](int count) { return count > 0; });
}

void DeferredWork::Ask(DeferredItem item) {
  const auto queued =
      Coalesces(item)
          ? std::find_if(items_.begin(), items_.end(),
                         [&](const DeferredItem& q) { return q.index() == item.index(); })
          : items_.end();
  const bool now = !RunsFromMessageOnly(item) && Ready(item);
  if (queued != items_.end()) {
    Combine(*queued, item);
    if (!now) return;
    // Running now also answers the ask that waited.
    item = std::move(*queued);
    items_.erase(queued);
  } else if (!now) {
    items_.push_back(std::move(item));
    if (Ready(items_.back())) PostOnce();
    return;
  }
  run_(item);
}

void DeferredWork::Leave(BusyPart part) {
  --counts_[Index(part)];
  if (Next() != items_.end()) PostOnce();
}

void DeferredWork::Posted() {
  posted_ = false;
  RunReady();
}

void DeferredWork::RunReady() {
  for (auto next = Next(); next != items_.end(); next = Next()) {
    const DeferredItem item = std::move(*next);
    items_.erase(next);
    run_(item);
    if (Is<deferred::HotKey>(item)) {
      // The next press waits for a message of its own.
      if (Next() != items_.end()) PostOnce();
      return;
    }
  }
}

void DeferredWork::PostOnce() {
  if (posted_) return;
  posted_ = true;
  post_();
}

std::deque<DeferredItem>::iterator DeferredWork::Next() {
  auto best = items_.end();
  for (auto it = items_.begin(); it != items_.end(); ++it) {
    if (Ready(*it) && (best == items_.end() || it->index() < best->index())) best = it;
  }
  return best;
}

bool DeferredWork::Waits(const deferred::Reload& reload) const {
  return Busy(BusyPart::kLoad) || Busy(BusyPart::kClipWindow) ||
         Count(BusyPart::kHotKey) > (reload.byHotKey ? 1 : 0);
}

bool DeferredWork::Ready(const DeferredItem& item) const {
  if (Is<deferred::FinishStart>(item)) return true;
  if (std::any_of(items_.begin(), items_.end(), Is<deferred::FinishStart>)) return false;
  return std::visit(Overloaded{
                        [](const deferred::FinishStart&) { return true; },
                        [&](const deferred::Capture&) { return !Busy(BusyPart::kClipWindow); },
                        [&](const deferred::StoreSettings&) { return !Busy(BusyPart::kLoad); },
                        [&](const deferred::Reload& reload) { return !Waits(reload); },
                        [&](const deferred::LoadNotice&) { return !Busy(BusyPart::kNoticeBox); },
                        [&](const deferred::HotKey&) {
                          return !Busy(BusyPart::kLoad) && !Busy(BusyPart::kClipWindow);
                        },
                        [&](const deferred::Close&) {
                          return !Busy() &&
                                 std::all_of(items_.begin(), items_.end(), Is<deferred::Close>);
                        },
                    },
                    item);
}
