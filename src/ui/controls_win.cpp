#include "ui/controls_win.h"

#include <commctrl.h>

#include <utility>

#include "win32/wide_win.h"

HWND MakeControl(const wchar_t* cls, const wchar_t* text, DWORD style, DWORD exStyle, HWND parent,
                 int id) {
  return CreateWindowExW(exStyle, cls, text, WS_CHILD | style, 0, 0, 10, 10, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         GetModuleHandleW(nullptr), nullptr);
}

void SetControlFont(HWND control, HFONT font) {
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void PlaceControl(HWND control, int x, int y, int width, int height) {
  RECT now{};
  if (GetWindowRect(control, &now)) {
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&now), 2);
    if (now.left == x && now.top == y && Width(now) == width && Height(now) == height) return;
  }
  MoveWindow(control, x, y, width, height, TRUE);
}

RedrawHeld::RedrawHeld(HWND control) : control_(control) {
  SendMessageW(control_, WM_SETREDRAW, FALSE, 0);
}

RedrawHeld::~RedrawHeld() {
  SendMessageW(control_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(control_, nullptr, TRUE);
}

// ---------------------------------------------------------------------------------------------

int ListBox::Count() const { return static_cast<int>(SendMessageW(hwnd_, LB_GETCOUNT, 0, 0)); }

int ListBox::Selected() const { return static_cast<int>(SendMessageW(hwnd_, LB_GETCURSEL, 0, 0)); }

void ListBox::Select(int row) const {
  SendMessageW(hwnd_, LB_SETCURSEL, static_cast<WPARAM>(row), 0);
}

void ListBox::SetCount(std::size_t count) const { SendMessageW(hwnd_, LB_SETCOUNT, count, 0); }

void ListBox::SetItemHeight(int height) const { SendMessageW(hwnd_, LB_SETITEMHEIGHT, 0, height); }

bool ListBox::RowRect(int row, RECT& out) const {
  return row >= 0 && SendMessageW(hwnd_, LB_GETITEMRECT, static_cast<WPARAM>(row),
                                  reinterpret_cast<LPARAM>(&out)) != LB_ERR;
}

int ListBox::RowAt(POINT client) const {
  const LRESULT hit = SendMessageW(hwnd_, LB_ITEMFROMPOINT, 0, MAKELPARAM(client.x, client.y));
  if (HIWORD(hit) != 0) return -1;  // below the last row
  return LOWORD(hit);
}

// ---------------------------------------------------------------------------------------------

void ComboBox::Clear() const { SendMessageW(hwnd_, CB_RESETCONTENT, 0, 0); }

void ComboBox::Add(const std::u16string& text) const {
  SendMessageW(hwnd_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(W(text)));
}

void ComboBox::Reserve(std::size_t count, std::size_t chars) const {
  SendMessageW(hwnd_, CB_INITSTORAGE, count, count * chars * sizeof(wchar_t));
}

int ComboBox::Selected() const {
  const LRESULT row = SendMessageW(hwnd_, CB_GETCURSEL, 0, 0);
  return row == CB_ERR ? -1 : static_cast<int>(row);
}

void ComboBox::Select(int row) const {
  SendMessageW(hwnd_, CB_SETCURSEL, static_cast<WPARAM>(row), 0);
}

bool ComboBox::Dropped() const { return SendMessageW(hwnd_, CB_GETDROPPEDSTATE, 0, 0) != FALSE; }

void ComboBox::Drop(bool open) const {
  SendMessageW(hwnd_, CB_SHOWDROPDOWN, open ? TRUE : FALSE, 0);
}

int ComboBox::ItemHeight() const {
  return static_cast<int>(SendMessageW(hwnd_, CB_GETITEMHEIGHT, 0, 0));
}

void ComboBox::SetVisibleRows(int rows) const {
  SendMessageW(hwnd_, CB_SETMINVISIBLE, static_cast<WPARAM>(rows), 0);
}

void ComboBox::SelectText(int start, int end) const {
  SendMessageW(hwnd_, CB_SETEDITSEL, 0, MAKELPARAM(start, end));
}

HWND ComboBox::EditField() const {
  COMBOBOXINFO info{sizeof(info)};
  return GetComboBoxInfo(hwnd_, &info) ? info.hwndItem : nullptr;
}

// ---------------------------------------------------------------------------------------------

namespace {

std::pair<DWORD, DWORD> Selection(HWND edit) {
  DWORD start = 0, end = 0;
  SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return {start, end};
}

}  // namespace

bool EditBox::HasSelection() const {
  const auto [start, end] = Selection(hwnd_);
  return start != end;
}

int EditBox::SelectionEnd() const { return static_cast<int>(Selection(hwnd_).second); }

bool EditBox::ReadOnly() const { return (GetWindowLongPtrW(hwnd_, GWL_STYLE) & ES_READONLY) != 0; }

bool EditBox::CanUndo() const { return SendMessageW(hwnd_, EM_CANUNDO, 0, 0) != FALSE; }

void EditBox::Undo() const { SendMessageW(hwnd_, EM_UNDO, 0, 0); }

void EditBox::SelectAll() const { SendMessageW(hwnd_, EM_SETSEL, 0, -1); }

void EditBox::Type(const std::u16string& text) const {
  SendMessageW(hwnd_, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(W(text)));
}
