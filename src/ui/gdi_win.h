#pragma once
#include <windows.h>

#include <utility>

// Owns one GDI object (font, brush, pen, bitmap) and deletes it.
template <typename T>
class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(T handle) : handle_(handle) {}
  ~GdiObject() { Reset(); }
  GdiObject(GdiObject&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  GdiObject& operator=(GdiObject&& other) noexcept {
    if (this != &other) {
      Reset();
      handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
  }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;

  void Reset(T handle = nullptr) {
    if (handle_) DeleteObject(handle_);
    handle_ = handle;
  }
  T get() const { return handle_; }

 private:
  T handle_ = nullptr;
};

using FontHandle = GdiObject<HFONT>;

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

// Owns a popup menu and destroys it.
class MenuHandle {
 public:
  MenuHandle() : menu_(CreatePopupMenu()) {}
  ~MenuHandle() {
    if (menu_) DestroyMenu(menu_);
  }
  MenuHandle(const MenuHandle&) = delete;
  MenuHandle& operator=(const MenuHandle&) = delete;
  HMENU get() const { return menu_; }

 private:
  HMENU menu_;
};

// A length designed at 96 dots per inch, at the window's resolution.
inline int Scale(int designPixels, UINT dpi) {
  return MulDiv(designPixels, static_cast<int>(dpi), 96);
}
