#pragma once
#include <windows.h>

#include <type_traits>

#include "base/unique_handle.h"

// The Win32 traits of the one handle owner (base/unique_handle.h), which counts per kind what
// Kelvo holds. ClosedBy<Handle, &Function, kind> below is the traits type wherever the call that
// gives a handle back takes the handle alone and returns nonzero on success (CloseHandle,
// FindClose, DeleteObject, DestroyIcon…).
//
// Empty is nullptr. Calls that report failure with INVALID_HANDLE_VALUE instead (CreateFileW,
// FindFirstFileW) may be handed to the owner as they are: an owner of a HANDLE stores that
// value as nullptr, so `if (owner)` is the one test for every kind of handle and get() of an
// empty owner is always nullptr.
//
// Handles are made by the creation helpers (platform/owned_kernel_objects_win.h,
// platform/owned_icons_win.h, ui/owned_gdi_objects_win.h), which return owners; nothing else in
// Kelvo calls the system's creating functions, and a unit test scans the sources for any that do.
//
// Owners of windows' resources (GDI objects, memory DCs, menus) are in ui/gdi_win.h.

// Traits of the common case: the handle type and the function that gives it back, which returns
// nonzero on success.
template <typename H, auto kCloseFunction, LiveKind kLiveKind>
struct ClosedBy {
  using Handle = H;
  static constexpr LiveKind kKind = kLiveKind;
  static bool Close(Handle handle) noexcept { return kCloseFunction(handle) != 0; }
  static bool IsFailure(Handle handle) noexcept {
    if constexpr (std::is_same_v<Handle, HANDLE>) return handle == INVALID_HANDLE_VALUE;
    return false;
  }
};

// Kernel objects: files, processes, threads, events, mutexes, tokens.
using KernelHandle = UniqueHandle<ClosedBy<HANDLE, &CloseHandle, LiveKind::kKernelObject>>;
// A directory search of FindFirstFileW / FindFirstFileExW.
using FindHandle = UniqueHandle<ClosedBy<HANDLE, &FindClose, LiveKind::kFileSearch>>;
// A library of LoadLibraryW / LoadLibraryExW.
using ModuleHandle = UniqueHandle<ClosedBy<HMODULE, &FreeLibrary, LiveKind::kLibrary>>;
// An icon the program made or was handed (LoadImageW without LR_SHARED, SHGetFileInfoW). Icons
// loaded with LR_SHARED belong to the system and are never owned.
using IconHandle = UniqueHandle<ClosedBy<HICON, &DestroyIcon, LiveKind::kIcon>>;

// A block of the process heap (HeapAlloc on GetProcessHeap()).
struct HeapBlockTraits {
  using Handle = void*;
  static constexpr LiveKind kKind = LiveKind::kHeapBlock;
  static bool Close(Handle block) noexcept { return HeapFree(GetProcessHeap(), 0, block) != 0; }
};
using HeapBlock = UniqueHandle<HeapBlockTraits>;

// A global memory block of GlobalAlloc, as the clipboard takes it. Once the clipboard has
// accepted the block, the owner must release() it: the clipboard frees it then.
struct GlobalMemoryTraits {
  using Handle = HGLOBAL;
  static constexpr LiveKind kKind = LiveKind::kGlobalMemory;
  static bool Close(Handle memory) noexcept { return GlobalFree(memory) == nullptr; }
};
using GlobalMemory = UniqueHandle<GlobalMemoryTraits>;
