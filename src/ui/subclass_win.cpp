#include "ui/subclass_win.h"

#include "win32/late_bound_win.h"

BOOL SetSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id, DWORD_PTR data) {
  static const auto set =
      LateBound<decltype(&SetWindowSubclass)>(L"comctl32.dll", "SetWindowSubclass");
  return set ? set(window, procedure, id, data) : FALSE;
}

LRESULT DefSubclass(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  static const auto def = LateBound<decltype(&DefSubclassProc)>(L"comctl32.dll", "DefSubclassProc");
  return def ? def(window, msg, wp, lp) : DefWindowProcW(window, msg, wp, lp);
}

BOOL RemoveSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id) {
  static const auto remove =
      LateBound<decltype(&RemoveWindowSubclass)>(L"comctl32.dll", "RemoveWindowSubclass");
  return remove ? remove(window, procedure, id) : FALSE;
}
