#pragma once
#include <string>

#include "platform/desktop.h"
#include "platform/file_system.h"
#include "platform/system_control.h"

// Plays a sound file a setting names (a hotkey's Sound, the command launcher's CnfSound and
// NgSound), without waiting for it. A name without a drive lies beside Kelvo.exe (exeDir ends
// with "\"); a file that does not exist plays nothing rather than the system's default sound.
void PlayAppSound(SystemControl& system, const FileSystem& files, const std::u16string& exeDir,
                  std::u16string path);
