#include "app/about_box_win.h"

#include <utility>

#include "ui/owned_gdi_objects_win.h"
#include "win32/wide_win.h"

namespace {

constexpr int kClientWidth = 267;
constexpr int kClientHeight = 205;

FontHandle MakeFont(const std::u16string& face, int height, bool bold, bool italic, bool underline,
                    BYTE charset) {
  LOGFONTW lf{};
  lf.lfHeight = -height;
  lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = italic;
  lf.lfUnderline = underline;
  lf.lfCharSet = charset;
  lstrcpynW(lf.lfFaceName, W(face), LF_FACESIZE);
  return owned::CreateFontIndirectW(&lf);
}

// The font to hand to the controls: the new one, or the one they have when none could be made.
HFONT NewOrKept(const FontHandle& made, const FontHandle& kept) {
  return made.get() ? made.get() : kept.get();
}

// Keeps the new font, deleting the one the controls no longer use.
void Keep(FontHandle& kept, FontHandle& made) {
  if (made.get()) kept = std::move(made);
}

HWND MakeStatic(HWND parent, const std::u16string& text, DWORD style, int id = 0) {
  return CreateWindowExW(0, L"STATIC", W(text), WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         GetModuleHandleW(nullptr), nullptr);
}

}  // namespace

RECT AboutBox::Design(int x, int y, int width, int height) const {
  return RECT{Scale(x, dpi_), Scale(y, dpi_), Scale(x + width, dpi_), Scale(y + height, dpi_)};
}

void AboutBox::Create(HWND window, HICON icon, const std::u16string& versionText,
                      const std::u16string& linkText) {
  window_ = window;
  image_ = MakeStatic(window, u"", SS_ICON | SS_CENTERIMAGE);
  SendMessageW(image_, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
  title_ = MakeStatic(window, u"Kelvo", SS_CENTER | SS_NOPREFIX);
  version_ = MakeStatic(window, versionText, SS_CENTER | SS_NOPREFIX);
  licence_ = MakeStatic(window, kFreeSoftware, SS_CENTER | SS_NOPREFIX);
  webLabel_ = MakeStatic(window, linkText, SS_CENTER | SS_NOPREFIX | SS_NOTIFY, kWebLabelId);
  okButton_ = CreateWindowExW(
      0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 0, 0, 0,
      window, reinterpret_cast<HMENU>(kOkButtonId), GetModuleHandleW(nullptr), nullptr);
  ApplyDpi(GetDpiForWindow(window));
}

void AboutBox::Place(HWND control, int x, int y, int width, int height, HFONT font) const {
  const RECT r = Design(x, y, width, height);
  SetWindowPos(control, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  if (font) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void AboutBox::ApplyDpi(UINT dpi) {
  dpi_ = dpi ? dpi : 96;
  // The controls get the new fonts before the old ones are deleted: a control must never hold a
  // deleted font, not even for a moment.
  FontHandle titleFont =
      MakeFont(kAboutFontFace, Scale(24, dpi_), true, true, false, SHIFTJIS_CHARSET);
  FontHandle linkFont =
      MakeFont(kAboutFontFace, Scale(12, dpi_), false, false, true, SHIFTJIS_CHARSET);
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, dpi_);
  FontHandle textFont = owned::CreateFontIndirectW(&metrics.lfMessageFont);
  const HFONT title = NewOrKept(titleFont, titleFont_);
  const HFONT link = NewOrKept(linkFont, linkFont_);
  const HFONT text = NewOrKept(textFont, textFont_);
  // The panel starts at (8, 8); the controls on it are placed relative to the window.
  Place(image_, 8 + 24, 8 + 16, 33, 33, nullptr);
  Place(title_, 8 + 80, 8 + 16, 89, 24, title);
  Place(version_, 8 + 72, 8 + 48, 105, 13, text);
  Place(licence_, 8 + 64, 8 + 88, 121, 13, text);
  Place(webLabel_, 8 + 9, 8 + 120, 230, 12, link);
  Place(okButton_, 96, 168, 75, 25, text);
  Keep(titleFont_, titleFont);
  Keep(linkFont_, linkFont);
  Keep(textFont_, textFont);
}

void AboutBox::PlaceCentred() {
  RECT frame{0, 0, Scale(kClientWidth, dpi_), Scale(kClientHeight, dpi_)};
  AdjustWindowRectExForDpi(&frame, static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_STYLE)), FALSE,
                           static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_EXSTYLE)), dpi_);
  MONITORINFO monitor{sizeof(monitor)};
  GetMonitorInfoW(MonitorFromWindow(window_, MONITOR_DEFAULTTOPRIMARY), &monitor);
  const RECT& work = monitor.rcWork;
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  SetWindowPos(window_, HWND_TOPMOST, work.left + (work.right - work.left - width) / 2,
               work.top + (work.bottom - work.top - height) / 2, width, height, SWP_NOACTIVATE);
}

void AboutBox::PaintPanel(HDC dc) const {
  RECT panel = Design(8, 8, 249, 145);
  DrawEdge(dc, &panel, BDR_SUNKENOUTER, BF_RECT);
}

HBRUSH AboutBox::ColorStatic(HDC dc, HWND control) const {
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, control == webLabel_ ? RGB(0, 0, 0x80) : GetSysColor(COLOR_BTNTEXT));
  return GetSysColorBrush(COLOR_BTNFACE);
}
