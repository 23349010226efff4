#pragma once
#include <windows.h>

#include <shellapi.h>

// The shell's functions Kelvo uses, with the shell library loaded at the first call, so that
// the hotkeys are registered before it is. The shell's file icons are in
// platform/owned_icons_win.h.
BOOL ShellNotifyIcon(DWORD message, NOTIFYICONDATAW* data);
HINSTANCE ShellExecuteOpen(const wchar_t* file, const wchar_t* params, const wchar_t* dir,
                           int show);
