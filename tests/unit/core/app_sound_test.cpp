#include "core/app_sound.h"

#include <gtest/gtest.h>

#include "support/fake_desktop.h"
#include "support/memory_file_system.h"

TEST(AppSoundTest, PlaysAnExistingFileFoundBesideKelvoAndNothingElse) {
  MemoryFileSystem files;
  files.directories.insert(u"C:\\Tools");
  files.files[u"C:\\Tools\\ok.wav"] = "RIFF";
  FakeSystemControl system;
  PlayAppSound(system, files, u"C:\\Tools\\", u"ok.wav");
  PlayAppSound(system, files, u"C:\\Tools\\", u"missing.wav");
  PlayAppSound(system, files, u"C:\\Tools\\", u"");
  EXPECT_EQ(system.log, (std::vector<std::string>{"sound C:\\Tools\\ok.wav"}));
}
