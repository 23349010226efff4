#include "drive/leak_probes.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <sstream>

#include "base/text_codec.h"
#include "drive/file_bytes.h"
#include "win32/wide_win.h"

namespace {

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

bool AllDigits(const wchar_t* name) {
  if (!*name) return false;
  for (; *name; ++name) {
    if (*name < L'0' || *name > L'9') return false;
  }
  return true;
}

}  // namespace

LiveCounts AskLiveCounts(HWND kelvoMainWindow) {
  const UINT message = RegisterWindowMessageW(W(kLiveObjectsMessageName));
  LiveCounts counts{};
  for (int kind = 0; kind < kLiveKindCount; ++kind) {
    DWORD_PTR answer = 0;
    const bool answered = SendMessageTimeoutW(kelvoMainWindow, message, static_cast<WPARAM>(kind),
                                              0, SMTO_ABORTIFHUNG, 5000, &answer) != 0;
    counts[kind] =
        answered ? static_cast<long long>(static_cast<LRESULT>(answer)) : kUnknownLiveKind;
  }
  return counts;
}

long UnixProcessOf(const std::wstring& exePath) {
  const std::string wanted = Lower(Utf16ToUtf8(U16(exePath.c_str())));
  WIN32_FIND_DATAW data;
  const HANDLE find = FindFirstFileW(L"Z:\\proc\\*", &data);
  if (find == INVALID_HANDLE_VALUE) return 0;
  long found = 0;
  do {
    if (!AllDigits(data.cFileName)) continue;
    const std::string commandLine =
        Lower(ReadBytes(std::wstring(L"Z:\\proc\\") + data.cFileName + L"\\cmdline"));
    if (commandLine.find(wanted) != std::string::npos) {
      found = std::wcstol(data.cFileName, nullptr, 10);
    }
  } while (found == 0 && FindNextFileW(find, &data));
  FindClose(find);
  return found;
}

long long PrivateMemoryKb(long unixProcess) {
  if (unixProcess <= 0) return -1;
  std::istringstream status(ReadBytes(L"Z:\\proc\\" + std::to_wstring(unixProcess) + L"\\status"));
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("RssAnon:", 0) != 0) continue;
    // "RssAnon:	    4096 kB"
    return std::strtoll(line.c_str() + 8, nullptr, 10);
  }
  return -1;
}
