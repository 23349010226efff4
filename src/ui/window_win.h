#pragma once
#include <windows.h>

#include <string>

#include "ui/dpi_win.h"

// Kelvo's icon, for window classes and the tray. Loaded shared: the system owns it, so it is
// never destroyed.
HICON KelvoIcon();

// The text of a window or control of this process.
std::u16string WindowText(HWND hwnd);

// Enables or disables a control only when that changes something: a filter sets its buttons at
// every change of the rows, and under Wine setting a state again cost milliseconds per control.
void EnableIfChanged(HWND control, bool enabled);

// Gives a window these bounds (screen pixels), unless it has them already: a move costs under
// Wine even where the window stays, and the windows are placed again at every show. Neither the
// Z order nor the activation changes (the windows that stay on top do so by their style).
void PlaceWindow(HWND window, const RECT& bounds);

// Shows a window that clips its children (so that a resize does not flicker) with that style off
// for the show itself. Under Wine every child of a clipping window is erased inside ShowWindow,
// before the window is on the screen: ~10 ms for the clipboard window's controls. Without the
// style they erase at their own first paint, after the window is visible. The style is back when
// this returns, before the window paints.
void ShowUnclipped(HWND window, int how);

// The base of Kelvo's windows: `this` is bound at WM_NCCREATE and cleared at WM_NCDESTROY, and
// the window procedure hands every message to HandleMessage, which never throws.
class Window {
 public:
  Window() = default;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  virtual ~Window();

  HWND Handle() const { return hwnd_; }
  // The DPI of the monitor the window is on; 96 before the window exists.
  UINT Dpi() const { return WindowDpi(hwnd_); }

 protected:
  // Registers the class once per process, with Kelvo's icon; the procedure is Window's own.
  static bool RegisterClassOnce(const wchar_t* className);
  HWND CreateHandle(const wchar_t* className, const wchar_t* title, DWORD style, DWORD exStyle,
                    int x, int y, int width, int height, HWND parent);
  virtual LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) = 0;
  LRESULT Default(UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcW(hwnd_, msg, wp, lp); }

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept;
  HWND hwnd_ = nullptr;
};
