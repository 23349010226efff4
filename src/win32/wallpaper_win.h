#pragma once
#include <string>

// Makes the BMP file the desktop wallpaper, or removes the wallpaper when the path is empty; the
// choice is stored in the user's profile and announced to all windows. True when the system
// accepted it.
bool SetDesktopWallpaper(const std::u16string& bmpPathOrEmpty);
