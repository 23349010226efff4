// Kelvo's entry point: one resident instance per log-on; a later start hands its command line
// to it and ends.
#include <windows.h>

#include <cstdint>
#include <exception>
#include <string>

#include "app/kelvo_app_win.h"
#include "app/main_window_win.h"
#include "core/hand_over.h"
#include "win32/owned_kernel_objects_win.h"
#include "win32/wide_win.h"

namespace {

constexpr wchar_t kMutexName[] = L"Kelvo_is_running";
constexpr DWORD kPollMs = 20;

// Waits for the resident instance's loads to reach the given count: the reload this start asked
// for had to wait for a hotkey or a load that was running.
void WaitForLoads(HWND resident, std::uint64_t count, ULONGLONG deadline) {
  const UINT loadsDone = RegisterWindowMessageW(W(kLoadsDoneMessageName));
  for (ULONGLONG now = GetTickCount64(); now < deadline; now = GetTickCount64()) {
    DWORD_PTR done = 0;
    if (!SendMessageTimeoutW(resident, loadsDone, 0, 0, SMTO_ABORTIFHUNG,
                             static_cast<UINT>(deadline - now), &done) ||
        done >= count) {
      return;
    }
    Sleep(kPollMs);
  }
}

void HandOverToResident() {
  const std::u16string tail = CommandLineTail(U16(GetCommandLineW()));
  const HWND resident = FindWindowW(TKelvoMainForm::kClassName, nullptr);
  if (!resident) return;  // the resident instance is still starting: nothing to hand over to
  COPYDATASTRUCT data{};
  data.dwData = kHandOverKind;
  data.cbData = static_cast<DWORD>((tail.size() + 1) * sizeof(char16_t));
  data.lpData = const_cast<wchar_t*>(W(tail));
  // Returns when the resident instance has handled it, a reload included; a resident instance
  // that hangs is given up on.
  const ULONGLONG deadline = GetTickCount64() + kHandOverTimeoutMs;
  DWORD_PTR answer = 0;
  if (!SendMessageTimeoutW(resident, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                           SMTO_ABORTIFHUNG, kHandOverTimeoutMs, &answer)) {
    return;
  }
  if (answer != 0) WaitForLoads(resident, answer, deadline);
}

void RunResident() {
  KelvoApp app;
  if (!app.Start()) return;
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    // Enter presses the about box's default button.
    if (IsDialogMessageW(app.MainWindow(), &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);  // no library from Kelvo's folder
  // Held until the program ends: while it exists, later starts hand over to this one.
  const KernelHandle mutex = owned::CreateMutexW(nullptr, FALSE, kMutexName);
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    HandOverToResident();
    return -1;
  }
  try {
    RunResident();
  } catch (const std::exception& e) {
    MessageBoxA(nullptr, e.what(), "Kelvo", MB_OK | MB_ICONERROR);
  }
  return 0;
}
