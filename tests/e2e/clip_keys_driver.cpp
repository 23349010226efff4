#include "clip_keys_driver.h"

#include <gtest/gtest.h>

#include "clip_driver.h"
#include "desktop_driver.h"
#include "drive/window_reading.h"

namespace {

bool Shown(HWND control) { return control && IsWindowVisible(control); }

bool MenuOpenOf(HWND window) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  return TopWindowOf(process, [](HWND hwnd) {
           wchar_t cls[16] = {};
           GetClassNameW(hwnd, cls, 16);
           return std::wstring(cls) == L"#32768" && IsWindowVisible(hwnd);
         }) != nullptr;
}

}  // namespace

std::string Describe(const ClipScreen& s) {
  return std::string(s.visible ? "shown" : "hidden") +
         (s.cannedPage ? ", canned page" : ", history page") + ", row " +
         std::to_string(s.selected) + " of " + std::to_string(s.rows) + ", status [" +
         Narrow(s.status0) + "] [" + Narrow(s.status1) + "]" +
         (s.previewShown ? ", preview [" + Narrow(s.preview) + "]" : "") +
         (s.menuOpen ? ", menu open" : "") + (s.searchListOpen ? ", search list open" : "") +
         (s.editPanel ? ", edit panel" : "") + ", clipboard [" + Narrow(s.clipboard) + "], pad [" +
         Narrow(s.pad) + "]";
}

ClipScreen ClipWindowView::Now() const {
  using namespace clip_ids;
  ClipScreen s;
  s.visible = IsWindowVisible(window_) != FALSE;
  s.cannedPage = Shown(Control(kCannedList));
  const HWND list = Control(s.cannedPage ? kCannedList : kHistoryList);
  s.selected = static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0));
  s.rows = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
  s.status0 = StatusText(Control(kStatus), 0);
  s.status1 = StatusText(Control(kStatus), 1);
  s.previewShown = Shown(Control(kPreview));
  if (s.previewShown) s.preview = WindowTextOf(Control(kPreview));
  s.menuOpen = MenuOpenOf(window_);
  s.searchListOpen = SendMessageW(Control(kFind), CB_GETDROPPEDSTATE, 0, 0) != FALSE;
  s.editPanel = Shown(Control(kMemo));
  s.clipboard = ClipboardText();
  s.pad = padText_();
  return s;
}

void RunClipSteps(const ClipWindowView& view, const std::vector<ClipStep>& steps) {
  for (const ClipStep& step : steps) {
    step.act();
    ClipScreen seen;
    const bool shown = WaitFor([&] {
      seen = view.Now();
      return step.shows(seen);
    });
    EXPECT_TRUE(shown) << step.row << ": the window shows " << Describe(seen);
    if (!shown) return;  // the later steps build on this one
  }
}

void TypeKeys(const std::string& text) {
  for (char c : text) {
    const UINT key =
        c == ' ' ? VK_SPACE : static_cast<UINT>(std::toupper(static_cast<unsigned char>(c)));
    PressHotKey(0, key);
  }
}

std::string HistoryFile(const std::vector<std::string>& texts) {
  std::string file = "\xEF\xBB\xBF";
  int minute = 59;
  for (const std::string& text : texts) {
    int lines = 1;
    for (char c : text) lines += c == '\n' ? 1 : 0;
    file += "CreTime=2026/01/02 3:" + std::to_string(minute--) +
            ":00\r\nLineCount=" + std::to_string(lines) + "\r\n" + CrLf(text) + "\r\n\r\n";
  }
  return file;
}
