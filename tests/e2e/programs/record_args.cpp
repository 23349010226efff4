// Test helper: writes its command line and current directory, one per line and UTF-8 encoded, to
// the file named by KELVO_RECORD_FILE (or record_args.txt next to itself), then ends.
#include <windows.h>

#include <string>

#include "replace_file.h"

namespace {

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return {};
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                      nullptr, nullptr);
  return out;
}

std::wstring RecordFile() {
  wchar_t buffer[32768];
  const DWORD length = GetEnvironmentVariableW(L"KELVO_RECORD_FILE", buffer, 32768);
  if (length > 0 && length < 32768) return std::wstring(buffer, length);
  const DWORD self = GetModuleFileNameW(nullptr, buffer, 32768);
  std::wstring path(buffer, self);
  const std::size_t slash = path.find_last_of(L"\\/");
  path.resize(slash == std::wstring::npos ? 0 : slash + 1);
  return path + L"record_args.txt";
}

std::wstring CurrentDirectory() {
  wchar_t buffer[32768];
  const DWORD length = GetCurrentDirectoryW(32768, buffer);
  return length < 32768 ? std::wstring(buffer, length) : std::wstring();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  const std::string text = Utf8(GetCommandLineW()) + "\n" + Utf8(CurrentDirectory()) + "\n";
  // Written beside the record and renamed over it, so that a waiting reader never sees half of it.
  const std::wstring record = RecordFile();
  const std::wstring partial = record + L".part";
  HANDLE file = CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  const BOOL wrote =
      WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
  if (!wrote || !ReplaceWithPartial(partial, record)) return 1;
  return 0;
}
