// Hotkeys as a user presses them: windows activated, minimised and closed, programs and
// shortcuts started, keys typed, the foreground window moved, editor macros handed over,
// wallpapers converted, and the program ended.
#include <gtest/gtest.h>
#include <windows.h>

#include <objbase.h>
#include <shlobj.h>
#include <wincodec.h>

#include <atomic>
#include <string>
#include <thread>

#include "desktop_driver.h"
#include "kelvo_session.h"
#include "support/hung_window_win.h"
#include "support/image_encoder_win.h"
#include "win32/com_win.h"

namespace {

constexpr UINT kHotMods = MOD_CONTROL | MOD_ALT | MOD_SHIFT;

// A session whose settings are the given hotkey sections; starts and waits until Kelvo is ready.
class HotKeyTest : public ::testing::Test {
 protected:
  [[nodiscard]] bool Start(const std::string& sections, const std::string& general = "") {
    kelvo.WriteIni(CrLf("[General]\nVersion=169\nKeyWait=10\n" + general + "\n" + sections));
    return kelvo.Start();
  }
  void Press(UINT vk) { PressHotKey(kHotMods, vk); }
  std::vector<MessageBoxInfo> Boxes() { return MessageBoxesOf(kelvo.ProcessId()); }
  std::string Folder() { return Narrow(kelvo.Folder()); }
  // What record_args.exe, started by Kelvo, received: command line and working directory.
  std::string Recorded() {
    std::string text;
    WaitFor([&] { return !(text = kelvo.ReadFileBytes(L"record_args.txt")).empty(); });
    return text;
  }

  KelvoSession kelvo;
};

}  // namespace

TEST_F(HotKeyTest, ActivatingAMinimisedWindowRestoresAndFrontsIt) {
  TestWindow target(L"Target One");
  TestWindow other(L"Other Window");
  ShowWindow(target.hwnd(), SW_MINIMIZE);
  ASSERT_TRUE(Start("[HotKey1]\nKey=Ctrl+Alt+Shift+A\nActivateWndTitle1=Target One\n"));
  Press('A');
  EXPECT_TRUE(
      WaitFor([&] { return !IsIconic(target.hwnd()) && GetForegroundWindow() == target.hwnd(); }));
}

TEST_F(HotKeyTest, TwoMatchingWindowsAlternate) {
  TestWindow first(L"Twin 1", L"KelvoTwin");
  TestWindow second(L"Twin 2", L"KelvoTwin", 150, 150);
  ASSERT_TRUE(Start("[HotKey1]\nKey=Ctrl+Alt+Shift+B\nActivateWndClass1=KelvoTwin\n"));
  // In front as the user sees it: active and above the other twin. The next press reads the
  // stacking order, which the window's own thread changes after it has become active.
  const auto inFront = [](HWND window, HWND other) {
    if (GetForegroundWindow() != window) return false;
    for (HWND below = GetWindow(window, GW_HWNDNEXT); below;
         below = GetWindow(below, GW_HWNDNEXT)) {
      if (below == other) return true;
    }
    return false;
  };
  SetForegroundWindow(second.hwnd());
  ASSERT_TRUE(WaitFor([&] { return inFront(second.hwnd(), first.hwnd()); }));
  Press('B');
  ASSERT_TRUE(WaitFor([&] { return inFront(first.hwnd(), second.hwnd()); }));
  Press('B');
  ASSERT_TRUE(WaitFor([&] { return inFront(second.hwnd(), first.hwnd()); }));
  Press('B');
  EXPECT_TRUE(WaitFor([&] { return inFront(first.hwnd(), second.hwnd()); }));
}

TEST_F(HotKeyTest, MinimiseByClassAndCloseByTitlePattern) {
  TestWindow minimised(L"Minimise me", L"KelvoMinimise");
  TestWindow closed(L"Close Me 42");
  TestWindow kept(L"Close Me later");
  ASSERT_TRUE(
      Start("[HotKey1]\nKey=Ctrl+Alt+Shift+C\nMinimizeWndClass1=KelvoMinimise\n"
            "CloseWndTitleM3=/^Close Me \\d+$/\n"));
  Press('C');
  EXPECT_TRUE(WaitFor([&] { return IsIconic(minimised.hwnd()) && !IsWindow(closed.hwnd()); }));
  EXPECT_TRUE(IsWindow(kept.hwnd()));
  EXPECT_FALSE(IsIconic(kept.hwnd()));
}

