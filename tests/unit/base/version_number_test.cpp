#include "base/version_number.h"

#include <gtest/gtest.h>

namespace {

TEST(VersionNumberTest, FirstFiveCharactersWithoutDots) {
  struct Case {
    const char16_t* text;
    int number;
  };
  const Case cases[] = {
      {u"1.6.9.0", 169},  {u"1.10.2.0", 110}, {u"2.0", 20},  {u"1.6.9 beta", 169},
      {u"123456", 12345}, {u"", 0},           {u"abc", 0},   {u"1.6a", 0},
      {u".....", 0},      {u"-1.2", 0},       {u"1,6,9", 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(VersionNumberFromText(c.text), c.number) << (&c - cases);
  }
}

}  // namespace
