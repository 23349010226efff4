#include "win32/desktop_win.h"

#include "win32/wide_win.h"

namespace {

HWND Hwnd(WindowHandle window) { return reinterpret_cast<HWND>(window); }
WindowHandle Handle(HWND window) { return reinterpret_cast<WindowHandle>(window); }

bool OfThisThread(HWND window) {
  return GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId();
}

}  // namespace

WindowHandle WinDesktop::Foreground() const { return Handle(GetForegroundWindow()); }

std::uint32_t WinDesktop::WindowThread(WindowHandle window, std::uint32_t* processId) const {
  DWORD process = 0;
  const DWORD thread = window ? GetWindowThreadProcessId(Hwnd(window), &process) : 0;
  if (processId) *processId = process;
  return thread;
}

bool WinDesktop::AttachInput(std::uint32_t otherThread, bool attach) {
  return otherThread != 0 && AttachThreadInput(GetCurrentThreadId(), otherThread, attach) != FALSE;
}

WindowHandle WinDesktop::FocusedWindow() const { return Handle(GetFocus()); }

void WinDesktop::SetFocus(WindowHandle window) {
  // The focus messages are sent to the window's thread and waited for; a thread that has stopped
  // answering would keep Kelvo waiting with it.
  if (!OfThisThread(Hwnd(window)) && IsHungAppWindow(Hwnd(window))) return;
  ::SetFocus(Hwnd(window));
}

bool WinDesktop::GetRect(WindowHandle window, WindowRect& rect) const {
  RECT r;
  if (!GetWindowRect(Hwnd(window), &r)) return false;
  rect = {r.left, r.top, r.right, r.bottom};
  return true;
}

void WinDesktop::SetPosition(WindowHandle window, int x, int y, int width, int height) {
  // Another thread's window is placed when it next handles its messages: waiting for it could
  // take for ever.
  const UINT async = OfThisThread(Hwnd(window)) ? 0 : SWP_ASYNCWINDOWPOS;
  SetWindowPos(Hwnd(window), HWND_TOP, x, y, width, height, SWP_SHOWWINDOW | async);
}

int WinDesktop::ScreenWidth() const { return GetSystemMetrics(SM_CXSCREEN); }

int WinDesktop::ScreenHeight() const { return GetSystemMetrics(SM_CYSCREEN); }

WindowHandle WinDesktop::FindByClass(const std::u16string& className) const {
  return Handle(FindWindowW(W(className), nullptr));
}

void WinDesktop::BringKelvoToFront() {
  // Only the activation: the box shown next runs its own message loop. Handling waiting messages
  // here would run hotkeys, hand-overs or a request to end in the middle of the caller's work.
  SetForegroundWindow(kelvoWindow_);
}
