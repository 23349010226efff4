#include "win32/system_control_win.h"

#include <mmsystem.h>

#include "win32/late_bound_win.h"
#include "win32/owned_kernel_objects_win.h"
#include "win32/wallpaper_win.h"
#include "win32/wide_win.h"

namespace {

bool EnableShutdownPrivilege() {
  const KernelHandle token =
      owned::OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY);
  if (!token) return false;
  TOKEN_PRIVILEGES privileges{};
  if (!LookupPrivilegeValueW(nullptr, L"SeShutdownPrivilege", &privileges.Privileges[0].Luid)) {
    return false;
  }
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  SetLastError(0);
  AdjustTokenPrivileges(token.get(), FALSE, &privileges, sizeof(privileges), nullptr, nullptr);
  // Also catches a privilege the user does not hold (ERROR_NOT_ALL_ASSIGNED).
  return GetLastError() == 0;
}

// The multimedia library (sounds, the CD tray) is loaded at its first use: importing it would load
// it, and the COM library it uses, at every start.
MCIERROR MciSend(MCIDEVICEID device, UINT message, DWORD_PTR flags, DWORD_PTR parameters) {
  static const auto send = LateBound<decltype(&mciSendCommandW)>(L"winmm.dll", "mciSendCommandW");
  return send ? send(device, message, flags, parameters) : MCIERR_UNRECOGNIZED_COMMAND;
}

}  // namespace

bool WinSystemControl::Shutdown(unsigned flags) {
  return EnableShutdownPrivilege() && ExitWindowsEx(flags, 0) != FALSE;
}

void WinSystemControl::MonitorPower(int level) {
  // Posted: a sent broadcast waits for every window of every program, also one that never
  // answers.
  PostMessageW(HWND_BROADCAST, WM_SYSCOMMAND, SC_MONITORPOWER, level);
}

bool WinSystemControl::TerminateProcess(std::uint32_t processId) {
  const KernelHandle process = owned::OpenProcess(PROCESS_TERMINATE, FALSE, processId);
  return process.get() && ::TerminateProcess(process.get(), 0xFFFFFFFF);
}

void WinSystemControl::CdDoor(const std::u16string& drive, bool open) {
  MCI_OPEN_PARMSW params{};
  params.lpstrDeviceType = reinterpret_cast<LPCWSTR>(static_cast<ULONG_PTR>(MCI_DEVTYPE_CD_AUDIO));
  DWORD flags = MCI_OPEN_TYPE | MCI_OPEN_TYPE_ID | MCI_OPEN_SHAREABLE | MCI_WAIT;
  if (!drive.empty()) {
    params.lpstrElementName = W(drive);
    flags |= MCI_OPEN_ELEMENT;
  }
  if (MciSend(0, MCI_OPEN, flags, reinterpret_cast<DWORD_PTR>(&params)) != 0) return;
  MciSend(params.wDeviceID, MCI_SET, open ? MCI_SET_DOOR_OPEN : MCI_SET_DOOR_CLOSED, 0);
  MciSend(params.wDeviceID, MCI_CLOSE, MCI_WAIT, 0);
}

void WinSystemControl::Sleep(int milliseconds) { ::Sleep(static_cast<DWORD>(milliseconds)); }

void WinSystemControl::Beep() { MessageBeep(MB_ICONEXCLAMATION); }

void WinSystemControl::PlaySoundAsync(const std::u16string& path) {
  static const auto play = LateBound<decltype(&sndPlaySoundW)>(L"winmm.dll", "sndPlaySoundW");
  if (play) play(W(path), SND_ASYNC);
}

bool WinSystemControl::ScreenSaverEnabled() const {
  BOOL active = FALSE;
  return SystemParametersInfoW(SPI_GETSCREENSAVEACTIVE, 0, &active, 0) && active;
}

void WinSystemControl::StartScreenSaver() {
  SendMessageW(kelvoWindow_, WM_SYSCOMMAND, SC_SCREENSAVE, 0);
}

bool WinSystemControl::SetWallpaper(const std::u16string& bmpPath) {
  return SetDesktopWallpaper(bmpPath);
}
