#include "clip_driver.h"

#include <commctrl.h>

#include <cstring>
#include <regex>

bool SetClipboard(const std::wstring& text, bool markedPrivate) {
  bool open = false;
  for (int attempt = 0; attempt < 50 && !open; ++attempt) {
    open = OpenClipboard(nullptr) != FALSE;
    if (!open) Sleep(20);
  }
  if (!open) return false;
  EmptyClipboard();
  const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
  bool ok = block != nullptr;
  if (ok) {
    std::memcpy(GlobalLock(block), text.c_str(), bytes);
    GlobalUnlock(block);
    ok = SetClipboardData(CF_UNICODETEXT, block) != nullptr;
  }
  if (ok && markedPrivate) {
    const UINT format = RegisterClipboardFormatW(L"ExcludeClipboardContentFromMonitorProcessing");
    ok = SetClipboardData(format, GlobalAlloc(GMEM_MOVEABLE, 1)) != nullptr;
  }
  CloseClipboard();
  return ok;
}

std::wstring ClipboardText() {
  std::wstring text;
  if (!OpenClipboard(nullptr)) return text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* units = static_cast<const wchar_t*>(GlobalLock(data))) {
      text = units;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

HWND ClipWindowOf(DWORD processId) { return TopWindowOf(processId, L"TClipBdList"); }

std::vector<std::string> Entries(const std::string& file) {
  std::vector<std::string> texts;
  static const std::regex record("CreTime=[^\r\n]*\r\nLineCount=1\r\n([^\r\n]*)\r\n\r\n");
  for (auto it = std::sregex_iterator(file.begin(), file.end(), record);
       it != std::sregex_iterator(); ++it) {
    texts.push_back((*it)[1]);
  }
  return texts;
}

std::string Joined(const std::vector<std::string>& texts) {
  std::string out;
  for (const auto& t : texts) out += t + ";";
  return out;
}

std::vector<std::string> StoredHistory(KelvoSession& kelvo) {
  DWORD_PTR answer = 0;
  SendMessageTimeoutW(kelvo.MainWindow(), WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, 10000,
                      &answer);
  return Entries(kelvo.ReadFileBytes(L"CLIPDATA.txt"));
}

bool CopyAndWait(KelvoSession& kelvo, const std::string& text) {
  if (!SetClipboard(std::wstring(text.begin(), text.end()))) return false;
  return WaitFor([&] {
    const auto entries = StoredHistory(kelvo);
    return !entries.empty() && entries.front() == text;
  });
}

bool OpenClipWindow(HWND clipWindow, const TestWindow& pad, UINT modifiers, UINT key) {
  SetForegroundWindow(pad.hwnd());
  if (!WaitFor([&] { return GetForegroundWindow() == pad.hwnd(); })) return false;
  PressHotKey(modifiers, key);
  // Keys typed next must reach it: it shows first and takes the foreground right after.
  return WaitFor(
      [&] { return IsWindowVisible(clipWindow) != FALSE && GetForegroundWindow() == clipWindow; });
}

namespace {

// A block of memory in another process, freed when it goes.
class RemoteBuffer {
 public:
  RemoteBuffer(HWND window, std::size_t bytes) : bytes_(bytes) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    process_ =
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
    if (process_) address_ = VirtualAllocEx(process_, nullptr, bytes, MEM_COMMIT, PAGE_READWRITE);
  }
  ~RemoteBuffer() {
    if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    if (process_) CloseHandle(process_);
  }
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;

  void* Address() const { return address_; }
  LPARAM Param() const { return reinterpret_cast<LPARAM>(address_); }
  std::string Read() const {
    std::string bytes(bytes_, '\0');
    SIZE_T read = 0;
    if (!address_ || !ReadProcessMemory(process_, address_, bytes.data(), bytes_, &read)) return {};
    bytes.resize(read);
    return bytes;
  }

 private:
  std::size_t bytes_;
  HANDLE process_ = nullptr;
  void* address_ = nullptr;
};

void SendMouse(DWORD flags, POINT at) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = MulDiv(at.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
  input.mi.dy = MulDiv(at.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
  SendInput(1, &input, sizeof(input));
}

}  // namespace

std::wstring StatusText(HWND statusBar, int part) {
  constexpr std::size_t kUnits = 512;
  RemoteBuffer buffer(statusBar, kUnits * sizeof(wchar_t));
  if (!buffer.Address()) return L"(no buffer)";
  SendMessageW(statusBar, SB_GETTEXTW, static_cast<WPARAM>(part), buffer.Param());
  const std::string bytes = buffer.Read();
  std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
  return text.substr(0, text.find(L'\0'));
}

bool RemoteRect(HWND control, UINT message, WPARAM wp, RECT& rect) {
  RemoteBuffer buffer(control, sizeof(RECT));
  if (!buffer.Address() || !SendMessageW(control, message, wp, buffer.Param())) return false;
  const std::string bytes = buffer.Read();
  if (bytes.size() != sizeof(RECT)) return false;
  std::memcpy(&rect, bytes.data(), sizeof(RECT));
  return true;
}

RECT StatusPartRect(HWND statusBar, int part) {
  RECT rect{};
  RemoteRect(statusBar, SB_GETRECT, static_cast<WPARAM>(part), rect);
  return rect;
}

POINT CentreOf(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

POINT RowPoint(HWND list, int row) {
  const auto height = static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
  const auto top = static_cast<int>(SendMessageW(list, LB_GETTOPINDEX, 0, 0));
  RECT client{};
  GetClientRect(list, &client);
  POINT at{(client.left + client.right) / 2, (row - top) * height + height / 2};
  ClientToScreen(list, &at);
  return at;
}

void ClickAt(POINT at, bool twice) {
  SendMouse(0, at);
  for (int i = 0; i < (twice ? 2 : 1); ++i) {
    SendMouse(MOUSEEVENTF_LEFTDOWN, at);
    SendMouse(MOUSEEVENTF_LEFTUP, at);
  }
}

void RightClickAt(POINT at) {
  SendMouse(0, at);
  SendMouse(MOUSEEVENTF_RIGHTDOWN, at);
  SendMouse(MOUSEEVENTF_RIGHTUP, at);
}

void DragFromTo(POINT from, POINT to) {
  SendMouse(0, from);
  SendMouse(MOUSEEVENTF_LEFTDOWN, from);
  constexpr int kSteps = 8;
  for (int i = 1; i <= kSteps; ++i) {
    SendMouse(0,
              POINT{from.x + (to.x - from.x) * i / kSteps, from.y + (to.y - from.y) * i / kSteps});
  }
  SendMouse(MOUSEEVENTF_LEFTUP, to);
}
