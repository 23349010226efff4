#include "drive/program_control.h"

#include <shellapi.h>

HANDLE LaunchProgram(const std::wstring& exe, const std::wstring& arguments,
                     const std::wstring& dir) {
  std::wstring commandLine = L"\"" + exe + L"\"";
  if (!arguments.empty()) commandLine += L" " + arguments;
  STARTUPINFOW startup{sizeof(startup)};
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      dir.empty() ? nullptr : dir.c_str(), &startup, &info)) {
    return nullptr;
  }
  CloseHandle(info.hThread);
  return info.hProcess;
}

void PumpMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

bool WindowAnswers(HWND window, UINT milliseconds) {
  DWORD_PTR unused = 0;
  return window != nullptr &&
         SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, milliseconds, &unused) != 0;
}

bool TrayIconExists(HWND owner) {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof(data);
  data.hWnd = owner;
  data.uID = 1;
  return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

std::vector<DWORD> ScreenPixels(const RECT& screenRect) {
  const int w = screenRect.right - screenRect.left;
  const int h = screenRect.bottom - screenRect.top;
  std::vector<DWORD> pixels;
  if (w <= 0 || h <= 0) return pixels;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap) {
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, w, h, screen, screenRect.left, screenRect.top, SRCCOPY);
    GdiFlush();
    const auto* first = static_cast<const DWORD*>(bits);
    pixels.reserve(static_cast<std::size_t>(w) * h);
    for (int i = 0; i < w * h; ++i) pixels.push_back(first[i] & 0xFFFFFF);
    SelectObject(memory, old);
    DeleteObject(bitmap);
  }
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pixels;
}

std::wstring ThisProgramsFolder() {
  wchar_t path[MAX_PATH];
  const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  const std::wstring exe(path, n);
  return exe.substr(0, exe.find_last_of(L'\\'));
}

std::wstring CopyProgram(const std::wstring& fromFolder, const std::wstring& name,
                         const std::wstring& toFolder) {
  const std::wstring target = toFolder + L"\\" + name;
  CopyFileW((fromFolder + L"\\" + name).c_str(), target.c_str(), FALSE);
  return target;
}
