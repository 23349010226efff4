#pragma once
// The standard controls as Kelvo's windows use them: making one, and the few messages each
// window sends them, named for what they do.
#include <windows.h>

#include <cstddef>
#include <string>

inline int Width(const RECT& r) { return static_cast<int>(r.right - r.left); }
inline int Height(const RECT& r) { return static_cast<int>(r.bottom - r.top); }

// A child control at the origin, placed later by its window's layout.
HWND MakeControl(const wchar_t* cls, const wchar_t* text, DWORD style, DWORD exStyle, HWND parent,
                 int id);

void SetControlFont(HWND control, HFONT font);

// Moves a child control to a place in its parent's client area, unless it is there already: a
// move costs a round trip to the window system, and the layouts run again at every show.
void PlaceControl(HWND control, int x, int y, int width, int height);

// Stops the control from drawing while it is changed in several steps; draws it whole after.
class RedrawHeld {
 public:
  explicit RedrawHeld(HWND control);
  ~RedrawHeld();
  RedrawHeld(const RedrawHeld&) = delete;
  RedrawHeld& operator=(const RedrawHeld&) = delete;

 private:
  HWND control_;
};

// A list box; rows are numbered from 0, -1 is none.
class ListBox {
 public:
  ListBox() = default;
  explicit ListBox(HWND hwnd) : hwnd_(hwnd) {}
  HWND Handle() const { return hwnd_; }

  int Count() const;
  int Selected() const;
  void Select(int row) const;
  // The row count of a list without data of its own (LBS_NODATA).
  void SetCount(std::size_t count) const;
  void SetItemHeight(int height) const;
  // False when the row does not exist.
  bool RowRect(int row, RECT& out) const;
  // The row under a client point; -1 below the last row.
  int RowAt(POINT client) const;

 private:
  HWND hwnd_ = nullptr;
};

// A combo box with an edit field (CBS_DROPDOWN).
class ComboBox {
 public:
  ComboBox() = default;
  explicit ComboBox(HWND hwnd) : hwnd_(hwnd) {}
  HWND Handle() const { return hwnd_; }

  void Clear() const;
  void Add(const std::u16string& text) const;
  // Room for `count` rows of about `chars` characters each, before a large fill.
  void Reserve(std::size_t count, std::size_t chars) const;
  int Selected() const;
  void Select(int row) const;
  bool Dropped() const;
  void Drop(bool open) const;
  int ItemHeight() const;
  void SetVisibleRows(int rows) const;
  void SelectText(int start, int end) const;
  // Its edit field; nullptr when it has none.
  HWND EditField() const;

 private:
  HWND hwnd_ = nullptr;
};

// An edit control (or any control that answers the edit messages).
class EditBox {
 public:
  EditBox() = default;
  explicit EditBox(HWND hwnd) : hwnd_(hwnd) {}
  HWND Handle() const { return hwnd_; }

  bool HasSelection() const;
  // Where the selection ends: the caret when nothing is selected.
  int SelectionEnd() const;
  bool ReadOnly() const;
  bool CanUndo() const;
  void Undo() const;
  void SelectAll() const;
  // Types the text over the selection, as the user would: it can be undone.
  void Type(const std::u16string& text) const;

 private:
  HWND hwnd_ = nullptr;
};
