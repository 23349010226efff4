#include "win32/late_bound_win.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::wstring FolderOf(const std::wstring& path) { return path.substr(0, path.find_last_of(L'\\')); }

std::wstring ModulePath(HMODULE module) {
  wchar_t path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(module, path, MAX_PATH);
  return std::wstring(path, length);
}

std::wstring SystemFolder() {
  wchar_t path[MAX_PATH] = {};
  const UINT length = GetSystemDirectoryW(path, MAX_PATH);
  return std::wstring(path, length);
}

// The probe library of the build, copied beside the test program under another name for the
// test's duration.
class PlantedLibrary {
 public:
  explicit PlantedLibrary(const std::wstring& name)
      : path_(FolderOf(ModulePath(nullptr)) + L"\\" + name) {
    const std::wstring probe = FolderOf(path_) + L"\\kelvo_probe_library.dll";
    planted_ = CopyFileW(probe.c_str(), path_.c_str(), FALSE) != FALSE;
  }
  ~PlantedLibrary() {
    if (planted_) DeleteFileW(path_.c_str());
  }
  PlantedLibrary(const PlantedLibrary&) = delete;
  PlantedLibrary& operator=(const PlantedLibrary&) = delete;
  bool Planted() const { return planted_; }

 private:
  std::wstring path_;
  bool planted_ = false;
};

TEST(LoadSystemLibraryTest, ALibraryBesideTheProgramIsNotTakenForTheSystemOne) {
  PlantedLibrary planted(L"msi.dll");
  ASSERT_TRUE(planted.Planted()) << "build the kelvo_probe_library target";
  const ModuleHandle module = LoadSystemLibrary(L"msi.dll");
  ASSERT_TRUE(module);
  EXPECT_EQ(GetProcAddress(module.get(), "KelvoProbe"), nullptr);
  EXPECT_EQ(CompareStringOrdinal(FolderOf(ModulePath(module.get())).c_str(), -1,
                                 SystemFolder().c_str(), -1, TRUE),
            CSTR_EQUAL)
      << ModulePath(module.get());
  EXPECT_EQ((LateBound<int (*)()>(L"msi.dll", "KelvoProbe")), nullptr);
}

TEST(LoadSystemLibraryTest, OnlyTheSystemFolderIsSearched) {
  PlantedLibrary planted(L"kelvo_probe_beside.dll");
  ASSERT_TRUE(planted.Planted()) << "build the kelvo_probe_library target";
  EXPECT_FALSE(LoadSystemLibrary(L"kelvo_probe_beside.dll"));
  // The ordinary search would have found it there.
  const HMODULE ordinary = LoadLibraryW(L"kelvo_probe_beside.dll");
  ASSERT_NE(ordinary, nullptr);
  EXPECT_NE(GetProcAddress(ordinary, "KelvoProbe"), nullptr);
  FreeLibrary(ordinary);
}

}  // namespace
