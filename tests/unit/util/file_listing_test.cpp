#include "util/file_listing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/fake_locale.h"
#include "support/memory_file_system.h"

namespace {

using Paths = std::vector<std::u16string>;

// R
// ├─ A\x.lnk, A\readme.txt
// ├─ b\c\w.LNK
// ├─ b\y.lnk, b\a.b.lnk
// ├─ d.lnk\         (a directory, not a match)
// ├─ z.lnk, Y.LNK, lnk, z.lnk.txt, z.lnkx
class ListFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs_.directories = {u"R", u"R\\A", u"R\\b", u"R\\b\\c", u"R\\d.lnk"};
    for (const char16_t* file :
         {u"R\\A\\x.lnk", u"R\\A\\readme.txt", u"R\\b\\c\\w.LNK", u"R\\b\\y.lnk", u"R\\b\\a.b.lnk",
          u"R\\z.lnk", u"R\\Y.LNK", u"R\\lnk", u"R\\z.lnk.txt", u"R\\z.lnkx"}) {
      fs_.files[file] = "";
    }
  }

  Paths List(const std::u16string& dir, const std::u16string& ext, bool sorted, Paths out = {}) {
    ListFiles(fs_, locale_, dir, out, ext, sorted);
    return out;
  }

  MemoryFileSystem fs_;
  FakeLocale locale_;
};

TEST_F(ListFilesTest, UnsortedIsBreadthFirstInEnumerationOrder) {
  // The memory file system lists subdirectories first, then files, each in name order.
  const Paths expected = {u"R\\Y.LNK",      u"R\\z.lnk",    u"R\\A\\x.lnk",
                          u"R\\b\\a.b.lnk", u"R\\b\\y.lnk", u"R\\b\\c\\w.LNK"};
  EXPECT_EQ(List(u"R", u"lnk", false), expected);
}

TEST_F(ListFilesTest, ExtensionAndTrailingSeparatorDoNotMatter) {
  const Paths plain = List(u"R", u"lnk", false);
  EXPECT_EQ(List(u"R\\", u"lnk", false), plain);
  EXPECT_EQ(List(u"R", u".LNK", false), plain);
  EXPECT_EQ(List(u"R\\", u".lnk", false), plain);
}

TEST_F(ListFilesTest, SortedIsCaseBlindOrderWithoutDuplicates) {
  const Paths expected = {u"R\\A\\x.lnk", u"R\\b\\a.b.lnk", u"R\\b\\c\\w.LNK",
                          u"R\\b\\y.lnk", u"R\\Y.LNK",      u"R\\z.lnk"};
  EXPECT_EQ(List(u"R", u"LNK", true), expected);
  // What the list already holds is kept in order; an entry equal without regard to case is not
  // added again.
  const Paths withOld = List(u"R", u"lnk", true, {u"R\\Z.LNK", u"R\\0.lnk"});
  const Paths expectedWithOld = {u"R\\0.lnk",       u"R\\A\\x.lnk", u"R\\b\\a.b.lnk",
                                 u"R\\b\\c\\w.LNK", u"R\\b\\y.lnk", u"R\\Y.LNK",
                                 u"R\\Z.LNK"};
  EXPECT_EQ(withOld, expectedWithOld);
}

TEST_F(ListFilesTest, NothingToListLeavesTheOutputAlone) {
  const Paths before = {u"keep\\me.lnk", u"and\\me.lnk"};
  EXPECT_EQ(List(u"Missing", u"lnk", false, before), before);
  EXPECT_EQ(List(u"R", u"", false, before), before);
  EXPECT_EQ(List(u"R", u"", true, before), before);
  EXPECT_EQ(List(u"R\\z.lnk", u"lnk", false, before), before);  // a file, not a directory
  // An unsorted listing appends behind what was there.
  Paths appended = before;
  appended.push_back(u"R\\A\\x.lnk");
  EXPECT_EQ(List(u"R\\A", u"lnk", false, before), appended);
}

TEST_F(ListFilesTest, UnreadableDirectoryIsSkipped) {
  fs_.directories.insert(u"R\\b\\gone");
  fs_.directoryLinks[u"R\\b\\gone"] = u"Nowhere";
  EXPECT_EQ(List(u"R", u"lnk", false).size(), 6u);
}

TEST_F(ListFilesTest, LinkBackIntoTheTreeIsEnteredOnce) {
  fs_.directories.insert(u"R\\b\\c\\up");
  fs_.directoryLinks[u"R\\b\\c\\up"] = u"R";
  fs_.directories.insert(u"R\\A\\self");
  fs_.directoryLinks[u"R\\A\\self"] = u"R\\A";
  for (const bool sorted : {false, true}) {
    EXPECT_EQ(List(u"R", u"lnk", sorted).size(), 6u) << sorted;
  }
}

