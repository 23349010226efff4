#pragma once
// What the files of the clipboard window share: its settings names, control identifiers, design
// sizes and small helpers. Only the window's own files include this.
#include <windows.h>

#include <commctrl.h>

#include "settings/font_description.h"
#include "win32/late_bound_win.h"

namespace clip_window {

constexpr char16_t kSection[] = u"ClipboardList";
constexpr wchar_t kFirstCaption[] = L"Kelvo";

// Posted to show what the set-up found wrong (a broken exclusion pattern, an unreadable canned-text
// file) once the set-up and the load around it have ended.
constexpr UINT kShowSetUpMessages = WM_APP + 1;
// The history file read at start-up has arrived from its thread.
constexpr UINT kHistoryArrived = WM_APP + 5;

constexpr WPARAM kCtrlC = 0x03;  // the character Ctrl+C types

// The history sheet's controls take the identifiers after these.
enum ControlId : int {
  kStatusId = 1,
  kTabId,
};

// Design sizes at 96 dots per inch.
constexpr int kTopPanelHeight = 30;
constexpr int kButtonWidth = 36;
constexpr int kStatusFirstPanel = 80;
constexpr int kTabWidth = 120;
constexpr int kMinWidth = 160;
constexpr int kMinHeight = 140;
constexpr int kMinList = 20;
constexpr int kMinFindWidth = 40;
// The longest text of the status bar's second panel on the history page.
constexpr char16_t kWidestSizeText[] = u"00000000文字/ 00000行";

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;

// The window's base font, which the settings font starts from.
inline FontDescription BaseFont() {
  return FontDescription{u"ＭＳ Ｐゴシック", 9, 128, false, false};
}

inline bool LoadCommonControls() {
  using Init = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
  static const auto init = LateBound<Init>(L"comctl32.dll", "InitCommonControlsEx");
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_TAB_CLASSES | ICC_BAR_CLASSES};
  return init && init(&controls);
}

}  // namespace clip_window
