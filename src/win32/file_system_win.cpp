#include "win32/file_system_win.h"

#include <windows.h>

#include <atomic>
#include <optional>
#include <string_view>
#include <vector>

#include "base/long_path.h"
#include "base/temp_file_name.h"
#include "win32/owned_kernel_objects_win.h"
#include "win32/wide_win.h"

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// A read before a write lets others read the file, and rename it, but not write it meanwhile.
constexpr DWORD kShareNoWriters = FILE_SHARE_READ | FILE_SHARE_DELETE;
constexpr int kTempNameAttempts = 100;
constexpr DWORD kChunk = 1u << 20;
// Another program that has the file open for a moment (a reader, an editor, a virus scanner)
// makes the replace fail; it is tried again for up to a second before the write counts as failed.
constexpr int kBusyRetries = 50;
constexpr DWORD kBusyPauseMs = 20;
// What a rewritten file keeps of its old attributes (read-only is not among them: a read-only
// file is not written at all).
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                  FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// A file handle; empty when CreateFileW failed.
using FileHandle = KernelHandle;

// The path as the file functions take it: from kLongPathFrom characters on, full and in the
// extended-length form, which has no length limit. Shorter paths go as they are, so that every
// rule of ordinary paths still applies to them.
class ApiPath {
 public:
  explicit ApiPath(const std::u16string& path) : path_(path) {
    if (path.size() < kLongPathFrom) return;
    std::wstring full(path.size() + 16, L'\0');
    for (;;) {
      const DWORD length =
          GetFullPathNameW(W(path), static_cast<DWORD>(full.size()), full.data(), nullptr);
      if (length == 0) return;
      if (length < full.size()) {
        path_ = ExtendedLengthForm(U16(full.data(), length));
        return;
      }
      full.resize(length + 1);
    }
  }
  const wchar_t* get() const { return W(path_); }

 private:
  std::u16string path_;
};

