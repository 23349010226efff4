#include "desktop_driver.h"

#include <algorithm>
#include <cstdio>

#include "base/text_codec.h"
#include "drive/window_reading.h"
#include "kelvo_session.h"

namespace {

constexpr int kEditId = 100;

bool RegisterTestClass(const wchar_t* className, WNDPROC procedure) {
  WNDCLASSW existing;
  if (GetClassInfoW(GetModuleHandleW(nullptr), className, &existing)) return true;
  WNDCLASSW wc{};
  wc.lpfnWndProc = procedure;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = className;
  return RegisterClassW(&wc) != 0;
}

// The driver's own key events carry this mark, so that a key recorder can tell them from the
// keys Kelvo types.
constexpr ULONG_PTR kDriverKeyMark = 0x4B454C56;

void AddKey(std::vector<INPUT>& inputs, WORD vk, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = vk;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  input.ki.dwExtraInfo = kDriverKeyMark;
  inputs.push_back(input);
}

}  // namespace

TestWindow::TestWindow(const std::wstring& title, const wchar_t* className, int x, int y) {
  RegisterTestClass(className, &TestWindow::Procedure);
  hwnd_ = CreateWindowExW(0, className, title.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, y, 300,
                          200, nullptr, nullptr, GetModuleHandleW(nullptr), this);
  edit_ =
      CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_MULTILINE, 0, 0, 280, 150, hwnd_,
                      reinterpret_cast<HMENU>(kEditId), GetModuleHandleW(nullptr), nullptr);
  // A window shown active took the focus before its edit existed.
  if (GetFocus() == hwnd_) SetFocus(edit_);
  PumpMessages();
}

TestWindow::~TestWindow() {
  if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
  PumpMessages();
}

std::wstring TestWindow::EditText() const {
  wchar_t buffer[1024] = {};
  GetWindowTextW(edit_, buffer, 1024);
  return buffer;
}

LRESULT CALLBACK TestWindow::Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    SetWindowLongPtrW(
        hwnd, GWLP_USERDATA,
        reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams));
  }
  auto* self = reinterpret_cast<TestWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  switch (msg) {
    case WM_ACTIVATE:
      if (self && LOWORD(wp) != WA_INACTIVE) ++self->activations_;
      break;
    case WM_SETFOCUS:
      if (self && self->edit_) SetFocus(self->edit_);
      return 0;
    case WM_COPYDATA: {
      const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lp);
      if (self && data) {
        {
          std::lock_guard lock(self->mutex_);
          self->copyData_.emplace_back(
              data->dwData, std::string(static_cast<const char*>(data->lpData), data->cbData));
        }
        ++self->copyCount_;
        // Holding the message keeps the sender (Kelvo's macro starter) waiting.
        const ULONGLONG until = GetTickCount64() + 30000;
        while (self->hold_ && GetTickCount64() < until) {
          PumpMessages();
          MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        }
      }
      return 0;
    }
    case WM_NCDESTROY:
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      break;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

// Whether keys sent now have a window to go to: the foreground thread has an active or a focused
// window. A window brought to the front that has not yet handled its activation, or Wine's own
// tray window shown without activation, has neither.
bool KeysHaveATarget(HWND foreground) {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  return GetGUIThreadInfo(GetWindowThreadProcessId(foreground, nullptr), &info) &&
         (info.hwndActive != nullptr || info.hwndFocus != nullptr);
}

// Under Wine without a window manager, hiding the active window can leave no foreground window
// at all, a hidden one for a moment, or one whose thread has no active window, and then injected
// keys reach nobody, not even the hotkeys. A user's desktop always has a window that takes the
// keys, so the driver keeps a window of its own to stand in for it. Wine brings its key state in
// line when the focus moves and may then drop a modifier sent first; a key-up of a key nobody
// uses absorbs that before the real keys go.
bool BringToFront(HWND window) {
  int stayed = 0;
  return WaitFor([&] {
    PumpMessages();
    if (GetForegroundWindow() != window) {
      stayed = 0;
      SetForegroundWindow(window);
      return false;
    }
    return ++stayed >= 3;
  });
}

