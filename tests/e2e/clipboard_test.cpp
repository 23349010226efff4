// The clipboard history as a user meets it: copies made anywhere are recorded (limits, exclusion
// words and private copies respected), kept in the history file, shown by the hotkey, and the
// chosen entry is pasted into the window that was in front. The clipboard is shared by the whole
// desktop, so these tests run one at a time like every end-to-end test.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "desktop_driver.h"
#include "kelvo_session.h"

namespace {

constexpr UINT kHotMods = MOD_CONTROL | MOD_ALT | MOD_SHIFT;
constexpr int kStopCommand = 210;  // the window's "履歴をとらない" command

bool SetClipboard(const std::wstring& text, bool markedPrivate = false) {
  for (int attempt = 0; attempt < 50; ++attempt) {
    if (OpenClipboard(nullptr)) break;
    if (attempt == 49) return false;
    Sleep(20);
  }
  EmptyClipboard();
  const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
  memcpy(GlobalLock(block), text.c_str(), bytes);
  GlobalUnlock(block);
  bool ok = SetClipboardData(CF_UNICODETEXT, block) != nullptr;
  if (markedPrivate) {
    const UINT format = RegisterClipboardFormatW(L"ExcludeClipboardContentFromMonitorProcessing");
    HGLOBAL mark = GlobalAlloc(GMEM_MOVEABLE, 1);
    ok = ok && SetClipboardData(format, mark) != nullptr;
  }
  CloseClipboard();
  return ok;
}

HWND ClipWindowOf(DWORD processId) {
  struct Search {
    DWORD processId;
    HWND found;
  } search{processId, nullptr};
  EnumWindows(
      [](HWND hwnd, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        DWORD pid = 0;
        GetWindowThreadProcessId(hwnd, &pid);
        wchar_t cls[64] = {};
        GetClassNameW(hwnd, cls, 64);
        if (pid != s->processId || std::wstring(cls) != L"TClipBdList") return TRUE;
        s->found = hwnd;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND ChildOfClass(HWND parent, const wchar_t* cls) {
  return FindWindowExW(parent, nullptr, cls, nullptr);
}

void WriteFile(const std::wstring& path, const std::string& bytes) {
  std::ofstream out(std::filesystem::path(path), std::ios::binary);
  out << bytes;
}

// The texts of a history file's one-line entries, top first.
std::vector<std::string> Entries(const std::string& file) {
  std::vector<std::string> texts;
  static const std::regex record("CreTime=[^\r\n]*\r\nLineCount=1\r\n([^\r\n]*)\r\n\r\n");
  for (auto it = std::sregex_iterator(file.begin(), file.end(), record);
       it != std::sregex_iterator(); ++it) {
    texts.push_back((*it)[1]);
  }
  return texts;
}

std::string Joined(const std::vector<std::string>& texts) {
  std::string out;
  for (const auto& t : texts) out += t + ";";
  return out;
}

class ClipboardTest : public ::testing::Test {
 protected:
  [[nodiscard]] bool Start(const std::string& clip, const std::string& general = "") {
    kelvo.WriteIni(CrLf("[General]\nVersion=169\n" + general +
                        "\n[HotKey1]\nKey=Ctrl+Alt+Shift+H\nCommand=CLIPBOARD\n"
                        "[HotKey2]\nKey=Ctrl+Alt+Shift+C\nCommand=CLIPBOARD_C\n"
                        "[ClipboardList]\nEnable=1\nSaveHistory=1\nPosX=60\nPosY=60\n" + clip));
    if (!kelvo.Start()) return false;
    clipWindow = ClipWindowOf(kelvo.ProcessId());
    return clipWindow != nullptr;
  }
  // The history as Kelvo would store it now (it writes the file when the session asks to end).
  std::vector<std::string> Stored() {
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(kelvo.MainWindow(), WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, 10000,
                        &answer);
    return Entries(kelvo.ReadFileBytes(L"CLIPDATA.txt"));
  }
  // Copies a text and waits until Kelvo has it at the top of its history.
  [[nodiscard]] bool CopyAndWait(const std::string& text) {
    if (!SetClipboard(std::wstring(text.begin(), text.end()))) return false;
    return WaitFor([&] {
      const auto entries = Stored();
      return !entries.empty() && entries.front() == text;
    });
  }
  [[nodiscard]] bool Open(const TestWindow& pad) {
    SetForegroundWindow(pad.hwnd());
    if (!WaitFor([&] { return GetForegroundWindow() == pad.hwnd(); })) return false;
    PressHotKey(kHotMods, 'H');
    return WaitFor([&] { return IsWindowVisible(clipWindow) != FALSE; });
  }
  LRESULT Rows() { return SendMessageW(ChildOfClass(clipWindow, L"ListBox"), LB_GETCOUNT, 0, 0); }

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
  WriteFile(kelvo.Folder() + L"\\CLIPDATA.txt",
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
      << Narrow(pad.EditText());

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
