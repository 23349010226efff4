#include "platform/window_system_win.h"

#include "platform/wide_win.h"

namespace {

constexpr int kTitleBufferChars = 2047;  // titles of up to 2046 units
constexpr int kClassBufferChars = 511;   // class names of up to 510 units
// Windows restacked during the walk can send it in a circle; no desktop holds this many.
constexpr std::size_t kMaxTopLevelWindows = 65536;
// How long a restore waits for a window that does not answer.
constexpr UINT kRestoreTimeoutMs = 1500;
// How long an activation waits for the window's program to take it, and how often it looks.
constexpr ULONGLONG kActivationWaitMs = 1000;
constexpr DWORD kActivationPollMs = 5;

HWND ToHwnd(WindowHandle window) { return reinterpret_cast<HWND>(window); }

bool OfThisThread(HWND window) {
  return GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId();
}

// Whether the thread of the window has made it its active window.
bool HasTakenActivation(HWND window, DWORD thread) {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  return GetGUIThreadInfo(thread, &info) && info.hwndActive == window;
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
  const HWND hwnd = ToHwnd(window);
  if (!SetForegroundWindow(hwnd)) return false;
  // Another program's window becomes its active window when its thread next handles its
  // messages; until then keys sent to the foreground reach nobody, or its frame instead of the
  // field that has the focus. So what follows waits a moment for it, unless the program does not
  // answer at all.
  const DWORD thread = GetWindowThreadProcessId(hwnd, nullptr);
  if (thread == 0 || thread == GetCurrentThreadId() || IsHungAppWindow(hwnd)) return true;
  const ULONGLONG end = GetTickCount64() + kActivationWaitMs;
  while (!HasTakenActivation(hwnd, thread) && GetTickCount64() < end) {
    // The activation may send messages to Kelvo's windows and wait for the answer; they are
    // answered meanwhile, so neither program waits for the other. Posted messages, hotkeys among
    // them, stay queued.
    MsgWaitForMultipleObjects(0, nullptr, FALSE, kActivationPollMs, QS_SENDMESSAGE);
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
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
