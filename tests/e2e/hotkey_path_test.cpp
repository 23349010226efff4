// The hotkey path as a user meets it beyond the common cases: keys typed at the default pace and
// only once the hotkey is let go, keys held from one slot to the next, a hotkey that gives up,
// the fixed order of a hotkey's actions, the built-in commands on the desktop and the window in
// front, wallpapers, canned-text sets out of range, and hotkeys pressed while a box is open.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>
#include <wincodec.h>

#include <chrono>
#include <string>
#include <vector>

#include "clip_driver.h"
#include "desktop_driver.h"
#include "drive/program_control.h"
#include "kelvo_session.h"
#include "support/image_encoder_win.h"

namespace {

constexpr UINT kHotMods = MOD_CONTROL | MOD_ALT | MOD_SHIFT;

class HotKeyPathTest : public ::testing::Test {
 protected:
  // General carries no KeyWait unless the test gives one: the default pause is part of the path.
  [[nodiscard]] bool Start(const std::string& sections, const std::string& general = "") {
    kelvo.WriteIni(CrLf("[General]\nVersion=169\n" + general + "\n" + sections));
    return kelvo.Start();
  }
  void Press(UINT vk) { PressHotKey(kHotMods, vk); }
  std::vector<MessageBoxInfo> Boxes() { return MessageBoxesOf(kelvo.ProcessId()); }
  // Waits for Kelvo's one message box and returns it.
  MessageBoxInfo Box() {
    std::vector<MessageBoxInfo> boxes;
    WaitFor([&] { return !(boxes = Boxes()).empty(); });
    return boxes.empty() ? MessageBoxInfo{} : boxes.front();
  }
  // Kelvo has handled every hotkey pressed before this one: its unknown command's box shows.
  void WaitForMarker(UINT markerKey) {
    Press(markerKey);
    const MessageBoxInfo box = Box();
    ASSERT_EQ(box.text, L"不明なコマンドです [MARKER]") << TypingContext(kelvo.MainWindow());
    CloseMessageBox(box.hwnd);
    ASSERT_TRUE(WaitFor([&] { return Boxes().empty(); }));
  }
  std::string Folder() { return Narrow(kelvo.Folder()); }

  KelvoSession kelvo;
};

constexpr char kMarker[] = "[HotKey9]\nKey=Ctrl+Alt+Shift+Z\nCommand=MARKER\n";

}  // namespace

TEST_F(HotKeyPathTest, KeysWaitUntilTheHotKeyIsLetGoAndComeAtTheDefaultPace) {
  TestWindow pad(L"Paced pad");
  ASSERT_TRUE(
      Start("[HotKey1]\nKey=Ctrl+Alt+Shift+G\nActivateWndTitle1=Paced pad\n"
            "SendKey1=A,/A,B,/B\n"));
  HoldHotKey(kHotMods, 'G');
  // The hotkey has fired, but nothing is typed while its keys are held.
  ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == pad.hwnd(); }))
      << TypingContext(kelvo.MainWindow());
  WaitFor([] { return false; }, std::chrono::milliseconds(600));
  EXPECT_EQ(pad.EditText(), L"");
  const auto released = std::chrono::steady_clock::now();
  ReleaseHotKey(kHotMods, 'G');
  ASSERT_TRUE(WaitFor([&] { return pad.EditText() == L"ab"; }))
      << Narrow(pad.EditText()) << "; " << TypingContext(kelvo.MainWindow());
  // The b shows at the third key event, each after the default pause of 50 ms.
  EXPECT_GE(std::chrono::steady_clock::now() - released, std::chrono::milliseconds(140));
}

TEST_F(HotKeyPathTest, AKeyHeldFromOneSlotToTheNextTypesAtOnce) {
  TestWindow pad(L"Slot pad");
  ASSERT_TRUE(
      Start("[HotKey1]\nKey=Ctrl+Alt+Shift+H\nActivateWndTitle1=Slot pad\n"
            "SendKey1=SHIFT\nSendKey2=A,/A,/SHIFT\nSendKey3=B,/B\n",
            "KeyWait=10\n"));
  const auto start = std::chrono::steady_clock::now();
  Press('H');
  ASSERT_TRUE(WaitFor([&] { return pad.EditText() == L"Ab"; }))
      << Narrow(pad.EditText()) << "; " << TypingContext(kelvo.MainWindow());
  // Waiting for the Shift Kelvo holds itself would take the 10 seconds of a stuck key.
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  EXPECT_TRUE(Boxes().empty());
  EXPECT_FALSE(GetAsyncKeyState(VK_SHIFT) & 0x8000);
}

