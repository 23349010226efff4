#pragma once
#include <windows.h>

// A function of a system library that is loaded at the first call instead of at every start.
// Importing shell32, ole32 or comctl32 costs tens of milliseconds of each start under Wine,
// though most of their functions serve windows and actions that a run may never use. Keep the
// result in a function-local static: the library then stays loaded for the process.
template <typename Function>
Function LateBound(const wchar_t* library, const char* name) {
  const HMODULE module = LoadLibraryW(library);
  return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)))
                : nullptr;
}
