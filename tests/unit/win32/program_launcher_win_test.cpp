#include "win32/program_launcher_win.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <objidl.h>
#include <shlobj.h>

#include <optional>
#include <string>

#include "base/text_case.h"
#include "base/text_codec.h"
#include "support/temp_folder_win.h"
#include "win32/com_win.h"
#include "win32/file_system_win.h"
#include "win32/version_info_win.h"
#include "win32/wide_win.h"

namespace {

// What the helper program record_args.exe wrote about its start.
struct Record {
  std::u16string commandLine;
  std::u16string currentDirectory;
};

bool CreateShortcut(const std::u16string& linkPath, const std::u16string& target,
                    const std::u16string& arguments, const std::u16string& workingDirectory) {
  const ComInitialization com;
  ComRef<IShellLinkW> link;
  ComRef<IPersistFile> persist;
  return SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                    link.PutVoid())) &&
         SUCCEEDED(link->SetPath(W(target))) && SUCCEEDED(link->SetArguments(W(arguments))) &&
         SUCCEEDED(link->SetWorkingDirectory(W(workingDirectory))) &&
         SUCCEEDED(link->QueryInterface(IID_IPersistFile, persist.PutVoid())) &&
         SUCCEEDED(persist->Save(W(linkPath), TRUE));
}

class ProgramLauncherWinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(folder_.Path().empty());
    const std::u16string self = ExecutablePath();
    recorder_ = self.substr(0, self.rfind(u'\\') + 1) + u"record_args.exe";
    ASSERT_TRUE(files_.FileExists(recorder_)) << "build the record_args target";
    recordFile_ = folder_.Path(u"record.txt");
    workDir_ = folder_.Path(u"work");
    callerDir_ = folder_.Path(u"caller");
    ASSERT_TRUE(CreateDirectoryW(W(workDir_), nullptr));
    ASSERT_TRUE(CreateDirectoryW(W(callerDir_), nullptr));
    SetEnvironmentVariableW(L"KELVO_RECORD_FILE", W(recordFile_));
  }
  void TearDown() override { SetEnvironmentVariableW(L"KELVO_RECORD_FILE", nullptr); }

  // The helper's record, waited for: a start through the shell returns before the program runs.
  std::optional<Record> WaitForRecord() const {
    for (int i = 0; i < 300; ++i) {
      if (const std::optional<std::string> bytes = files_.ReadAll(recordFile_)) {
        const std::u16string text = Utf8ToUtf16(*bytes);
        const std::size_t first = text.find(u'\n');
        const std::size_t second = text.find(u'\n', first + 1);
        if (first == std::u16string::npos || second == std::u16string::npos) return std::nullopt;
        return Record{text.substr(0, first), text.substr(first + 1, second - first - 1)};
      }
      Sleep(50);
    }
    return std::nullopt;
  }

  TempFolder folder_{u"kelvo-launch-"};
  WinFileSystem files_;
  WinProgramLauncher launcher_;
  std::u16string recorder_;
  std::u16string recordFile_;
  std::u16string workDir_;
  std::u16string callerDir_;
};

TEST_F(ProgramLauncherWinTest, ADirectStartPassesFileAndParamsAndTheDirectory) {
  ASSERT_TRUE(launcher_.LaunchProgram(recorder_, u"alpha \"b c\"", callerDir_, 1, true));
  const std::optional<Record> record = WaitForRecord();
  ASSERT_TRUE(record);
  EXPECT_EQ(record->commandLine, recorder_ + u" alpha \"b c\"");
  EXPECT_EQ(record->currentDirectory, callerDir_);
}

// "My Tools\app.exe" unquoted on a command line is "My.exe" with the argument "Tools\app.exe"
// whenever a file My.exe exists: a program planted beside the folder must never start instead.
TEST_F(ProgramLauncherWinTest, ADirectStartOfAPathWithABlankStartsThatProgramOnly) {
  const std::u16string planted = folder_.Path(u"My.exe");
  ASSERT_TRUE(CopyFileW(W(recorder_), W(planted), FALSE));
  ASSERT_TRUE(CreateDirectoryW(W(folder_.Path(u"My Tools")), nullptr));
  const std::u16string program = folder_.Path(u"My Tools\\app.exe");
  EXPECT_FALSE(launcher_.LaunchProgram(program, u"", callerDir_, 1, true))
      << "the program is not there, so nothing starts";
  Sleep(300);
  EXPECT_FALSE(files_.FileExists(recordFile_)) << "My.exe ran";

  ASSERT_TRUE(CopyFileW(W(recorder_), W(program), FALSE));
  ASSERT_TRUE(launcher_.LaunchProgram(program, u"-x", callerDir_, 1, true));
  const std::optional<Record> record = WaitForRecord();
  ASSERT_TRUE(record);
  EXPECT_EQ(record->commandLine, u"\"" + program + u"\" -x");
}

