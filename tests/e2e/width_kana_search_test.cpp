// Searching the clipboard window as a Japanese user does: 抽出 and 除外 find a text whatever its
// character width and kana (ｶﾞｲﾄﾞ, ガイド, がいど; ＡＢＣ, abc) unless FoldWidthKana is 0, and
// registering a canned text refuses one that differs from an item only in width.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "clip_driver.h"
#include "desktop_driver.h"
#include "drive/window_reading.h"
#include "kelvo_session.h"

namespace {

constexpr UINT kHotMods = MOD_CONTROL | MOD_ALT | MOD_SHIFT;
constexpr int kFindId = 3;
constexpr int kHistoryListId = 4;
constexpr int kCannedListId = 410;
constexpr int kCopyClipCommand = 201;     // "クリップボードに入れる"
constexpr int kExtractButton = 213;       // "抽出"
constexpr int kExceptButton = 214;        // "除外"
constexpr int kRegFromClipCommand = 216;  // "クリップボードから追加登録"
constexpr DWORD kHandedOver = 0xFFFFFFFF;

// A history file of one-line entries, the first on top.
std::string HistoryFile(const std::vector<std::string>& texts) {
  std::string file = "\xEF\xBB\xBF";
  for (const std::string& text : texts) {
    file += "CreTime=2026/01/02 3:04:05\r\nLineCount=1\r\n" + text + "\r\n\r\n";
  }
  return file;
}

class WidthKanaSearchTest : public ::testing::Test {
 protected:
  [[nodiscard]] bool Start(const std::string& clip) {
    WriteSettings(clip);
    if (!kelvo.Start()) return false;
    clipWindow = ClipWindowOf(kelvo.ProcessId());
    return clipWindow != nullptr;
  }
  void WriteSettings(const std::string& clip) {
    kelvo.WriteIni(
        CrLf("[General]\nVersion=169\n"
             "[HotKey1]\nKey=Ctrl+Alt+Shift+H\nCommand=CLIPBOARD_C\n"
             "[HotKey2]\nKey=Ctrl+Alt+Shift+T\nCommand=CLIPBOARD_T\n"
             "[ClipboardList]\nEnable=1\nSaveHistory=1\nPosX=60\nPosY=60\n" +
             clip));
  }
  LRESULT Rows(int list) { return SendMessageW(GetDlgItem(clipWindow, list), LB_GETCOUNT, 0, 0); }
  // Types the words into the search box (Tab from the list, as a user moves there) and runs 抽出
  // by Enter, or 除外 by its button; the number of rows shown afterwards.
  LRESULT Search(const std::wstring& words, int button) {
    const LRESULT before = Rows(kHistoryListId);
    const HWND combo = GetDlgItem(clipWindow, kFindId);
    const HWND edit = FindWindowExW(combo, nullptr, L"Edit", nullptr);
    SendMessageW(combo, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
    PressHotKey(0, VK_TAB);
    const bool focused = WaitFor([&] {
      GUITHREADINFO info{};
      info.cbSize = sizeof(info);
      return GetGUIThreadInfo(GetWindowThreadProcessId(clipWindow, nullptr), &info) &&
             info.hwndFocus == edit;
    });
    if (!focused) return -1;
    TypeText(words);
    if (!WaitFor([&] { return WindowTextOf(combo) == words; })) return -2;
    if (button == kExtractButton) {
      PressHotKey(0, VK_RETURN);
    } else {
      const HWND pressed = GetDlgItem(clipWindow, button);
      if (!WaitFor([&] { return IsWindowEnabled(pressed) != FALSE; })) return -3;
      SendMessageW(pressed, BM_CLICK, 0, 0);
    }
    WaitFor([&] { return Rows(kHistoryListId) != before; });
    return Rows(kHistoryListId);
  }
  // The text of the first row shown, as "クリップボードに入れる" copies it (the window hides).
  std::wstring FirstRowCopied() {
    SetClipboard(L"");
    PostMessageW(clipWindow, WM_COMMAND, MAKEWPARAM(kCopyClipCommand, 0), 0);
    std::wstring text;
    WaitFor([&] { return !(text = ClipboardText()).empty(); });
    WaitFor([&] { return !IsWindowVisible(clipWindow); });
    return text;
  }

  KelvoSession kelvo;
  HWND clipWindow = nullptr;
};

TEST_F(WidthKanaSearchTest, ExtractAndExceptMatchAcrossWidthAndKanaUntilFoldWidthKanaIsOff) {
  WriteBytes(kelvo.Folder() + L"\\CLIPDATA.txt",
             HistoryFile(
                 {"ｶﾞｲﾄﾞﾌﾞｯｸ", "がいどぶっく", "ガイド", "カイド", "型番ＡＢＣ１２３", "abc 123"}));
  ASSERT_TRUE(Start(""));
  TestWindow pad(L"Search Pad");
  const struct {
    const wchar_t* words;
    int button;
    LRESULT rows;
    const wchar_t* first;
  } folded[] = {
      {L"ガイド", kExtractButton, 3, L"ｶﾞｲﾄﾞﾌﾞｯｸ"},
      {L"ｶﾞｲﾄﾞ", kExtractButton, 3, L"ｶﾞｲﾄﾞﾌﾞｯｸ"},
      {L"ａｂｃ１２", kExtractButton, 1, L"型番ＡＢＣ１２３"},
      {L"ぶっく 123", kExceptButton, 2, L"ガイド"},
  };
  for (const auto& row : folded) {
    SCOPED_TRACE(Narrow(row.words));
    ASSERT_TRUE(OpenClipWindow(clipWindow, pad, kHotMods, 'H'));
    ASSERT_EQ(Rows(kHistoryListId), 6);
    EXPECT_EQ(Search(row.words, row.button), row.rows);
    EXPECT_EQ(FirstRowCopied(), row.first);
  }

  WriteSettings("FoldWidthKana=0\n");
  ASSERT_EQ(kelvo.StartAgain(L"-R"), kHandedOver);
  ASSERT_TRUE(OpenClipWindow(clipWindow, pad, kHotMods, 'H'));
  EXPECT_EQ(Search(L"ガイド", kExtractButton), 1);
  EXPECT_EQ(FirstRowCopied(), L"ガイド");
  ASSERT_TRUE(OpenClipWindow(clipWindow, pad, kHotMods, 'H'));
  EXPECT_EQ(Search(L"ABC", kExtractButton), 1) << "letter case is still ignored";
  EXPECT_EQ(FirstRowCopied(), L"abc 123");
  EXPECT_EQ(kelvo.Stop(), 0);
}

TEST_F(WidthKanaSearchTest, ACannedTextThatDiffersOnlyInWidthIsADuplicateButOtherKanaIsNot) {
  WriteBytes(kelvo.Folder() + L"\\TEXTDATA.txt", "\xEF\xBB\xBF" + CrLf("ＡＢＣ\nｶﾀｶﾅ\n"));
  ASSERT_TRUE(Start(""));
  TestWindow pad(L"Canned Pad");
  ASSERT_TRUE(OpenClipWindow(clipWindow, pad, kHotMods, 'T'));
  ASSERT_TRUE(WaitFor([&] { return Rows(kCannedListId) == 2; }));
  for (const wchar_t* text : {L"abc", L"カタカナ"}) {
    SCOPED_TRACE(Narrow(text));
    ASSERT_TRUE(SetClipboard(text));
    PostMessageW(clipWindow, WM_COMMAND, MAKEWPARAM(kRegFromClipCommand, 0), 0);
    std::vector<MessageBoxInfo> boxes;
    ASSERT_TRUE(WaitFor([&] { return !(boxes = MessageBoxesOf(kelvo.ProcessId())).empty(); }));
    EXPECT_EQ(boxes[0].text, L"同じ文がすでに登録されています");
    CloseMessageBox(boxes[0].hwnd);
    ASSERT_TRUE(WaitFor([&] { return MessageBoxesOf(kelvo.ProcessId()).empty(); }));
  }
  ASSERT_TRUE(SetClipboard(L"かたかな"));
  PostMessageW(clipWindow, WM_COMMAND, MAKEWPARAM(kRegFromClipCommand, 0), 0);
  const std::string expected = "\xEF\xBB\xBF" + CrLf("ＡＢＣ\nｶﾀｶﾅ\nかたかな\n");
  EXPECT_TRUE(WaitFor([&] { return kelvo.ReadFileBytes(L"TEXTDATA.txt") == expected; }))
      << kelvo.ReadFileBytes(L"TEXTDATA.txt");
  EXPECT_TRUE(MessageBoxesOf(kelvo.ProcessId()).empty());
  EXPECT_EQ(kelvo.Stop(), 0);
}

}  // namespace
