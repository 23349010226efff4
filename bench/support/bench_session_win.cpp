#include "support/bench_session_win.h"

namespace {

constexpr WORD kHotKey[] = {VK_CONTROL, VK_MENU, VK_SHIFT};

}  // namespace

std::string SessionSettings(const std::string& moreHotKeys, const std::string& moreClipOptions) {
  return "[General]\r\nVersion=169\r\n"
         "[HotKey1]\r\nKey=Ctrl+Alt+Shift+H\r\nCommand=CLIPBOARD_C\r\n"
         "[HotKey2]\r\nKey=Ctrl+Alt+Shift+T\r\nCommand=CLIPBOARD_T\r\n"
         "[HotKey3]\r\nKey=Ctrl+Alt+Shift+K\r\nCommand=CMDLAUNCHER\r\n"
         "[HotKey4]\r\nKey=Ctrl+Alt+Shift+M\r\nCommand=POPUPMENU\r\n"
         "[HotKey5]\r\nKey=Ctrl+Alt+Shift+L\r\nCommand=HOTKEY_LIST\r\n" +
         moreHotKeys +
         "[ClipboardList]\r\nEnable=1\r\nSaveHistory=1\r\nPosX=60\r\nPosY=60\r\n"
         "TextDataBtn1=TEXTDATA.txt\r\n" +
         moreClipOptions +
         "[PopupMenu]\r\nPopupFile=menu.txt\r\nPosX=40\r\nPosY=40\r\n"
         "[CmdLauncher]\r\nDropdown=0\r\n"
         "[CmdKwd1]\r\nKey=qzone\r\nExecute1=nothing.exe\r\n"
         "[CmdKwd2]\r\nKey=calc\r\nExecute1=nothing.exe\r\n";
}

void PrepareSessionFolder(const std::wstring& folder) {
  WriteBytes(folder + L"\\CLIPDATA.txt",
             "\xEF\xBB\xBF"
             "CreTime=2026/01/03\r\nLineCount=1\r\nthird\r\n\r\n"
             "CreTime=2026/01/02\r\nLineCount=1\r\nsecond\r\n\r\n"
             "CreTime=2026/01/01\r\nLineCount=1\r\nfirst\r\n\r\n");
  WriteBytes(folder + L"\\TEXTDATA.txt", "alpha\r\nbeta\r\ngamma\r\n");
  WriteBytes(folder + L"\\menu.txt",
             ">&Sub\r\n&Two\tnothing.exe\r\n<\r\n&One\tnothing.exe\r\n--\r\n&Text\tpasted \\Y\r\n");
}

void Press(WORD key, bool withModifiers) {
  if (withModifiers) {
    PressKeys({kHotKey[0], kHotKey[1], kHotKey[2], key});
  } else {
    PressKeys({key});
  }
}

bool PressUntil(WORD key, bool withModifiers, const std::function<bool()>& done, HWND front) {
  for (int attempt = 0; attempt < 3; ++attempt) {
    if (front && GetForegroundWindow() != front) SetForegroundWindow(front);
    Press(key, withModifiers);
    if (WaitFor(done, std::chrono::seconds(5), kSessionPolls)) return true;
  }
  return false;
}

BenchSession::BenchSession(const std::wstring& buildDir, const std::wstring& folder,
                           const std::string& settings, HWND front)
    : kelvo_(buildDir, folder, settings),
      exe_(folder + L"\\Kelvo.exe"),
      folder_(folder),
      front_(front) {
  unixProcess_ = UnixProcessOf(exe_);
  WaitFor([] { return FindWindowW(L"TClipBdList", nullptr) != nullptr; }, std::chrono::seconds(60),
          kSessionPolls);
}

bool BenchSession::Failed(const char* step) {
  failed_ = step;
  return false;
}

bool BenchSession::InFront() {
  return WaitFor(
             [&] {
               WindowAnswers(Main(), 5000);
               if (GetForegroundWindow() == front_) return true;
               SetForegroundWindow(front_);
               return false;
             },
             std::chrono::seconds(10), kSessionPolls) ||
         Failed("the bench's window in front");
}

