#pragma once
#include <windows.h>

#include <type_traits>
#include <utility>

// The one move-only owner of Win32 handles. A traits type names the handle and the call that
// gives it back:
//
//   struct SomeTraits {
//     using Handle = HSOMETHING;
//     static bool Close(Handle handle) noexcept;  // true when the system reports success
//   };
//
// ClosedBy<Handle, &Function> below is the traits type wherever that call takes the handle
// alone and returns nonzero on success (CloseHandle, FindClose, DeleteObject, DestroyIcon…).
//
// Empty is nullptr. Calls that report failure with INVALID_HANDLE_VALUE instead (CreateFileW,
// FindFirstFileW) may be handed to the owner as they are: an owner of a HANDLE stores that
// value as nullptr, so `if (owner)` is the one test for every kind of handle and get() of an
// empty owner is always nullptr.
//
// Owners of windows' resources (GDI objects, memory DCs, menus) are in ui/gdi_win.h.
template <typename Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;

  UniqueHandle() noexcept = default;
  explicit UniqueHandle(Handle handle) noexcept : handle_(Adopt(handle)) {}
  ~UniqueHandle() { reset(); }
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  Handle get() const noexcept { return handle_; }
  explicit operator bool() const noexcept { return handle_ != nullptr; }

  // Hands the handle to the caller, who must give it back; the owner is empty afterwards.
  [[nodiscard]] Handle release() noexcept { return std::exchange(handle_, nullptr); }

  // Gives back the handle held, if any, and takes the new one.
  void reset(Handle handle = nullptr) noexcept {
    const Handle old = std::exchange(handle_, Adopt(handle));
    if (old) Traits::Close(old);
  }

  // Gives back the handle now; false when the system reports a failure (for a file written
  // through the handle, the last write may show only here). An empty owner closes successfully.
  bool close() noexcept {
    const Handle old = release();
    return !old || Traits::Close(old);
  }

 private:
  static Handle Adopt(Handle handle) noexcept {
    if constexpr (std::is_same_v<Handle, HANDLE>) {
      if (handle == INVALID_HANDLE_VALUE) return nullptr;
    }
    return handle;
  }

  Handle handle_ = nullptr;
};

// Traits of the common case: the handle type and the function that gives it back, which returns
// nonzero on success.
template <typename H, auto kCloseFunction>
struct ClosedBy {
  using Handle = H;
  static bool Close(Handle handle) noexcept { return kCloseFunction(handle) != 0; }
};

// Kernel objects: files, processes, threads, events, mutexes, tokens.
using KernelHandle = UniqueHandle<ClosedBy<HANDLE, &CloseHandle>>;
// A directory search of FindFirstFileW / FindFirstFileExW.
using FindHandle = UniqueHandle<ClosedBy<HANDLE, &FindClose>>;
// A library of LoadLibraryW / LoadLibraryExW.
using ModuleHandle = UniqueHandle<ClosedBy<HMODULE, &FreeLibrary>>;
// An icon the program made or was handed (LoadImageW without LR_SHARED, SHGetFileInfoW). Icons
// loaded with LR_SHARED belong to the system and are never owned.
using IconHandle = UniqueHandle<ClosedBy<HICON, &DestroyIcon>>;

// A block of the process heap (HeapAlloc on GetProcessHeap()).
struct HeapBlockTraits {
  using Handle = void*;
  static bool Close(Handle block) noexcept { return HeapFree(GetProcessHeap(), 0, block) != 0; }
};
using HeapBlock = UniqueHandle<HeapBlockTraits>;

// A global memory block of GlobalAlloc, as the clipboard takes it. Once the clipboard has
// accepted the block, the owner must release() it: the clipboard frees it then.
struct GlobalMemoryTraits {
  using Handle = HGLOBAL;
  static bool Close(Handle memory) noexcept { return GlobalFree(memory) == nullptr; }
};
using GlobalMemory = UniqueHandle<GlobalMemoryTraits>;
