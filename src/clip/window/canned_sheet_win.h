#pragma once
#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "clip/model/canned_page.h"
#include "ui/gdi_win.h"

// The controls of the clipboard window's canned-text page: the set bar, the list and the edit
// panel. They mirror a CannedTextPage; the clipboard window runs the page's actions and calls
// Sync afterwards. The controls are children of the clipboard window.
class CannedSheet {
 public:
  // Control identifiers (the clipboard window routes their messages here).
  static constexpr int kFirstSetButton = 400;
  static constexpr int kListId = 410;
  static constexpr int kLabelEditId = 411;
  static constexpr int kMemoId = 412;
  static constexpr int kOkId = 413;
  static constexpr int kCancelId = 414;
  static constexpr int kCaptionId = 415;
  // The escape codes of the edit fields' menu: kFirstEscapeId + index in kCannedEscapeMenu.
  static constexpr int kFirstEscapeId = 300;

  struct Style {
    HFONT baseFont = nullptr;
    HFONT listFont = nullptr;
    std::u16string fontName;
    int rowHeight = 16;
    int charHeight = 12;
    COLORREF fg = 0, bg = 0, ctrl = 0;
    bool operator==(const Style&) const = default;
  };

  explicit CannedSheet(CannedTextPage& page) : page_(page) {}
  CannedSheet(const CannedSheet&) = delete;
  CannedSheet& operator=(const CannedSheet&) = delete;

  bool Create(HWND parent);
  // The smallest page that shows the set bar, the edit panel and a row of the list whole.
  static SIZE MinimumSize(UINT dpi);
  void ApplyStyle(const Style& style);
  void Layout(const RECT& page, UINT dpi);
  void Show(bool visible);

  // The rows, the selection, the set bar and the edit panel as the page has them now.
  void Sync();
  // Opens the edit panel with the fields of the selected item.
  void BeginEdit();
  // The edit panel's fields, for OK.
  std::u16string LabelText() const;
  std::u16string MemoText() const;
  // Types an escape code into the edit field that has the focus (undoable).
  void InsertEscape(std::size_t index);

  HWND List() const { return list_; }
  HWND LabelEdit() const { return labelEdit_; }
  HWND Memo() const { return memo_; }
  bool IsEditField(HWND control) const { return control == labelEdit_ || control == memo_; }
  HBRUSH ListBrush() const { return brush_.get(); }
  void DrawRow(const DRAWITEMSTRUCT& item) const;

  // Dragging rows: the list's mouse messages; the drop calls onDrop with the target row.
  std::function<void(int target)> onDrop;
  bool ListMouse(UINT msg, LPARAM lp);

 private:
  HWND Make(const wchar_t* cls, const wchar_t* text, DWORD style, DWORD exStyle, int id);
  int RowAt(POINT client) const;
  void DrawDropMarker(int row) const;

  CannedTextPage& page_;
  HWND parent_ = nullptr;
  std::array<HWND, kCannedSets> setButtons_{};
  HWND list_ = nullptr;
  // The items' version the list's rows stand for.
  std::optional<std::uint64_t> shownItems_;
  HWND caption_ = nullptr;
  HWND labelEdit_ = nullptr;
  HWND memo_ = nullptr;
  HWND ok_ = nullptr;
  HWND cancel_ = nullptr;
  Style style_;
  BrushHandle brush_;
  bool visible_ = false;
  // Dragging.
  POINT pressAt_{};
  bool pressed_ = false;
  bool dragging_ = false;
  int dragMark_ = -1;
};