TEST_F(HotKeyPathTest, AHotKeyHeldForTenSecondsGivesUpAndSaysSo) {
  TestWindow pad(L"Held pad");
  const std::wstring program = kelvo.CopyProgram(L"record_args.exe");
  ASSERT_TRUE(
      Start("[HotKey3]\nKey=Ctrl+Alt+Shift+J\nActivateWndTitle1=Held pad\n"
            "SendKey1=A,/A\nExecute2=" +
            Narrow(program) + "\n"));
  HoldHotKey(kHotMods, 'J');
  const MessageBoxInfo box = Box();
  ReleaseHotKey(kHotMods, 'J');
  EXPECT_EQ(box.caption, L"エラー");
  EXPECT_NE(box.text.find(L"[HotKey3]"), std::wstring::npos) << Narrow(box.text);
  CloseMessageBox(box.hwnd);
  EXPECT_TRUE(WaitFor([&] { return Boxes().empty(); }));
  EXPECT_EQ(pad.EditText(), L"");
  EXPECT_EQ(kelvo.ReadFileBytes(L"record_args.txt"), "");  // the later slot was dropped
}

TEST_F(HotKeyPathTest, AnEmptyTokenStopsTheRestOfTheHotKeyWithAnError) {
  TestWindow pad(L"Token pad");
  const std::wstring program = kelvo.CopyProgram(L"record_args.exe");
  ASSERT_TRUE(
      Start("[HotKey1]\nKey=Ctrl+Alt+Shift+K\nActivateWndTitle1=Token pad\n"
            "SendKey1=A,/A,,B,/B\nExecute2=" +
                Narrow(program) + "\n" + kMarker,
            "KeyWait=10\n"));
  Press('K');
  const MessageBoxInfo box = Box();
  EXPECT_EQ(box.caption, L"エラー");
  EXPECT_EQ(box.text, L"範囲チェックエラー");
  CloseMessageBox(box.hwnd);
  ASSERT_TRUE(WaitFor([&] { return Boxes().empty(); }));
  WaitForMarker('Z');
  EXPECT_EQ(pad.EditText(), L"a");
  WaitFor([] { return false; }, std::chrono::milliseconds(500));
  EXPECT_EQ(kelvo.ReadFileBytes(L"record_args.txt"), "");
}

TEST_F(HotKeyPathTest, ActionsRunInTheirFixedOrderWhateverTheSlots) {
  TestWindow a(L"Window A");
  TestWindow b(L"Window B");
  TestWindow pad(L"Order pad");
  const std::wstring recorder = kelvo.CopyProgram(L"record_args.exe");
  const std::wstring typingPad = kelvo.CopyProgram(L"typing_pad.exe");
  ASSERT_TRUE(Start(
      // Minimise A, then activate B, though the activation has the lower slot.
      "[HotKey1]\nKey=Ctrl+Alt+Shift+A\nActivateWndTitle1=Window B\nMinimizeWndTitle5=Window A\n"
      // Slots 1 and 3 run in order; the empty slot 2 is skipped.
      "[HotKey2]\nKey=Ctrl+Alt+Shift+B\nActivateWndTitle1=Order pad\nSendKey1=A,/A\n"
      "SendKey3=B,/B\n"
      // A found window is activated and its program not started.
      "[HotKey3]\nKey=Ctrl+Alt+Shift+C\nActivateWndTitle1=Order pad\nExecute1=" +
          Narrow(recorder) +
          "\n"
          // A started program is waited for, then the keys go into it.
          "[HotKey4]\nKey=Ctrl+Alt+Shift+D\nActivateWndClass1=KelvoTypingPad\nExecute1=" +
          Narrow(typingPad) + "\nSendKey1=H,/H,I,/I\n" + kMarker,
      "KeyWait=10\n"));
  SetForegroundWindow(a.hwnd());
  Press('A');
  EXPECT_TRUE(WaitFor([&] { return IsIconic(a.hwnd()) && GetForegroundWindow() == b.hwnd(); }));

  Press('B');
  EXPECT_TRUE(WaitFor([&] { return pad.EditText() == L"ab"; })) << Narrow(pad.EditText());

  SetForegroundWindow(b.hwnd());
  Press('C');
  EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == pad.hwnd(); }));
  WaitForMarker('Z');
  WaitFor([] { return false; }, std::chrono::milliseconds(500));
  EXPECT_EQ(kelvo.ReadFileBytes(L"record_args.txt"), "");

  Press('D');
  EXPECT_TRUE(WaitFor([&] { return kelvo.ReadFileBytes(L"typed.txt") == "hi"; }))
      << kelvo.ReadFileBytes(L"typed.txt") << "; " << TypingContext(kelvo.MainWindow());
  if (HWND started = FindWindowW(L"KelvoTypingPad", nullptr)) PostMessageW(started, WM_CLOSE, 0, 0);
}

