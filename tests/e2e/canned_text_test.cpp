// Canned texts as a user meets them: CLIPBOARD_T opens the page on the chosen set, Enter pastes a
// text with its escapes expanded, texts are registered from the clipboard into the file, a
// duplicate is refused with a warning, and a pasted canned text does not enter the history.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "clip_driver.h"
#include "desktop_driver.h"
#include "kelvo_session.h"

namespace {

constexpr UINT kHotMods = MOD_CONTROL | MOD_ALT | MOD_SHIFT;
constexpr int kCannedListId = 410;
constexpr int kRegFromClipCommand = 216;  // "クリップボードから追加登録"

class CannedTextTest : public ::testing::Test {
 protected:
  // Kelvo with CLIPBOARD_T on Ctrl+Alt+Shift+T, CLIPBOARD_T2 on …+2 and CLIPBOARD_T3 on …+3;
  // set 1 is TEXTDATA.txt (Shift_JIS-free ASCII here), set 2 second.txt, set 3 is missing.
  [[nodiscard]] bool Start(const std::string& set1, const std::string& set2 = "x\n") {
    WriteBytes(kelvo.Folder() + L"\\TEXTDATA.txt", CrLf(set1));
    WriteBytes(kelvo.Folder() + L"\\second.txt", CrLf(set2));
    kelvo.WriteIni(
        CrLf("[General]\nVersion=169\n"
             "[HotKey1]\nKey=Ctrl+Alt+Shift+T\nCommand=CLIPBOARD_T\n"
             "[HotKey2]\nKey=Ctrl+Alt+Shift+2\nCommand=CLIPBOARD_T2\n"
             "[HotKey3]\nKey=Ctrl+Alt+Shift+3\nCommand=CLIPBOARD_T3\n"
             "[ClipboardList]\nEnable=1\nSaveHistory=1\nPosX=60\nPosY=60\n"
             "TextDataBtn1=TEXTDATA.txt\nTextDataBtn2=second.txt\nTextDataBtn3=missing.txt\n"));
    if (!kelvo.Start()) return false;
    clipWindow = ClipWindowOf(kelvo.ProcessId());
    return clipWindow != nullptr;
  }
  LRESULT Rows() { return SendMessageW(GetDlgItem(clipWindow, kCannedListId), LB_GETCOUNT, 0, 0); }

  KelvoSession kelvo;
  HWND clipWindow = nullptr;
};

TEST_F(CannedTextTest, EnterPastesTheBodyExpandedAndThePasteStaysOutOfTheHistory) {
  ASSERT_TRUE(Start("-\nGreeting\t Hello\\nWorld \nplain\n"));
  ASSERT_TRUE(CopyAndWait(kelvo, "before"));
  TestWindow pad(L"Canned Pad");
  ASSERT_TRUE(OpenClipWindow(clipWindow, pad, kHotMods, 'T'));
  EXPECT_EQ(Rows(), 3);
  // Row 0 is the separator; Home and Down select the greeting.
  PressHotKey(0, VK_HOME);
  PressHotKey(0, VK_DOWN);
  PressHotKey(0, VK_RETURN);
  EXPECT_TRUE(WaitFor([&] { return pad.EditText() == L"Hello\r\nWorld"; }))
      << Narrow(pad.EditText());
  EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(clipWindow); }));
  // The paste went through the clipboard, but the history did not take it.
  ASSERT_TRUE(CopyAndWait(kelvo, "after"));
  EXPECT_EQ(Joined(StoredHistory(kelvo)), "after;before;");
}

TEST_F(CannedTextTest, SetSuffixChoosesTheSetAndAMissingSetLeavesTheCurrentOne) {
  ASSERT_TRUE(Start("a\nb\nc\n", "only\n"));
  TestWindow pad(L"Canned Pad");
  ASSERT_TRUE(OpenClipWindow(clipWindow, pad, kHotMods, '2'));
  EXPECT_TRUE(WaitFor([&] { return Rows() == 1; }));
  // The set's file lies in Kelvo's folder: it is written by its name there.
  EXPECT_TRUE(WaitFor([&] {
    return kelvo.ReadIniText().find(u"TextDataFile=second.txt\r\n") != std::u16string::npos;
  }));
  PressHotKey(kHotMods, '3');
  Sleep(300);
  EXPECT_EQ(Rows(), 1);
  PressHotKey(0, VK_RETURN);
  EXPECT_TRUE(WaitFor([&] { return pad.EditText() == L"only"; })) << Narrow(pad.EditText());

  // The underlined letters: Alt+C shows the history, Alt+T the canned texts, Alt+1 set 1.
  ASSERT_TRUE(OpenClipWindow(clipWindow, pad, kHotMods, 'T'));
  const HWND cannedList = GetDlgItem(clipWindow, kCannedListId);
  PressHotKey(MOD_ALT, 'C');
  EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(cannedList); }));
  PressHotKey(MOD_ALT, 'T');
  EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(cannedList) != FALSE; }));
  PressHotKey(MOD_ALT, '1');
  EXPECT_TRUE(WaitFor([&] { return Rows() == 3; }));
}

TEST_F(CannedTextTest, RegisteringFromTheClipboardWritesOneLineAndRefusesADuplicate) {
  ASSERT_TRUE(Start("HELLO\n"));
  TestWindow pad(L"Canned Pad");
  ASSERT_TRUE(OpenClipWindow(clipWindow, pad, kHotMods, 'T'));
  ASSERT_TRUE(SetClipboard(L"a\r\nb"));
  PostMessageW(clipWindow, WM_COMMAND, MAKEWPARAM(kRegFromClipCommand, 0), 0);
  EXPECT_TRUE(WaitFor([&] { return kelvo.ReadFileBytes(L"TEXTDATA.txt") == "HELLO\r\na\\nb\r\n"; }))
      << kelvo.ReadFileBytes(L"TEXTDATA.txt");
  EXPECT_TRUE(WaitFor([&] { return Rows() == 2; }));

  ASSERT_TRUE(SetClipboard(L"hello"));
  PostMessageW(clipWindow, WM_COMMAND, MAKEWPARAM(kRegFromClipCommand, 0), 0);
  std::vector<MessageBoxInfo> boxes;
  EXPECT_TRUE(WaitFor([&] { return !(boxes = MessageBoxesOf(kelvo.ProcessId())).empty(); }));
  ASSERT_FALSE(boxes.empty());
  EXPECT_EQ(boxes[0].caption, L"警告");
  EXPECT_EQ(boxes[0].text, L"同じ文がすでに登録されています");
  CloseMessageBox(boxes[0].hwnd);
  EXPECT_EQ(kelvo.ReadFileBytes(L"TEXTDATA.txt"), "HELLO\r\na\\nb\r\n");
}

}  // namespace
