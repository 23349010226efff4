#pragma once
#include <windows.h>

#include "win32/owned_kernel_objects_win.h"

// Loads a library of Windows by its file name from the system folder only, never from Kelvo's
// folder, the current folder or the PATH, where another file of the same name could be planted.
// Every library Kelvo loads at run time goes through here.
inline ModuleHandle LoadSystemLibrary(const wchar_t* name) {
  return owned::LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
}

// A function of a system library that is loaded at the first call instead of at every start.
// Importing shell32, ole32 or comctl32 costs tens of milliseconds of each start under Wine,
// though most of their functions serve windows and actions that a run may never use. Keep the
// result in a function-local static: the library then stays loaded for the process (its owner
// lets go of it, so it is not counted as held).
template <typename Function>
Function LateBound(const wchar_t* library, const char* name) {
  ModuleHandle module = LoadSystemLibrary(library);
  if (!module) return nullptr;
  const FARPROC found = GetProcAddress(module.get(), name);
  static_cast<void>(module.release());
  return reinterpret_cast<Function>(reinterpret_cast<void*>(found));
}
