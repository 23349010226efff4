#pragma once
#include <windows.h>

#include <string>

// KelvoCheck.exe as a user runs it from a command prompt: its standard output as bytes and its
// exit code.
struct CheckRun {
  DWORD exitCode = 0xFFFFFFFF;
  std::string output;
};

// Runs the KelvoCheck.exe beside the driver with these arguments in that folder and waits (at
// most a minute) for it to end; exitCode stays 0xFFFFFFFF when it could not be run or did not end.
CheckRun RunKelvoCheck(const std::wstring& arguments, const std::wstring& folder);

// The bytes of a code page (932, or CP_UTF8) as text.
std::wstring Decoded(const std::string& bytes, UINT codePage);