void EnsureForegroundWindow() {
  const HWND foreground = GetForegroundWindow();
  // A popup menu keeps its hidden owner in front while it is open; that is no lost foreground.
  const bool menuOpen = VisibleMenus() > 0;
  if (foreground != nullptr && (IsWindowVisible(foreground) || menuOpen) &&
      KeysHaveATarget(foreground)) {
    return;
  }
  static TestWindow* desk = new TestWindow(L"Driver desktop", L"KelvoDriverDesk", 900, 700);
  SetForegroundWindow(desk->hwnd());
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (GetForegroundWindow() != desk->hwnd() && std::chrono::steady_clock::now() < end) {
    PumpMessages();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  std::vector<INPUT> settle;
  AddKey(settle, VK_NONAME, true);
  SendInput(static_cast<UINT>(settle.size()), settle.data(), sizeof(INPUT));
  PumpMessages();
}

// Wine brings its key state in line with the X server's whenever a thread reads the event of a
// window that got the focus, and releases every key the X server does not know as down: all the
// keys the driver sends. A window shown or activated a moment ago may read that event only after
// the driver has pressed the modifiers, and the hotkey then arrives without one of them. So the
// modifiers are pressed again until they have stayed down while the thread of the window in
// front went through its message loop (where Wine reads those events) three times. A key without
// modifiers waits for the same rounds: a window that has just come to the front may not yet have
// given the focus to its field, and a key before that reaches the frame.
void HoldModifiers(const std::vector<WORD>& keys) {
  std::vector<INPUT> down;
  for (WORD vk : keys) AddKey(down, vk, false);
  for (int steady = 0, round = 0; steady < 3 && round < 40; ++round) {
    if (!down.empty()) SendInput(static_cast<UINT>(down.size()), down.data(), sizeof(INPUT));
    PumpMessages();
    const HWND foreground = GetForegroundWindow();
    if (foreground && GetWindowThreadProcessId(foreground, nullptr) != GetCurrentThreadId()) {
      WindowAnswers(foreground, 500);
    }
    Sleep(10);
    down.clear();
    for (WORD vk : keys) {
      if (!(GetAsyncKeyState(vk) & 0x8000)) AddKey(down, vk, false);
    }
    steady = down.empty() ? steady + 1 : 0;
  }
}

void PressHotKey(UINT modifiers, UINT virtualKey) {
  EnsureForegroundWindow();
  const std::pair<UINT, WORD> mods[] = {
      {MOD_CONTROL, VK_CONTROL}, {MOD_ALT, VK_MENU}, {MOD_SHIFT, VK_SHIFT}, {MOD_WIN, VK_LWIN}};
  std::vector<WORD> held;
  for (const auto& [flag, vk] : mods) {
    if (modifiers & flag) held.push_back(vk);
  }
  HoldModifiers(held);
  std::vector<INPUT> inputs;
  AddKey(inputs, static_cast<WORD>(virtualKey), false);
  AddKey(inputs, static_cast<WORD>(virtualKey), true);
  for (auto it = std::rbegin(mods); it != std::rend(mods); ++it) {
    if (modifiers & it->first) AddKey(inputs, it->second, true);
  }
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void TypeText(const std::wstring& text) {
  for (wchar_t unit : text) {
    EnsureForegroundWindow();
    HoldModifiers({});
    // A key event that carries the character itself, as an input method or a touch keyboard
    // delivers it: the window gets WM_KEYDOWN with VK_PACKET, then the character.
    std::vector<INPUT> inputs(2);
    for (std::size_t i = 0; i < inputs.size(); ++i) {
      inputs[i].type = INPUT_KEYBOARD;
      inputs[i].ki.wScan = unit;
      inputs[i].ki.dwFlags = KEYEVENTF_UNICODE | (i == 1 ? KEYEVENTF_KEYUP : 0);
      inputs[i].ki.dwExtraInfo = kDriverKeyMark;
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  }
}

namespace {

const std::pair<UINT, WORD> kModifierKeys[] = {
    {MOD_CONTROL, VK_CONTROL}, {MOD_ALT, VK_MENU}, {MOD_SHIFT, VK_SHIFT}, {MOD_WIN, VK_LWIN}};

std::mutex recordedMutex;
std::vector<std::string> recorded;

}  // namespace

void HoldHotKey(UINT modifiers, UINT virtualKey) {
  EnsureForegroundWindow();
  std::vector<WORD> held;
  for (const auto& [flag, vk] : kModifierKeys) {
    if (modifiers & flag) held.push_back(vk);
  }
  HoldModifiers(held);
  std::vector<INPUT> inputs;
  AddKey(inputs, static_cast<WORD>(virtualKey), false);
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void ReleaseHotKey(UINT modifiers, UINT virtualKey) {
  std::vector<INPUT> inputs;
  AddKey(inputs, static_cast<WORD>(virtualKey), true);
  for (auto it = std::rbegin(kModifierKeys); it != std::rend(kModifierKeys); ++it) {
    if (modifiers & it->first) AddKey(inputs, it->second, true);
  }
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

KeyRecorder::KeyRecorder() {
  {
    std::lock_guard lock(recordedMutex);
    recorded.clear();
  }
  hook_ = SetWindowsHookExW(WH_KEYBOARD_LL, &KeyRecorder::Hook, GetModuleHandleW(nullptr), 0);
}

KeyRecorder::~KeyRecorder() {
  if (hook_) UnhookWindowsHookEx(hook_);
}

LRESULT CALLBACK KeyRecorder::Hook(int code, WPARAM wp, LPARAM lp) {
  const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lp);
  if (code == HC_ACTION && key->dwExtraInfo != kDriverKeyMark) {
    char text[16];
    const bool up = wp == WM_KEYUP || wp == WM_SYSKEYUP;
    std::snprintf(text, sizeof text, "%s %02X", up ? "up" : "down",
                  static_cast<unsigned>(key->vkCode));
    std::lock_guard lock(recordedMutex);
    recorded.push_back(text);
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

std::vector<std::string> KeyRecorder::Events() const {
  std::lock_guard lock(recordedMutex);
  return recorded;
}

bool KeyRecorder::Saw(const std::vector<std::string>& run) const {
  const std::vector<std::string> events = Events();
  return std::search(events.begin(), events.end(), run.begin(), run.end()) != events.end();
}

HWND FindCaptionedWindow(DWORD processId, const std::wstring& caption) {
  return TopWindowOf(processId, [&](HWND hwnd) {
    wchar_t text[256] = {};
    GetWindowTextW(hwnd, text, 256);
    return caption == text && IsWindowVisible(hwnd);
  });
}

std::vector<MessageBoxInfo> MessageBoxesOf(DWORD processId) {
  struct Search {
    DWORD processId;
    std::vector<MessageBoxInfo> boxes;
  } search{processId, {}};
  EnumWindows(
      [](HWND hwnd, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        wchar_t cls[64] = {};
        GetClassNameW(hwnd, cls, 64);
        DWORD pid = 0;
        GetWindowThreadProcessId(hwnd, &pid);
        if (pid != s->processId || std::wstring(cls) != L"#32770" || !IsWindowVisible(hwnd)) {
          return TRUE;
        }
        MessageBoxInfo box;
        box.hwnd = hwnd;
        wchar_t text[1024] = {};
        GetWindowTextW(hwnd, text, 1024);
        box.caption = text;
        // The message is the one static control with text (the icon's has none).
        EnumChildWindows(
            hwnd,
            [](HWND child, LPARAM lp2) -> BOOL {
              auto* b = reinterpret_cast<MessageBoxInfo*>(lp2);
              wchar_t childClass[32] = {};
              GetClassNameW(child, childClass, 32);
              wchar_t childText[1024] = {};
              GetWindowTextW(child, childText, 1024);
              if (_wcsicmp(childClass, L"Static") == 0 && childText[0] != 0) b->text = childText;
              return TRUE;
            },
            reinterpret_cast<LPARAM>(&box));
        s->boxes.push_back(box);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.boxes;
}

void CloseMessageBox(HWND box) { PostMessageW(box, WM_COMMAND, IDOK, 0); }

std::string Narrow(const std::wstring& text) {
  return Utf16ToUtf8(std::u16string(text.begin(), text.end()));
}

HWND TopWindowOf(DWORD processId, const std::function<bool(HWND)>& match) {
  struct Search {
    DWORD processId;
    const std::function<bool(HWND)>& match;
    HWND found;
  } search{processId, match, nullptr};
  EnumWindows(
      [](HWND hwnd, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        DWORD pid = 0;
        GetWindowThreadProcessId(hwnd, &pid);
        if (pid != s->processId || !s->match(hwnd)) return TRUE;
        s->found = hwnd;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND TopWindowOf(DWORD processId, const std::wstring& className) {
  return TopWindowOf(processId, [&](HWND hwnd) {
    wchar_t cls[256] = {};
    GetClassNameW(hwnd, cls, 256);
    return className == cls;
  });
}

std::string TypingContext(HWND kelvoWindow) {
  const bool answers = WindowAnswers(kelvoWindow, 1000);
  const HWND foreground = GetForegroundWindow();
  wchar_t front[256] = {};
  wchar_t frontClass[256] = {};
  GetWindowTextW(foreground, front, 256);
  GetClassNameW(foreground, frontClass, 256);
  DWORD frontProcess = 0;
  GetWindowThreadProcessId(foreground, &frontProcess);
  std::string down;
  const std::pair<int, const char*> keys[] = {
      {VK_SHIFT, " Shift"}, {VK_CONTROL, " Ctrl"}, {VK_MENU, " Alt"}, {VK_LWIN, " Win"}};
  for (const auto& [vk, name] : keys) {
    if (GetAsyncKeyState(vk) & 0x8000) down += name;
  }
  return std::string("Kelvo ") + (answers ? "answers" : "does not answer") + "; in front: \"" +
         Narrow(front) + "\" of class \"" + Narrow(frontClass) + "\" in process " +
         std::to_string(frontProcess) + " (this test is " + std::to_string(GetCurrentProcessId()) +
         ")" + (foreground && !KeysHaveATarget(foreground) ? ", taking no keys" : "") +
         "; keys down:" + (down.empty() ? " none" : down);
}
