// Drives a running Kelvo from scripts (the screenshot command):
//   kelvo_poke wait                 waits until Kelvo's main window is there and idle
//   kelvo_poke hotkey MODS VK       presses a combination (MOD_ flags, virtual key, decimal)
//   kelvo_poke menu                 opens the main menu (as a right click on the tray icon does)
//   kelvo_poke close                ends Kelvo
#include <windows.h>

#include <cwchar>
#include <string>
#include <vector>

namespace {

HWND MainWindow() { return FindWindowW(L"TKelvoMainForm", nullptr); }

int Wait() {
  for (int i = 0; i < 1000 && !MainWindow(); ++i) Sleep(10);
  HWND main = MainWindow();
  if (!main) return 1;
  DWORD pid = 0;
  GetWindowThreadProcessId(main, &pid);
  HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, pid);
  WaitForInputIdle(process, 10000);
  CloseHandle(process);
  Sleep(300);
  return 0;
}

void Key(std::vector<INPUT>& inputs, WORD vk, bool up) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  inputs.push_back(in);
}

int Press(UINT mods, WORD vk) {
  std::vector<INPUT> inputs;
  const std::pair<UINT, WORD> keys[] = {
      {MOD_CONTROL, VK_CONTROL}, {MOD_ALT, VK_MENU}, {MOD_SHIFT, VK_SHIFT}, {MOD_WIN, VK_LWIN}};
  for (const auto& [flag, key] : keys)
    if (mods & flag) Key(inputs, key, false);
  Key(inputs, vk, false);
  Key(inputs, vk, true);
  for (const auto& [flag, key] : keys)
    if (mods & flag) Key(inputs, key, true);
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring command = argc > 1 ? argv[1] : L"";
  if (command == L"wait") return Wait();
  if (command == L"hotkey" && argc > 3) {
    return Press(static_cast<UINT>(_wtoi(argv[2])), static_cast<WORD>(_wtoi(argv[3])));
  }
  if (command == L"menu") {
    SetCursorPos(400, 300);
    return PostMessageW(MainWindow(), WM_CONTEXTMENU, 0, MAKELPARAM(400, 300)) ? 0 : 1;
  }
  if (command == L"close") return PostMessageW(MainWindow(), WM_CLOSE, 0, 0) ? 0 : 1;
  return 2;
}