TEST_F(HotKeyPathTest, DesktopShortcutCommandsTypeTheirKeys) {
  TestWindow front(L"Desktop keys");
  ASSERT_TRUE(
      Start("[HotKey1]\nKey=Ctrl+Alt+Shift+M\nCommand=ALL_MINIMIZE\n"
            "[HotKey2]\nKey=Ctrl+Alt+Shift+R\nCommand=ALL_RESTORE\n"
            "[HotKey3]\nKey=Ctrl+Alt+Shift+T\nCommand=CHANGE_TASK\n"));
  const struct {
    UINT key;
    std::vector<std::string> events;
  } cases[] = {
      {'M', {"down 5B", "down 4D", "up 4D", "up 5B"}},
      {'R', {"down 5B", "down 10", "down 4D", "up 4D", "up 10", "up 5B"}},
      {'T', {"down 12", "down 09", "up 09", "up 12"}},
  };
  for (const auto& c : cases) {
    KeyRecorder recorder;
    SetForegroundWindow(front.hwnd());
    Press(c.key);
    EXPECT_TRUE(WaitFor([&] { return recorder.Saw(c.events); }, std::chrono::seconds(10)))
        << static_cast<char>(c.key) << ": " << ::testing::PrintToString(recorder.Events());
    // Nothing is left down for the user.
    EXPECT_TRUE(WaitFor([] {
      return !(GetAsyncKeyState(VK_LWIN) & 0x8000) && !(GetAsyncKeyState(VK_MENU) & 0x8000);
    }));
  }
}

TEST_F(HotKeyPathTest, CommandsOnTheWindowInFront) {
  TestWindow target(L"Front window");
  ASSERT_TRUE(
      Start("[HotKey1]\nKey=Ctrl+Alt+Shift+1\nCommand=MAXIMIZE_FGWND\n"
            "[HotKey2]\nKey=Ctrl+Alt+Shift+2\nCommand=RESTORE_FGWND\n"
            "[HotKey3]\nKey=Ctrl+Alt+Shift+3\nCommand=MINIMIZE_FGWND\n"
            "[HotKey4]\nKey=Ctrl+Alt+Shift+4\nCommand=SETPOS_FGWND 0,0,HALF,MAX,1\n"
            "[HotKey5]\nKey=Ctrl+Alt+Shift+5\nCommand=CLOSE_FGWND\n" +
            std::string(kMarker)));
  const HWND w = target.hwnd();
  ASSERT_TRUE(BringToFront(w));
  Press('1');
  EXPECT_TRUE(WaitFor([&] { return IsZoomed(w) != FALSE; }));
  Press('2');
  EXPECT_TRUE(WaitFor([&] { return !IsZoomed(w) && !IsIconic(w); }));
  RECT before{};
  GetWindowRect(w, &before);
  // Five items are one too many: the window stays where it is.
  Press('4');
  WaitForMarker('Z');
  ASSERT_TRUE(BringToFront(w));
  RECT after{};
  GetWindowRect(w, &after);
  EXPECT_TRUE(EqualRect(&before, &after));
  Press('3');
  EXPECT_TRUE(WaitFor([&] { return IsIconic(w) != FALSE; }));
  TestWindow closing(L"Close me in front");
  ASSERT_TRUE(BringToFront(closing.hwnd()));
  Press('5');
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(closing.hwnd()); }));
}

