// The user's settings file and Kelvo's own state stay sound while other programs edit, lock or
// replace the file, while a hotkey waits in a message box, and while the session asks to end.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "desktop_driver.h"
#include "kelvo_session.h"

namespace {

constexpr UINT kHotMods = MOD_CONTROL | MOD_ALT | MOD_SHIFT;
constexpr wchar_t kListCaption[] = L"ホットキー一覧";

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// Kelvo's top-level window with this caption, once it is in front.
HWND KelvoWindowInFront(DWORD processId, const wchar_t* caption) {
  HWND found = nullptr;
  WaitFor([&] {
    found = FindWindowW(nullptr, caption);
    DWORD pid = 0;
    if (found) GetWindowThreadProcessId(found, &pid);
    return found != nullptr && pid == processId && GetForegroundWindow() == found;
  });
  return found;
}

// Holds the file open without sharing, as an editor or a backup program may.
class FileLock {
 public:
  explicit FileLock(const std::wstring& path)
      : handle_(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)) {}
  ~FileLock() { Release(); }
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;
  bool Held() const { return handle_ != INVALID_HANDLE_VALUE; }
  void Release() {
    if (Held()) CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
  }

 private:
  HANDLE handle_;
};

MessageBoxInfo WaitForOneBox(DWORD processId) {
  std::vector<MessageBoxInfo> boxes;
  WaitFor([&] { return !(boxes = MessageBoxesOf(processId)).empty(); });
  return boxes.size() == 1 ? boxes[0] : MessageBoxInfo{};
}

}  // namespace

TEST(SettingsSafety, AnEditMadeElsewhereSurvivesClosingTheHotKeyList) {
  KelvoSession kelvo;
  kelvo.WriteIni(
      CrLf("[General]\nVersion=169\n[HotKey1]\nKey=Ctrl+Alt+Shift+L\n"
           "Command=HOTKEY_LIST\n"));
  ASSERT_TRUE(kelvo.Start());
  PressHotKey(kHotMods, 'L');
  HWND list = KelvoWindowInFront(kelvo.ProcessId(), kListCaption);
  ASSERT_NE(list, nullptr);
  // The user adds a hotkey in the editor and saves, but has not reloaded yet.
  kelvo.WriteIni(
      CrLf("; my notes\n[General]\nVersion=169\n[HotKey1]\nKey=Ctrl+Alt+Shift+L\n"
           "Command=HOTKEY_LIST\n[HotKey2]\nKey=Ctrl+Alt+F9\nCommand=VERSION\n"));
  PressHotKey(0, VK_ESCAPE);
  std::string ini;
  ASSERT_TRUE(WaitFor([&] { return Contains(ini = kelvo.ReadIni(), "WinHeight="); }));
  EXPECT_TRUE(Contains(ini, "; my notes\r\n")) << ini;
  EXPECT_TRUE(Contains(ini, "[HotKey2]\r\nKey=Ctrl+Alt+F9\r\nCommand=VERSION\r\n")) << ini;
  EXPECT_EQ(kelvo.StartAgain(L"-R"), 0xFFFFFFFFu);
  EXPECT_FALSE(CanRegister(MOD_CONTROL | MOD_ALT, VK_F9)) << "the edit reaches the next reload";
  EXPECT_EQ(kelvo.Stop(), 0);
}

TEST(SettingsSafety, ALockedFileIsReportedAndNeverReplaced) {
  KelvoSession kelvo;
  // An old file, which a load that could read it would upgrade and write.
  const std::string original = CrLf("[General]\nVersion=100\n[HotKey1]\nKey=Ctrl+Alt+F8\n");
  kelvo.WriteIni(original);
  FileLock lock(kelvo.IniPath());
  ASSERT_TRUE(lock.Held());
  ASSERT_TRUE(kelvo.Start());
  MessageBoxInfo box = WaitForOneBox(kelvo.ProcessId());
  EXPECT_EQ(box.caption, L"エラー");
  EXPECT_NE(box.text.find(kelvo.IniPath()), std::wstring::npos) << Narrow(box.text);
  EXPECT_TRUE(CanRegister(MOD_CONTROL | MOD_ALT, VK_F8)) << "no hotkeys from a file not read";
  if (box.hwnd) CloseMessageBox(box.hwnd);
  lock.Release();
  EXPECT_EQ(kelvo.Stop(), 0);
  EXPECT_EQ(kelvo.ReadIni(), original) << "neither the start nor the exit wrote the file";

  // A reload that finds the file locked keeps the hotkeys it has.
  ASSERT_TRUE(kelvo.Start());
  EXPECT_FALSE(CanRegister(MOD_CONTROL | MOD_ALT, VK_F8));
  const std::string upgraded = kelvo.ReadIni();
  FileLock again(kelvo.IniPath());
  EXPECT_EQ(kelvo.StartAgain(L"-R"), 0xFFFFFFFFu);
  box = WaitForOneBox(kelvo.ProcessId());
  EXPECT_NE(box.text.find(kelvo.IniPath()), std::wstring::npos) << Narrow(box.text);
  if (box.hwnd) CloseMessageBox(box.hwnd);
  EXPECT_FALSE(CanRegister(MOD_CONTROL | MOD_ALT, VK_F8));
  again.Release();
  EXPECT_EQ(kelvo.ReadIni(), upgraded);
  EXPECT_EQ(kelvo.Stop(), 0);
}

