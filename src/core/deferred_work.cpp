#include "core/deferred_work.h"

#include <utility>

DeferredWork::DeferredWork(std::function<void()> post, std::function<void()> run)
    : post_(std::move(post)), run_(std::move(run)) {}

void DeferredWork::Ask() {
  asked_ = true;
  if (!Busy()) PostOnce();
}

void DeferredWork::Leave() {
  if (--depth_ == 0 && asked_) PostOnce();
}

void DeferredWork::PostOnce() {
  if (posted_) return;
  posted_ = true;
  post_();
}

void DeferredWork::Posted() {
  posted_ = false;
  // A part that became busy after the post keeps the work waiting; its end posts again.
  if (Busy() || !asked_) return;
  asked_ = false;
  run_();
}
