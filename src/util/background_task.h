#pragma once
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>

// One piece of work that runs on a thread of its own while the owner's thread goes on (reading a
// large file at start-up, say). The owner takes the result on its own thread: `done` is called on
// the worker once the result is there (it should only post a message), and Take answers the
// result, waiting for it when the owner cannot go on without it. The owner's going waits for the
// work too, so that nothing the work uses is gone while it runs.
template <typename Result>
class BackgroundTask {
 public:
  BackgroundTask(std::function<Result()> work, std::function<void()> done)
      : thread_([this, work = std::move(work), done = std::move(done)]() mutable {
          Result result = work();
          {
            const std::lock_guard<std::mutex> lock(mutex_);
            result_ = std::move(result);
          }
          ready_.notify_all();
          if (done) done();
        }) {}
  ~BackgroundTask() {
    if (thread_.joinable()) thread_.join();
  }
  BackgroundTask(const BackgroundTask&) = delete;
  BackgroundTask& operator=(const BackgroundTask&) = delete;

  // Whether the result is there and not taken yet.
  bool Ready() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return result_.has_value() && !taken_;
  }

  // The result, once: waits for the work when it still runs; nothing when it was taken before.
  std::optional<Result> Take() {
    std::unique_lock<std::mutex> lock(mutex_);
    if (taken_) return std::nullopt;
    ready_.wait(lock, [this] { return result_.has_value(); });
    taken_ = true;
    return std::exchange(result_, std::nullopt);
  }

 private:
  mutable std::mutex mutex_;
  std::condition_variable ready_;
  std::optional<Result> result_;
  bool taken_ = false;
  std::thread thread_;  // last: it starts once everything it uses is made
};