// Opens a file or directory without read or write access, only to ask about it; links are
// followed.
FileHandle OpenForQuery(const std::u16string& path) {
  return owned::CreateFileW(ApiPath(path).get(), FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                            OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

// The attributes of what the path leads to (a link's target, not the link); nothing when it
// does not exist.
std::optional<DWORD> TargetAttributes(const std::u16string& path) {
  const DWORD attributes = GetFileAttributesW(ApiPath(path).get());
  if (attributes == INVALID_FILE_ATTRIBUTES) return std::nullopt;
  if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) return attributes;
  FileHandle handle = OpenForQuery(path);
  BY_HANDLE_FILE_INFORMATION info;
  if (!handle || !GetFileInformationByHandle(handle.get(), &info)) return std::nullopt;
  return info.dwFileAttributes;
}

bool IsSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

std::u16string WithSeparator(const std::u16string& dir) {
  if (!dir.empty() && IsSeparator(dir.back())) return dir;
  return dir + u"\\";
}

std::u16string Hex8(DWORD value) {
  constexpr char16_t kDigits[] = u"0123456789ABCDEF";
  std::u16string text(8, u'0');
  for (int i = 7; i >= 0; --i, value >>= 4) text[i] = kDigits[value & 0xF];
  return text;
}

// The tag of this computer in the names of its temporary files.
std::uint32_t ThisComputerTag() {
  static const std::uint32_t tag = [] {
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD length = MAX_COMPUTERNAME_LENGTH + 1;
    if (!GetComputerNameW(name, &length)) length = 0;
    return ComputerTag(U16(name, length));
  }();
  return tag;
}

// A name beside the target that no other writer uses: this computer, this process and a number
// that no other write of this process has used.
std::u16string TempName(const std::u16string& path) {
  static std::atomic<std::uint32_t> counter{0};
  return TempFileName(path, ThisComputerTag(), GetCurrentProcessId(), counter++);
}

bool ProcessRuns(DWORD processId) {
  const KernelHandle process =
      owned::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
  if (!process) return GetLastError() == ERROR_ACCESS_DENIED;
  DWORD code = 0;
  return GetExitCodeProcess(process.get(), &code) && code == STILL_ACTIVE;
}

// A writer that was killed, or lost its power, between making its temporary file and the
// replace left that file beside the target. Once a later write has replaced the target, such a
// file holds an older state and is only litter. Files of a process that still runs may be in
// use (and this process keeps the copy a failed rewrite left), so only those of ended ones go;
// and only this computer's: on a shared folder another computer's process ids say nothing here.
void RemoveLeftovers(const std::u16string& target) {
  const std::size_t slash = target.find_last_of(u"\\/");
  if (slash == std::u16string::npos) return;
  const std::u16string folder = target.substr(0, slash + 1);
  const std::u16string targetName = target.substr(slash + 1);
  WIN32_FIND_DATAW data;
  const FindHandle find =
      owned::FindFirstFileExW(ApiPath(target + u".~*.tmp").get(), FindExInfoBasic, &data,
                              FindExSearchNameMatch, nullptr, 0);
  if (!find) return;
  do {
    const std::u16string name = U16(data.cFileName);
    const std::optional<TempFileWriter> writer = TempFileWriterOf(name, targetName);
    if (!writer || writer->computerTag != ThisComputerTag() ||
        writer->processId == GetCurrentProcessId() || ProcessRuns(writer->processId)) {
      continue;
    }
    DeleteFileW(ApiPath(folder + name).get());
  } while (FindNextFileW(find.get(), &data));
}

// The path of the file itself when the path leads there through a symbolic link (a file written
// through the link keeps the link); the path as given when it names the file directly or does
// not exist yet.
std::u16string LinkTarget(const std::u16string& path) {
  FileHandle handle = OpenForQuery(path);
  if (!handle) return path;
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        GetFinalPathNameByHandleW(handle.get(), buffer.data(), static_cast<DWORD>(buffer.size()),
                                  FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (length == 0) return path;
    if (length < buffer.size()) {
      buffer.resize(length);
      break;
    }
    buffer.resize(length + 1);
  }
  std::u16string target = U16(buffer.c_str());
  // "\\?\C:\..." and "\\?\UNC\server\..." as ordinary paths.
  if (target.starts_with(u"\\\\?\\UNC\\")) return u"\\\\" + target.substr(8);
  if (target.starts_with(u"\\\\?\\")) return target.substr(4);
  return target;
}

std::optional<BY_HANDLE_FILE_INFORMATION> FileInformation(const std::u16string& path) {
  FileHandle handle = OpenForQuery(path);
  BY_HANDLE_FILE_INFORMATION info;
  if (!handle || !GetFileInformationByHandle(handle.get(), &info)) return std::nullopt;
  return info;
}

bool WriteAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    const DWORD chunk = bytes.size() > kChunk ? kChunk : static_cast<DWORD>(bytes.size());
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

// The permissions of an existing file (its access list), in the self-relative form that a new
// file can be created with; empty when the file has none to give or they cannot be read.
std::vector<char> AccessList(const std::u16string& target) {
  const ApiPath path(target);
  DWORD needed = 0;
  GetFileSecurityW(path.get(), DACL_SECURITY_INFORMATION, nullptr, 0, &needed);
  if (needed == 0) return {};
  std::vector<char> descriptor(needed);
  if (!GetFileSecurityW(path.get(), DACL_SECURITY_INFORMATION, descriptor.data(), needed,
                        &needed)) {
    return {};
  }
  return descriptor;
}

// What the new file takes over from the file it replaces, so that a rewrite changes only the
// contents: the permissions, given when the file is made (it is never readable by more people
// than the old one, not even for a moment), then the owner and group where this user may set
// them, and the creation time.
struct KeptIdentity {
  std::vector<char> accessList;
  std::optional<FILETIME> created;
};

KeptIdentity IdentityOf(const std::u16string& target,
                        const std::optional<BY_HANDLE_FILE_INFORMATION>& old) {
  KeptIdentity kept;
  if (!old) return kept;
  kept.accessList = AccessList(target);
  kept.created = old->ftCreationTime;
  return kept;
}

// The owner and group: only a user with the right to restore files may give a file to another
// owner, so a file the user owns keeps the user, and another owner is kept where Windows lets.
void KeepOwner(const std::u16string& target, const std::u16string& temp) {
  constexpr SECURITY_INFORMATION kOwner = OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION;
  const ApiPath from(target);
  DWORD needed = 0;
  GetFileSecurityW(from.get(), kOwner, nullptr, 0, &needed);
  if (needed == 0) return;
  std::vector<char> descriptor(needed);
  if (GetFileSecurityW(from.get(), kOwner, descriptor.data(), needed, &needed)) {
    SetFileSecurityW(ApiPath(temp).get(), kOwner, descriptor.data());
  }
}

// Writes the bytes into a new temporary file beside the target and flushes it.
bool WriteNewFile(const std::u16string& target, std::string_view bytes, DWORD attributes,
                  const KeptIdentity& kept, std::u16string& temp) {
  SECURITY_ATTRIBUTES security{sizeof(security), nullptr, FALSE};
  if (!kept.accessList.empty())
    security.lpSecurityDescriptor = const_cast<char*>(kept.accessList.data());
  FileHandle file;
  for (int attempt = 0; attempt < kTempNameAttempts && !file; ++attempt) {
    temp = TempName(target);
    file = owned::CreateFileW(ApiPath(temp).get(), GENERIC_WRITE | FILE_WRITE_ATTRIBUTES, 0,
                              kept.accessList.empty() ? nullptr : &security, CREATE_NEW,
                              attributes != 0 ? attributes : FILE_ATTRIBUTE_NORMAL, nullptr);
    if (!file && GetLastError() != ERROR_FILE_EXISTS) break;
  }
  if (!file) return false;
  if (kept.created) SetFileTime(file.get(), &*kept.created, nullptr, nullptr);
  if (WriteAll(file.get(), bytes) && FlushFileBuffers(file.get()) && file.close()) return true;
  file.close();
  DeleteFileW(ApiPath(temp).get());
  return false;
}

// Whether the target refuses to be replaced for good: a read-only file, or one whose
// permissions do not let this user delete it. Another program that has it open makes opening it
// for deletion fail with a sharing violation instead, which passes.
bool RefusesReplace(const std::u16string& target) {
  const DWORD attributes = GetFileAttributesW(ApiPath(target).get());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    return true;
  }
  const FileHandle probe = owned::CreateFileW(ApiPath(target).get(), DELETE, kShareAll, nullptr,
                                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  return !probe && GetLastError() == ERROR_ACCESS_DENIED;
}

// Replacing a file that another program has open fails with "access denied" on Windows and
// with a sharing violation under Wine; opening one fails with a sharing violation.
bool IsBusy(DWORD error, bool deniedIsBusy) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
         (deniedIsBusy && error == ERROR_ACCESS_DENIED);
}

