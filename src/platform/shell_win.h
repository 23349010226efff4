#pragma once
#include <windows.h>

#include <shellapi.h>

// The shell's functions Kelvo uses, with the shell library loaded at the first call, so that
// the hotkeys are registered before it is.
BOOL ShellNotifyIcon(DWORD message, NOTIFYICONDATAW* data);
HINSTANCE ShellExecuteOpen(const wchar_t* file, const wchar_t* params, const wchar_t* dir,
                           int show);
DWORD_PTR ShellFileInfo(const wchar_t* path, DWORD attributes, SHFILEINFOW* info, UINT flags);
