#include "base/long_path.h"

#include <gtest/gtest.h>

TEST(LongPathTest, FullPathsTakeTheExtendedFormOthersStayAsTheyAre) {
  const struct {
    std::u16string path;
    std::u16string form;
  } cases[] = {
      {u"C:\\Users\\a\\Kelvo.INI", u"\\\\?\\C:\\Users\\a\\Kelvo.INI"},
      {u"z:/tmp", u"\\\\?\\z:/tmp"},
      {u"\\\\server\\share\\Kelvo.INI", u"\\\\?\\UNC\\server\\share\\Kelvo.INI"},
      {u"\\\\?\\C:\\already", u"\\\\?\\C:\\already"},
      {u"\\\\?\\UNC\\s\\x", u"\\\\?\\UNC\\s\\x"},
      {u"\\\\.\\pipe\\x", u"\\\\.\\pipe\\x"},
      {u"relative\\Kelvo.INI", u"relative\\Kelvo.INI"},
      {u"C:relative", u"C:relative"},
      {u"\\rooted", u"\\rooted"},
      {u"\\\\\\x", u"\\\\\\x"},
      {u"", u""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ExtendedLengthForm(c.path), c.form) << std::string(c.path.begin(), c.path.end());
  }
}
