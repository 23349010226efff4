#include "platform/launch_plan.h"

#include <gtest/gtest.h>

namespace {

TEST(LaunchPlanTest, ShortcutFilesAreKnownByTheirLastExtensionInAnyCase) {
  EXPECT_TRUE(IsShortcutFile(u"C:\\Menu\\Editor.lnk"));
  EXPECT_TRUE(IsShortcutFile(u"C:\\Menu\\Editor.LNK"));
  EXPECT_TRUE(IsShortcutFile(u"a.b.Lnk"));
  EXPECT_TRUE(IsShortcutFile(u".lnk"));
  EXPECT_FALSE(IsShortcutFile(u"C:\\Menu\\Editor.lnk.exe"));
  EXPECT_FALSE(IsShortcutFile(u"C:\\Menu\\lnk"));
  EXPECT_FALSE(IsShortcutFile(u"C:\\Menu\\Editor.lnkx"));
  EXPECT_FALSE(IsShortcutFile(u""));
  // Full-width letters are other characters, not ".LNK".
  EXPECT_FALSE(IsShortcutFile(u"Editor.\uFF2C\uFF2E\uFF2B"));
}

TEST(LaunchPlanTest, DirectCommandLineQuotesAProgramWithABlankAndAddsParamsAfterOneBlank) {
  EXPECT_EQ(DirectCommandLine(u"notepad.exe", u""), u"notepad.exe");
  EXPECT_EQ(DirectCommandLine(u"notepad.exe", u"a.txt"), u"notepad.exe a.txt");
  // Unquoted, the system would try "D:\My.exe" first.
  EXPECT_EQ(DirectCommandLine(u"D:\\My Tools\\app.exe", u"\"my file\""),
            u"\"D:\\My Tools\\app.exe\" \"my file\"");
  EXPECT_EQ(DirectCommandLine(u"D:\\Tab\tdir\\app.exe", u""), u"\"D:\\Tab\tdir\\app.exe\"");
  EXPECT_EQ(DirectCommandLine(u"\"C:\\Program Files\\x.exe\"", u"-n"),
            u"\"C:\\Program Files\\x.exe\" -n")
      << "a path the user quoted stays as it is";
  EXPECT_EQ(DirectCommandLine(u"", u"-M"), u" -M");
}

LaunchRequest Caller() { return {u"C:\\Menu\\Tool.lnk", u"caller-args", u"C:\\Caller", 1}; }

TEST(LaunchPlanTest, AResolvedShortcutReplacesEveryValueOfTheCallerEvenWithEmptyOnes) {
  ResolvedShortcut link;
  link.link = ResolvedShortcut::Link::kResolved;
  link.linkPath = u"C:\\Tools\\tool.exe";
  link.arguments = u"--from-link";
  link.workingDirectory = u"C:\\Tools";
  link.show = 7;
  LaunchRequest request = ApplyShortcut(Caller(), link);
  EXPECT_EQ(request.file, u"C:\\Tools\\tool.exe");
  EXPECT_EQ(request.params, u"--from-link");
  EXPECT_EQ(request.dir, u"C:\\Tools");
  EXPECT_EQ(request.show, 7);

  link.arguments.clear();
  link.workingDirectory.clear();
  request = ApplyShortcut(Caller(), link);
  EXPECT_EQ(request.params, u"");
  EXPECT_EQ(request.dir, u"");
}

TEST(LaunchPlanTest, TheInstallerTargetWinsOverTheLinkPath) {
  ResolvedShortcut link;
  link.link = ResolvedShortcut::Link::kResolved;
  link.installerTarget = u"C:\\Program Files\\App\\app.exe";
  link.linkPath = u"C:\\Windows\\Installer\\icon.exe";
  link.arguments = u"/x";
  const LaunchRequest request = ApplyShortcut(Caller(), link);
  EXPECT_EQ(request.file, u"C:\\Program Files\\App\\app.exe");
  EXPECT_EQ(request.params, u"/x");
}

TEST(LaunchPlanTest, AFileThatIsNoLoadableShortcutIsHandedOnUnchanged) {
  ResolvedShortcut link;
  link.link = ResolvedShortcut::Link::kNotLoaded;
  link.installerTarget = u"C:\\App\\app.exe";  // even an installer target does not count then
  const LaunchRequest request = ApplyShortcut(Caller(), link);
  EXPECT_EQ(request.file, u"C:\\Menu\\Tool.lnk");
  EXPECT_EQ(request.params, u"caller-args");
  EXPECT_EQ(request.dir, u"C:\\Caller");
  EXPECT_EQ(request.show, 1);
}

TEST(LaunchPlanTest, WithoutTheLinkObjectOnlyAnInstallerTargetReplacesTheFile) {
  ResolvedShortcut link;
  link.link = ResolvedShortcut::Link::kNoLinkObject;
  link.installerTarget = u"C:\\App\\app.exe";
  LaunchRequest request = ApplyShortcut(Caller(), link);
  EXPECT_EQ(request.file, u"C:\\App\\app.exe");
  EXPECT_EQ(request.params, u"caller-args");
  EXPECT_EQ(request.dir, u"C:\\Caller");

  // No target at all: the shortcut file itself goes to the shell rather than an empty name.
  link.installerTarget.clear();
  request = ApplyShortcut(Caller(), link);
  EXPECT_EQ(request.file, u"C:\\Menu\\Tool.lnk");
}

}  // namespace
