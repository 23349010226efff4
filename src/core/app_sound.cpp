#include "core/app_sound.h"

#include "platform/system_control.h"
#include "util/file_listing.h"

void PlayAppSound(SystemControl& system, const FileSystem& files, const std::u16string& exeDir,
                  std::u16string path) {
  if (AppFileExists(files, exeDir, path)) system.PlaySoundAsync(path);
}