TEST_F(HotKeyTest, InvalidPatternIsReportedOnceAndTheProgramStartsInstead) {
  TestWindow a(L"Pattern target A");
  TestWindow b(L"Pattern target B");
  const std::wstring program = kelvo.CopyProgram(L"record_args.exe");
  ASSERT_TRUE(Start("[HotKey1]\nKey=Ctrl+Alt+Shift+D\nActivateWndTitleM1=/([/\nExecute1=" +
                    Narrow(program) + "\nExeParam1=started\n"));
  Press('D');
  std::vector<MessageBoxInfo> boxes;
  ASSERT_TRUE(WaitFor([&] { return !(boxes = Boxes()).empty(); }));
  EXPECT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, L"エラー");
  EXPECT_EQ(boxes[0].text, L"不正な正規表現です");
  CloseMessageBox(boxes[0].hwnd);
  EXPECT_NE(Recorded().find("started"), std::string::npos);
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(HotKeyTest, ExecuteStartsAProgramWithParametersAndWorkingDirectory) {
  const std::wstring program = kelvo.CopyProgram(L"record_args.exe");
  CreateDirectoryW((kelvo.Folder() + L"\\work dir").c_str(), nullptr);
  ASSERT_TRUE(Start("[HotKey1]\nKey=Ctrl+Alt+Shift+E\nExecute1=" + Narrow(program) +
                    "\nExeParam1=--one \"two three\"\nExeDir1=" + Folder() + "\\work dir\n"));
  Press('E');
  const std::string recorded = Recorded();
  EXPECT_NE(recorded.find("--one \"two three\""), std::string::npos) << recorded;
  EXPECT_NE(recorded.find("\n" + Folder() + "\\work dir\n"), std::string::npos) << recorded;
}

TEST_F(HotKeyTest, AShortcutStartsWithItsOwnArguments) {
  const std::wstring program = kelvo.CopyProgram(L"record_args.exe");
  const std::wstring link = kelvo.Folder() + L"\\tool.lnk";
  {
    ComInitialization com;
    ComRef<IShellLinkW> shell;
    ComRef<IPersistFile> file;
    ASSERT_TRUE(SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                           IID_IShellLinkW, shell.PutVoid())));
    shell->SetPath(program.c_str());
    shell->SetArguments(L"--from-link");
    shell->SetWorkingDirectory(kelvo.Folder().c_str());
    ASSERT_TRUE(SUCCEEDED(shell->QueryInterface(IID_IPersistFile, file.PutVoid())));
    ASSERT_TRUE(SUCCEEDED(file->Save(link.c_str(), TRUE)));
  }
  ASSERT_TRUE(Start("[HotKey1]\nKey=Ctrl+Alt+Shift+F\nExecute1=" + Narrow(link) +
                    "\nExeParam1=--caller\n"));
  Press('F');
  const std::string recorded = Recorded();
  EXPECT_NE(recorded.find("--from-link"), std::string::npos) << recorded;
  EXPECT_EQ(recorded.find("--caller"), std::string::npos) << recorded;
}

TEST_F(HotKeyTest, KeysAreTypedIntoTheActivatedWindow) {
  TestWindow pad(L"Typing Pad");
  TestWindow other(L"Somewhere else");
  SetForegroundWindow(other.hwnd());
  ASSERT_TRUE(
      Start("[HotKey1]\nKey=Ctrl+Alt+Shift+G\nActivateWndTitle1=Typing Pad\n"
            "SendKey1=H,/H,SHIFT,I,/I,/SHIFT\n"));
  Press('G');
  EXPECT_TRUE(WaitFor([&] { return pad.EditText() == L"hI"; })) << Narrow(pad.EditText());
}

TEST_F(HotKeyTest, SetPosMovesTheForegroundWindow) {
  TestWindow target(L"Place me");
  ASSERT_TRUE(Start("[HotKey1]\nKey=Ctrl+Alt+Shift+H\nCommand=SETPOS_FGWND 10,20,400,*\n"));
  SetForegroundWindow(target.hwnd());
  RECT before;
  GetWindowRect(target.hwnd(), &before);
  Press('H');
  EXPECT_TRUE(WaitFor([&] {
    RECT r;
    GetWindowRect(target.hwnd(), &r);
    return r.left == 10 && r.top == 20 && r.right - r.left == 400 &&
           r.bottom - r.top == before.bottom - before.top;
  }));
}

TEST_F(HotKeyTest, UnknownCommandIsReported) {
  ASSERT_TRUE(Start("[HotKey1]\nKey=Ctrl+Alt+Shift+I\nCommand=frobnicate now\n"));
  Press('I');
  std::vector<MessageBoxInfo> boxes;
  ASSERT_TRUE(WaitFor([&] { return !(boxes = Boxes()).empty(); }));
  EXPECT_EQ(boxes[0].caption, L"エラー");
  EXPECT_EQ(boxes[0].text, L"不明なコマンドです [FROBNICATE]");
  CloseMessageBox(boxes[0].hwnd);
}