// Runs the step until it succeeds, fails for another reason than a busy file, or the retries
// are used up.
template <typename Step>
bool RetryWhileBusy(Step step, bool deniedIsBusy = true) {
  for (int attempt = 0;; ++attempt) {
    if (step()) return true;
    if (attempt == kBusyRetries || !IsBusy(GetLastError(), deniedIsBusy)) return false;
    Sleep(kBusyPauseMs);
  }
}

bool RewriteInPlace(const std::u16string& target, std::string_view bytes) {
  FileHandle file;
  RetryWhileBusy([&] {
    file = owned::CreateFileW(ApiPath(target).get(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    return static_cast<bool>(file);
  });
  return file && WriteAll(file.get(), bytes) && SetEndOfFile(file.get()) &&
         FlushFileBuffers(file.get()) && file.close();
}

FileContents ReadWhole(const std::u16string& path, DWORD share) {
  FileHandle file;
  RetryWhileBusy(
      [&] {
        file = owned::CreateFileW(ApiPath(path).get(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
        return static_cast<bool>(file);
      },
      /*deniedIsBusy=*/false);
  if (!file) {
    const DWORD error = GetLastError();
    const bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    return {missing ? ReadStatus::kMissing : ReadStatus::kUnreadable, {}};
  }
  FileContents contents{ReadStatus::kUnreadable, {}};
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 0) return contents;
  contents.bytes.reserve(static_cast<std::size_t>(size.QuadPart));
  char buffer[65536];
  for (;;) {
    DWORD read = 0;
    if (!ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr))
      return {ReadStatus::kUnreadable, {}};
    if (read == 0) break;
    contents.bytes.append(buffer, read);
  }
  contents.status = ReadStatus::kRead;
  return contents;
}

}  // namespace

FileContents WinFileSystem::Read(const std::u16string& path) const {
  return ReadWhole(path, kShareAll);
}

FileContents WinFileSystem::ReadBeforeWrite(const std::u16string& path) const {
  return ReadWhole(path, kShareNoWriters);
}

bool WinFileSystem::WriteAtomically(const std::u16string& path, const std::string& bytes) {
  const std::u16string target = LinkTarget(path);
  const std::optional<BY_HANDLE_FILE_INFORMATION> old = FileInformation(target);
  // A read-only file, or one the user may not replace, fails at once: waiting as for a busy file
  // would only hold up the window for a second.
  if (old && (old->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 && RefusesReplace(target)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return false;
  }
  const DWORD attributes = old ? (old->dwFileAttributes & kKeptAttributes) : 0;
  std::u16string temp;
  if (!WriteNewFile(target, bytes, attributes, IdentityOf(target, old), temp)) return false;
  if (old) KeepOwner(target, temp);
  // Renaming over a file with other hard links would part this name from them.
  if (old && old->nNumberOfLinks > 1 && (old->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    const bool rewritten = RewriteInPlace(target, bytes);
    // After a failed rewrite the complete new contents stay beside the file.
    if (!rewritten) return false;
    DeleteFileW(ApiPath(temp).get());
    RemoveLeftovers(target);
    return true;
  }
  // Renamed over the target: the temporary file already carries what the target kept beside
  // its contents. (The system's ReplaceFileW would also keep alternate data streams, but under
  // Wine it replaces a folder of that name with the file and leaves files of its own behind.)
  if (!RetryWhileBusy([&] {
        return MoveFileExW(ApiPath(temp).get(), ApiPath(target).get(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
      })) {
    DeleteFileW(ApiPath(temp).get());
    return false;
  }
  RemoveLeftovers(target);
  return true;
}

void WinFileSystem::PauseBeforeRecheck(int milliseconds) const {
  Sleep(milliseconds > 0 ? static_cast<DWORD>(milliseconds) : 0);
}

bool WinFileSystem::FileExists(const std::u16string& path) const {
  const auto attributes = TargetAttributes(path);
  return attributes && (*attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool WinFileSystem::DirectoryExists(const std::u16string& path) const {
  const auto attributes = TargetAttributes(path);
  return attributes && (*attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::optional<std::vector<DirEntry>> WinFileSystem::ListDirectory(const std::u16string& dir) const {
  const std::u16string pattern = WithSeparator(dir) + u"*";
  WIN32_FIND_DATAW data;
  const FindHandle find =
      owned::FindFirstFileExW(ApiPath(pattern).get(), FindExInfoBasic, &data, FindExSearchNameMatch,
                              nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (!find) {
    // An empty directory still yields "." and ".."; only a missing one ends up here, except
    // for a drive root, which has neither.
    if (GetLastError() == ERROR_FILE_NOT_FOUND && DirectoryExists(dir)) {
      return std::vector<DirEntry>();
    }
    return std::nullopt;
  }
  std::vector<DirEntry> entries;
  do {
    const std::u16string name = U16(data.cFileName);
    if (name == u"." || name == u"..") continue;
    entries.push_back(DirEntry{name, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                               (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0});
  } while (FindNextFileW(find.get(), &data));
  return entries;
}

std::u16string WinFileSystem::DirectoryIdentity(const std::u16string& dir) const {
  FileHandle handle = OpenForQuery(dir);
  BY_HANDLE_FILE_INFORMATION info;
  if (!handle || !GetFileInformationByHandle(handle.get(), &info)) return u"";
  if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return u"";
  // Some file systems (and network shares) report no file index at all.
  if (info.nFileIndexHigh == 0 && info.nFileIndexLow == 0) return u"";
  return Hex8(info.dwVolumeSerialNumber) + u":" + Hex8(info.nFileIndexHigh) +
         Hex8(info.nFileIndexLow);
}
