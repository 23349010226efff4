// Kelvo's windows fit what they show: at the first run the clipboard window and the command
// launcher open centred where the user is looking; at 144 dpi a size stored at 96 dpi never cuts
// a tab, a status text or a button; and an emoji (a surrogate pair) is one character in every
// owner-drawn row: the history, the canned texts, the hotkey list and the launcher menu.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "clip_driver.h"
#include "clip_keys_driver.h"
#include "desktop_driver.h"
#include "kelvo_session.h"

namespace {

using namespace clip_ids;

constexpr UINT kHotMods = MOD_CONTROL | MOD_ALT | MOD_SHIFT;
// Three sushi: a character no installed font has, so each is drawn as the font's box.
constexpr char kSushi[] = "\xF0\x9F\x8D\xA3\xF0\x9F\x8D\xA3\xF0\x9F\x8D\xA3";
constexpr wchar_t kSushiWide[] = L"\U0001F363\U0001F363\U0001F363";

RECT WorkAreaAtPointer() {
  POINT pointer{};
  GetCursorPos(&pointer);
  MONITORINFO info{sizeof(info)};
  GetMonitorInfoW(MonitorFromPoint(pointer, MONITOR_DEFAULTTONEAREST), &info);
  return info.rcWork;
}

bool CentredOn(const RECT& window, const RECT& area) {
  const auto centre = [](LONG a, LONG b) { return (a + b) / 2; };
  return std::abs(centre(window.left, window.right) - centre(area.left, area.right)) <= 1 &&
         std::abs(centre(window.top, window.bottom) - centre(area.top, area.bottom)) <= 1;
}

// The screen's pixels of a rectangle: the first and last column that differ from the colour of
// its top-right pixel (the background there), or (-1, -1) when every pixel is the background.
std::pair<int, int> InkColumns(const RECT& screenRect) {
  const int w = screenRect.right - screenRect.left;
  const std::vector<DWORD> pixels = ScreenPixels(screenRect);
  std::pair<int, int> ink{-1, -1};
  if (pixels.empty()) return ink;
  const int h = static_cast<int>(pixels.size()) / w;
  const DWORD background = pixels[w - 1];
  for (int x = 0; x < w; ++x) {
    for (int y = 0; y < h; ++y) {
      if (pixels[y * w + x] == background) continue;
      if (ink.first < 0) ink.first = x;
      ink.second = x;
      break;
    }
  }
  return ink;
}

int InkWidth(const RECT& screenRect) {
  const auto [first, last] = InkColumns(screenRect);
  return first < 0 ? 0 : last - first + 1;
}

RECT RowOnScreen(HWND list, int row) {
  RECT r{};
  SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r));
  MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// The width of the sushi measured unit by unit in a font: six boxes, where three are right.
int UnitByUnitWidth(const LOGFONTW& font) {
  HDC dc = CreateCompatibleDC(nullptr);
  HFONT handle = CreateFontIndirectW(&font);
  HGDIOBJ old = SelectObject(dc, handle);
  SIZE size{};
  GetTextExtentPoint32W(dc, kSushiWide, 6, &size);
  SelectObject(dc, old);
  DeleteObject(handle);
  DeleteDC(dc);
  return size.cx;
}

LOGFONTW DejaVu16() {
  LOGFONTW font{};
  font.lfHeight = -16;
  font.lfWeight = FW_NORMAL;
  lstrcpynW(font.lfFaceName, L"DejaVu Sans", LF_FACESIZE);
  return font;
}

// Three boxes, not six: about half of what a unit-by-unit drawing takes.
void ExpectThreeCharacters(int ink, int unitByUnit, const char* where) {
  EXPECT_GT(ink, unitByUnit / 4) << where;
  EXPECT_LT(ink, unitByUnit * 3 / 4)
      << where << ": drawn as " << ink << " pixels, six boxes take " << unitByUnit;
}