namespace {

// The external editor's window, on a thread of its own so that it can keep a macro waiting.
class EditorWindow {
 public:
  EditorWindow()
      : ready_(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
        quit_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    thread_ = std::thread([this] {
      TestWindow window(L"ZR editor", L"ZRWclassframe32", 300, 300);
      window_ = &window;
      SetEvent(ready_);
      do {
        PumpMessages();
      } while (MsgWaitForMultipleObjects(1, &quit_, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0);
      window_ = nullptr;
    });
    WaitForSingleObject(ready_, 10000);
  }
  ~EditorWindow() {
    if (TestWindow* window = window_.load()) window->Release();
    SetEvent(quit_);
    thread_.join();
    CloseHandle(ready_);
    CloseHandle(quit_);
  }
  bool Ready() const { return window_.load() != nullptr; }
  void Hold(bool hold) {
    if (hold)
      window_.load()->HoldCopyData();
    else
      window_.load()->Release();
  }
  int Count() const { return window_.load()->CopyDataCount(); }
  std::vector<std::pair<ULONG_PTR, std::string>> Received() const {
    return window_.load()->CopyData();
  }

 private:
  HANDLE ready_;
  HANDLE quit_;
  std::thread thread_;
  std::atomic<TestWindow*> window_{nullptr};
};

}  // namespace

TEST_F(HotKeyTest, MacroIsHandedToTheRunningEditorAndABusyEditorGetsNoSecond) {
  EditorWindow editor;
  ASSERT_TRUE(editor.Ready());
  ASSERT_TRUE(Start("[HotKey1]\nKey=Ctrl+Alt+Shift+J\nZrMacro=" + Narrow(L"整形") +
                    "\n[HotKey2]\nKey=Ctrl+Alt+Shift+K\nZrMacro=second\n"
                    "[HotKey3]\nKey=Ctrl+Alt+Shift+L\nCommand=MARKER\n"));
  Press('J');
  ASSERT_TRUE(WaitFor([&] { return editor.Count() == 1; }));
  const std::string tidy("\x90\xae\x8c\x60\0", 5);  // 整形 in Shift_JIS and a zero
  EXPECT_EQ(editor.Received()[0].first, 3034u);
  EXPECT_EQ(editor.Received()[0].second, tidy);

  // While the editor still runs a macro, the next one is refused (with a beep), not queued.
  editor.Hold(true);
  Press('J');
  ASSERT_TRUE(WaitFor([&] { return editor.Count() == 2; }));
  Press('K');
  Press('L');  // its message box shows that Kelvo has handled the hotkey before it
  std::vector<MessageBoxInfo> boxes;
  ASSERT_TRUE(WaitFor([&] { return !(boxes = Boxes()).empty(); }));
  CloseMessageBox(boxes[0].hwnd);
  editor.Hold(false);
  // Had K's macro been kept for later, it would reach the editor before the next one. J is
  // refused until Kelvo has seen the held delivery end, so it is pressed until one arrives.
  for (int i = 0; i < 20 && editor.Count() < 3; ++i) {
    Press('J');
    WaitFor([&] { return editor.Count() >= 3; }, std::chrono::seconds(1));
  }
  const auto received = editor.Received();
  ASSERT_GE(received.size(), 3u);
  EXPECT_EQ(received[2].second, tidy);
}

TEST_F(HotKeyTest, AWindowThatDoesNotAnswerDoesNotStopTheNextHotKey) {
  // Minimised and not answering for 60 s, longer than the test waits for the next hotkey.
  HungWindow hung(L"KelvoHungTarget", L"Not answering", /*minimised=*/true, 60000);
  ASSERT_NE(hung.hwnd(), nullptr);
  TestWindow pad(L"Typing Pad after a hang");
  ASSERT_TRUE(
      Start("[HotKey1]\nKey=Ctrl+Alt+Shift+P\nActivateWndClass1=KelvoHungTarget\n"
            "[HotKey2]\nKey=Ctrl+Alt+Shift+Q\nActivateWndTitle1=Typing Pad after a hang\n"
            "SendKey1=H,/H\n"));
  Press('P');
  Press('Q');
  EXPECT_TRUE(WaitFor([&] { return pad.EditText() == L"h"; }, std::chrono::seconds(45)))
      << "the pad holds \"" << Narrow(pad.EditText()) << "\"; "
      << TypingContext(kelvo.MainWindow());
}

TEST_F(HotKeyTest, TerminateAppAsksFirstAndCancelGivesTheWindowBack) {
  TestWindow target(L"Keep me running");
  ASSERT_TRUE(
      Start("[HotKey1]\nKey=Ctrl+Alt+Shift+T\nCommand=TERMINATE_APP\n"
            "[HotKey2]\nKey=Ctrl+Alt+Shift+U\nSendKey1=U,/U\n"));
  SetForegroundWindow(target.hwnd());
  ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == target.hwnd(); }));
  Press('T');
  std::vector<MessageBoxInfo> boxes;
  ASSERT_TRUE(WaitFor([&] { return !(boxes = Boxes()).empty(); }));
  EXPECT_EQ(boxes[0].caption, L"警告");
  EXPECT_EQ(boxes[0].text, L"[Keep me running]\n 強制終了しますか?");
  EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == boxes[0].hwnd; }));
  const int activations = target.Activations();
  PostMessageW(boxes[0].hwnd, WM_COMMAND, IDCANCEL, 0);
  // Cancel gives the window back: it is made the active window again.
  ASSERT_TRUE(WaitFor([&] { return target.Activations() > activations; }))
      << TypingContext(kelvo.MainWindow());
  // Without a window manager Wine gives the foreground to the desktop window when a thread reads
  // the X event of a focus that went to another program's window (the box) while its own window
  // is in front again: the window's thread here, or Kelvo's, may read it after the window was
  // given back. A desktop with a window manager has no such moment; the test gives the window
  // back once more in that case, so the next step tests only the next hotkey.
  for (int i = 0; i < 3; ++i) {  // both threads go through their loops, where Wine reads events
    PumpMessages();
    ASSERT_TRUE(kelvo.Answers());
    Sleep(20);
  }
  if (GetForegroundWindow() == GetDesktopWindow()) SetForegroundWindow(target.hwnd());
  ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == target.hwnd(); }))
      << TypingContext(kelvo.MainWindow());
  // Kelvo goes on with the next hotkey, which types into the window that got the focus back.
  Press('U');
  EXPECT_TRUE(WaitFor([&] { return target.EditText() == L"u"; }))
      << "the window holds \"" << Narrow(target.EditText()) << "\"; "
      << TypingContext(kelvo.MainWindow());
}