bool BenchSession::ClipPage(WORD key, int listId) {
  const HWND clip = FindWindowW(L"TClipBdList", nullptr);
  if (!InFront()) return false;
  if (!PressUntil(key, true,
                  [&] { return IsWindowVisible(clip) && GetForegroundWindow() == clip; })) {
    return Failed("the clipboard window in front");
  }
  const HWND list = GetDlgItem(clip, listId);
  const LRESULT selected = SendMessageW(list, LB_GETCURSEL, 0, 0);
  if (!PressUntil(selected == 0 ? VK_DOWN : VK_UP, false,
                  [&] { return SendMessageW(list, LB_GETCURSEL, 0, 0) != selected; })) {
    return Failed("the row moved");
  }
  Settled(clip);
  return PressUntil(
             VK_ESCAPE, false, [&] { return !IsWindowVisible(clip); }, clip) ||
         Failed("the clipboard window hidden");
}

HWND BenchSession::ShowLauncher() {
  if (!InFront()) return nullptr;
  HWND box = nullptr;
  if (!PressUntil('K', true, [&] {
        box = FindWindowW(L"TCmdLncForm", nullptr);
        return box && IsWindowVisible(box) && GetForegroundWindow() == box;
      })) {
    Failed("the launcher in front");
    return nullptr;
  }
  return box;
}

bool BenchSession::TypeInLauncher(HWND box, WORD key, const std::wstring& expected) {
  const HWND combo = FindWindowExW(box, nullptr, L"ComboBox", nullptr);
  Press(key, false);
  if (!WaitFor([&] { return WindowTextOf(combo) == expected; }, std::chrono::seconds(10),
               kSessionPolls))
    return Failed("the typed text");
  Settled(box);
  return true;
}

bool BenchSession::HideLauncher(HWND box) {
  return PressUntil('K', true, [&] { return !IsWindowVisible(box); }) ||
         Failed("the launcher hidden");
}

bool BenchSession::Launcher() {
  const HWND box = ShowLauncher();
  return box && TypeInLauncher(box, 'C', L"calc") && HideLauncher(box);
}

bool BenchSession::Menu() {
  if (!InFront()) return false;
  // The menu's loop reads keys once it runs (sent messages are handled in that loop too).
  if (!PressUntil('M', true, [&] { return VisibleMenus() == 1 && WindowAnswers(Main(), 5000); })) {
    return Failed("the menu shown");
  }
  // The submenu's accelerator opens it.
  if (!PressUntil('S', false, [&] { return VisibleMenus() == 2 && WindowAnswers(Main(), 5000); })) {
    return Failed("the submenu shown");
  }
  if (!PressUntil(VK_ESCAPE, false,
                  [&] { return VisibleMenus() == 1 && WindowAnswers(Main(), 5000); })) {
    return Failed("the submenu closed");
  }
  return PressUntil(VK_ESCAPE, false, [] { return VisibleMenus() == 0; }) ||
         Failed("the menu closed");
}

bool BenchSession::HotKeyList() {
  if (!InFront()) return false;
  HWND list = nullptr;
  if (!PressUntil('L', true, [&] {
        list = FindWindowW(L"THotKeyHelp", nullptr);
        return list && IsWindowVisible(list) && GetForegroundWindow() == list;
      })) {
    return Failed("the hotkey list in front");
  }
  Settled(list);
  return PressUntil(
             VK_ESCAPE, false, [&] { return !IsWindowVisible(list); }, list) ||
         Failed("the hotkey list hidden");
}

bool BenchSession::Reload() {
  const HANDLE second = LaunchProgram(exe_, L"-R", folder_);
  if (!second) return Failed("the second start");
  const bool ended = WaitForSingleObject(second, 30000) == WAIT_OBJECT_0;
  DWORD code = 0;
  GetExitCodeProcess(second, &code);
  CloseHandle(second);
  // A second start ends with -1 once the resident Kelvo has run the reload it handed over.
  return (ended && code == 0xFFFFFFFFu) || Failed("the reload handed over");
}

bool BenchSession::ClipPaste() {
  const HWND clip = FindWindowW(L"TClipBdList", nullptr);
  if (!InFront()) return false;
  if (!PressUntil('H', true,
                  [&] { return IsWindowVisible(clip) && GetForegroundWindow() == clip; })) {
    return Failed("the clipboard window in front for a paste");
  }
  Settled(clip);
  // Enter pastes the selected row and hides the window; the paste goes to the window that was
  // in front before it.
  return PressUntil(
             VK_RETURN, false, [&] { return !IsWindowVisible(clip); }, clip) ||
         Failed("the clipboard window hidden by the paste");
}
