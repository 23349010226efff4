#include "util/file_listing.h"

#include <algorithm>
#include <cstddef>
#include <deque>
#include <set>
#include <string>
#include <utility>

#include "base/text_case.h"
#include "util/path_text.h"

namespace {

// No walk goes deeper than this, so that a loop the file system does not reveal (a link whose
// target it cannot identify, a server that presents its links as plain directories) still ends.
constexpr int kMaxDepth = 64;

struct PendingDir {
  std::u16string path;
  int depth = 0;
  std::string key;  // the path's sort key, when sorted
};

// Holds the directories still to walk and the results, in insertion order or kept sorted. Sorted
// lists compare the locale's sort keys, one locale call per path rather than per comparison.
class Walk {
 public:
  Walk(const FileSystem& fs, const Locale& locale, std::vector<std::u16string>& out, bool sorted)
      : fs_(fs), locale_(locale), out_(out), sorted_(sorted) {
    if (!sorted_) return;
    std::vector<std::pair<std::string, std::u16string>> keyed;
    for (auto& path : out_) keyed.emplace_back(locale_.SortKeyNoCase(path), std::move(path));
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    out_.clear();
    for (auto& [key, path] : keyed) {
      outKeys_.push_back(std::move(key));
      out_.push_back(std::move(path));
    }
  }

  // Directory links are entered after the rest of the tree, so that a link to a directory of the
  // tree is recognised whichever of the two the file system names first.
  void Run(const std::u16string& dir, std::u16string_view ext) {
    AddDirectory(dir, 0, false);
    while (!queue_.empty() || !links_.empty()) {
      while (!queue_.empty()) {
        const PendingDir current = std::move(queue_.front());
        queue_.pop_front();
        WalkOne(current, ext);
      }
      std::vector<PendingDir> links = std::move(links_);
      links_.clear();
      for (PendingDir& link : links) AddDirectory(std::move(link.path), link.depth, true);
    }
  }

 private:
  void WalkOne(const PendingDir& current, std::u16string_view ext) {
    const auto entries = fs_.ListDirectory(current.path);
    if (!entries) return;  // a directory that cannot be read is skipped
    for (const DirEntry& entry : *entries) {
      if (entry.name == u"." || entry.name == u"..") continue;
      std::u16string path = current.path + u"\\" + entry.name;
      if (entry.isDirectory && entry.isLink) {
        links_.push_back(PendingDir{std::move(path), current.depth + 1, {}});
      } else if (entry.isDirectory) {
        AddDirectory(std::move(path), current.depth + 1, false);
      } else if (EqualsNoCase(FileExtension(entry.name), ext)) {
        AddFile(std::move(path));
      }
    }
  }

  // Queues a directory. Only a link is checked against the directories met before: a plain
  // directory cannot lead back into the tree, and some file systems give two different
  // directories the same identity. An unknown identity is no match.
  void AddDirectory(std::u16string path, int depth, bool isLink) {
    if (depth > kMaxDepth) return;
    const std::u16string identity = fs_.DirectoryIdentity(path);
    if (!identity.empty() && !seen_.insert(identity).second && isLink) return;
    PendingDir pending{std::move(path), depth, {}};
    if (!sorted_) {
      queue_.push_back(std::move(pending));
      return;
    }
    pending.key = locale_.SortKeyNoCase(pending.path);
    const auto at =
        std::lower_bound(queue_.begin(), queue_.end(), pending.key,
                         [](const PendingDir& a, const std::string& key) { return a.key < key; });
    if (at != queue_.end() && at->key == pending.key) return;
    queue_.insert(at, std::move(pending));
  }

  void AddFile(std::u16string path) {
    if (!sorted_) {
      out_.push_back(std::move(path));
      return;
    }
    std::string key = locale_.SortKeyNoCase(path);
    const auto at = std::lower_bound(outKeys_.begin(), outKeys_.end(), key);
    if (at != outKeys_.end() && *at == key) return;
    out_.insert(out_.begin() + (at - outKeys_.begin()), std::move(path));
    outKeys_.insert(at, std::move(key));
  }

  const FileSystem& fs_;
  const Locale& locale_;
  std::vector<std::u16string>& out_;
  std::vector<std::string> outKeys_;
  const bool sorted_;
  std::deque<PendingDir> queue_;
  std::vector<PendingDir> links_;  // links met, entered once the queue is empty
  std::set<std::u16string> seen_;
};

bool IsAsciiLetter(char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }

// \\server\share with a non-empty server and share name.
bool HasNetworkPrefix(std::u16string_view path) {
  if (path.size() < 2 || path[0] != u'\\' || path[1] != u'\\') return false;
  const std::size_t serverEnd = path.find(u'\\', 2);
  if (serverEnd == std::u16string_view::npos || serverEnd == 2) return false;
  const std::size_t shareStart = serverEnd + 1;
  return shareStart < path.size() && path[shareStart] != u'\\';
}

}  // namespace

void ListFiles(const FileSystem& fs, const Locale& locale, std::u16string dir,
               std::vector<std::u16string>& out, std::u16string ext, bool sorted) {
  if (!dir.empty() && dir.back() == u'\\') dir.pop_back();
  if (ext.empty() || !fs.DirectoryExists(dir)) return;
  if (ext.front() != u'.') ext.insert(0, u".");
  Walk walk(fs, locale, out, sorted);
  walk.Run(dir, ext);
}

bool HasDrivePart(std::u16string_view path) {
  if (path.size() >= 2 && IsAsciiLetter(path[0]) && path[1] == u':') return true;
  return HasNetworkPrefix(path);
}

bool AppFileExists(const FileSystem& fs, const std::u16string& exeDir, std::u16string& path) {
  if (path.empty()) return false;
  if (!HasDrivePart(path)) path.insert(0, exeDir);
  return fs.FileExists(path);
}

std::u16string AppRelativePath(std::u16string_view path, std::u16string_view exeDir) {
  if (exeDir.empty() || path.size() <= exeDir.size() ||
      !EqualsNoCase(path.substr(0, exeDir.size()), exeDir)) {
    return std::u16string(path);
  }
  const std::u16string_view rest = path.substr(exeDir.size());
  // Kept whole when what follows the folder is no plain name.
  if (rest.front() == u'\\' || rest.front() == u'/') return std::u16string(path);
  return std::u16string(rest);
}
