#include "platform/subclass_win.h"

namespace {

struct SubclassFunctions {
  decltype(&SetWindowSubclass) set = nullptr;
  decltype(&DefSubclassProc) def = nullptr;
  decltype(&RemoveWindowSubclass) remove = nullptr;
};

// Resolved once; the library stays loaded for the rest of the process.
const SubclassFunctions& Functions() {
  static const SubclassFunctions functions = [] {
    SubclassFunctions f;
    if (HMODULE library = LoadLibraryW(L"comctl32.dll")) {
      f.set = reinterpret_cast<decltype(f.set)>(
          reinterpret_cast<void*>(GetProcAddress(library, "SetWindowSubclass")));
      f.def = reinterpret_cast<decltype(f.def)>(
          reinterpret_cast<void*>(GetProcAddress(library, "DefSubclassProc")));
      f.remove = reinterpret_cast<decltype(f.remove)>(
          reinterpret_cast<void*>(GetProcAddress(library, "RemoveWindowSubclass")));
    }
    return f;
  }();
  return functions;
}

}  // namespace

BOOL SetSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id, DWORD_PTR data) {
  const auto& f = Functions();
  return f.set ? f.set(window, procedure, id, data) : FALSE;
}

LRESULT DefSubclass(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  const auto& f = Functions();
  return f.def ? f.def(window, msg, wp, lp) : DefWindowProcW(window, msg, wp, lp);
}

BOOL RemoveSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id) {
  const auto& f = Functions();
  return f.remove ? f.remove(window, procedure, id) : FALSE;
}
