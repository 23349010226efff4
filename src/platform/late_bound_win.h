#pragma once
#include <windows.h>

// Loads a library of Windows by its file name from the system folder only, never from Kelvo's
// folder, the current folder or the PATH, where another file of the same name could be planted.
// Every library Kelvo loads at run time goes through here.
inline HMODULE LoadSystemLibrary(const wchar_t* name) {
  return LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
}

// A function of a system library that is loaded at the first call instead of at every start.
// Importing shell32, ole32 or comctl32 costs tens of milliseconds of each start under Wine,
// though most of their functions serve windows and actions that a run may never use. Keep the
// result in a function-local static: the library then stays loaded for the process.
template <typename Function>
Function LateBound(const wchar_t* library, const char* name) {
  const HMODULE module = LoadSystemLibrary(library);
  return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)))
                : nullptr;
}
