#include "posix/file_system_posix.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "base/number_text.h"
#include "base/text_codec.h"

namespace {

std::string NativePath(const std::u16string& path) {
  std::string native = Utf16ToUtf8(path);
  for (char& c : native) {
    if (c == '\\') c = '/';
  }
  return native;
}

// Closes a descriptor when it goes out of scope.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() { Close(); }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }
  bool ok() const { return fd_ >= 0; }
  bool Close() {
    if (fd_ < 0) return true;
    const bool closed = close(fd_) == 0;
    fd_ = -1;
    return closed;
  }

 private:
  int fd_;
};

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

std::string ParentDirectory(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string BaseName(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The rename itself is durable only once the directory entry is on disk.
void SyncDirectory(const std::string& dir) {
  FileDescriptor fd(open(dir.c_str(), O_RDONLY | O_DIRECTORY));
  if (fd.ok()) fsync(fd.get());
}

bool StatFollowingLinks(const std::string& path, struct stat& info) {
  return stat(path.c_str(), &info) == 0;
}

// What a path leads to when it is a symbolic link (a file written through the link keeps the
// link); the path itself otherwise.
std::string LinkTarget(const std::string& path) {
  struct stat info;
  if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
  char* resolved = realpath(path.c_str(), nullptr);
  if (resolved == nullptr) return path;
  std::string target = resolved;
  free(resolved);
  return target;
}

// Writes the bytes into a new temporary file beside the target and flushes it.
bool WriteNewFile(const std::string& target, std::string_view bytes, mode_t mode,
                  std::string& temp) {
  temp = ParentDirectory(target) + "/." + BaseName(target) + ".XXXXXX";
  FileDescriptor fd(mkostemp(temp.data(), O_CLOEXEC));
  if (!fd.ok()) return false;
  if (fchmod(fd.get(), mode) == 0 && WriteAll(fd.get(), bytes) && fsync(fd.get()) == 0 &&
      fd.Close())
    return true;
  unlink(temp.c_str());
  return false;
}

bool RewriteInPlace(const std::string& target, std::string_view bytes) {
  FileDescriptor fd(open(target.c_str(), O_WRONLY | O_CLOEXEC));
  return fd.ok() && WriteAll(fd.get(), bytes) &&
         ftruncate(fd.get(), static_cast<off_t>(bytes.size())) == 0 && fsync(fd.get()) == 0 &&
         fd.Close();
}

}  // namespace

FileContents PosixFileSystem::Read(const std::u16string& path) const {
  FileDescriptor fd(open(NativePath(path).c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd.ok()) {
    const bool missing = errno == ENOENT || errno == ENOTDIR;
    return {missing ? ReadStatus::kMissing : ReadStatus::kUnreadable, {}};
  }
  FileContents contents{ReadStatus::kUnreadable, {}};
  struct stat info;
  if (fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) return contents;
  char buffer[65536];
  for (;;) {
    const ssize_t count = read(fd.get(), buffer, sizeof buffer);
    if (count == 0) break;
    if (count < 0) {
      if (errno == EINTR) continue;
      return {ReadStatus::kUnreadable, {}};
    }
    contents.bytes.append(buffer, static_cast<std::size_t>(count));
  }
  contents.status = ReadStatus::kRead;
  return contents;
}

bool PosixFileSystem::WriteAtomically(const std::u16string& path, const std::string& bytes) {
  const std::string target = LinkTarget(NativePath(path));
  struct stat old;
  const bool existed = stat(target.c_str(), &old) == 0;
  std::string temp;
  // The new file keeps the permissions of the one it replaces (mkstemp creates it 0600).
  if (!WriteNewFile(target, bytes, existed ? (old.st_mode & 07777) : 0644, temp)) return false;
  // Renaming over a file with other hard links would part this name from them.
  if (existed && S_ISREG(old.st_mode) && old.st_nlink > 1) {
    const bool rewritten = RewriteInPlace(target, bytes);
    // After a failed rewrite the complete new contents stay beside the file.
    if (rewritten) unlink(temp.c_str());
    return rewritten;
  }
  if (rename(temp.c_str(), target.c_str()) != 0) {
    unlink(temp.c_str());
    return false;
  }
  SyncDirectory(ParentDirectory(target));
  return true;
}

void PosixFileSystem::PauseBeforeRecheck(int milliseconds) const {
  if (milliseconds > 0) usleep(static_cast<useconds_t>(milliseconds) * 1000);
}

bool PosixFileSystem::FileExists(const std::u16string& path) const {
  struct stat info;
  return StatFollowingLinks(NativePath(path), info) && S_ISREG(info.st_mode);
}

bool PosixFileSystem::DirectoryExists(const std::u16string& path) const {
  struct stat info;
  return StatFollowingLinks(NativePath(path), info) && S_ISDIR(info.st_mode);
}

std::optional<std::vector<DirEntry>> PosixFileSystem::ListDirectory(
    const std::u16string& dir) const {
  const std::string native = NativePath(dir);
  DIR* stream = opendir(native.c_str());
  if (stream == nullptr) return std::nullopt;
  std::vector<DirEntry> entries;
  while (const dirent* entry = readdir(stream)) {
    const std::string_view name = entry->d_name;
    if (name == "." || name == "..") continue;
    const std::string path = native + "/" + std::string(name);
    bool isDirectory = entry->d_type == DT_DIR;
    bool isLink = entry->d_type == DT_LNK;
    if (entry->d_type == DT_UNKNOWN) {
      struct stat info;
      isLink = lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
    }
    if (isLink || entry->d_type == DT_UNKNOWN) {
      struct stat info;
      isDirectory = StatFollowingLinks(path, info) && S_ISDIR(info.st_mode);
    }
    entries.push_back(DirEntry{Utf8ToUtf16(name), isDirectory, isLink});
  }
  closedir(stream);
  return entries;
}

std::u16string PosixFileSystem::DirectoryIdentity(const std::u16string& dir) const {
  struct stat info;
  if (!StatFollowingLinks(NativePath(dir), info) || !S_ISDIR(info.st_mode)) return u"";
  return IntToText(static_cast<std::int64_t>(info.st_dev)) + u":" +
         IntToText(static_cast<std::int64_t>(info.st_ino));
}
