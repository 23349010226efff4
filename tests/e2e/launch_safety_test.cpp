// What a hotkey starts is the program its settings name, and nothing planted beside it.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "desktop_driver.h"
#include "kelvo_session.h"

namespace {

constexpr UINT kHotMods = MOD_CONTROL | MOD_ALT | MOD_SHIFT;

}  // namespace

// A slot with keys to type starts its program directly. Unquoted on the command line,
// "My Tools\app.exe" would be "My.exe" with the argument "Tools\app.exe" whenever a file My.exe
// lies beside the folder, as one can in a downloads folder.
TEST(LaunchSafety, AProgramWhosePathHoldsABlankStartsItselfAndNotAPlantedOne) {
  KelvoSession kelvo;
  const std::wstring recorder = kelvo.CopyProgram(L"record_args.exe");
  const std::wstring tools = kelvo.Folder() + L"\\My Tools";
  ASSERT_TRUE(CreateDirectoryW(tools.c_str(), nullptr));
  ASSERT_TRUE(CopyFileW(recorder.c_str(), (tools + L"\\app.exe").c_str(), FALSE));
  ASSERT_TRUE(CopyFileW(recorder.c_str(), (kelvo.Folder() + L"\\My.exe").c_str(), FALSE));
  TestWindow pad(L"Launch Pad");
  SetForegroundWindow(pad.hwnd());
  kelvo.WriteIni(
      CrLf("[General]\nVersion=169\nKeyWait=10\n[HotKey1]\nKey=Ctrl+Alt+Shift+Q\n"
           "Execute1=" +
           Narrow(tools) +
           "\\app.exe\nExeParam1=--slot\n"
           "SendKey1=X,/X\n"));
  ASSERT_TRUE(kelvo.Start());
  PressHotKey(kHotMods, 'Q');
  std::string recorded;
  ASSERT_TRUE(WaitFor([&] {
    return !(recorded = kelvo.ReadFileBytes(L"My Tools\\record_args.txt")).empty();
  })) << "the program did not start; My.exe recorded: "
      << kelvo.ReadFileBytes(L"record_args.txt");
  EXPECT_EQ(recorded.rfind("\"" + Narrow(tools) + "\\app.exe\" --slot\n", 0), 0u) << recorded;
  EXPECT_EQ(kelvo.ReadFileBytes(L"record_args.txt"), "") << "the planted My.exe ran";
  EXPECT_EQ(kelvo.Stop(), 0);
}
