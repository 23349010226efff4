// The clipboard history is never dropped in silence: a history file that another program held
// when Kelvo started is read again when the history is stored, and a store that fails is told.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "clip_driver.h"
#include "desktop_driver.h"
#include "kelvo_session.h"

namespace {

constexpr UINT kHotMods = MOD_CONTROL | MOD_ALT | MOD_SHIFT;
constexpr int kHistoryListId = 4;
const std::string kFileEntry =
    "\xEF\xBB\xBF"
    "CreTime=2026/01/02 3:04:05\r\nLineCount=1\r\nfrom the file\r\n\r\n";

// Whether the settings file, decoded as Kelvo reads it, holds the ErrorLog line that starts so.
bool Logged(const KelvoSession& kelvo, const std::u16string& line) {
  return kelvo.ReadIniText().find(u"[ErrorLog]\r\n" + line) != std::u16string::npos;
}

class HistorySafetyTest : public ::testing::Test {
 protected:
  [[nodiscard]] bool Start(const std::string& more = "") {
    kelvo.WriteIni(
        CrLf("[General]\nVersion=169\n[HotKey1]\nKey=Ctrl+Alt+Shift+H\n"
             "Command=CLIPBOARD_C\n[ClipboardList]\nEnable=1\nSaveHistory=1\n"
             "PosX=60\nPosY=60\n" +
             more));
    if (!kelvo.Start()) return false;
    clipWindow = ClipWindowOf(kelvo.ProcessId());
    return clipWindow != nullptr;
  }
  std::wstring DataPath() const { return kelvo.Folder() + L"\\CLIPDATA.txt"; }
  LRESULT Rows() { return SendMessageW(GetDlgItem(clipWindow, kHistoryListId), LB_GETCOUNT, 0, 0); }
  // Copies the text while the window shows the history and waits for its row: the history file
  // cannot tell, since it is not written.
  [[nodiscard]] bool CopyAndSee(const std::wstring& text, const TestWindow& pad) {
    if (!OpenClipWindow(clipWindow, pad, kHotMods, 'H')) return false;
    const LRESULT before = Rows();
    if (!SetClipboard(text) || !WaitFor([&] { return Rows() == before + 1; })) return false;
    PressHotKey(0, VK_ESCAPE);
    return WaitFor([&] { return !IsWindowVisible(clipWindow); });
  }

