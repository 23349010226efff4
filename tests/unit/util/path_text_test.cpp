#include "util/path_text.h"

#include <gtest/gtest.h>

TEST(PathText, Parts) {
  struct Case {
    std::u16string path, name, dir, ext, stem;
  } cases[] = {
      {u"C:\\Tools\\Kelvo.exe", u"Kelvo.exe", u"C:\\Tools\\", u".exe", u"Kelvo"},
      {u"C:\\a.b\\file", u"file", u"C:\\a.b\\", u"", u"file"},  // a dot in a folder is no extension
      {u"links/sub/c.d.lnk", u"c.d.lnk", u"links/sub/", u".lnk", u"c.d"},
      {u"D:name.txt", u"name.txt", u"D:", u".txt", u"name"},
      {u"plain", u"plain", u"", u"", u"plain"},
      {u".hidden", u".hidden", u"", u".hidden", u""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FileNamePart(c.path), c.name);
    EXPECT_EQ(DirectoryPart(c.path), c.dir);
    EXPECT_EQ(FileExtension(c.path), c.ext);
    EXPECT_EQ(FileStem(c.path), c.stem);
  }
}

TEST(PathText, ReplacingTheExtensionAndNumberedNames) {
  EXPECT_EQ(WithExtension(u"C:\\Tools\\Kelvo.exe", u".INI"), u"C:\\Tools\\Kelvo.INI");
  EXPECT_EQ(WithExtension(u"C:\\v1.2\\Kelvo", u".INI"), u"C:\\v1.2\\Kelvo.INI");
  EXPECT_EQ(NumberedName(u"HotKey", 100), u"HotKey100");
}
