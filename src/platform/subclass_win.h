#pragma once
#include <windows.h>

#include <commctrl.h>

// The common-controls library's window subclassing, looked up when first used: importing the
// library would load it (and the visual-styles version the manifest asks for) at every start,
// although only windows that most runs never open need it.
BOOL SetSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id, DWORD_PTR data);
LRESULT DefSubclass(HWND window, UINT msg, WPARAM wp, LPARAM lp);
BOOL RemoveSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id);
