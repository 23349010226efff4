#include "posix/file_system_posix.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "base/text_codec.h"

namespace {

namespace fs = std::filesystem;

class PosixFileSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "kelvo-fs-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
  }
  void TearDown() override { fs::remove_all(root_); }

  // The path of a name in the test folder, as the program writes it (with "\").
  std::u16string Path(const std::string& name) const {
    std::u16string path = Utf8ToUtf16((root_ / name).string());
    std::replace(path.begin(), path.end(), u'/', u'\\');
    return path;
  }
  std::string Native(const std::string& name) const { return (root_ / name).string(); }
  void MakeFile(const std::string& name, const std::string& bytes) {
    std::ofstream(Native(name), std::ios::binary) << bytes;
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(root_)) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  fs::path root_;
  PosixFileSystem files_;
};

TEST_F(PosixFileSystemTest, WriteAtomicallyCreatesAndReplacesWithoutLeftovers) {
  const std::u16string path = Path("Kelvo.INI");
  EXPECT_FALSE(files_.ReadAll(path).has_value());
  ASSERT_TRUE(files_.WriteAtomically(path, std::string("first\0bytes", 11)));
  EXPECT_EQ(files_.ReadAll(path), std::string("first\0bytes", 11));
  ASSERT_TRUE(files_.WriteAtomically(path, ""));
  EXPECT_EQ(files_.ReadAll(path), "");
  EXPECT_EQ(Names(), std::vector<std::string>{"Kelvo.INI"});
}