TEST_F(HotKeyPathTest, TerminateAppAnsweredWithOkEndsTheProgram) {
  const std::wstring typingPad = kelvo.CopyProgram(L"typing_pad.exe");
  ASSERT_TRUE(Start("[HotKey1]\nKey=Ctrl+Alt+Shift+T\nCommand=TERMINATE_APP\n"));
  const HANDLE program = LaunchProgram(typingPad, L"", kelvo.Folder());
  ASSERT_NE(program, nullptr);
  HWND window = nullptr;
  ASSERT_TRUE(
      WaitFor([&] { return (window = FindWindowW(L"KelvoTypingPad", nullptr)) != nullptr; }));
  ASSERT_TRUE(BringToFront(window));
  Press('T');
  const MessageBoxInfo box = Box();
  EXPECT_EQ(box.text, L"[Kelvo typing pad]\n 強制終了しますか?");
  PostMessageW(box.hwnd, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(WaitForSingleObject(program, 30000), WAIT_OBJECT_0);
  DWORD code = 0;
  GetExitCodeProcess(program, &code);
  EXPECT_EQ(code, 0xFFFFFFFFu);
  CloseHandle(program);
}

TEST_F(HotKeyPathTest, CdCommandsWithoutADriveDoNothingQuietly) {
  ASSERT_TRUE(
      Start("[HotKey1]\nKey=Ctrl+Alt+Shift+O\nCommand=CD_OPEN\n"
            "[HotKey2]\nKey=Ctrl+Alt+Shift+P\nCommand=CD_CLOSE Q:\n" +
            std::string(kMarker)));
  Press('O');
  Press('P');
  WaitForMarker('Z');
  EXPECT_TRUE(kelvo.Running());
}

namespace {

// A 24-bit bitmap file of 2 x 1 pixels, rows padded to 4 bytes.
std::string TwoPixelBitmap() {
  std::string bmp(62, '\0');
  const auto put = [&](std::size_t at, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) bmp[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  };
  bmp[0] = 'B';
  bmp[1] = 'M';
  put(2, 62, 4);   // file size
  put(10, 54, 4);  // offset of the pixels
  put(14, 40, 4);  // header size
  put(18, 2, 4);   // width
  put(22, 1, 4);   // height
  put(26, 1, 2);   // planes
  put(28, 24, 2);  // bits per pixel
  put(34, 8, 4);   // size of the pixels
  for (int i = 0; i < 6; ++i) bmp[54 + i] = static_cast<char>(0x10 * (i + 1));
  return bmp;
}

std::wstring Wallpaper() {
  wchar_t value[MAX_PATH] = {};
  DWORD size = sizeof value;
  RegGetValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"Wallpaper", RRF_RT_REG_SZ, nullptr,
               value, &size);
  return value;
}

}  // namespace

TEST_F(HotKeyPathTest, WallpapersNoneMissingBitmapAndJpeg) {
  const std::vector<std::uint8_t> pixels = {9, 8, 7, 6, 5, 4};
  const std::wstring jpeg = kelvo.Folder() + L"\\photo.JPG";
  ASSERT_TRUE(EncodeImage(std::u16string(jpeg.begin(), jpeg.end()), GUID_ContainerFormatJpeg,
                          GUID_WICPixelFormat24bppBGR, 2, 1, pixels, 6));
  // The user's own bitmap, copied as it is.
  const std::string bitmap = TwoPixelBitmap();
  WriteBytes(kelvo.Folder() + L"\\mine.bmp", bitmap);

  const std::wstring out = kelvo.Folder() + L"\\out.bmp";
  ASSERT_TRUE(
      Start("[HotKey1]\nKey=Ctrl+Alt+Shift+1\nWallPaper=none\n"
            "[HotKey2]\nKey=Ctrl+Alt+Shift+2\nWallPaper=missing.jpg\n"
            "[HotKey3]\nKey=Ctrl+Alt+Shift+3\nWallPaper=mine.bmp\n"
            "[HotKey4]\nKey=Ctrl+Alt+Shift+4\nWallPaper=photo.JPG\n",
            "WallBmpName=" + Narrow(out) + "\n"));
  Press('3');
  EXPECT_TRUE(WaitFor([&] {
    return _wcsicmp(Wallpaper().c_str(), out.c_str()) == 0 &&
           kelvo.ReadFileBytes(L"out.bmp") == bitmap;
  })) << Narrow(Wallpaper());
  Press('1');
  EXPECT_TRUE(WaitFor([&] { return Wallpaper().empty(); })) << Narrow(Wallpaper());
  Press('4');
  EXPECT_TRUE(WaitFor([&] {
    const std::string made = kelvo.ReadFileBytes(L"out.bmp");
    return made.size() >= 62 && made.substr(0, 2) == "BM" && made[18] == 2 &&
           _wcsicmp(Wallpaper().c_str(), out.c_str()) == 0;
  })) << Narrow(Wallpaper());
  // A file that is not there takes the wallpaper away.
  Press('2');
  EXPECT_TRUE(WaitFor([&] { return Wallpaper().empty(); })) << Narrow(Wallpaper());
}

