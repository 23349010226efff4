// Kelvo's entry point: one resident instance per log-on; a later start hands its command line
// to it and ends.
#include <windows.h>

#include <exception>
#include <string>

#include "app/hand_over.h"
#include "app/main_window_win.h"
#include "platform/wide_win.h"

namespace {

constexpr wchar_t kMutexName[] = L"Kelvo_is_running";

void HandOverToResident() {
  const std::u16string tail = CommandLineTail(U16(GetCommandLineW()));
  const HWND resident = FindWindowW(TKelvoMainForm::kClassName, nullptr);
  if (!resident) return;  // the resident instance is still starting: nothing to hand over to
  COPYDATASTRUCT data{};
  data.dwData = kHandOverKind;
  data.cbData = static_cast<DWORD>((tail.size() + 1) * sizeof(char16_t));
  data.lpData = const_cast<wchar_t*>(W(tail));
  // Returns only when the resident instance has handled it, a reload included.
  SendMessageW(resident, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
}

void RunResident() {
  TKelvoMainForm mainForm;
  if (!mainForm.Create()) return;
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    // Enter presses the about box's default button.
    if (IsDialogMessageW(mainForm.Handle(), &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);  // no library from Kelvo's folder
  const HANDLE mutex = CreateMutexW(nullptr, FALSE, kMutexName);
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    HandOverToResident();
    if (mutex) CloseHandle(mutex);
    return -1;
  }
  try {
    RunResident();
  } catch (const std::exception& e) {
    MessageBoxA(nullptr, e.what(), "Kelvo", MB_OK | MB_ICONERROR);
  }
  if (mutex) CloseHandle(mutex);
  return 0;
}
