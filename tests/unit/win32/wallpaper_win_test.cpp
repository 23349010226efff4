#include "win32/wallpaper_win.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "support/temp_folder_win.h"
#include "util/bmp_file.h"
#include "win32/file_system_win.h"
#include "win32/wide_win.h"

namespace {

std::u16string CurrentWallpaper() {
  wchar_t path[MAX_PATH + 1] = {};
  if (!SystemParametersInfoW(SPI_GETDESKWALLPAPER, MAX_PATH, path, 0)) return u"?";
  return U16(path);
}

TEST(WallpaperWinTest, TheBitmapBecomesTheWallpaperAndAnEmptyPathRemovesIt) {
  TempFolder folder(u"kelvo-wall-");
  WinFileSystem files;
  const std::u16string bmp = folder.Path(u"wall.bmp");
  ASSERT_TRUE(
      files.WriteAtomically(bmp, EncodeBmp24(Bitmap24{2, 2, std::vector<std::uint8_t>(12, 0x7F)})));
  const std::u16string before = CurrentWallpaper();

  EXPECT_TRUE(SetDesktopWallpaper(bmp));
  EXPECT_EQ(CurrentWallpaper(), bmp);
  EXPECT_TRUE(SetDesktopWallpaper(u""));
  EXPECT_EQ(CurrentWallpaper(), u"");

  SetDesktopWallpaper(before == u"?" ? u"" : before);
}

}  // namespace
