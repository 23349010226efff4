#pragma once
#include <windows.h>

#include <type_traits>

#include "win32/unique_handle_win.h"

// What Kelvo's windows create and must give back: owners of GDI objects, memory device contexts
// and menus (UniqueHandle, empty when nullptr; ui/owned_gdi_objects_win.h makes them), and the
// scoped pairs of calls around painting, so that every path out of a function gives back what it
// took. Each counts what it holds (base/live_objects.h).

// The kind a GDI object of this type counts as.
template <typename T>
constexpr LiveKind GdiKind() {
  static_assert(std::is_same_v<T, HFONT> || std::is_same_v<T, HBRUSH> || std::is_same_v<T, HPEN> ||
                    std::is_same_v<T, HBITMAP> || std::is_same_v<T, HRGN>,
                "a GdiObject is a font, brush, pen, bitmap or region");
  if constexpr (std::is_same_v<T, HFONT>) return LiveKind::kFont;
  if constexpr (std::is_same_v<T, HBRUSH>) return LiveKind::kBrush;
  if constexpr (std::is_same_v<T, HPEN>) return LiveKind::kPen;
  if constexpr (std::is_same_v<T, HBITMAP>) return LiveKind::kBitmap;
  return LiveKind::kRegion;
}

// A GDI object of one type, deleted with DeleteObject.
template <typename T>
struct GdiObjectTraits : ClosedBy<T, &DeleteObject, GdiKind<T>()> {};
template <typename T>
using GdiObject = UniqueHandle<GdiObjectTraits<T>>;
using FontHandle = GdiObject<HFONT>;
using BrushHandle = GdiObject<HBRUSH>;
using PenHandle = GdiObject<HPEN>;
using BitmapHandle = GdiObject<HBITMAP>;

// A memory device context of CreateCompatibleDC.
using MemoryDC = UniqueHandle<ClosedBy<HDC, &DeleteDC, LiveKind::kMemoryDc>>;
// A menu of CreatePopupMenu or CreateMenu that is not a window's menu bar.
using MenuHandle = UniqueHandle<ClosedBy<HMENU, &DestroyMenu, LiveKind::kMenu>>;

// The device context of a window's client area (of the screen for nullptr), from GetDC to
// ReleaseDC.
class WindowDC {
 public:
  explicit WindowDC(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {
    if (dc_) CountAdopted(LiveKind::kWindowDc);
  }
  ~WindowDC() {
    if (!dc_) return;
    CountGivenBack(LiveKind::kWindowDc);
    ReleaseDC(hwnd_, dc_);
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
  explicit PaintDC(HWND hwnd) : hwnd_(hwnd), dc_(BeginPaint(hwnd, &paint_)) {
    if (dc_) CountAdopted(LiveKind::kWindowDc);
  }
  ~PaintDC() {
    if (dc_) CountGivenBack(LiveKind::kWindowDc);
    EndPaint(hwnd_, &paint_);
  }
  PaintDC(const PaintDC&) = delete;
  PaintDC& operator=(const PaintDC&) = delete;
  HDC Get() const { return dc_; }

 private:
  HWND hwnd_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

// Selects an object into a device context for the owner's lifetime.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  ~SelectedObject() { SelectObject(dc_, old_); }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
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