TEST_F(ProgramLauncherWinTest, AStartThroughTheShellPassesParamsAndDirectory) {
  ASSERT_TRUE(launcher_.LaunchProgram(recorder_, u"alpha beta", callerDir_, 1, false));
  const std::optional<Record> record = WaitForRecord();
  ASSERT_TRUE(record);
  EXPECT_TRUE(record->commandLine.ends_with(u" alpha beta")) << Utf16ToUtf8(record->commandLine);
  EXPECT_EQ(record->currentDirectory, callerDir_);
}

TEST_F(ProgramLauncherWinTest, AShortcutStartsItsTargetWithItsOwnArgumentsAndDirectory) {
  const std::u16string link = folder_.Path(u"Tool.LNK");
  ASSERT_TRUE(CreateShortcut(link, recorder_, u"--from-link x", workDir_));

  const ResolvedShortcut resolved = ResolveShortcutFile(link);
  EXPECT_EQ(resolved.link, ResolvedShortcut::Link::kResolved);
  EXPECT_EQ(resolved.installerTarget, u"");  // not advertised by the installer
  EXPECT_TRUE(EqualsNoCase(resolved.linkPath, recorder_));
  EXPECT_EQ(resolved.arguments, u"--from-link x");
  EXPECT_EQ(resolved.workingDirectory, workDir_);

  for (bool wait : {true, false}) {
    DeleteFileW(W(recordFile_));
    ASSERT_TRUE(launcher_.LaunchProgram(link, u"caller-args", callerDir_, 1, wait));
    const std::optional<Record> record = WaitForRecord();
    ASSERT_TRUE(record) << "wait " << wait;
    EXPECT_TRUE(record->commandLine.ends_with(u" --from-link x"))
        << Utf16ToUtf8(record->commandLine);
    EXPECT_EQ(record->commandLine.find(u"caller-args"), std::u16string::npos);
    EXPECT_EQ(record->currentDirectory, workDir_);
  }
}

TEST_F(ProgramLauncherWinTest, EmptyShortcutValuesStillReplaceTheCallers) {
  const std::u16string link = folder_.Path(u"bare.lnk");
  ASSERT_TRUE(CreateShortcut(link, recorder_, u"", u""));
  ASSERT_TRUE(launcher_.LaunchProgram(link, u"caller-args", callerDir_, 1, true));
  const std::optional<Record> record = WaitForRecord();
  ASSERT_TRUE(record);
  EXPECT_EQ(record->commandLine.find(u"caller-args"), std::u16string::npos);
  EXPECT_NE(record->currentDirectory, callerDir_);
}

TEST_F(ProgramLauncherWinTest, LongShortcutArgumentsArriveWhole) {
  const std::u16string arguments = u"--long " + std::u16string(600, u'a') + u" end";
  const std::u16string link = folder_.Path(u"long.lnk");
  ASSERT_TRUE(CreateShortcut(link, recorder_, arguments, workDir_));
  ASSERT_TRUE(launcher_.LaunchProgram(link, u"", u"", 1, true));
  const std::optional<Record> record = WaitForRecord();
  ASSERT_TRUE(record);
  EXPECT_TRUE(record->commandLine.ends_with(u" " + arguments));
}

TEST_F(ProgramLauncherWinTest, AFileNamedLikeAShortcutThatIsNoneKeepsTheCallersValues) {
  // A program under a .lnk name: it cannot be loaded as a link, so it is started as it is.
  const std::u16string fake = folder_.Path(u"fake.lnk");
  ASSERT_TRUE(CopyFileW(W(recorder_), W(fake), FALSE));
  EXPECT_EQ(ResolveShortcutFile(fake).link, ResolvedShortcut::Link::kNotLoaded);
  ASSERT_TRUE(launcher_.LaunchProgram(fake, u"caller-args", callerDir_, 1, true));
  const std::optional<Record> record = WaitForRecord();
  ASSERT_TRUE(record);
  EXPECT_EQ(record->commandLine, fake + u" caller-args");
  EXPECT_EQ(record->currentDirectory, callerDir_);
}

TEST_F(ProgramLauncherWinTest, NothingToStartGivesFalse) {
  for (bool wait : {true, false}) {
    EXPECT_FALSE(launcher_.LaunchProgram(u"", u"x", u"", 1, wait)) << "wait " << wait;
    EXPECT_FALSE(launcher_.LaunchProgram(folder_.Path(u"missing.exe"), u"", u"", 1, wait));
    EXPECT_FALSE(launcher_.LaunchProgram(folder_.Path(u"missing.lnk"), u"", u"", 1, wait));
  }
}

}  // namespace