class WindowFitTest : public ::testing::Test {
 protected:
  // The ink's width once the place is painted: the same in three looks in a row, each after
  // Kelvo has been through its messages (a window not painted yet shows what lies under it).
  int PaintedInk(const std::function<RECT()>& where) {
    int ink = 0;
    int same = 0;
    WaitFor([&] {
      kelvo.Answers();
      const int now = InkWidth(where());
      same = now > 0 && now == ink ? same + 1 : 0;
      ink = now;
      return same >= 2;
    });
    return ink;
  }

  [[nodiscard]] bool Start(const std::string& settings) {
    kelvo.WriteIni(settings);
    if (!kelvo.Start()) return false;
    clipWindow = ClipWindowOf(kelvo.ProcessId());
    return clipWindow != nullptr;
  }
  KelvoSession kelvo;
  TestWindow pad{L"Fit Pad"};
  HWND clipWindow = nullptr;
};

// Gives the Kelvo started in its lifetime a DPI through the setting Windows keeps (Wine reads it
// when a program starts), and takes it back at the end.
class LogPixels {
 public:
  explicit LogPixels(DWORD dpi) {
    RegSetKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels", REG_DWORD, &dpi,
                    sizeof(dpi));
  }
  ~LogPixels() { RegDeleteKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels"); }
};

}  // namespace

TEST_F(WindowFitTest, AtTheFirstRunTheWindowsOpenCentredWhereThePointerIs) {
  ASSERT_TRUE(
      Start(CrLf("[General]\nVersion=169\n"
                 "[HotKey1]\nKey=Ctrl+Alt+Shift+H\nCommand=CLIPBOARD\n"
                 "[HotKey2]\nKey=Ctrl+Alt+Shift+K\nCommand=CMDLAUNCHER\n"
                 "[ClipboardList]\nEnable=1\n")));
  SetCursorPos(200, 150);
  const RECT area = WorkAreaAtPointer();
  ASSERT_TRUE(OpenClipWindow(clipWindow, pad, kHotMods, 'H'));
  RECT shown{};
  GetWindowRect(clipWindow, &shown);
  EXPECT_TRUE(CentredOn(shown, area)) << shown.left << "," << shown.top;
  PressHotKey(0, VK_ESCAPE);
  ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(clipWindow); }));

  PressHotKey(kHotMods, 'K');
  HWND launcher = nullptr;
  ASSERT_TRUE(WaitFor([&] {
    launcher = TopWindowOf(kelvo.ProcessId(), L"TCmdLncForm");
    return launcher && IsWindowVisible(launcher);
  }));
  GetWindowRect(launcher, &shown);
  EXPECT_TRUE(CentredOn(shown, area)) << shown.left << "," << shown.top;
}

