#pragma once
// What the files of the clipboard window share: its settings names, control identifiers, design
// sizes and small helpers. Only the window's own files include this.
#include <windows.h>

#include <commctrl.h>

#include <string>
#include <string_view>

#include "clip/clip_window_win.h"
#include "core/font_description.h"
#include "platform/late_bound_win.h"

namespace clip_window {

constexpr char16_t kSection[] = u"ClipboardList";
constexpr char16_t kFindSection[] = u"FindHistory";
constexpr int kFindItems = 40;
constexpr wchar_t kFirstCaption[] = L"Kelvo";
constexpr char16_t kHistoryCaption[] = u"クリップボード履歴";
constexpr char16_t kStoppedMark[] = u"  (×)";

// Posted to show what the set-up found wrong (a broken exclusion pattern, an unreadable canned-text
// file) once the set-up and the load around it have ended.
constexpr UINT kShowSetUpMessages = WM_APP + 1;
// The history file read at start-up has arrived from its thread.
constexpr UINT kHistoryArrived = WM_APP + 5;

constexpr UINT_PTR kSubclassId = 1;
constexpr WPARAM kCtrlC = 0x03;  // the character Ctrl+C types

enum ControlId : int {
  kStatusId = 1,
  kTabId,
  kFindId,
  kListId,
  kPreviewId,
};

// Design sizes at 96 dots per inch.
constexpr int kTopPanelHeight = 30;
constexpr int kButtonWidth = 36;
constexpr int kButtonHeight = 25;
constexpr int kSplitterHeight = 3;
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
inline FontDescription BaseFont() { return FontDescription{u"ＭＳ Ｐゴシック", 9, 128, false, false}; }

inline int Width(const RECT& r) { return static_cast<int>(r.right - r.left); }
inline int Height(const RECT& r) { return static_cast<int>(r.bottom - r.top); }

inline HWND MakeControl(const wchar_t* cls, const wchar_t* text, DWORD style, DWORD exStyle, HWND parent,
                 int id) {
  return CreateWindowExW(exStyle, cls, text, WS_CHILD | style, 0, 0, 10, 10, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         GetModuleHandleW(nullptr), nullptr);
}

inline bool LoadCommonControls() {
  using Init = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
  static const auto init = LateBound<Init>(L"comctl32.dll", "InitCommonControlsEx");
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_TAB_CLASSES | ICC_BAR_CLASSES};
  return init && init(&controls);
}

// A text's line breaks as an edit control shows them: CR LF.
inline std::u16string EditLines(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size() + text.size() / 16);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c == u'\r' || c == u'\n') {
      out += u"\r\n";
      if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace clip_window

// Marks the time this window runs something that lets other messages in (a paste, a message
// box, a file dialog). Clipboard changes, hotkeys and reloads that arrive meanwhile run after it.
// What the main window puts off meanwhile (an exit, a reload) runs from a message posted when
// the last busy part ends, never under the code that opened the box.
class TClipBdList::BusyScope {
 public:
  explicit BusyScope(TClipBdList& window) : deferred_(window.services_.deferred), window_(window) {
    ++window_.busy_;
  }
  ~BusyScope() {
    if (--window_.busy_ == 0) window_.EndBusy();
  }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  const DeferredWork::Scope deferred_;  // ends last, after the window's own end of busy
  TClipBdList& window_;
};

