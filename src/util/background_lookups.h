#pragma once
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

// Values that take long to look up (a shell icon of a file on a network path waits for the
// network's time-out) are looked up on a worker thread, so that the user-interface thread never
// waits: Find answers at once, with the value when it is known and with nothing while its look-up
// runs; `arrived` is called (on the worker, so it should only post a message) when a value is
// there. Values are kept until KeepOnly or the capacity drops them. The worker starts with the
// first look-up; when the owner goes it is left to finish a look-up still running on its own,
// and nothing of it is called any more.
template <typename Value>
class BackgroundLookups {
 public:
  using Lookup = std::function<Value(const std::u16string& key)>;

  BackgroundLookups(Lookup lookup, std::function<void()> arrived, std::size_t capacity)
      : shared_(std::make_shared<Shared>()), capacity_(capacity) {
    shared_->lookup = std::move(lookup);
    shared_->arrived = std::move(arrived);
  }
  ~BackgroundLookups() {
    {
      const std::lock_guard<std::mutex> lock(shared_->mutex);
      shared_->stop = true;
      shared_->arrived = nullptr;
    }
    shared_->wake.notify_all();
    if (worker_.joinable()) worker_.detach();
  }
  BackgroundLookups(const BackgroundLookups&) = delete;
  BackgroundLookups& operator=(const BackgroundLookups&) = delete;

  // The value of the key, or nothing while it is looked up (the first ask starts the look-up).
  const Value* Find(const std::u16string& key) {
    TakeArrived();
    if (const auto found = values_.find(key); found != values_.end()) return &found->second;
    if (asked_.insert(key).second) {
      {
        const std::lock_guard<std::mutex> lock(shared_->mutex);
        shared_->queue.push_back(key);
      }
      shared_->wake.notify_one();
      if (!worker_.joinable()) worker_ = std::thread(&Run, shared_);
    }
    return nullptr;
  }

  // Forgets the values whose key the predicate does not keep (a reload keeps those of files that
  // are still named).
  void KeepOnly(const std::function<bool(const std::u16string&)>& keep) {
    TakeArrived();
    for (auto it = values_.begin(); it != values_.end();) {
      it = keep(it->first) ? std::next(it) : values_.erase(it);
    }
  }

  std::size_t Count() {
    TakeArrived();
    return values_.size();
  }

 private:
  struct Shared {
    std::mutex mutex;
    std::condition_variable wake;
    std::deque<std::u16string> queue;
    std::vector<std::pair<std::u16string, Value>> done;
    bool stop = false;
    Lookup lookup;
    std::function<void()> arrived;
  };

  static void Run(std::shared_ptr<Shared> shared) {
    std::unique_lock<std::mutex> lock(shared->mutex);
    for (;;) {
      shared->wake.wait(lock, [&] { return shared->stop || !shared->queue.empty(); });
      if (shared->stop) return;
      const std::u16string key = std::move(shared->queue.front());
      shared->queue.pop_front();
      lock.unlock();
      Value value = shared->lookup(key);
      lock.lock();
      if (shared->stop) return;
      shared->done.emplace_back(key, std::move(value));
      // Under the lock: once the owner has gone, it is never called.
      if (shared->arrived) shared->arrived();
    }
  }

  // Moves what the worker has found into the values.
  void TakeArrived() {
    std::vector<std::pair<std::u16string, Value>> done;
    {
      const std::lock_guard<std::mutex> lock(shared_->mutex);
      done.swap(shared_->done);
    }
    for (auto& [key, value] : done) {
      asked_.erase(key);
      if (values_.size() >= capacity_) values_.clear();
      values_.insert_or_assign(key, std::move(value));
    }
  }

  std::shared_ptr<Shared> shared_;
  std::thread worker_;
  std::size_t capacity_;
  std::map<std::u16string, Value> values_;
  std::set<std::u16string> asked_;  // keys being looked up
};
