#pragma once
#include <windows.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

// Test windows of the driver's own, injected key presses and the message boxes Kelvo shows.

// A visible top-level window with an edit control that takes the focus whenever the window is
// activated, so that typed keys land in it.
class TestWindow {
 public:
  static constexpr wchar_t kDefaultClass[] = L"KelvoTestTarget";

  explicit TestWindow(const std::wstring& title, const wchar_t* className = kDefaultClass,
                      int x = 100, int y = 100);
  ~TestWindow();
  TestWindow(const TestWindow&) = delete;
  TestWindow& operator=(const TestWindow&) = delete;

  HWND hwnd() const { return hwnd_; }
  std::wstring EditText() const;
  // Copy-data messages the window received: (identifier, bytes); may be called from another
  // thread.
  std::vector<std::pair<ULONG_PTR, std::string>> CopyData() const {
    std::lock_guard lock(mutex_);
    return copyData_;
  }
  // While set, a copy-data message is held (the sender waits) until Release, or for 30 seconds
  // at most; both may be called from another thread.
  void HoldCopyData() { hold_ = true; }
  void Release() { hold_ = false; }
  int CopyDataCount() const { return copyCount_; }
  // How often the window has been made the active one.
  int Activations() const { return activations_; }

 private:
  static LRESULT CALLBACK Procedure(HWND, UINT, WPARAM, LPARAM);
  HWND hwnd_ = nullptr;
  HWND edit_ = nullptr;
  mutable std::mutex mutex_;
  std::vector<std::pair<ULONG_PTR, std::string>> copyData_;
  std::atomic<bool> hold_{false};
  std::atomic<int> copyCount_{0};
  std::atomic<int> activations_{0};
};

// A top-level window of the process that matches, or has that class name; nullptr for none.
HWND TopWindowOf(DWORD processId, const std::function<bool(HWND)>& match);
HWND TopWindowOf(DWORD processId, const std::wstring& className);

// Gives the window the foreground until it stays there while this thread reads its events: Wine
// may hand the foreground to its desktop window when a late focus event of a window hidden a
// moment ago is read. False when it never stays in front.
bool BringToFront(HWND window);

// Presses and releases a combination (MOD_ flags and a virtual key) with SendInput.
void PressHotKey(UINT modifiers, UINT virtualKey);

// Types each UTF-16 unit of the text as a key event that carries the character (kana, full-width
// letters), one at a time as a user's keystrokes come.
void TypeText(const std::wstring& text);

// Presses a combination and keeps it held, as a user who has not yet let go; ReleaseHotKey lets
// go of it (the key first, then the modifiers).
void HoldHotKey(UINT modifiers, UINT virtualKey);
void ReleaseHotKey(UINT modifiers, UINT virtualKey);

// Records the key events that reach the system from other programs (a low-level keyboard hook of
// this thread, which must go through its message loop: WaitFor does), as "down 5B", "up 4D"; the
// driver's own key presses are left out.
class KeyRecorder {
 public:
  KeyRecorder();
  ~KeyRecorder();
  KeyRecorder(const KeyRecorder&) = delete;
  KeyRecorder& operator=(const KeyRecorder&) = delete;
  std::vector<std::string> Events() const;
  // Whether the events hold these ones in a row.
  bool Saw(const std::vector<std::string>& run) const;

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wp, LPARAM lp);
  HHOOK hook_ = nullptr;
};

// A visible top-level window of the process with this caption, or null.
HWND FindCaptionedWindow(DWORD processId, const std::wstring& caption);

// A message box of another process: its text and caption; Close presses its first button.
struct MessageBoxInfo {
  HWND hwnd = nullptr;
  std::wstring caption;
  std::wstring text;
};
std::vector<MessageBoxInfo> MessageBoxesOf(DWORD processId);
void CloseMessageBox(HWND box);

std::string Narrow(const std::wstring& text);

// What a failed typing test needs to be understood: whether the window answers messages, which
// window is in front and which modifier keys the system believes are down.
std::string TypingContext(HWND kelvoWindow);
