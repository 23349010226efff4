#include "base/temp_file_name.h"

#include <gtest/gtest.h>

TEST(TempFileNameTest, ANameTellsItsComputerAndProcessBackForItsTargetOnly) {
  const std::uint32_t tag = ComputerTag(u"desk-07");
  EXPECT_EQ(tag, ComputerTag(u"DESK-07")) << "computer names ignore letter case";
  EXPECT_NE(tag, ComputerTag(u"desk-08"));
  EXPECT_LT(tag, 1u << 24);

  const std::u16string name = TempFileName(u"Kelvo.INI", tag, 0xFFFFFFF0u, 0x1234567u);
  EXPECT_EQ(name.size(), std::u16string(u"Kelvo.INI").size() + 26);
  const auto writer = TempFileWriterOf(name, u"Kelvo.INI");
  ASSERT_TRUE(writer.has_value());
  EXPECT_EQ(writer->computerTag, tag);
  EXPECT_EQ(writer->processId, 0xFFFFFFF0u);

  EXPECT_FALSE(TempFileWriterOf(name, u"Kelvo.IN")) << "another target's";
  EXPECT_FALSE(TempFileWriterOf(name, u"Other.INI"));
  for (const char16_t* foreign :
       {u"Kelvo.INI.~x.tmp", u"Kelvo.INI.~00000000000000000000.txt",
        u"Kelvo.INI.~0000000000000000000g.tmp", u"Kelvo.INI.~0000000000000000000a.tmp",
        // the longer names of earlier versions carry no computer: never taken for this one's
        u"Kelvo.INI.~FFFFFFF0000000030000000.tmp", u"Kelvo.INI.~FFFFFFF00000000300000000.tmp"}) {
    EXPECT_FALSE(TempFileWriterOf(foreign, u"Kelvo.INI"));
  }
}