TEST_F(ListFilesTest, LinkNamedBeforeItsTargetIsNotEnteredAndOutsideTargetsAre) {
  // The link comes first in the listing of R; its target is a plain directory of the tree.
  fs_.directories.insert(u"R\\0link");
  fs_.directoryLinks[u"R\\0link"] = u"R\\b";
  fs_.directories.insert(u"R\\A\\out");
  fs_.directoryLinks[u"R\\A\\out"] = u"X";
  fs_.directories.insert(u"X");
  fs_.files[u"X\\q.lnk"] = "";
  for (const bool sorted : {false, true}) {
    const Paths out = List(u"R", u"lnk", sorted);
    EXPECT_EQ(out.size(), 7u) << sorted;
    EXPECT_NE(std::find(out.begin(), out.end(), u"R\\A\\out\\q.lnk"), out.end()) << sorted;
  }
  // Unsorted, what a link leads to comes after the rest of the tree.
  EXPECT_EQ(List(u"R", u"lnk", false).back(), u"R\\A\\out\\q.lnk");
}

// Identities from a file system that cannot tell its directories apart.
class IdentityFileSystem : public MemoryFileSystem {
 public:
  explicit IdentityFileSystem(std::u16string identity) : identity_(std::move(identity)) {}
  std::u16string DirectoryIdentity(const std::u16string& dir) const override {
    return DirectoryExists(dir) ? identity_ : u"";
  }

 private:
  std::u16string identity_;
};

TEST_F(ListFilesTest, DirectoriesThatShareOrLackAnIdentityAreAllListed) {
  for (const char16_t* identity : {u"", u"volume:0"}) {
    IdentityFileSystem fs(identity);
    fs.directories = fs_.directories;
    fs.files = fs_.files;
    for (const bool sorted : {false, true}) {
      Paths out;
      ListFiles(fs, locale_, u"R", out, u"lnk", sorted);
      EXPECT_EQ(out, List(u"R", u"lnk", sorted)) << sorted;
      EXPECT_EQ(out.size(), 6u) << sorted;
    }
  }
}

// Every directory holds one match and one subdirectory, forever, and cannot say which
// directory it is: the walk must still end, whether the file system calls them links or not.
class EndlessFileSystem : public MemoryFileSystem {
 public:
  explicit EndlessFileSystem(bool links) : links_(links) {}
  bool DirectoryExists(const std::u16string&) const override { return true; }
  std::optional<std::vector<DirEntry>> ListDirectory(const std::u16string&) const override {
    return std::vector<DirEntry>{{u"loop", true, links_}, {u"f.lnk", false}};
  }
  std::u16string DirectoryIdentity(const std::u16string&) const override { return u""; }

 private:
  bool links_;
};

TEST(ListFilesLoopTest, UnknownDirectoriesEndAtADepthLimit) {
  const FakeLocale locale;
  for (const bool links : {false, true}) {
    const EndlessFileSystem fs(links);
    for (const bool sorted : {false, true}) {
      Paths out;
      ListFiles(fs, locale, u"R", out, u"lnk", sorted);
      EXPECT_GE(out.size(), 32u) << links << sorted;
      EXPECT_LE(out.size(), 100u) << links << sorted;
    }
  }
}

TEST(AppFileExistsTest, RelativePathsAreTakenFromTheProgramDirectory) {
  MemoryFileSystem fs;
  fs.files[u"C:\\Kelvo\\sound.wav"] = "";
  fs.files[u"C:\\Kelvo\\\\lead.wav"] = "";
  fs.files[u"D:\\x.wav"] = "";
  fs.files[u"\\\\server\\share\\x.wav"] = "";
  fs.directories.insert(u"C:\\Kelvo\\Sounds");
  const std::u16string exeDir = u"C:\\Kelvo\\";
  struct Case {
    const char16_t* path;
    const char16_t* rewritten;
    bool exists;
  };
  const Case cases[] = {
      {u"sound.wav", u"C:\\Kelvo\\sound.wav", true},
      {u"\\lead.wav", u"C:\\Kelvo\\\\lead.wav", true},  // a leading "\" is relative too
      {u"sub\\none.wav", u"C:\\Kelvo\\sub\\none.wav", false},
      {u"D:\\x.wav", u"D:\\x.wav", true},
      {u"d:x.wav", u"d:x.wav", false},
      {u"\\\\server\\share\\x.wav", u"\\\\server\\share\\x.wav", true},
      {u"\\\\server", u"C:\\Kelvo\\\\\\server", false},  // no share name: no network prefix
      {u"Sounds", u"C:\\Kelvo\\Sounds", false},          // a directory is not a file
      {u"", u"", false},
  };
  for (const auto& c : cases) {
    std::u16string path = c.path;
    EXPECT_EQ(AppFileExists(fs, exeDir, path), c.exists) << (&c - cases);
    EXPECT_EQ(path, c.rewritten) << (&c - cases);
  }
}

TEST(AppFileExistsTest, DrivePart) {
  struct Case {
    const char16_t* path;
    bool hasDrive;
  };
  const Case cases[] = {
      {u"C:", true},
      {u"z:\\a", true},
      {u"\\\\srv\\share", true},
      {u"\\\\srv\\share\\f", true},
      {u"\\\\srv\\", false},
      {u"\\\\srv", false},
      {u"\\\\\\share", false},
      {u"\\a", false},
      {u"a", false},
      {u"1:\\a", false},
      {u"", false},
      {u"a\\b:c", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(HasDrivePart(c.path), c.hasDrive) << (&c - cases);
  }
}

}  // namespace