// One box at a time, however often loads fail; a load that fails while the box is open is told
// once that box is closed, and the loads after it are told as well.
TEST(SettingsSafety, ALoadErrorWhileItsBoxIsOpenIsToldAfterItAndLaterErrorsStillAre) {
  KelvoSession kelvo;
  kelvo.WriteIni(CrLf("[General]\nVersion=169\n[HotKey1]\nKey=Ctrl+Alt+F8\n"));
  ASSERT_TRUE(kelvo.Start());
  FileLock lock(kelvo.IniPath());
  ASSERT_TRUE(lock.Held());
  EXPECT_EQ(kelvo.StartAgain(L"-R"), 0xFFFFFFFFu);
  const MessageBoxInfo first = WaitForOneBox(kelvo.ProcessId());
  ASSERT_NE(first.hwnd, nullptr);
  const long long loads = kelvo.LoadsDone();
  EXPECT_EQ(kelvo.StartAgain(L"-R"), 0xFFFFFFFFu);
  ASSERT_TRUE(WaitFor([&] { return kelvo.LoadsDone() > loads; }));
  EXPECT_EQ(MessageBoxesOf(kelvo.ProcessId()).size(), 1u) << "no second box over the first";
  CloseMessageBox(first.hwnd);

  std::vector<MessageBoxInfo> boxes;
  ASSERT_TRUE(WaitFor([&] {
    boxes = MessageBoxesOf(kelvo.ProcessId());
    return boxes.size() == 1 && boxes[0].hwnd != first.hwnd;
  })) << "the second load's error was never told";
  EXPECT_NE(boxes[0].text.find(kelvo.IniPath()), std::wstring::npos) << Narrow(boxes[0].text);
  CloseMessageBox(boxes[0].hwnd);
  ASSERT_TRUE(WaitFor([&] { return MessageBoxesOf(kelvo.ProcessId()).empty(); }));

  EXPECT_EQ(kelvo.StartAgain(L"-R"), 0xFFFFFFFFu);
  const MessageBoxInfo later = WaitForOneBox(kelvo.ProcessId());
  ASSERT_NE(later.hwnd, nullptr) << "a later load's error was never told";
  CloseMessageBox(later.hwnd);
  lock.Release();
  EXPECT_EQ(kelvo.Stop(), 0);
}

