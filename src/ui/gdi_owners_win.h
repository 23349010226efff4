#pragma once
#include <windows.h>

#include "ui/gdi_win.h"

// Owners of the paired GDI calls of the hotkey list's painting, beside those of app/gdi_win.h,
// so that every path out of a painting function gives back what it took.

// The device context of a window's client area, from GetDC to ReleaseDC.
class WindowDC {
 public:
  explicit WindowDC(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
  ~WindowDC() {
    if (dc_) ReleaseDC(hwnd_, dc_);
  }
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  HDC Get() const { return dc_; }

 private:
  HWND hwnd_;
  HDC dc_;
};

// A WM_PAINT's device context, from BeginPaint to EndPaint.
class PaintDC {
 public:
  explicit PaintDC(HWND hwnd) : hwnd_(hwnd), dc_(BeginPaint(hwnd, &paint_)) {}
  ~PaintDC() { EndPaint(hwnd_, &paint_); }
  PaintDC(const PaintDC&) = delete;
  PaintDC& operator=(const PaintDC&) = delete;
  HDC Get() const { return dc_; }

 private:
  HWND hwnd_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

// A memory device context compatible with another, from CreateCompatibleDC to DeleteDC.
class MemoryDC {
 public:
  explicit MemoryDC(HDC compatibleWith) : dc_(CreateCompatibleDC(compatibleWith)) {}
  ~MemoryDC() {
    if (dc_) DeleteDC(dc_);
  }
  MemoryDC(const MemoryDC&) = delete;
  MemoryDC& operator=(const MemoryDC&) = delete;
  HDC Get() const { return dc_; }

 private:
  HDC dc_;
};

// The text and background colours and background mode of a device context, restored at the end.
class SavedTextColors {
 public:
  SavedTextColors(HDC dc, COLORREF text, COLORREF background)
      : dc_(dc),
        text_(SetTextColor(dc, text)),
        background_(SetBkColor(dc, background)),
        mode_(SetBkMode(dc, TRANSPARENT)) {}
  ~SavedTextColors() {
    SetTextColor(dc_, text_);
    SetBkColor(dc_, background_);
    SetBkMode(dc_, mode_);
  }
  SavedTextColors(const SavedTextColors&) = delete;
  SavedTextColors& operator=(const SavedTextColors&) = delete;

 private:
  HDC dc_;
  COLORREF text_;
  COLORREF background_;
  int mode_;
};
