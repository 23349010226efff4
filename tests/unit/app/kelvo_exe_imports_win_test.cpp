// Kelvo.exe imports only the libraries every start needs, and only system libraries that Windows
// keeps in its list of known libraries: those are always taken from the system folder. Any other
// imported library is looked for beside Kelvo.exe first, before Kelvo's first line runs, so a
// file of that name planted in a downloads folder would run inside Kelvo. The shell, COM, the
// version library, the multimedia library and the common controls are loaded from the system
// folder at their first use; a direct call into one of those would also load it at every start
// (25–50 ms each under Wine) before a single hotkey is registered.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <string>

namespace {

std::string ReadFile(const std::wstring& path) {
  std::ifstream in(path.c_str(), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

template <typename T>
std::optional<T> At(const std::string& image, std::size_t offset) {
  if (offset > image.size() || image.size() - offset < sizeof(T)) return std::nullopt;
  T value;
  std::memcpy(&value, image.data() + offset, sizeof(T));
  return value;
}

// The names of the libraries in the import directory of a 64-bit image file, in lower case;
// nothing when the file is not such an image.
std::optional<std::set<std::string>> ImportedLibraries(const std::string& image) {
  const auto dos = At<IMAGE_DOS_HEADER>(image, 0);
  if (!dos || dos->e_magic != IMAGE_DOS_SIGNATURE) return std::nullopt;
  const auto nt = At<IMAGE_NT_HEADERS64>(image, static_cast<std::size_t>(dos->e_lfanew));
  if (!nt || nt->Signature != IMAGE_NT_SIGNATURE) return std::nullopt;
  const std::size_t sections = static_cast<std::size_t>(dos->e_lfanew) +
                               offsetof(IMAGE_NT_HEADERS64, OptionalHeader) +
                               nt->FileHeader.SizeOfOptionalHeader;
  auto fileOffset = [&](DWORD rva) -> std::optional<std::size_t> {
    for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i) {
      const auto section =
          At<IMAGE_SECTION_HEADER>(image, sections + i * sizeof(IMAGE_SECTION_HEADER));
      if (!section) return std::nullopt;
      const DWORD start = section->VirtualAddress;
      if (rva >= start && rva < start + std::max(section->Misc.VirtualSize, section->SizeOfRawData))
        return section->PointerToRawData + (rva - start);
    }
    return std::nullopt;
  };
  const IMAGE_DATA_DIRECTORY directory =
      nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  auto entry = fileOffset(directory.VirtualAddress);
  if (!entry) return std::nullopt;
  std::set<std::string> names;
  for (;; *entry += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
    const auto descriptor = At<IMAGE_IMPORT_DESCRIPTOR>(image, *entry);
    if (!descriptor) return std::nullopt;
    if (descriptor->Name == 0) break;
    const auto name = fileOffset(descriptor->Name);
    if (!name) return std::nullopt;
    std::string text(image.c_str() + *name);
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    names.insert(text);
  }
  return names;
}

}  // namespace

TEST(KelvoExeTest, ImportsOnlyKnownSystemLibrariesThatEveryStartNeeds) {
  wchar_t self[MAX_PATH];
  ASSERT_NE(GetModuleFileNameW(nullptr, self, MAX_PATH), 0u);
  std::wstring exe(self);
  exe = exe.substr(0, exe.find_last_of(L"\\/") + 1) + L"Kelvo.exe";
  const std::string image = ReadFile(exe);
  ASSERT_FALSE(image.empty()) << "Kelvo.exe is built beside the tests";
  const auto imports = ImportedLibraries(image);
  ASSERT_TRUE(imports.has_value());
  // Each of these is a known library of every Windows version Kelvo runs on.
  const std::set<std::string> allowed = {"kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll",
                                         "msvcrt.dll"};
  for (const std::string& name : *imports) EXPECT_TRUE(allowed.count(name)) << name;
  EXPECT_TRUE(imports->count("user32.dll"));
}
