#pragma once
#include <windows.h>

#include <string>
#include <vector>

// Starting programs of the build and watching them from outside. Like all of tests/drive, shared
// by the end-to-end driver and the benchmarks: nothing here may need GoogleTest.

// Starts the program with these arguments in this working folder (the caller's own when empty);
// returns its process handle, which the caller closes, or null.
HANDLE LaunchProgram(const std::wstring& exe, const std::wstring& arguments,
                     const std::wstring& dir);

// Lets the driver's own windows handle their messages.
void PumpMessages();

// Whether the window's thread answers a message within the time (at once false for a window known
// as hung); an answer means the thread has been through its message loop.
bool WindowAnswers(HWND window, UINT milliseconds);

// Whether the notification area holds the icon of this window.
bool TrayIconExists(HWND owner);

// The screen's pixels of a rectangle (0x00RRGGBB, row by row from the top); empty when they
// cannot be read.
std::vector<DWORD> ScreenPixels(const RECT& screenRect);

// The folder of this program's executable: the build folder, where the programs it starts lie.
std::wstring ThisProgramsFolder();

// Copies the program file of this name from one folder into another; its path there.
std::wstring CopyProgram(const std::wstring& fromFolder, const std::wstring& name,
                         const std::wstring& toFolder);
