#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/text_codec.h"
#include "posix/file_system_posix.h"
#include "posix/locale_posix.h"
#include "util/file_listing.h"

namespace {

namespace stdfs = std::filesystem;

// A fresh directory under /tmp, removed with everything in it at the end.
class FileListingPosixTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (stdfs::temp_directory_path() / "kelvo-list-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
  }
  void TearDown() override {
    std::error_code ignored;
    stdfs::remove_all(root_, ignored);
  }
  void Touch(const std::string& relative) {
    stdfs::create_directories((root_ / relative).parent_path());
    std::ofstream(root_ / relative) << "x";
  }
  // The root in the program's own form, with "\" separators.
  std::u16string Root() const {
    std::u16string path = Utf8ToUtf16(root_.string());
    std::replace(path.begin(), path.end(), u'/', u'\\');
    return path;
  }

  stdfs::path root_;
  PosixFileSystem fs_;
  PosixLocale locale_;
};

TEST_F(FileListingPosixTest, LinkToAnAncestorDoesNotLoop) {
  Touch("a.lnk");
  Touch("sub/b.LNK");
  Touch("sub/deeper/c.lnk");
  stdfs::create_directory_symlink(root_, root_ / "sub" / "deeper" / "back");
  stdfs::create_directory_symlink(root_ / "sub", root_ / "again");
  for (const bool sorted : {false, true}) {
    std::vector<std::u16string> out;
    ListFiles(fs_, locale_, Root(), out, u"lnk", sorted);
    ASSERT_EQ(out.size(), 3u) << sorted;
    std::vector<std::u16string> names;
    for (const auto& path : out) names.push_back(path.substr(path.rfind(u'\\') + 1));
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::u16string>{u"a.lnk", u"b.LNK", u"c.lnk"})) << sorted;
  }
}

TEST_F(FileListingPosixTest, FindsHiddenFilesAndPathsUseBackslashes) {
  Touch(".hidden.lnk");
  Touch("sub/x.lnk");
  std::vector<std::u16string> out;
  ListFiles(fs_, locale_, Root() + u"\\", out, u".LNK", true);
  EXPECT_EQ(out,
            (std::vector<std::u16string>{Root() + u"\\.hidden.lnk", Root() + u"\\sub\\x.lnk"}));
}

TEST_F(FileListingPosixTest, AppFileExistsOnARealDirectory) {
  Touch("sound.wav");
  stdfs::create_directory(root_ / "Sounds");
  const std::u16string exeDir = Root() + u"\\";
  std::u16string file = u"sound.wav";
  EXPECT_TRUE(AppFileExists(fs_, exeDir, file));
  std::u16string dir = u"Sounds";
  EXPECT_FALSE(AppFileExists(fs_, exeDir, dir));
}

}  // namespace
