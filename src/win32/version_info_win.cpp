#include "win32/version_info_win.h"

#include <windows.h>

#include <cwchar>

#include "base/version_number.h"
#include "win32/late_bound_win.h"
#include "win32/owned_kernel_objects_win.h"
#include "win32/wide_win.h"

namespace {

// The version library is not one of the system's known libraries: imported, it would be looked
// for beside Kelvo.exe first, before any code of Kelvo's runs, and a file of that name planted in
// a downloads folder would run inside Kelvo. It is loaded from the system folder when first used.
using GetFileVersionInfoSizeFn = DWORD(WINAPI*)(LPCWSTR, LPDWORD);
using GetFileVersionInfoFn = BOOL(WINAPI*)(LPCWSTR, DWORD, DWORD, LPVOID);
using VerQueryValueFn = BOOL(WINAPI*)(LPCVOID, LPCWSTR, LPVOID*, PUINT);

struct VersionLibrary {
  GetFileVersionInfoSizeFn infoSize =
      LateBound<GetFileVersionInfoSizeFn>(L"version.dll", "GetFileVersionInfoSizeW");
  GetFileVersionInfoFn info =
      LateBound<GetFileVersionInfoFn>(L"version.dll", "GetFileVersionInfoW");
  VerQueryValueFn query = LateBound<VerQueryValueFn>(L"version.dll", "VerQueryValueW");
  bool Loaded() const { return infoSize && info && query; }
};

const VersionLibrary& Version() {
  static const VersionLibrary library;
  return library;
}

// Four lower-case hexadecimal digits.
std::u16string Hex4(WORD value) {
  constexpr char16_t kDigits[] = u"0123456789abcdef";
  std::u16string text(4, u'0');
  for (int i = 3; i >= 0; --i) {
    text[i] = kDigits[value & 0xF];
    value = static_cast<WORD>(value >> 4);
  }
  return text;
}

// The first (language, code page) pair of the resource's translation table.
bool FirstTranslation(void* block, WORD& language, WORD& codePage) {
  void* value = nullptr;
  UINT length = 0;
  if (!Version().query(block, L"\\VarFileInfo\\Translation", &value, &length)) return false;
  if (value == nullptr || length < 2 * sizeof(WORD)) return false;
  const WORD* pair = static_cast<const WORD*>(value);
  language = pair[0];
  codePage = pair[1];
  return true;
}

}  // namespace

std::u16string FileVersionText(const std::u16string& file) {
  const VersionLibrary& version = Version();
  if (!version.Loaded()) return {};
  DWORD ignored = 0;
  const DWORD size = version.infoSize(W(file), &ignored);
  if (size == 0) return {};
  const HeapBlock block = owned::HeapAlloc(HEAP_ZERO_MEMORY, size);
  if (!block) return {};
  if (!version.info(W(file), 0, size, block.get())) return {};
  WORD language = 0;
  WORD codePage = 0;
  if (!FirstTranslation(block.get(), language, codePage)) return {};
  const std::u16string subBlock =
      u"\\StringFileInfo\\" + Hex4(language) + Hex4(codePage) + u"\\FileVersion";
  void* value = nullptr;
  UINT length = 0;
  if (!version.query(block.get(), W(subBlock), &value, &length) || value == nullptr) return {};
  // The length may or may not count the terminator; the text ends at the first one either way.
  const wchar_t* text = static_cast<const wchar_t*>(value);
  return U16(text, wcsnlen(text, length));
}

std::u16string ExecutablePath() {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    // A full buffer means the path was cut short.
    if (length < buffer.size()) return U16(buffer.data(), length);
    if (buffer.size() >= 32768) return {};
    buffer.resize(buffer.size() * 2);
  }
}

int AppVersionNumber() { return VersionNumberFromText(FileVersionText(ExecutablePath())); }