TEST_F(WindowFitTest, At144DpiASizeStoredAt96DpiCutsNoControl) {
  const LogPixels dpi(144);
  ASSERT_TRUE(Start(
      CrLf("[General]\nVersion=169\n"
           "[HotKey1]\nKey=Ctrl+Alt+Shift+H\nCommand=CLIPBOARD\n"
           "[HotKey2]\nKey=Ctrl+Alt+Shift+L\nCommand=HOTKEY_LIST\n"
           "[ClipboardList]\nEnable=1\nSaveHistory=1\nPosX=20\nPosY=20\nWidth=320\nHeight=400\n"
           "[HotKeyList]\nWinLeft=20\nWinTop=20\nWinWidth=200\nWinHeight=120\n")));
  ASSERT_TRUE(CopyAndWait(kelvo, "x"));
  ASSERT_TRUE(OpenClipWindow(clipWindow, pad, kHotMods, 'H'));
  const HWND tabs = FindWindowExW(clipWindow, nullptr, WC_TABCONTROLW, nullptr);
  ASSERT_NE(tabs, nullptr);
  RECT tab{};
  ASSERT_TRUE(RemoteRect(tabs, TCM_GETITEMRECT, 1, tab));
  EXPECT_EQ(tab.bottom - tab.top, 30) << "the tabs are 20 pixels high at 96 dpi: Kelvo runs at 144";
  RECT tabsClient{};
  GetClientRect(tabs, &tabsClient);
  EXPECT_LE(tab.right, tabsClient.right) << "the 定型文 tab is cut";
  const HWND arrows = FindWindowExW(tabs, nullptr, UPDOWN_CLASSW, nullptr);
  EXPECT_FALSE(arrows && IsWindowVisible(arrows)) << "the tabs scroll";

  // The status bar's size text, in the window's font at 144 dpi, fits its panel.
  const HWND status = GetDlgItem(clipWindow, kStatus);
  EXPECT_TRUE(WaitFor([&] { return StatusText(status, 1) == L"       1文字/     1行"; }));
  LOGFONTW base{};
  base.lfHeight = -MulDiv(9, 144, 72);
  base.lfCharSet = SHIFTJIS_CHARSET;
  lstrcpynW(base.lfFaceName, L"ＭＳ Ｐゴシック", LF_FACESIZE);
  HDC dc = CreateCompatibleDC(nullptr);
  HFONT font = CreateFontIndirectW(&base);
  HGDIOBJ old = SelectObject(dc, font);
  SIZE text{};
  GetTextExtentPoint32W(dc, L"       1文字/     1行", 18, &text);
  SelectObject(dc, old);
  DeleteObject(font);
  DeleteDC(dc);
  RECT panel = StatusPartRect(status, 1);
  EXPECT_GE(panel.right - panel.left, text.cx) << "「1行」 is cut";
  PressHotKey(0, VK_ESCAPE);

  // The hotkey list stored far too small: its button and a few rows show whole.
  PressHotKey(kHotMods, 'L');
  HWND list = nullptr;
  ASSERT_TRUE(WaitFor([&] {
    list = FindCaptionedWindow(kelvo.ProcessId(), L"ホットキー一覧");
    return list != nullptr;
  }));
  RECT client{}, button{}, rows{};
  GetClientRect(list, &client);
  const HWND close = FindWindowExW(list, nullptr, L"Button", nullptr);
  const HWND listBox = FindWindowExW(list, nullptr, L"ListBox", nullptr);
  GetWindowRect(close, &button);
  GetWindowRect(listBox, &rows);
  MapWindowPoints(nullptr, list, reinterpret_cast<POINT*>(&button), 2);
  MapWindowPoints(nullptr, list, reinterpret_cast<POINT*>(&rows), 2);
  EXPECT_GE(button.left, 0);
  EXPECT_LE(button.right, client.right);
  EXPECT_LE(button.bottom, client.bottom);
  EXPECT_GE(button.top, rows.bottom) << "the button lies on the list";
  EXPECT_GE(rows.bottom - rows.top, 3 * SendMessageW(listBox, LB_GETITEMHEIGHT, 0, 0));
}

