#include "clip_driver.h"

#include <cstring>
#include <filesystem>
#include <fstream>
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

HWND ClipWindowOf(DWORD processId) {
  struct Search {
    DWORD processId;
    HWND found;
  } search{processId, nullptr};
  EnumWindows(
      [](HWND hwnd, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        DWORD pid = 0;
        GetWindowThreadProcessId(hwnd, &pid);
        wchar_t cls[64] = {};
        GetClassNameW(hwnd, cls, 64);
        if (pid != s->processId || std::wstring(cls) != L"TClipBdList") return TRUE;
        s->found = hwnd;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND ChildOfClass(HWND parent, const wchar_t* cls, int n) {
  HWND child = nullptr;
  for (int i = 0; i <= n; ++i) child = FindWindowExW(parent, child, cls, nullptr);
  return child;
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
  std::ofstream out(std::filesystem::path(path), std::ios::binary);
  out << bytes;
}

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
  return WaitFor([&] {
    return IsWindowVisible(clipWindow) != FALSE && GetForegroundWindow() == clipWindow;
  });
}
