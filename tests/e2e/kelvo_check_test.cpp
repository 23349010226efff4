// KelvoCheck.exe as a user runs it in a command prompt: what it prints, in the console's code page
// or UTF-8, and its exit codes; the registration test against a combination another program
// holds; and the list of windows for the window tests of the settings.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "check_driver.h"
#include "desktop_driver.h"
#include "kelvo_session.h"

namespace {

constexpr UINT kTakenMods = MOD_CONTROL | MOD_ALT | MOD_SHIFT;
constexpr UINT kTakenKey = 'K';
constexpr int kTakenId = 0x5A5A;

class KelvoCheckTest : public ::testing::Test {
 protected:
  CheckRun Check(const std::string& settings, const std::wstring& arguments = L"") {
    kelvo.WriteIni(CrLf(settings));
    return RunKelvoCheck(L"\"" + kelvo.IniPath() + L"\" " + arguments, kelvo.Folder());
  }

  KelvoSession kelvo{L"設定 チェック"};
};

// A window of the driver's own that --windows must list.
class ProbeWindow {
 public:
  ProbeWindow() {
    WNDCLASSW cls{};
    cls.lpfnWndProc = DefWindowProcW;
    cls.hInstance = GetModuleHandleW(nullptr);
    cls.lpszClassName = L"KelvoCheckProbe";
    RegisterClassW(&cls);
    window_ =
        CreateWindowExW(0, cls.lpszClassName, L"探すウィンドウ", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                        10, 10, 200, 100, nullptr, nullptr, cls.hInstance, nullptr);
  }
  ~ProbeWindow() { DestroyWindow(window_); }
  ProbeWindow(const ProbeWindow&) = delete;
  ProbeWindow& operator=(const ProbeWindow&) = delete;
  HWND Handle() const { return window_; }

 private:
  HWND window_ = nullptr;
};

}  // namespace

TEST_F(KelvoCheckTest, NamesEachMistakeInTheConsolesJapaneseCodePageAndExitsWithOne) {
  const CheckRun run = Check("[General]\nVersion=169\n[HotKey1]\nKey=Ctrl+Alt+N\nExeucte1=x.exe\n");
  EXPECT_EQ(run.exitCode, 1u) << run.output;
  ASSERT_EQ(GetConsoleOutputCP() == 0 ? GetACP() : GetConsoleOutputCP(), 932u);
  const std::wstring text = Decoded(run.output, 932);
  EXPECT_NE(text.find(L"Kelvo.INI(5): エラー: [HotKey1] Exeucte1 は Kelvo の知らないキーです。 → "
                      L"Execute1 ではありませんか。\r\n"),
            std::wstring::npos)
      << Narrow(text);
  EXPECT_NE(text.find(L"エラー 1 件、警告 0 件\r\n"), std::wstring::npos) << Narrow(text);
}

TEST_F(KelvoCheckTest, Utf8OutputOnRequest) {
  const CheckRun run = Check("[General]\nVersion=169\n[CmdLauncher]\nExeDelay=99999\n", L"--utf8");
  EXPECT_EQ(run.exitCode, 0u) << "a warning alone";
  const std::wstring text = Decoded(run.output, CP_UTF8);
  EXPECT_NE(
      text.find(L"Kelvo.INI(4): 警告: [CmdLauncher] ExeDelay=99999 は範囲（0 ～ 10000）の外です。"),
      std::wstring::npos)
      << Narrow(text);
}

TEST_F(KelvoCheckTest, ExitCodesForACleanFileAndAMissingOne) {
  const CheckRun clean = Check("[General]\nVersion=169\n[HotKey1]\nKey=Ctrl+Alt+Shift+J\n");
  EXPECT_EQ(clean.exitCode, 0u) << clean.output;
  EXPECT_NE(Decoded(clean.output, 932).find(L"問題は見つかりませんでした。"), std::wstring::npos);
  const CheckRun missing = RunKelvoCheck(L"\"" + kelvo.Folder() + L"\\なし.INI\"", kelvo.Folder());
  EXPECT_EQ(missing.exitCode, 2u) << missing.output;
  EXPECT_NE(Decoded(missing.output, 932).find(L"なし.INI: エラー: 設定ファイルがありません。"),
            std::wstring::npos)
      << missing.output;
}

TEST_F(KelvoCheckTest, ACombinationAnotherProgramHoldsIsNamedAndLeftAsItWas) {
  ASSERT_TRUE(RegisterHotKey(nullptr, kTakenId, kTakenMods, kTakenKey));
  const CheckRun run = Check("[General]\nVersion=169\n[HotKey1]\nKey=Ctrl+Alt+Shift+K\n");
  const bool stillOurs = UnregisterHotKey(nullptr, kTakenId) != FALSE;
  EXPECT_EQ(run.exitCode, 1u);
  EXPECT_NE(Decoded(run.output, 932)
                .find(L"Kelvo.INI(4): エラー: [HotKey1] Key=Ctrl+Alt+Shift+K は、"
                      L"ほかのプログラムが使っています。"),
            std::wstring::npos)
      << run.output;
  EXPECT_TRUE(stillOurs) << "the checker left the other program's hotkey alone";
  // A free combination is tried and released: Kelvo can take it afterwards.
  const CheckRun free = Check("[General]\nVersion=169\n[HotKey1]\nKey=Ctrl+Alt+Shift+K\n");
  EXPECT_EQ(free.exitCode, 0u) << free.output;
  EXPECT_TRUE(RegisterHotKey(nullptr, kTakenId, kTakenMods, kTakenKey));
  UnregisterHotKey(nullptr, kTakenId);
}

TEST_F(KelvoCheckTest, ListsTheClassAndTitleOfEveryVisibleWindow) {
  const ProbeWindow probe;
  ASSERT_NE(probe.Handle(), nullptr);
  const CheckRun run = RunKelvoCheck(L"--windows", kelvo.Folder());
  EXPECT_EQ(run.exitCode, 0u);
  EXPECT_NE(Decoded(run.output, 932).find(L"KelvoCheckProbe\t探すウィンドウ\r\n"),
            std::wstring::npos)
      << run.output;
}
