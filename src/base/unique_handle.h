#pragma once
#include <utility>

#include "base/live_objects.h"

// The one move-only owner of handles, and the live count of what it holds. A traits type names
// the handle, its kind and the call that gives it back:
//
//   struct SomeTraits {
//     using Handle = HSOMETHING;                  // empty is nullptr
//     static constexpr LiveKind kKind = LiveKind::kSomething;
//     static bool Close(Handle handle) noexcept;  // true when the system reports success
//     static bool IsFailure(Handle handle) noexcept;  // optional: another value meaning "none"
//   };
//
// A handle counts from the moment an owner takes it until the owner gives it back (reset,
// close, destruction) or hands it on (release: the taker, a parent menu or the clipboard, gives
// it back then). Moving an owner moves the handle and changes no count. Empty owners count
// nothing, so `if (owner)` and the counts agree.
template <typename Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;

  UniqueHandle() noexcept = default;
  explicit UniqueHandle(Handle handle) noexcept : handle_(Adopt(handle)) {}
  ~UniqueHandle() { reset(); }
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) {
      GiveBack(std::exchange(handle_, std::exchange(other.handle_, nullptr)));
    }
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  Handle get() const noexcept { return handle_; }
  explicit operator bool() const noexcept { return handle_ != nullptr; }

  // Hands the handle to the caller, who must give it back; the owner is empty afterwards.
  [[nodiscard]] Handle release() noexcept {
    if (handle_) CountGivenBack(Traits::kKind);
    return std::exchange(handle_, nullptr);
  }

  // Gives back the handle held, if any, and takes the new one.
  void reset(Handle handle = nullptr) noexcept { GiveBack(std::exchange(handle_, Adopt(handle))); }

  // Gives back the handle now; false when the system reports a failure (for a file written
  // through the handle, the last write may show only here). An empty owner closes successfully.
  bool close() noexcept { return GiveBack(std::exchange(handle_, nullptr)); }

 private:
  static Handle Adopt(Handle handle) noexcept {
    if constexpr (requires { Traits::IsFailure(handle); }) {
      if (Traits::IsFailure(handle)) return nullptr;
    }
    if (handle) CountAdopted(Traits::kKind);
    return handle;
  }

  static bool GiveBack(Handle handle) noexcept {
    if (!handle) return true;
    CountGivenBack(Traits::kKind);
    return Traits::Close(handle);
  }

  Handle handle_ = nullptr;
};