  KelvoSession kelvo;
  HWND clipWindow = nullptr;
};

// Held open by another program for longer than Kelvo waits; the history is not written over
// while it cannot be read, which is noted in ErrorLog; once it can be read, the run's copies go
// above its own entries.
TEST_F(HistorySafetyTest, AFileHeldAtTheStartIsMergedWhenItCanBeReadAgain) {
  WriteBytes(DataPath(), kFileEntry);
  HANDLE held =
      CreateFileW(DataPath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  ASSERT_TRUE(Start());
  TestWindow pad(L"History Pad");
  ASSERT_TRUE(CopyAndSee(L"captured while held", pad));

  DWORD_PTR answer = 0;
  ASSERT_TRUE(SendMessageTimeoutW(kelvo.MainWindow(), WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG,
                                  30000, &answer));
  EXPECT_EQ(answer, TRUE);
  EXPECT_TRUE(MessageBoxesOf(kelvo.ProcessId()).empty()) << "no box while the session may end";
  CloseHandle(held);
  EXPECT_EQ(kelvo.ReadFileBytes(L"CLIPDATA.txt"), kFileEntry);
  EXPECT_TRUE(Logged(kelvo, u"ClipDataFile=読込失敗 ")) << Utf8(kelvo.ReadIniText());

  EXPECT_EQ(kelvo.Stop(), 0);
  EXPECT_EQ(Joined(Entries(kelvo.ReadFileBytes(L"CLIPDATA.txt"))),
            "captured while held;from the file;");
}

// A read-only history file is left as it is, without a second's wait, and the user is told at
// exit, once, in a box and in ErrorLog.
TEST_F(HistorySafetyTest, AHistoryThatCannotBeWrittenIsToldOnceAtExit) {
  WriteBytes(DataPath(), kFileEntry);
  ASSERT_TRUE(SetFileAttributesW(DataPath().c_str(), FILE_ATTRIBUTE_READONLY));
  ASSERT_TRUE(Start());
  TestWindow pad(L"History Pad");
  ASSERT_TRUE(CopyAndSee(L"not stored", pad));

  PostMessageW(kelvo.MainWindow(), WM_CLOSE, 0, 0);
  std::vector<MessageBoxInfo> boxes;
  ASSERT_TRUE(WaitFor([&] { return !(boxes = MessageBoxesOf(kelvo.ProcessId())).empty(); }));
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, L"エラー");
  EXPECT_NE(boxes[0].text.find(DataPath()), std::wstring::npos) << Narrow(boxes[0].text);
  EXPECT_NE(boxes[0].text.find(L"読み取り専用"), std::wstring::npos) << Narrow(boxes[0].text);
  CloseMessageBox(boxes[0].hwnd);
  EXPECT_EQ(kelvo.WaitForExit(), 0);
  EXPECT_EQ(kelvo.ReadFileBytes(L"CLIPDATA.txt"), kFileEntry);
  EXPECT_TRUE(Logged(kelvo, u"ClipDataFile=保存失敗 ")) << Utf8(kelvo.ReadIniText());

  // When the session ends, the failure is noted and no box holds up the end.
  kelvo.WriteIni(CrLf("[General]\nVersion=169\n[ClipboardList]\nEnable=1\nSaveHistory=1\n"));
  ASSERT_TRUE(kelvo.Start());
  DWORD_PTR answer = 0;
  ASSERT_TRUE(SendMessageTimeoutW(kelvo.MainWindow(), WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG,
                                  30000, &answer));
  EXPECT_EQ(answer, TRUE);
  EXPECT_TRUE(MessageBoxesOf(kelvo.ProcessId()).empty());
  EXPECT_TRUE(Logged(kelvo, u"ClipDataFile=保存失敗 ")) << Utf8(kelvo.ReadIniText());
  EXPECT_EQ(kelvo.ReadFileBytes(L"CLIPDATA.txt"), kFileEntry);
  SetFileAttributesW(DataPath().c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(kelvo.Stop(), 0);
}

// A large history file is read on a thread of its own at start-up. Whatever asks for the history
// before that read has arrived waits for it: a store right after the start keeps every entry of
// the file, and a copy made at once goes above them all.
TEST_F(HistorySafetyTest, ALargeFileReadAtTheStartIsNeverStoredOverAndTakesTheFirstCopies) {
  constexpr int kEntries = 20000;
  std::string file = "\xEF\xBB\xBF";
  for (int i = 0; i < kEntries; ++i) {
    file += "CreTime=2026/01/02 3:04:05\r\nLineCount=1\r\nentry " + std::to_string(i) +
            std::string(100, '.') + "\r\n\r\n";
  }
  WriteBytes(DataPath(), file);
  ASSERT_TRUE(Start("MaxItems=-1\n"));
  DWORD_PTR answer = 0;
  ASSERT_TRUE(SendMessageTimeoutW(kelvo.MainWindow(), WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG,
                                  30000, &answer));
  std::vector<std::string> stored = Entries(kelvo.ReadFileBytes(L"CLIPDATA.txt"));
  EXPECT_EQ(stored.size(), static_cast<size_t>(kEntries));
  EXPECT_EQ(kelvo.Stop(), 0);

  ASSERT_TRUE(Start("MaxItems=-1\n"));
  TestWindow pad(L"History Pad");
  ASSERT_TRUE(SetClipboard(L"copied at once"));
  ASSERT_TRUE(OpenClipWindow(clipWindow, pad, kHotMods, 'H'));
  EXPECT_TRUE(WaitFor([&] { return Rows() == kEntries + 1; })) << Rows();
  PressHotKey(0, VK_ESCAPE);
  EXPECT_EQ(kelvo.Stop(), 0);
  stored = Entries(kelvo.ReadFileBytes(L"CLIPDATA.txt"));
  ASSERT_EQ(stored.size(), static_cast<size_t>(kEntries + 1));
  EXPECT_EQ(stored.front(), "copied at once");
  EXPECT_EQ(stored.back(), "entry " + std::to_string(kEntries - 1) + std::string(100, '.'));
}

}  // namespace
