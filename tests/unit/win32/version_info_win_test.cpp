#include "win32/version_info_win.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "win32/wide_win.h"

namespace {

std::u16string SystemFile(const wchar_t* name) {
  wchar_t dir[MAX_PATH] = {};
  const UINT length = GetSystemDirectoryW(dir, MAX_PATH);
  return U16(dir, length) + u"\\" + U16(name);
}

TEST(VersionInfoWinTest, SystemLibraryHasAVersion) {
  const std::u16string version = FileVersionText(SystemFile(L"kernel32.dll"));
  ASSERT_FALSE(version.empty());
  EXPECT_NE(version.find(u'.'), std::u16string::npos);
  EXPECT_EQ(version.find(u'\0'), std::u16string::npos);
}

TEST(VersionInfoWinTest, MissingFileOrResourceGivesNothing) {
  EXPECT_EQ(FileVersionText(SystemFile(L"no-such-file.dll")), u"");
  EXPECT_EQ(FileVersionText(u""), u"");
  // The test program carries no version resource.
  EXPECT_EQ(FileVersionText(ExecutablePath()), u"");
  EXPECT_EQ(AppVersionNumber(), 0);
}

TEST(VersionInfoWinTest, ExecutablePathNamesThisProgram) {
  const std::u16string path = ExecutablePath();
  ASSERT_GT(path.size(), 4u);
  EXPECT_EQ(path.substr(path.size() - 4), u".exe");
  EXPECT_NE(GetFileAttributesW(W(path)), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