TEST_F(HotKeyPathTest, CannedSetsOutsideOneToEightShowThePageAndSwitchNothing) {
  WriteBytes(kelvo.Folder() + L"\\KelvoText1.txt", "one\r\ntwo\r\n");
  WriteBytes(kelvo.Folder() + L"\\KelvoText2.txt", "x\r\ny\r\nz\r\n");
  ASSERT_TRUE(
      Start("[HotKey1]\nKey=Ctrl+Alt+Shift+1\nCommand=CLIPBOARD_T9\n"
            "[HotKey2]\nKey=Ctrl+Alt+Shift+2\nCommand=CLIPBOARD_T0\n"
            "[HotKey3]\nKey=Ctrl+Alt+Shift+3\nCommand=CLIPBOARD_T2\n"
            "[ClipboardList]\nTextDataBtn1=KelvoText1.txt\nTextDataBtn2=KelvoText2.txt\n"
            "TextDataFile=KelvoText1.txt\n"));
  const auto cannedRows = [&] {
    const HWND window = TopWindowOf(kelvo.ProcessId(), L"TClipBdList");
    if (!window || !IsWindowVisible(window)) return -1;
    const HWND tabs = FindWindowExW(window, nullptr, L"SysTabControl32", nullptr);
    if (!tabs || SendMessageW(tabs, TCM_GETCURSEL, 0, 0) != 1) return -1;
    int rows = -1;
    EnumChildWindows(
        window,
        [](HWND child, LPARAM lp) -> BOOL {
          wchar_t cls[32] = {};
          GetClassNameW(child, cls, 32);
          if (_wcsicmp(cls, L"ListBox") == 0 && IsWindowVisible(child)) {
            *reinterpret_cast<int*>(lp) = static_cast<int>(SendMessageW(child, LB_GETCOUNT, 0, 0));
            return FALSE;
          }
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&rows));
    return rows;
  };
  for (const UINT key : {'1', '2'}) {
    Press(key);
    EXPECT_TRUE(WaitFor([&] { return cannedRows() == 2; }))
        << static_cast<char>(key) << ": " << cannedRows();
  }
  Press('3');
  EXPECT_TRUE(WaitFor([&] { return cannedRows() == 3; })) << cannedRows();
}

TEST_F(HotKeyPathTest, TheAboutBoxComesInFrontOfAVisibleCommandLauncher) {
  ASSERT_TRUE(
      Start("[HotKey1]\nKey=Ctrl+Alt+Shift+L\nCommand=CMDLAUNCHER\n"
            "[HotKey2]\nKey=Ctrl+Alt+Shift+V\nCommand=VERSION\n"
            "[CmdKwd1]\nKey=calc\n"));
  Press('L');
  HWND launcher = nullptr;
  ASSERT_TRUE(WaitFor([&] {
    launcher = TopWindowOf(kelvo.ProcessId(), L"TCmdLncForm");
    return launcher && IsWindowVisible(launcher) && GetForegroundWindow() == launcher;
  }));
  Press('V');
  EXPECT_TRUE(WaitFor([&] {
    return IsWindowVisible(kelvo.MainWindow()) && GetForegroundWindow() == kelvo.MainWindow();
  })) << TypingContext(kelvo.MainWindow());
  EXPECT_TRUE(IsWindowVisible(launcher));
}

TEST_F(HotKeyPathTest, ReloadAndExitPressedWhileABoxIsOpenWaitForIt) {
  ASSERT_TRUE(
      Start("[HotKey1]\nKey=Ctrl+Alt+Shift+F\nCommand=FIRST\n"
            "[HotKey2]\nKey=Ctrl+Alt+Shift+R\nCommand=RECYCLE\n"
            "[HotKey3]\nKey=Ctrl+Alt+Shift+X\nCommand=EXIT\n"));
  const long long loads = kelvo.LoadsDone();
  Press('F');
  MessageBoxInfo box = Box();
  ASSERT_EQ(box.text, L"不明なコマンドです [FIRST]");
  // The reload waits until the hotkey that shows the box has finished.
  Press('R');
  WaitFor([] { return false; }, std::chrono::milliseconds(500));
  EXPECT_EQ(kelvo.LoadsDone(), loads);
  CloseMessageBox(box.hwnd);
  EXPECT_TRUE(WaitFor([&] { return kelvo.LoadsDone() == loads + 1; }));

  Press('F');
  box = Box();
  Press('X');
  WaitFor([] { return false; }, std::chrono::milliseconds(500));
  EXPECT_TRUE(kelvo.Running());
  EXPECT_TRUE(IsWindow(box.hwnd));
  CloseMessageBox(box.hwnd);
  EXPECT_EQ(kelvo.WaitForExit(), 0);
}
