#pragma once
#include <windows.h>

#include <thread>

// A visible top-level window whose thread stops answering messages: once made, the thread blocks
// in a wait until Release, and then handles what was sent to it meanwhile and answers again until
// the destructor. The wait ends by itself after hangMs, so that a caller that does wait for the
// window cannot keep the tests waiting for ever (it is then only slow, which the tests measure).
class HungWindow {
 public:
  HungWindow(const wchar_t* className, const wchar_t* title, bool minimised, DWORD hangMs = 10000)
      : ready_(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
        release_(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
        end_(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
        done_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    thread_ = std::thread([=, this] { Run(className, title, minimised, hangMs); });
    WaitForSingleObject(ready_, 10000);
  }
  ~HungWindow() {
    Release();
    SetEvent(end_);
    // This thread keeps answering while the window's thread ends: destroying a window may send to
    // this thread's windows (Wine's input-method window does, once a test used input contexts),
    // and a plain join would then wait for ever.
    while (MsgWaitForMultipleObjects(1, &done_, FALSE, INFINITE, QS_SENDMESSAGE) != WAIT_OBJECT_0) {
      MSG msg;
      PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    thread_.join();
    CloseHandle(ready_);
    CloseHandle(release_);
    CloseHandle(end_);
    CloseHandle(done_);
  }
  HungWindow(const HungWindow&) = delete;
  HungWindow& operator=(const HungWindow&) = delete;

  // Null when the window could not be made.
  HWND hwnd() const { return hwnd_; }
  DWORD ThreadId() const { return threadId_; }
  void Release() { SetEvent(release_); }

 private:
  void Run(const wchar_t* className, const wchar_t* title, bool minimised, DWORD hangMs) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = className;
    RegisterClassW(&wc);  // fails harmlessly when an earlier window registered it
    HWND window = CreateWindowExW(0, className, title, WS_OVERLAPPEDWINDOW, 200, 200, 300, 200,
                                  nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (window) ShowWindow(window, minimised ? SW_SHOWMINNOACTIVE : SW_SHOWNOACTIVATE);
    Pump();
    threadId_ = GetCurrentThreadId();
    hwnd_ = window;
    SetEvent(ready_);
    WaitForSingleObject(release_, hangMs);  // not answering anything meanwhile
    do {
      Pump();
    } while (MsgWaitForMultipleObjects(1, &end_, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0);
    if (window) DestroyWindow(window);
    Pump();
    SetEvent(done_);
  }
  static void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }

  HANDLE ready_;
  HANDLE release_;
  HANDLE end_;
  HANDLE done_;
  HWND hwnd_ = nullptr;
  DWORD threadId_ = 0;
  std::thread thread_;
};
