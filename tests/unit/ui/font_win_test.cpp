#include "ui/font_win.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

LOGFONTW Described(const FontHandle& font) {
  LOGFONTW logFont{};
  EXPECT_EQ(GetObjectW(font.get(), sizeof logFont, &logFont), static_cast<int>(sizeof logFont));
  return logFont;
}

TEST(SettingsFontTest, IsMadeInPointsAtTheWindowsDpi) {
  const FontDescription description{u"ＭＳ ゴシック", 10, SHIFTJIS_CHARSET, true, true};
  struct Case {
    UINT dpi;
    LONG height;
  };
  // 10 points are 10/72 of an inch.
  for (const Case& c : {Case{96, -13}, Case{120, -17}, Case{144, -20}, Case{192, -27}}) {
    const FontHandle font = CreateSettingsFont(description, c.dpi);
    ASSERT_TRUE(font) << c.dpi;
    const LOGFONTW made = Described(font);
    EXPECT_EQ(made.lfHeight, c.height) << c.dpi;
    EXPECT_EQ(made.lfWeight, FW_BOLD);
    EXPECT_TRUE(made.lfItalic);
    EXPECT_EQ(made.lfCharSet, SHIFTJIS_CHARSET);
    EXPECT_STREQ(made.lfFaceName, L"ＭＳ ゴシック");
  }
}

TEST(SettingsFontTest, PlainEmptyAndOverlongNames) {
  const LOGFONTW plain = SettingsLogFont(FontDescription{u"", 9, 0, false, false}, 96);
  EXPECT_EQ(plain.lfHeight, -12);
  EXPECT_EQ(plain.lfWeight, FW_NORMAL);
  EXPECT_FALSE(plain.lfItalic);
  EXPECT_EQ(plain.lfCharSet, ANSI_CHARSET);
  EXPECT_STREQ(plain.lfFaceName, L"");

  const std::u16string longName(40, u'字');
  const LOGFONTW cut = SettingsLogFont(FontDescription{longName, 9, 128, false, false}, 96);
  EXPECT_EQ(std::wstring(cut.lfFaceName), std::wstring(LF_FACESIZE - 1, L'字'));
}

TEST(MessageFontTest, FollowsTheWindowsDpiFromTheSystemDpi) {
  const UINT systemDpi = GetDpiForSystem();
  const LOGFONTW atSystem = MessageLogFont(systemDpi);
  const LOGFONTW atDouble = MessageLogFont(systemDpi * 2);
  EXPECT_NE(atSystem.lfHeight, 0);
  EXPECT_EQ(atDouble.lfHeight, atSystem.lfHeight * 2);
  EXPECT_STREQ(atDouble.lfFaceName, atSystem.lfFaceName);

  // The main window's default font is the same font, in points.
  const FontDescription described = MessageFontDescription();
  EXPECT_EQ(described.name, std::u16string(reinterpret_cast<const char16_t*>(atSystem.lfFaceName)));
  EXPECT_EQ(described.size, MulDiv(std::abs(atSystem.lfHeight), 72, static_cast<int>(systemDpi)));
  EXPECT_EQ(described.charset, atSystem.lfCharSet);
}

}  // namespace
