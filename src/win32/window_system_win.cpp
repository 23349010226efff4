#include "win32/window_system_win.h"

#include "win32/wide_win.h"

namespace {

constexpr int kTitleBufferChars = 2047;  // titles of up to 2046 units
constexpr int kClassBufferChars = 511;   // class names of up to 510 units
// Windows restacked during the walk can send it in a circle; no desktop holds this many.
constexpr std::size_t kMaxTopLevelWindows = 65536;
// How long a restore waits for a window that does not answer.
constexpr UINT kRestoreTimeoutMs = 1500;
// How long an activation before keys waits for the window's thread at most.
constexpr UINT kActivationWaitMs = 200;

HWND ToHwnd(WindowHandle window) { return reinterpret_cast<HWND>(window); }

bool OfThisThread(HWND window) {
  return GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId();
}

HWND ActiveWindowOf(DWORD thread) {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  return GetGUIThreadInfo(thread, &info) ? info.hwndActive : nullptr;
}

// Waits until the thread of the window has handled the activation that was asked for.
// The system hands another program's thread its activation as a message sent to it; a message
// sent after it is answered only once the thread has handled it, so the answer is the event
// that ends the wait, whatever the program does next (moving the activation on to a window of
// its own, a prompt, an owner window). Kelvo answers messages sent to it meanwhile, so neither
// program waits for the other; a thread that is busy for longer ends the wait at the limit.
void AwaitActivation(HWND window, DWORD thread) {
  const ULONGLONG end = GetTickCount64() + kActivationWaitMs;
  DWORD_PTR result = 0;
  SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL | SMTO_ABORTIFHUNG, kActivationWaitMs,
                      &result);
  // Windows may deliver the activation after the messages sent to the thread: until the thread
  // has an active window, keys would reach nobody.
  while (ActiveWindowOf(thread) == nullptr && GetTickCount64() < end) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_SENDMESSAGE);
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
}

}  // namespace

std::vector<WindowHandle> WinWindowSystem::TopLevelWindows() const {
  // One call for the whole list in z-order, topmost first; stepping with GetWindow would ask the
  // window manager once per window.
  std::vector<WindowHandle> windows;
  EnumWindows(
      [](HWND wnd, LPARAM lp) -> BOOL {
        auto* list = reinterpret_cast<std::vector<WindowHandle>*>(lp);
        list->push_back(reinterpret_cast<WindowHandle>(wnd));
        return list->size() < kMaxTopLevelWindows;
      },
      reinterpret_cast<LPARAM>(&windows));
  return windows;
}

bool WinWindowSystem::IsVisible(WindowHandle window) const {
  return IsWindowVisible(ToHwnd(window)) != FALSE;
}

std::u16string WinWindowSystem::Title(WindowHandle window) const {
  wchar_t buffer[kTitleBufferChars] = {};
  const int length = GetWindowTextW(ToHwnd(window), buffer, kTitleBufferChars);
  return length > 0 ? U16(buffer, static_cast<std::size_t>(length)) : std::u16string();
}

std::u16string WinWindowSystem::ClassName(WindowHandle window) const {
  wchar_t buffer[kClassBufferChars] = {};
  const int length = GetClassNameW(ToHwnd(window), buffer, kClassBufferChars);
  return length > 0 ? U16(buffer, static_cast<std::size_t>(length)) : std::u16string();
}

bool WinWindowSystem::IsIconic(WindowHandle window) const {
  return ::IsIconic(ToHwnd(window)) != FALSE;
}

void WinWindowSystem::SendRestore(WindowHandle window) {
  // A program that does not answer must not stop Kelvo: after the timeout (or at once, for a
  // window the system already knows as hung) the hotkey goes on.
  DWORD_PTR result = 0;
  SendMessageTimeoutW(ToHwnd(window), WM_SYSCOMMAND, SC_RESTORE, 0, SMTO_ABORTIFHUNG,
                      kRestoreTimeoutMs, &result);
}

bool WinWindowSystem::SetForeground(WindowHandle window) {
  return SetForegroundWindow(ToHwnd(window)) != FALSE;
}

bool WinWindowSystem::SetForegroundForKeys(WindowHandle window) {
  const HWND hwnd = ToHwnd(window);
  const DWORD thread = GetWindowThreadProcessId(hwnd, nullptr);
  if (thread != 0 && GetForegroundWindow() == hwnd && ActiveWindowOf(thread) == hwnd) return true;
  if (!SetForegroundWindow(hwnd)) return false;
  if (thread != 0 && thread != GetCurrentThreadId() && !IsHungAppWindow(hwnd)) {
    AwaitActivation(hwnd, thread);
  }
  return true;
}

void WinWindowSystem::ShowWindow(WindowHandle window, int showCommand) {
  // Showing another thread's window waits for that thread, which may never answer; the
  // asynchronous call leaves the request in its queue instead.
  const HWND hwnd = ToHwnd(window);
  if (OfThisThread(hwnd)) {
    ::ShowWindow(hwnd, showCommand);
  } else {
    ShowWindowAsync(hwnd, showCommand);
  }
}

void WinWindowSystem::PostClose(WindowHandle window) {
  PostMessageW(ToHwnd(window), WM_SYSCOMMAND, SC_CLOSE, 0);
}
