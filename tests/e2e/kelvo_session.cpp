#include "kelvo_session.h"

#include <shellapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <thread>

#include "base/text_codec.h"
#include "core/hand_over.h"
#include "util/text_file.h"
#include "win32/code_page_win.h"
#include "win32/wide_win.h"

namespace {

std::wstring NewTemporaryFolder() {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  static int counter = 0;
  for (int attempt = 0; attempt < 1000; ++attempt) {
    std::wstring folder = std::wstring(temp) + L"kelvo-e2e-" +
                          std::to_wstring(GetCurrentProcessId()) + L"-" +
                          std::to_wstring(++counter);
    if (CreateDirectoryW(folder.c_str(), nullptr)) return folder;
    if (GetLastError() != ERROR_ALREADY_EXISTS) break;
  }
  return {};  // the session's start then fails: there is no folder to copy Kelvo into
}

void RemoveTree(const std::wstring& dir) {
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((dir + L"\\*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = data.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring path = dir + L"\\" + name;
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(path);
      } else {
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(path.c_str());
      }
    } while (FindNextFileW(find, &data));
    FindClose(find);
  }
  RemoveDirectoryW(dir.c_str());
}

}  // namespace

bool CanRegister(UINT modifiers, UINT virtualKey) {
  constexpr int kProbeId = 0xB000;
  if (!RegisterHotKey(nullptr, kProbeId, modifiers, virtualKey)) return false;
  UnregisterHotKey(nullptr, kProbeId);
  return true;
}

std::string Utf8(const std::u16string& text) { return Utf16ToUtf8(text); }

std::string CrLf(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

KelvoSession::KelvoSession() : root_(NewTemporaryFolder()), folder_(root_) {
  if (folder_.empty()) return;
  CopyProgram(L"Kelvo.exe");
}

KelvoSession::KelvoSession(const std::wstring& inner) : root_(NewTemporaryFolder()) {
  if (root_.empty()) return;
  std::wstring path = root_;
  for (std::size_t start = 0; start <= inner.size();) {
    const std::size_t end = std::min(inner.find(L'\\', start), inner.size());
    path += L"\\" + inner.substr(start, end - start);
    if (!CreateDirectoryW(path.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) return;
    start = end + 1;
  }
  folder_ = path;
}

KelvoSession::KelvoSession(std::size_t folderLength) : root_(NewTemporaryFolder()) {
  if (root_.empty() || root_.size() + 2 > folderLength) return;
  std::wstring path = root_;
  while (path.size() < folderLength) {
    const std::size_t room = folderLength - path.size() - 1;
    // A folder name of one character would leave no room for the separator of the next one.
    const std::size_t name = room > 200 ? (room - 200 < 2 ? 150 : 200) : room;
    path += L"\\" + std::wstring(name, L'k');
    if (!CreateDirectoryW(path.c_str(), nullptr)) return;
  }
  folder_ = path;
  CopyProgram(L"Kelvo.exe");
}

std::wstring KelvoSession::CopyProgram(const std::wstring& name) const {
  return ::CopyProgram(ThisProgramsFolder(), name, folder_);
}

std::string KelvoSession::ReadFileBytes(const std::wstring& name) const {
  return ReadBytes(folder_ + L"\\" + name);
}

KelvoSession::~KelvoSession() {
  if (Running()) Stop();
  if (process_) CloseHandle(process_);
  if (!root_.empty()) RemoveTree(root_);
}

void KelvoSession::WriteIni(const std::string& bytes) const {
  if (folder_.empty()) return;
  WriteBytes(IniPath(), bytes);
}

std::string KelvoSession::ReadIni() const { return ReadBytes(IniPath()); }

std::u16string KelvoSession::ReadIniText() const {
  WinCodePage codePage;
  return DecodeText(ReadIni(), codePage).text;
}

bool KelvoSession::Running() const {
  return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

long long KelvoSession::LoadsDone() const {
  const UINT message = RegisterWindowMessageW(W(kLoadsDoneMessageName));
  DWORD_PTR done = 0;
  if (!mainWindow_ ||
      !SendMessageTimeoutW(mainWindow_, message, 0, 0, SMTO_ABORTIFHUNG, 5000, &done)) {
    return -1;
  }
  return static_cast<long long>(done);
}

bool KelvoSession::Answers() const { return WindowAnswers(mainWindow_, 5000); }

bool KelvoSession::Start(bool trayExpected) {
  if (folder_.empty()) return false;
  const auto begin = std::chrono::steady_clock::now();
  // Says which step of the start did not come and after how long, so that a failed start in a
  // log tells a slow machine from a Kelvo that ended or hung.
  const auto fail = [&](const char* what) {
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::steady_clock::now() - begin)
                        .count();
    ADD_FAILURE() << "Kelvo's start: " << what << " (after " << ms << " ms)";
    return false;
  };
  process_ = LaunchProgram(ExePath(), L"", folder_);
  if (!process_) return fail("CreateProcess failed");
  // A new Wine prefix on a busy machine can take many seconds for a first start; the deadlines
  // are generous because they cost nothing when Kelvo is quick.
  constexpr auto kReady = std::chrono::seconds(120);
  const bool found = WaitFor(
      [&] {
        mainWindow_ = FindWindowW(L"TKelvoMainForm", nullptr);
        return mainWindow_ != nullptr || !Running();
      },
      kReady);
  if (!found) return fail("no main window");
  if (!mainWindow_) {
    DWORD code = 0;
    GetExitCodeProcess(process_, &code);
    return fail(("it ended with code " + std::to_string(code)).c_str());
  }
  // The main window exists before its first load ends, and under Wine the process may look idle
  // in the middle of the load. The tray icon is added at the end of the load, after every hotkey
  // was registered; when there is no icon to wait for, the caller waits for what it checks.
  if (WaitForInputIdle(process_, 120000) != 0) return fail("never idle");
  if (trayExpected && !WaitFor([&] { return TrayIconExists(mainWindow_); }, kReady)) {
    return fail("no tray icon");
  }
  return true;
}

HANDLE KelvoSession::LaunchAgain(const std::wstring& arguments) const {
  return LaunchProgram(ExePath(), arguments, folder_);
}

DWORD KelvoSession::StartAgain(const std::wstring& arguments) {
  HANDLE second = LaunchAgain(arguments);
  if (!second) return 0xDEADBEEF;
  DWORD code = 0xDEADBEEF;
  if (WaitFor([&] { return WaitForSingleObject(second, 0) == WAIT_OBJECT_0; },
              std::chrono::seconds(30))) {
    GetExitCodeProcess(second, &code);
  } else {
    TerminateProcess(second, 0xDEADBEEF);
  }
  CloseHandle(second);
  return code;
}

long KelvoSession::WaitForExit() {
  if (!process_) return -2;
  if (!WaitFor([&] { return WaitForSingleObject(process_, 0) == WAIT_OBJECT_0; })) return -2;
  DWORD code = 0;
  GetExitCodeProcess(process_, &code);
  return static_cast<long>(code);
}

long KelvoSession::Stop() {
  if (!process_) return -2;
  if (mainWindow_) PostMessageW(mainWindow_, WM_CLOSE, 0, 0);
  if (!WaitFor([&] { return WaitForSingleObject(process_, 0) == WAIT_OBJECT_0; },
               std::chrono::seconds(15))) {
    TerminateProcess(process_, 0xDEAD);
    WaitForSingleObject(process_, 5000);
    return -2;
  }
  DWORD code = 0;
  GetExitCodeProcess(process_, &code);
  return static_cast<long>(code);
}
