#include "app/main_window_win.h"

#include "ui/gdi_win.h"

bool TKelvoMainForm::Create() {
  appIcon_ = KelvoIcon();
  if (!RegisterClassOnce(kClassName)) return false;
  // The main window is the about box; it stays hidden until asked for.
  // A dialog frame without title-bar buttons, always on top.
  return CreateHandle(kClassName, L"Kelvo", WS_POPUP | WS_CAPTION | WS_DLGFRAME,
                      WS_EX_TOPMOST | WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, CW_USEDEFAULT,
                      CW_USEDEFAULT, 283, 244, nullptr) != nullptr;
}

void TKelvoMainForm::ShowAbout(const std::u16string& versionText, const std::u16string& linkText) {
  // Its controls are made at the first show: most runs never show the box, and creating
  // controls loads the common-controls library, which costs every start.
  if (!aboutBox_.Created()) aboutBox_.Create(Handle(), appIcon_, versionText, linkText);
  aboutBox_.PlaceCentred();
  ShowWindow(Handle(), SW_SHOW);
  SetForegroundWindow(Handle());
  SetFocus(aboutBox_.OkButton());
}

bool TKelvoMainForm::OnAboutCommand(int id, int notification) {
  if (id == AboutBox::kOkButtonId || id == IDCANCEL) {
    Hide();
  } else if (id == AboutBox::kWebLabelId && notification == STN_CLICKED) {
    handler_.OpenUserGuide();
  } else {
    return false;
  }
  return true;
}

LRESULT TKelvoMainForm::OnPaint() {
  const PaintDC paint(Handle());
  if (paint.Get()) aboutBox_.PaintPanel(paint.Get());
  return 0;
}

LRESULT TKelvoMainForm::OnDpiChanged(UINT dpi, const RECT& suggested) {
  if (aboutBox_.Created()) aboutBox_.ApplyDpi(dpi);
  SetWindowPos(Handle(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(Handle(), nullptr, TRUE);
  return 0;
}

LRESULT TKelvoMainForm::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT:
      return OnPaint();
    case WM_COMMAND:
      if (OnAboutCommand(LOWORD(wp), HIWORD(wp))) return 0;
      break;
    case WM_CTLCOLORSTATIC:
      return reinterpret_cast<LRESULT>(
          aboutBox_.ColorStatic(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp)));
    case WM_SETCURSOR:
      if (aboutBox_.IsWebLabel(reinterpret_cast<HWND>(wp))) {
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
      }
      return Default(msg, wp, lp);
    case WM_DPICHANGED:
      return OnDpiChanged(HIWORD(wp), *reinterpret_cast<const RECT*>(lp));
    default:
      break;
  }
  if (const std::optional<LRESULT> answer = handler_.HandleAppMessage(msg, wp, lp)) return *answer;
  return Default(msg, wp, lp);
}