TEST_F(PosixFileSystemTest, WriteAtomicallyKeepsThePermissionsOfTheReplacedFile) {
  MakeFile("a.txt", "old");
  chmod(Native("a.txt").c_str(), 0640);
  ASSERT_TRUE(files_.WriteAtomically(Path("a.txt"), "new"));
  struct stat info;
  ASSERT_EQ(stat(Native("a.txt").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
}

// The size limit makes the write of the temporary file fail half-way, even for root.
TEST_F(PosixFileSystemTest, AFailedWriteLeavesTheOldFile) {
  MakeFile("a.txt", "old contents");
  rlimit saved;
  getrlimit(RLIMIT_FSIZE, &saved);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 4;
  setrlimit(RLIMIT_FSIZE, &small);
  const bool written = files_.WriteAtomically(Path("a.txt"), std::string(100, 'x'));
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);

  EXPECT_FALSE(written);
  EXPECT_EQ(files_.ReadAll(Path("a.txt")), "old contents");
  EXPECT_EQ(Names(), std::vector<std::string>{"a.txt"});
}

TEST_F(PosixFileSystemTest, AWriteThatCannotBeRenamedIntoPlaceFailsCleanly) {
  fs::create_directories(Native("taken/inner"));
  EXPECT_FALSE(files_.WriteAtomically(Path("taken"), "x"));
  EXPECT_TRUE(fs::is_directory(Native("taken/inner")));
  EXPECT_FALSE(files_.WriteAtomically(Path("missing\\a.txt"), "x"));
  EXPECT_EQ(Names(), std::vector<std::string>{"taken"});
}

TEST_F(PosixFileSystemTest, WritesGoThroughLinksToTheFileTheyLeadTo) {
  fs::create_directory(Native("real"));
  MakeFile("real/settings.ini", "old");
  fs::create_symlink(Native("real/settings.ini"), Native("Kelvo.INI"));
  ASSERT_TRUE(files_.WriteAtomically(Path("Kelvo.INI"), "through the link"));
  EXPECT_TRUE(fs::is_symlink(Native("Kelvo.INI")));
  EXPECT_EQ(files_.ReadAll(Path("real\\settings.ini")), "through the link");

  MakeFile("shared.ini", "old");
  chmod(Native("shared.ini").c_str(), 0604);
  fs::create_hard_link(Native("shared.ini"), Native("other-name.ini"));
  ASSERT_TRUE(files_.WriteAtomically(Path("shared.ini"), "seen by both names"));
  EXPECT_EQ(files_.ReadAll(Path("other-name.ini")), "seen by both names");
  EXPECT_EQ(fs::hard_link_count(Native("shared.ini")), 2u);
  struct stat info;
  ASSERT_EQ(stat(Native("shared.ini").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0604u);
  EXPECT_EQ(Names(),
            (std::vector<std::string>{"Kelvo.INI", "other-name.ini", "real", "shared.ini"}))
      << "no temporary file is left behind";
}

TEST_F(PosixFileSystemTest, ReadTellsAMissingFileFromOneThatCannotBeRead) {
  MakeFile("a.txt", "bytes");
  EXPECT_EQ(files_.Read(Path("a.txt")).status, ReadStatus::kRead);
  EXPECT_EQ(files_.Read(Path("gone.txt")).status, ReadStatus::kMissing);
  EXPECT_EQ(files_.Read(Path("a.txt\\below")).status, ReadStatus::kMissing);
  fs::create_directory(Native("dir.ini"));
  EXPECT_EQ(files_.Read(Path("dir.ini")).status, ReadStatus::kUnreadable);
}

TEST_F(PosixFileSystemTest, BackslashesAndJapaneseNamesMapToNativePaths) {
  fs::create_directory(Native("サブ"));
  ASSERT_TRUE(files_.WriteAtomically(Path("サブ") + u"\\日本語.txt", "x"));
  EXPECT_TRUE(fs::exists(Native("サブ/日本語.txt")));
  EXPECT_TRUE(files_.FileExists(Path("サブ") + u"\\日本語.txt"));
  const auto entries = files_.ListDirectory(Path("サブ"));
  ASSERT_TRUE(entries.has_value());
  ASSERT_EQ(entries->size(), 1u);
  EXPECT_EQ((*entries)[0].name, u"日本語.txt");
}

TEST_F(PosixFileSystemTest, ExistenceAndListingFollowLinks) {
  MakeFile("file.txt", "x");
  fs::create_directory(Native("dir"));
  fs::create_symlink(Native("dir"), Native("dirlink"));
  fs::create_symlink(Native("file.txt"), Native("filelink"));
  fs::create_symlink(Native("nowhere"), Native("dangling"));

  const struct {
    const char* name;
    bool file;
    bool directory;
  } cases[] = {
      {"file.txt", true, false}, {"dir", false, true},       {"dirlink", false, true},
      {"filelink", true, false}, {"dangling", false, false}, {"missing", false, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(files_.FileExists(Path(c.name)), c.file) << c.name;
    EXPECT_EQ(files_.DirectoryExists(Path(c.name)), c.directory) << c.name;
  }

  auto entries = files_.ListDirectory(Path(""));
  ASSERT_TRUE(entries.has_value());
  std::sort(entries->begin(), entries->end(),
            [](const DirEntry& a, const DirEntry& b) { return a.name < b.name; });
  ASSERT_EQ(entries->size(), 5u);
  const std::u16string names[] = {u"dangling", u"dir", u"dirlink", u"file.txt", u"filelink"};
  const bool directories[] = {false, true, true, false, false};
  const bool links[] = {true, false, true, false, true};
  for (std::size_t i = 0; i < 5; ++i) {
    EXPECT_EQ((*entries)[i].name, names[i]);
    EXPECT_EQ((*entries)[i].isDirectory, directories[i]) << i;
    EXPECT_EQ((*entries)[i].isLink, links[i]) << i;
  }
  EXPECT_EQ(files_.ListDirectory(Path("dir"))->size(), 0u);
  EXPECT_FALSE(files_.ListDirectory(Path("missing")).has_value());
}

TEST_F(PosixFileSystemTest, DirectoryIdentityIsTheSameForEveryPathToADirectory) {
  fs::create_directories(Native("dir/sub"));
  fs::create_directory(Native("other"));
  fs::create_symlink(Native("dir"), Native("link"));
  MakeFile("file.txt", "x");

  const std::u16string identity = files_.DirectoryIdentity(Path("dir"));
  ASSERT_FALSE(identity.empty());
  EXPECT_EQ(files_.DirectoryIdentity(Path("link")), identity);
  EXPECT_EQ(files_.DirectoryIdentity(Path("dir\\")), identity);
  EXPECT_EQ(files_.DirectoryIdentity(Path("dir\\sub\\..")), identity);
  EXPECT_NE(files_.DirectoryIdentity(Path("other")), identity);
  EXPECT_EQ(files_.DirectoryIdentity(Path("missing")), u"");
  EXPECT_EQ(files_.DirectoryIdentity(Path("file.txt")), u"");
}

}  // namespace
