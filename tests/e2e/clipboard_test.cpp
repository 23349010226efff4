// The clipboard history as a user meets it: copies made anywhere are recorded (limits, exclusion
// words and private copies respected), kept in the history file, shown by the hotkey, and the
// chosen entry is pasted into the window that was in front. The clipboard is shared by the whole
// desktop, so these tests run one at a time like every end-to-end test.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "clip_driver.h"
#include "desktop_driver.h"
#include "kelvo_session.h"

namespace {

constexpr UINT kHotMods = MOD_CONTROL | MOD_ALT | MOD_SHIFT;
constexpr int kStopCommand = 210;  // the window's "履歴をとらない" command
constexpr int kHistoryListId = 4;

class ClipboardTest : public ::testing::Test {
 protected:
  [[nodiscard]] bool Start(const std::string& clip, const std::string& general = "") {
    kelvo.WriteIni(CrLf("[General]\nVersion=169\n" + general +
                        "\n[HotKey1]\nKey=Ctrl+Alt+Shift+H\nCommand=CLIPBOARD\n"
                        "[HotKey2]\nKey=Ctrl+Alt+Shift+C\nCommand=CLIPBOARD_C\n"
                        "[ClipboardList]\nEnable=1\nSaveHistory=1\nPosX=60\nPosY=60\n" +
                        clip));
    if (!kelvo.Start()) return false;
    clipWindow = ClipWindowOf(kelvo.ProcessId());
    return clipWindow != nullptr;
  }
  std::vector<std::string> Stored() { return StoredHistory(kelvo); }
  [[nodiscard]] bool CopyAndWait(const std::string& text) { return ::CopyAndWait(kelvo, text); }
  [[nodiscard]] bool Open(const TestWindow& pad) {
    return OpenClipWindow(clipWindow, pad, kHotMods, 'H');
  }
  LRESULT Rows() { return SendMessageW(GetDlgItem(clipWindow, kHistoryListId), LB_GETCOUNT, 0, 0); }

  KelvoSession kelvo;
  HWND clipWindow = nullptr;
};

TEST_F(ClipboardTest, CopiesAreRecordedNewestFirstWithinTheLimitsAndRulesAndSurviveARestart) {
  ASSERT_TRUE(Start("MaxItems=3\nExceptWord1=secret\nExceptWord2=/^[0-9]+$/\n"));
  for (const char* text : {"one", "two", "three", "two", "four"}) ASSERT_TRUE(CopyAndWait(text));
  // Neither an exclusion word, a pattern, nor a copy marked private enters the history.
  ASSERT_TRUE(SetClipboard(L"my SECRET note"));
  ASSERT_TRUE(SetClipboard(L"12345"));
  ASSERT_TRUE(SetClipboard(L"password", true));
  ASSERT_TRUE(CopyAndWait("five"));
  EXPECT_EQ(Joined(Stored()), "five;four;two;");
  // A reload keeps what was captured.
  kelvo.StartAgain(L"-R");
  EXPECT_EQ(Joined(Stored()), "five;four;two;");

  // At exit the file is written; the next start shows the same entries in the same order.
  EXPECT_EQ(kelvo.Stop(), 0);
  EXPECT_EQ(Joined(Entries(kelvo.ReadFileBytes(L"CLIPDATA.txt"))), "five;four;two;");
  ASSERT_TRUE(kelvo.Start());
  clipWindow = ClipWindowOf(kelvo.ProcessId());
  TestWindow pad(L"Clip Pad");
  ASSERT_TRUE(Open(pad));
  EXPECT_EQ(Rows(), 3);
}

TEST_F(ClipboardTest, EnterPastesTheEntryByPasteMessageAndUpOnTheFirstRowWrapsToTheLast) {
  WriteBytes(kelvo.Folder() + L"\\CLIPDATA.txt",
             "\xEF\xBB\xBF" + CrLf("CreTime=2026/01/02 3:04:05\nLineCount=2\nfirst line\nsecond\n\n"
                                   "CreTime=2026/01/01\nLineCount=1\nolder entry\n\n"));
  ASSERT_TRUE(Start(""));
  TestWindow pad(L"Clip Pad");
  ASSERT_TRUE(Open(pad));
  EXPECT_EQ(Rows(), 2);
  PressHotKey(0, VK_RETURN);
  EXPECT_TRUE(WaitFor([&] { return pad.EditText() == L"first line\r\nsecond"; }))
      << Narrow(pad.EditText());
  EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(clipWindow); }));

  // Up on the first row selects the last one.
  ASSERT_TRUE(Open(pad));
  PressHotKey(0, VK_UP);
  PressHotKey(0, VK_RETURN);
  EXPECT_TRUE(WaitFor([&] { return pad.EditText() == L"first line\r\nsecondolder entry"; }))
      << Narrow(pad.EditText());
}

TEST_F(ClipboardTest, OtherClassesGetCtrlVAndEscapeStoresThePlace) {
  ASSERT_TRUE(Start("Width=400\nHeight=300\n", "WmPasteClass=TEDIT\n"));
  ASSERT_TRUE(CopyAndWait("typed by keys"));
  TestWindow pad(L"Clip Pad");
  ASSERT_TRUE(Open(pad));
  RECT shown{};
  GetWindowRect(clipWindow, &shown);
  EXPECT_EQ(shown.left, 60);
  EXPECT_EQ(shown.right - shown.left, 400);
  PressHotKey(0, VK_RETURN);
  EXPECT_TRUE(WaitFor([&] { return pad.EditText() == L"typed by keys"; }))
      << Narrow(pad.EditText()) << " visible " << IsWindowVisible(clipWindow) << " fg "
      << GetForegroundWindow() << " pad " << pad.hwnd();

  ASSERT_TRUE(Open(pad));
  SetWindowPos(clipWindow, nullptr, 80, 90, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_TRUE(WaitFor([&] {
    RECT r{};
    GetWindowRect(clipWindow, &r);
    return r.left == 80;
  }));
  PressHotKey(0, VK_ESCAPE);
  EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(clipWindow); }));
  EXPECT_TRUE(WaitFor([&] {
    const std::u16string ini = kelvo.ReadIniText();
    return ini.find(u"PosX=80") != std::u16string::npos &&
           ini.find(u"PosY=90") != std::u16string::npos &&
           ini.find(u"[FindHistory]") != std::u16string::npos;
  })) << Narrow(std::wstring(kelvo.ReadIniText().begin(), kelvo.ReadIniText().end()));
}

TEST_F(ClipboardTest, StopActionStopsRecordingAndMarksTheCaption) {
  ASSERT_TRUE(Start(""));
  ASSERT_TRUE(CopyAndWait("kept"));
  PostMessageW(clipWindow, WM_COMMAND, MAKEWPARAM(kStopCommand, 0), 0);
  EXPECT_TRUE(WaitFor([&] {
    wchar_t caption[64] = {};
    GetWindowTextW(clipWindow, caption, 64);
    return std::wstring(caption) == L"クリップボード履歴  (×)";
  }));
  ASSERT_TRUE(SetClipboard(L"not recorded"));
  Sleep(500);
  EXPECT_EQ(Joined(Stored()), "kept;");
  PostMessageW(clipWindow, WM_COMMAND, MAKEWPARAM(kStopCommand, 0), 0);
  EXPECT_TRUE(CopyAndWait("again"));
}

}  // namespace