TEST_F(HotKeyTest, MacroStartsTheConfiguredEditorWhenNoneRuns) {
  const std::wstring program = kelvo.CopyProgram(L"record_args.exe");
  ASSERT_TRUE(Start("[HotKey1]\nKey=Ctrl+Alt+Shift+M\nZrMacro=TidyUp\n",
                    "ZrEditor=" + Narrow(program) + "\n"));
  Press('M');
  const std::string recorded = Recorded();
  EXPECT_NE(recorded.find(" -MTidyUp"), std::string::npos) << recorded;
}

TEST_F(HotKeyTest, PngWallpaperIsConvertedToTheBitmapFile) {
  // 2 x 1 pixels: blue-green-red bytes (1,2,3) and (4,5,6).
  const std::vector<std::uint8_t> pixels = {1, 2, 3, 4, 5, 6};
  const std::wstring png = kelvo.Folder() + L"\\wall.png";
  ASSERT_TRUE(EncodeImage(std::u16string(png.begin(), png.end()), GUID_ContainerFormatPng,
                          GUID_WICPixelFormat24bppBGR, 2, 1, pixels, 6));
  ASSERT_TRUE(Start("[HotKey1]\nKey=Ctrl+Alt+Shift+N\nWallPaper=wall.png\n",
                    "WallBmpName=" + Folder() + "\\out.bmp\n"));
  Press('N');
  std::string bmp;
  ASSERT_TRUE(WaitFor([&] { return (bmp = kelvo.ReadFileBytes(L"out.bmp")).size() >= 62; }));
  EXPECT_EQ(bmp.substr(0, 2), "BM");
  EXPECT_EQ(bmp[18], 2);                                             // width
  EXPECT_EQ(bmp[22], 1);                                             // height
  EXPECT_EQ(bmp[28], 24);                                            // bits per pixel
  EXPECT_EQ(bmp.substr(54, 8), std::string("\1\2\3\4\5\6\0\0", 8));  // one row, padded to 4
}

TEST_F(HotKeyTest, ExitEndsTheProgram) {
  ASSERT_TRUE(Start("[HotKey1]\nKey=Ctrl+Alt+Shift+O\nCommand=EXIT\n"));
  Press('O');
  EXPECT_EQ(kelvo.WaitForExit(), 0);
  EXPECT_TRUE(CanRegister(kHotMods, 'O'));
}
