#pragma once
#include <windows.h>

#include <commctrl.h>

// The common-controls library's window subclassing, looked up when first used: importing the
// library would load it (and the visual-styles version the manifest asks for) at every start,
// although only windows that most runs never open need it.
BOOL SetSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id, DWORD_PTR data);
LRESULT DefSubclass(HWND window, UINT msg, WPARAM wp, LPARAM lp);
BOOL RemoveSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id);

// Hands the messages of a subclassed control to a member function of its owner, the one way
// Kelvo's windows take over their controls' keys. The subclass goes with the control; a handler
// that throws leaves the message to the control.
template <class Owner, LRESULT (Owner::*Handler)(HWND, UINT, WPARAM, LPARAM)>
class ControlSubclass {
 public:
  static BOOL Attach(HWND control, Owner& owner) {
    return SetSubclass(control, &Procedure, kId, reinterpret_cast<DWORD_PTR>(&owner));
  }

 private:
  static constexpr UINT_PTR kId = 1;

  static LRESULT CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                    DWORD_PTR owner) noexcept {
    if (msg == WM_NCDESTROY) {
      RemoveSubclass(hwnd, &Procedure, kId);
      return DefSubclass(hwnd, msg, wp, lp);
    }
    try {
      return (reinterpret_cast<Owner*>(owner)->*Handler)(hwnd, msg, wp, lp);
    } catch (...) {
      return DefSubclass(hwnd, msg, wp, lp);
    }
  }
};
