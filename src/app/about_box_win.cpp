#include "app/about_box_win.h"

#include "platform/wide_win.h"

namespace {

constexpr int kClientWidth = 267;
constexpr int kClientHeight = 205;

FontHandle MakeFont(const std::u16string& face, int height, bool bold, bool italic,
                    bool underline, BYTE charset) {
  LOGFONTW lf{};
  lf.lfHeight = -height;
  lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = italic;
  lf.lfUnderline = underline;
  lf.lfCharSet = charset;
  lstrcpynW(lf.lfFaceName, W(face), LF_FACESIZE);
  return FontHandle(CreateFontIndirectW(&lf));
}

}  // namespace

RECT AboutBox::Design(int x, int y, int width, int height) const {
  return RECT{Scale(x, dpi_), Scale(y, dpi_), Scale(x + width, dpi_), Scale(y + height, dpi_)};
}

void AboutBox::Create(HWND window, HICON icon, std::u16string versionText, std::u16string linkText) {
  window_ = window;
  icon_ = icon;
  version_ = std::move(versionText);
  link_ = std::move(linkText);
  okButton_ = CreateWindowExW(0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
                              0, 0, 0, 0, window, reinterpret_cast<HMENU>(kOkButtonId),
                              GetModuleHandleW(nullptr), nullptr);
  ApplyDpi(GetDpiForWindow(window));
}

void AboutBox::ApplyDpi(UINT dpi) {
  dpi_ = dpi ? dpi : 96;
  titleFont_ = MakeFont(kAboutFontFace, Scale(24, dpi_), true, true, false, SHIFTJIS_CHARSET);
  linkFont_ = MakeFont(kAboutFontFace, Scale(12, dpi_), false, false, true, SHIFTJIS_CHARSET);
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, dpi_);
  textFont_ = FontHandle(CreateFontIndirectW(&metrics.lfMessageFont));
  const RECT ok = Design(96, 168, 75, 25);
  SetWindowPos(okButton_, nullptr, ok.left, ok.top, ok.right - ok.left, ok.bottom - ok.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageW(okButton_, WM_SETFONT, reinterpret_cast<WPARAM>(textFont_.get()), TRUE);
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

void AboutBox::DrawCentred(HDC dc, const std::u16string& text, HFONT font, RECT rect,
                           COLORREF color) const {
  SelectedObject selected(dc, font);
  SetTextColor(dc, color);
  DrawTextW(dc, W(text), static_cast<int>(text.size()), &rect,
            DT_CENTER | DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER);
}

void AboutBox::Paint(HDC dc) const {
  RECT panel = Design(8, 8, 249, 145);
  DrawEdge(dc, &panel, BDR_SUNKENOUTER, BF_RECT);
  const RECT image = Design(24, 16, 33, 33);
  DrawIconEx(dc, image.left, image.top, icon_, Scale(32, dpi_), Scale(32, dpi_), 0, nullptr,
             DI_NORMAL);
  SetBkMode(dc, TRANSPARENT);
  const COLORREF text = GetSysColor(COLOR_BTNTEXT);
  DrawCentred(dc, u"Kelvo", titleFont_.get(), Design(80, 16, 89, 24), text);
  DrawCentred(dc, version_, textFont_.get(), Design(72, 48, 105, 13), text);
  DrawCentred(dc, kFreeSoftware, textFont_.get(), Design(64, 88, 121, 13), text);
  DrawCentred(dc, link_, linkFont_.get(), Design(9, 120, 230, 12), RGB(0, 0, 0x80));
}

bool AboutBox::OverLink(POINT client) const {
  const RECT link = Design(9, 120, 230, 12);
  return PtInRect(&link, client) != FALSE;
}