TEST(SettingsSafety, AFileThatIsGoneForAMomentIsReadNotReplaced) {
  KelvoSession kelvo;
  kelvo.WriteIni(CrLf("[General]\nVersion=169\n"));
  ASSERT_TRUE(kelvo.Start());
  const std::string saved = CrLf("[General]\nVersion=169\n[HotKey1]\nKey=Ctrl+Alt+F10\n");
  // An editor that saves by writing a new file, deleting the old one and renaming the new one.
  const std::wstring fresh = kelvo.Folder() + L"\\Kelvo.INI.new";
  HANDLE file = CreateFileW(fresh.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(file, saved.data(), static_cast<DWORD>(saved.size()), &written, nullptr);
  CloseHandle(file);
  ASSERT_TRUE(DeleteFileW(kelvo.IniPath().c_str()));
  HANDLE second = kelvo.LaunchAgain(L"-R");
  ASSERT_NE(second, nullptr);
  Sleep(300);  // the reload is under way meanwhile; Kelvo must wait for the file, not write one
  // Without replacing: a file that Kelvo wrote meanwhile makes the rename fail.
  EXPECT_TRUE(MoveFileExW(fresh.c_str(), kelvo.IniPath().c_str(), 0));
  EXPECT_EQ(WaitForSingleObject(second, 30000), WAIT_OBJECT_0);
  CloseHandle(second);
  EXPECT_FALSE(CanRegister(MOD_CONTROL | MOD_ALT, VK_F10));
  EXPECT_EQ(kelvo.ReadIni(), saved);
  EXPECT_EQ(kelvo.Stop(), 0);
}

TEST(SettingsSafety, AReloadAskedForDuringAMessageBoxReturnsOnlyOnceItHasRun) {
  KelvoSession kelvo;
  const std::string first =
      "[General]\nVersion=169\n[HotKey1]\nKey=Ctrl+Alt+Shift+U\n"
      "Command=NO_SUCH_COMMAND\n";
  kelvo.WriteIni(CrLf(first));
  ASSERT_TRUE(kelvo.Start());
  PressHotKey(kHotMods, 'U');
  const MessageBoxInfo box = WaitForOneBox(kelvo.ProcessId());
  ASSERT_NE(box.hwnd, nullptr);
  kelvo.WriteIni(CrLf(first + "[HotKey2]\nKey=Ctrl+Alt+F11\nCommand=VERSION\n"));
  HANDLE second = kelvo.LaunchAgain(L"-R");
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(WaitForSingleObject(second, 700), static_cast<DWORD>(WAIT_TIMEOUT))
      << "the second start returned while its reload still had to wait";
  EXPECT_TRUE(CanRegister(MOD_CONTROL | MOD_ALT, VK_F11));
  CloseMessageBox(box.hwnd);
  ASSERT_EQ(WaitForSingleObject(second, 30000), WAIT_OBJECT_0);
  CloseHandle(second);
  EXPECT_FALSE(CanRegister(MOD_CONTROL | MOD_ALT, VK_F11)) << "returned before the reload ran";
  EXPECT_EQ(kelvo.Stop(), 0);
}

TEST(SettingsSafety, ACancelledSessionEndKeepsKelvoRunning) {
  KelvoSession kelvo;
  kelvo.WriteIni(CrLf("[General]\nVersion=169\n[HotKey1]\nKey=Ctrl+Alt+F12\n"));
  ASSERT_TRUE(kelvo.Start());
  DWORD_PTR answer = 0;
  ASSERT_TRUE(SendMessageTimeoutW(kelvo.MainWindow(), WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG,
                                  10000, &answer));
  EXPECT_EQ(answer, TRUE);
  // Another program refused: the session goes on.
  SendMessageTimeoutW(kelvo.MainWindow(), WM_ENDSESSION, FALSE, 0, SMTO_ABORTIFHUNG, 10000,
                      &answer);
  EXPECT_TRUE(kelvo.Running());
  EXPECT_FALSE(CanRegister(MOD_CONTROL | MOD_ALT, VK_F12));
  EXPECT_EQ(kelvo.StartAgain(L"-R"), 0xFFFFFFFFu);
  EXPECT_FALSE(CanRegister(MOD_CONTROL | MOD_ALT, VK_F12));
  // This time the session really ends.
  SendMessageTimeoutW(kelvo.MainWindow(), WM_ENDSESSION, TRUE, 0, SMTO_ABORTIFHUNG, 10000, &answer);
  EXPECT_EQ(kelvo.WaitForExit(), 0);
}

TEST(SettingsSafety, AFileThatMixesEncodingsIsNamedAndKeptByteForByte) {
  KelvoSession kelvo;
  // A UTF-8 file with a note pasted from an old Shift_JIS file ("古いメモ").
  const std::string utf8Head = Utf8(
      u"[General]\r\nVersion=169\r\n\r\n[HotKey1]\r\nKey=Ctrl+Alt+Shift+L\r\nCommand=HOTKEY_"
      u"LIST\r\n"
      u"Description=一覧 ＭＳ\r\n");
  const std::string sjisLine = "Memo=\x8C\xC3\x82\xA2\x83\x81\x83\x82\r\n";
  kelvo.WriteIni(utf8Head + sjisLine);
  ASSERT_TRUE(kelvo.Start());
  const MessageBoxInfo box = WaitForOneBox(kelvo.ProcessId());
  EXPECT_EQ(box.caption, L"警告");
  EXPECT_NE(box.text.find(L"8 行目: Memo=古いメモ"), std::wstring::npos) << Narrow(box.text);
  EXPECT_NE(box.text.find(kelvo.IniPath()), std::wstring::npos);
  ASSERT_NE(box.hwnd, nullptr);
  CloseMessageBox(box.hwnd);

  PressHotKey(kHotMods, 'L');
  ASSERT_NE(KelvoWindowInFront(kelvo.ProcessId(), kListCaption), nullptr);
  PressHotKey(0, VK_ESCAPE);
  std::string ini;
  ASSERT_TRUE(WaitFor([&] { return Contains(ini = kelvo.ReadIni(), "WinHeight="); }));
  EXPECT_EQ(ini.rfind(utf8Head + sjisLine + "\r\n[HotKeyList]\r\n", 0), 0u) << ini;
  EXPECT_EQ(kelvo.Stop(), 0);
}

// A drive unplugged for a moment, a file moved elsewhere: a reload that finds the settings file
// gone keeps running as it was, says so once, and never writes the first-start contents in its
// place; when the file is back, the user's keys are all still in it.
TEST(SettingsSafety, AFileGoneAtAReloadIsToldOnceAndNeverReplacedByTheFirstStartContents) {
  KelvoSession kelvo;
  const std::string user = CrLf(
      "[General]\nVersion=169\nEditor=myeditor.exe\n[HotKey1]\nKey=Ctrl+Alt+F7\nCommand=VERSION\n"
      "[HotKey2]\nKey=Ctrl+Alt+Shift+L\nCommand=HOTKEY_LIST\n"
      "[ClipboardList]\nEnable=1\nExceptWord1=/^pass/\n");
  kelvo.WriteIni(user);
  ASSERT_TRUE(kelvo.Start());
  const std::wstring away = kelvo.Folder() + L"\\Kelvo.INI.away";
  ASSERT_TRUE(MoveFileW(kelvo.IniPath().c_str(), away.c_str()));
  EXPECT_EQ(kelvo.StartAgain(L"-R"), 0xFFFFFFFFu);
  MessageBoxInfo box = WaitForOneBox(kelvo.ProcessId());
  EXPECT_EQ(box.caption, L"エラー");
  EXPECT_NE(box.text.find(kelvo.IniPath()), std::wstring::npos) << Narrow(box.text);
  if (box.hwnd) CloseMessageBox(box.hwnd);
  EXPECT_EQ(GetFileAttributesW(kelvo.IniPath().c_str()), INVALID_FILE_ATTRIBUTES)
      << "no file is made in its place";
  EXPECT_FALSE(CanRegister(MOD_CONTROL | MOD_ALT, VK_F7)) << "the hotkeys stay";
  // A second reload while it stays away says nothing new.
  const long long loads = kelvo.LoadsDone();
  EXPECT_EQ(kelvo.StartAgain(L"-R"), 0xFFFFFFFFu);
  ASSERT_TRUE(WaitFor([&] { return kelvo.LoadsDone() > loads; }));
  EXPECT_TRUE(kelvo.Answers());
  EXPECT_TRUE(MessageBoxesOf(kelvo.ProcessId()).empty());

  // The file is back; a window's hide writes only its own keys into it.
  ASSERT_TRUE(MoveFileW(away.c_str(), kelvo.IniPath().c_str()));
  PressHotKey(kHotMods, 'L');
  ASSERT_NE(KelvoWindowInFront(kelvo.ProcessId(), kListCaption), nullptr);
  PressHotKey(0, VK_ESCAPE);
  std::string ini;
  ASSERT_TRUE(WaitFor([&] { return Contains(ini = kelvo.ReadIni(), "WinHeight="); })) << ini;
  for (const char* kept :
       {"Editor=myeditor.exe\r\n", "[HotKey1]\r\nKey=Ctrl+Alt+F7\r\n",
        "[HotKey2]\r\nKey=Ctrl+Alt+Shift+L\r\n", "Enable=1\r\n", "ExceptWord1=/^pass/\r\n"}) {
    EXPECT_TRUE(Contains(ini, kept)) << kept << " in\n" << ini;
  }
  EXPECT_EQ(kelvo.Stop(), 0);
}

// Kelvo in a folder whose path is 240 characters long: the settings file, the canned texts and
// the history are read and written there, although their temporary files' names pass the 260
// characters of ordinary paths.
TEST(SettingsSafety, AFolderWithALongPathIsReadAndWrittenLikeAnyOther) {
  KelvoSession kelvo(240);
  ASSERT_EQ(kelvo.Folder().size(), 240u);
  ASSERT_TRUE(kelvo.Start());
  std::string ini = kelvo.ReadIni();
  EXPECT_TRUE(Contains(ini, "[General]\r\nVersion=169\r\n")) << "the first start wrote the file";
  kelvo.WriteIni(
      CrLf("[General]\nVersion=169\n[HotKey1]\nKey=Ctrl+Alt+Shift+L\n"
           "Command=HOTKEY_LIST\n[ClipboardList]\nEnable=1\nSaveHistory=1\n"));
  EXPECT_EQ(kelvo.StartAgain(L"-R"), 0xFFFFFFFFu);
  EXPECT_FALSE(CanRegister(MOD_CONTROL | MOD_ALT | MOD_SHIFT, 'L'));
  PressHotKey(kHotMods, 'L');
  ASSERT_NE(KelvoWindowInFront(kelvo.ProcessId(), kListCaption), nullptr);
  PressHotKey(0, VK_ESCAPE);
  ASSERT_TRUE(WaitFor([&] { return Contains(ini = kelvo.ReadIni(), "WinHeight="); })) << ini;
  EXPECT_EQ(kelvo.Stop(), 0);
  EXPECT_EQ(kelvo.ReadFileBytes(L"CLIPDATA.txt"), "\xEF\xBB\xBF") << "an empty history was stored";
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((kelvo.Folder() + L"\\*.tmp").c_str(), &data);
  EXPECT_EQ(find, INVALID_HANDLE_VALUE) << "no temporary file is left";
  if (find != INVALID_HANDLE_VALUE) FindClose(find);
}
