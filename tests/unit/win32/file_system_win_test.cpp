#include "win32/file_system_win.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <sddl.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <vector>

#include "base/number_text.h"
#include "base/temp_file_name.h"
#include "support/temp_folder_win.h"
#include "win32/wide_win.h"

namespace {

class WinFileSystemTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_FALSE(root_.empty()); }
  std::u16string Path(const std::u16string& name) const { return root_ + u"\\" + name; }
  std::vector<std::u16string> Names() const {
    std::vector<std::u16string> names;
    for (const DirEntry& entry : files_.ListDirectory(root_).value_or(std::vector<DirEntry>())) {
      names.push_back(entry.name);
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  TempFolder folder_{u"kelvo-fs-"};
  const std::u16string root_ = folder_.Path();
  WinFileSystem files_;
};

TEST_F(WinFileSystemTest, WriteAtomicallyCreatesAndReplacesWithoutLeftovers) {
  const std::u16string path = Path(u"Kelvo.INI");
  EXPECT_FALSE(files_.ReadAll(path).has_value());
  ASSERT_TRUE(files_.WriteAtomically(path, std::string("first\0bytes", 11)));
  EXPECT_EQ(files_.ReadAll(path), std::string("first\0bytes", 11));
  ASSERT_TRUE(files_.WriteAtomically(path, std::string(200000, 'x')));
  EXPECT_EQ(files_.ReadAll(path), std::string(200000, 'x'));
  ASSERT_TRUE(files_.WriteAtomically(path, ""));
  EXPECT_EQ(files_.ReadAll(path), "");
  EXPECT_EQ(Names(), std::vector<std::u16string>{u"Kelvo.INI"});
}

TEST_F(WinFileSystemTest, AFailedWriteLeavesWhatWasThere) {
  ASSERT_TRUE(CreateDirectoryW(W(Path(u"taken")), nullptr));
  ASSERT_TRUE(files_.WriteAtomically(Path(u"taken\\inner.txt"), "inner"));
  EXPECT_FALSE(files_.WriteAtomically(Path(u"taken"), "x"));
  EXPECT_TRUE(files_.DirectoryExists(Path(u"taken")));
  EXPECT_EQ(files_.ReadAll(Path(u"taken\\inner.txt")), "inner");
  EXPECT_FALSE(files_.WriteAtomically(Path(u"missing\\a.txt"), "x"));
  EXPECT_EQ(Names(), std::vector<std::u16string>{u"taken"});
}

TEST_F(WinFileSystemTest, AFileHeldOpenWithoutSharingIsNotReplaced) {
  const std::u16string path = Path(u"held.txt");
  ASSERT_TRUE(files_.WriteAtomically(path, "old"));
  HANDLE held = CreateFileW(W(path), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(files_.WriteAtomically(path, "new"));
  CloseHandle(held);
  EXPECT_EQ(files_.ReadAll(path), "old");
  EXPECT_EQ(Names(), std::vector<std::u16string>{u"held.txt"});
}

TEST_F(WinFileSystemTest, AFileAnotherProgramReadsForAMomentIsReplacedOnceItIsLetGo) {
  const std::u16string path = Path(u"Kelvo.INI");
  ASSERT_TRUE(files_.WriteAtomically(path, "old"));
  // A reader as most programs open a file: others may read and write, but not rename over it.
  HANDLE reader = CreateFileW(W(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(reader, INVALID_HANDLE_VALUE);
  struct Reader {
    HANDLE file;
    std::atomic<bool> closed{false};
  } held{reader};
  HANDLE timer = nullptr;
  ASSERT_TRUE(CreateTimerQueueTimer(
      &timer, nullptr,
      [](void* context, BOOLEAN) {
        auto* r = static_cast<Reader*>(context);
        CloseHandle(r->file);
        r->closed = true;
      },
      &held, 200, 0, WT_EXECUTEONLYONCE));
  EXPECT_TRUE(files_.WriteAtomically(path, "new"));
  DeleteTimerQueueTimer(nullptr, timer, INVALID_HANDLE_VALUE);
  if (!held.closed) CloseHandle(reader);
  EXPECT_EQ(files_.ReadAll(path), "new");
  EXPECT_EQ(Names(), std::vector<std::u16string>{u"Kelvo.INI"});
}

// A writer killed before its replace leaves its temporary file; the next write of the file
// removes it once that writer has ended, and nothing else.
TEST_F(WinFileSystemTest, AWriteRemovesTheTemporaryFilesOfWritersThatEnded) {
  const std::u16string path = Path(u"Kelvo.INI");
  ASSERT_TRUE(files_.WriteAtomically(path, "old"));
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION writer{};
  wchar_t command[] = L"cmd.exe /c exit";
  ASSERT_TRUE(CreateProcessW(nullptr, command, nullptr, nullptr, FALSE,
                             CREATE_SUSPENDED | CREATE_NO_WINDOW, nullptr, nullptr, &startup,
                             &writer));
  wchar_t computer[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD length = MAX_COMPUTERNAME_LENGTH + 1;
  ASSERT_TRUE(GetComputerNameW(computer, &length));
  const std::uint32_t here = ComputerTag(U16(computer, length));
  const auto temp = [&](const std::u16string& target, DWORD processId, std::uint32_t tag) {
    return TempFileName(target, tag, processId, 3);
  };
  const std::u16string ended = temp(u"Kelvo.INI", 0xFFFFFFF0u, here);
  const std::u16string running = temp(u"Kelvo.INI", writer.dwProcessId, here);
  const std::u16string own = temp(u"Kelvo.INI", GetCurrentProcessId(), here);
  const std::u16string other = temp(u"Other.INI", 0xFFFFFFF0u, here);
  // On a shared folder: a file of another computer, whose process 0xFFFFFFF0 says nothing here.
  const std::u16string elsewhere = temp(u"Kelvo.INI", 0xFFFFFFF0u, here ^ 1);
  for (const std::u16string& name :
       {ended, running, own, other, elsewhere, std::u16string(u"Kelvo.INI.~x.tmp")}) {
    ASSERT_TRUE(files_.WriteAtomically(Path(name), "stale"));
  }
  ASSERT_TRUE(files_.WriteAtomically(path, "new"));
  std::vector<std::u16string> left{u"Kelvo.INI", u"Kelvo.INI.~x.tmp", running, own, other,
                                   elsewhere};
  std::sort(left.begin(), left.end());
  EXPECT_EQ(Names(), left);

  TerminateProcess(writer.hProcess, 0);
  WaitForSingleObject(writer.hProcess, 5000);
  CloseHandle(writer.hThread);
  CloseHandle(writer.hProcess);
  ASSERT_TRUE(files_.WriteAtomically(path, "newer"));
  left.erase(std::find(left.begin(), left.end(), running));
  EXPECT_EQ(Names(), left);
  EXPECT_EQ(files_.ReadAll(path), "newer");
}

TEST_F(WinFileSystemTest, JapaneseNamesExistAndAreListed) {
  ASSERT_TRUE(CreateDirectoryW(W(Path(u"サブ")), nullptr));
  ASSERT_TRUE(files_.WriteAtomically(Path(u"サブ\\日本語.txt"), "x"));
  ASSERT_TRUE(files_.WriteAtomically(Path(u"top.txt"), "x"));

  const struct {
    std::u16string name;
    bool file;
    bool directory;
  } cases[] = {
      {u"サブ", false, true},
      {u"サブ\\日本語.txt", true, false},
      {u"サブ/日本語.txt", true, false},
      {u"top.txt", true, false},
      {u"missing", false, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(files_.FileExists(Path(c.name)), c.file);
    EXPECT_EQ(files_.DirectoryExists(Path(c.name)), c.directory);
  }

  auto entries = files_.ListDirectory(root_ + u"\\");
  ASSERT_TRUE(entries.has_value());
  std::sort(entries->begin(), entries->end(),
            [](const DirEntry& a, const DirEntry& b) { return a.name < b.name; });
  ASSERT_EQ(entries->size(), 2u);
  EXPECT_EQ((*entries)[0].name, u"top.txt");
  EXPECT_FALSE((*entries)[0].isDirectory);
  EXPECT_EQ((*entries)[1].name, u"サブ");
  EXPECT_TRUE((*entries)[1].isDirectory);

  ASSERT_TRUE(CreateDirectoryW(W(Path(u"empty")), nullptr));
  EXPECT_EQ(files_.ListDirectory(Path(u"empty"))->size(), 0u);
  EXPECT_FALSE(files_.ListDirectory(Path(u"missing")).has_value());
}

TEST_F(WinFileSystemTest, DirectoryIdentityIsTheSameForEveryPathToADirectory) {
  ASSERT_TRUE(CreateDirectoryW(W(Path(u"dir")), nullptr));
  ASSERT_TRUE(CreateDirectoryW(W(Path(u"dir\\sub")), nullptr));
  ASSERT_TRUE(CreateDirectoryW(W(Path(u"other")), nullptr));
  ASSERT_TRUE(files_.WriteAtomically(Path(u"file.txt"), "x"));

  const std::u16string identity = files_.DirectoryIdentity(Path(u"dir"));
  ASSERT_FALSE(identity.empty());
  EXPECT_EQ(files_.DirectoryIdentity(Path(u"dir\\")), identity);
  EXPECT_EQ(files_.DirectoryIdentity(Path(u"dir\\sub\\..")), identity);
  EXPECT_EQ(files_.DirectoryIdentity(Path(u"DIR")), identity);
  EXPECT_NE(files_.DirectoryIdentity(Path(u"other")), identity);
  EXPECT_EQ(files_.DirectoryIdentity(Path(u"missing")), u"");
  EXPECT_EQ(files_.DirectoryIdentity(Path(u"file.txt")), u"");
}

}  // namespace

TEST_F(WinFileSystemTest, ReadTellsAMissingFileFromALockedOne) {
  const std::u16string path = Path(u"Kelvo.INI");
  EXPECT_EQ(files_.Read(path).status, ReadStatus::kMissing);
  EXPECT_EQ(files_.Read(Path(u"no folder\\Kelvo.INI")).status, ReadStatus::kMissing);
  ASSERT_TRUE(files_.WriteAtomically(path, "x=1"));
  HANDLE lock = CreateFileW(W(path), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  EXPECT_EQ(files_.Read(path).status, ReadStatus::kUnreadable);
  EXPECT_FALSE(files_.WriteAtomically(path, "replaced")) << "a locked file is not replaced";
  CloseHandle(lock);
  const FileContents read = files_.Read(path);
  EXPECT_EQ(read.status, ReadStatus::kRead);
  EXPECT_EQ(read.bytes, "x=1");
}

TEST_F(WinFileSystemTest, AWriteKeepsHardLinksAndAttributes) {
  const std::u16string path = Path(u"Kelvo.INI");
  ASSERT_TRUE(files_.WriteAtomically(path, "old"));
  ASSERT_TRUE(CreateHardLinkW(W(Path(u"other name.ini")), W(path), nullptr));
  ASSERT_TRUE(files_.WriteAtomically(path, "seen by both names"));
  EXPECT_EQ(files_.ReadAll(Path(u"other name.ini")), "seen by both names");

  const std::u16string hidden = Path(u"hidden.ini");
  ASSERT_TRUE(files_.WriteAtomically(hidden, "old"));
  ASSERT_TRUE(SetFileAttributesW(W(hidden), FILE_ATTRIBUTE_HIDDEN));
  ASSERT_TRUE(files_.WriteAtomically(hidden, "new"));
  EXPECT_NE(GetFileAttributesW(W(hidden)) & FILE_ATTRIBUTE_HIDDEN, 0u);
  EXPECT_EQ(files_.ReadAll(hidden), "new");
  EXPECT_EQ(Names(), (std::vector<std::u16string>{u"Kelvo.INI", u"hidden.ini", u"other name.ini"}))
      << "no temporary file is left behind";
}

namespace {

// The file's access list in the security descriptor language: under Wine it shows what the
// file's Unix permissions let each group do.
std::wstring AccessText(const std::u16string& path) {
  DWORD needed = 0;
  GetFileSecurityW(W(path), DACL_SECURITY_INFORMATION, nullptr, 0, &needed);
  std::vector<char> descriptor(needed);
  if (needed == 0 ||
      !GetFileSecurityW(W(path), DACL_SECURITY_INFORMATION, descriptor.data(), needed, &needed)) {
    return L"(unreadable)";
  }
  LPWSTR text = nullptr;
  if (!ConvertSecurityDescriptorToStringSecurityDescriptorW(
          descriptor.data(), SDDL_REVISION_1, DACL_SECURITY_INFORMATION, &text, nullptr)) {
    return L"(unconvertible)";
  }
  std::wstring result(text);
  LocalFree(text);
  return result;
}

// The user's own SID in the security descriptor language.
std::wstring UserSid() {
  HANDLE token = nullptr;
  OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token);
  char buffer[256];
  DWORD size = 0;
  GetTokenInformation(token, TokenUser, buffer, sizeof buffer, &size);
  CloseHandle(token);
  LPWSTR text = nullptr;
  ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid, &text);
  std::wstring sid = text ? text : L"";
  LocalFree(text);
  return sid;
}

}  // namespace

// A file the user made readable by nobody else stays so after Kelvo rewrote it, and a file
// beside it keeps the folder's usual permissions.
TEST_F(WinFileSystemTest, ARewriteKeepsTheFilesPermissions) {
  const std::u16string path = Path(u"CLIPDATA.txt");
  ASSERT_TRUE(files_.WriteAtomically(path, "old"));
  const std::wstring restricted = L"D:P(A;;FA;;;SY)(A;;FA;;;" + UserSid() + L")";
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(
      restricted.c_str(), SDDL_REVISION_1, &descriptor, nullptr));
  ASSERT_TRUE(SetFileSecurityW(W(path), DACL_SECURITY_INFORMATION, descriptor));
  LocalFree(descriptor);
  const std::wstring before = AccessText(path);
  ASSERT_EQ(before.find(L";;;WD)"), std::wstring::npos) << "Everyone has no entry: " << before;

  ASSERT_TRUE(files_.WriteAtomically(path, "new"));
  EXPECT_EQ(files_.ReadAll(path), "new");
  EXPECT_EQ(AccessText(path), before);
  const std::u16string plain = Path(u"plain.txt");
  ASSERT_TRUE(files_.WriteAtomically(plain, "x"));
  ASSERT_TRUE(files_.WriteAtomically(plain, "y"));
  EXPECT_NE(AccessText(plain), before) << "a new file takes the folder's permissions";
  EXPECT_EQ(Names(), (std::vector<std::u16string>{u"CLIPDATA.txt", u"plain.txt"}));
}

// A read-only file is not replaced, and at once: a wait as for a busy file would hold up the
// window that stores it for a second.
TEST_F(WinFileSystemTest, AReadOnlyFileIsRefusedAtOnceAndLeftAsItWas) {
  const std::u16string path = Path(u"CLIPDATA.txt");
  ASSERT_TRUE(files_.WriteAtomically(path, "kept"));
  ASSERT_TRUE(SetFileAttributesW(W(path), FILE_ATTRIBUTE_READONLY));
  const ULONGLONG start = GetTickCount64();
  EXPECT_FALSE(files_.WriteAtomically(path, "new"));
  EXPECT_LT(GetTickCount64() - start, 500u);
  EXPECT_EQ(files_.ReadAll(path), "kept");
  EXPECT_NE(GetFileAttributesW(W(path)) & FILE_ATTRIBUTE_READONLY, 0u);
  EXPECT_EQ(Names(), std::vector<std::u16string>{u"CLIPDATA.txt"});
  SetFileAttributesW(W(path), FILE_ATTRIBUTE_NORMAL);
}

// The check before a write never reads a file while another program writes it: a half-written
// file would pass for the user's edit. A writer that finishes within the second is waited for.
TEST_F(WinFileSystemTest, TheReadBeforeAWriteWaitsForAWriterToFinish) {
  const std::u16string path = Path(u"Kelvo.INI");
  ASSERT_TRUE(files_.WriteAtomically(path, "[General]\r\n"));
  HANDLE writer = CreateFileW(W(path), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  ASSERT_TRUE(WriteFile(writer, "[Gen", 4, &written, nullptr));
  EXPECT_EQ(files_.Read(path).status, ReadStatus::kRead) << "an ordinary read shares writing";
  EXPECT_EQ(files_.ReadBeforeWrite(path).status, ReadStatus::kUnreadable);

  struct Writer {
    HANDLE file;
    std::atomic<bool> done{false};
  } late{writer};
  HANDLE timer = nullptr;
  ASSERT_TRUE(CreateTimerQueueTimer(
      &timer, nullptr,
      [](void* context, BOOLEAN) {
        auto* w = static_cast<Writer*>(context);
        DWORD n = 0;
        WriteFile(w->file, "eral]\r\nVersion=169\r\n", 20, &n, nullptr);
        CloseHandle(w->file);
        w->done = true;
      },
      &late, 200, 0, WT_EXECUTEONLYONCE));
  const FileContents read = files_.ReadBeforeWrite(path);
  DeleteTimerQueueTimer(nullptr, timer, INVALID_HANDLE_VALUE);
  EXPECT_TRUE(late.done);
  EXPECT_EQ(read.status, ReadStatus::kRead);
  EXPECT_EQ(read.bytes, "[General]\r\nVersion=169\r\n");
}

// A folder whose path is 240 characters long: the file in it is read, and written although its
// temporary name passes the 260 characters of ordinary paths.
TEST_F(WinFileSystemTest, FilesInAFolderWithALongPathAreWrittenWhereTheyAreRead) {
  std::u16string folder = root_ + u"\\";
  folder += std::u16string(240 - folder.size(), u'l');
  ASSERT_EQ(folder.size(), 240u);
  ASSERT_TRUE(CreateDirectoryW(W(folder), nullptr));
  const std::u16string path = folder + u"\\Kelvo.INI";
  ASSERT_TRUE(files_.WriteAtomically(path, "first"));
  ASSERT_TRUE(files_.WriteAtomically(path, "second"));
  EXPECT_EQ(files_.ReadAll(path), "second");
  EXPECT_EQ(files_.ReadBeforeWrite(path).bytes, "second");
  EXPECT_TRUE(files_.FileExists(path));
  EXPECT_TRUE(files_.DirectoryExists(folder));
  const auto entries = files_.ListDirectory(folder);
  ASSERT_TRUE(entries.has_value());
  ASSERT_EQ(entries->size(), 1u) << "no temporary file is left";
  EXPECT_EQ((*entries)[0].name, u"Kelvo.INI");
}