TEST_F(WindowFitTest, AnEmojiIsOneCharacterInEveryOwnerDrawnRow) {
  WriteBytes(kelvo.Folder() + L"\\CLIPDATA.txt", HistoryFile({"top", kSushi}));
  WriteBytes(kelvo.Folder() + L"\\TEXTDATA.txt", "top\r\n" + std::string(kSushi) + "\r\n");
  WriteBytes(kelvo.Folder() + L"\\menu.txt", std::string(kSushi) + "\tnothing.exe\r\n");
  ASSERT_TRUE(Start("\xEF\xBB\xBF" +
                    CrLf(std::string("[General]\nVersion=169\n"
                                     "[HotKey1]\nKey=Ctrl+Alt+Shift+H\nCommand=CLIPBOARD\n"
                                     "[HotKey2]\nKey=Ctrl+Alt+Shift+T\nCommand=CLIPBOARD_T\n"
                                     "[HotKey3]\nKey=Ctrl+Alt+Shift+L\nCommand=HOTKEY_LIST\n"
                                     "[HotKey4]\nKey=Ctrl+Alt+Shift+P\nCommand=POPUPMENU\n"
                                     "[HotKey5]\nKey=Ctrl+Alt+Shift+Y\nDescription=") +
                         kSushi +
                         "\n[HotKey6]\nKey=Ctrl+Alt+Shift+Z\nDescription=|\n"
                         "[PopupMenu]\nPopupFile=menu.txt\nPosX=40\nPosY=40\n"
                         "FontName=DejaVu Sans\nFontSize=12\nFontCharset=0\n"
                         "[ClipboardList]\nEnable=1\nSaveHistory=1\nPosX=60\nPosY=60\n"
                         "FontName=DejaVu Sans\nFontSize=12\nFontCharset=0\n")));
  const int sixBoxes = UnitByUnitWidth(DejaVu16());

  ASSERT_TRUE(OpenClipWindow(clipWindow, pad, kHotMods, 'H'));
  const HWND history = GetDlgItem(clipWindow, kHistoryList);
  ExpectThreeCharacters(PaintedInk([&] { return RowOnScreen(history, 1); }), sixBoxes,
                        "the history row");
  PressHotKey(0, VK_ESCAPE);

  ASSERT_TRUE(OpenClipWindow(clipWindow, pad, kHotMods, 'T'));
  const HWND canned = GetDlgItem(clipWindow, kCannedList);
  ExpectThreeCharacters(PaintedInk([&] { return RowOnScreen(canned, 1); }), sixBoxes,
                        "the canned row");
  PressHotKey(0, VK_ESCAPE);

  // The hotkey list: the summaries start in one column, so the sushi's row reaches beyond the
  // row of "|" by the sushi's width. (Their rows sort last, away from the focused first row.)
  PressHotKey(kHotMods, 'L');
  HWND list = nullptr;
  ASSERT_TRUE(WaitFor([&] {
    list = FindCaptionedWindow(kelvo.ProcessId(), L"ホットキー一覧");
    return list != nullptr && GetForegroundWindow() == list;
  }));
  const HWND rows = FindWindowExW(list, nullptr, L"ListBox", nullptr);
  // The list reaches under the window's right border: only what the client area shows counts.
  RECT shownArea{};
  GetClientRect(list, &shownArea);
  MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&shownArea), 2);
  const auto rowEnd = [&](const wchar_t* key) {
    for (int i = 0; i < SendMessageW(rows, LB_GETCOUNT, 0, 0); ++i) {
      wchar_t text[256] = {};
      SendMessageW(rows, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
      if (std::wstring(text).rfind(key, 0) != 0) continue;
      RECT row = RowOnScreen(rows, i);
      row.right = std::min(row.right, shownArea.right - GetSystemMetrics(SM_CXVSCROLL) - 4);
      return InkColumns(row).second;
    }
    return -1;
  };
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
  ASSERT_TRUE(WaitFor([&] { return rowEnd(L"Shift+Ctrl+Alt+Y") > 0; }));
  ExpectThreeCharacters(rowEnd(L"Shift+Ctrl+Alt+Y") - rowEnd(L"Shift+Ctrl+Alt+Z"),
                        UnitByUnitWidth(metrics.lfMessageFont), "the hotkey list's row");
  PressHotKey(0, VK_ESCAPE);
  // Gone from the screen first: a menu not painted yet shows what lies under it.
  ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(list); }));

  // The launcher menu is measured and drawn alike: its one item shows three characters.
  PressHotKey(kHotMods, 'P');
  HWND menu = nullptr;
  ASSERT_TRUE(WaitFor([&] {
    menu = FindWindowW(L"#32768", nullptr);
    return menu && IsWindowVisible(menu);
  }));
  RECT inside{};
  GetWindowRect(menu, &inside);
  InflateRect(&inside, -4, -4);
  ExpectThreeCharacters(PaintedInk([&] { return inside; }), sixBoxes, "the launcher menu's item");
  PressHotKey(0, VK_ESCAPE);
}
