#pragma once
#include <windows.h>

#include "win32/unique_handle_win.h"

// The one place where Kelvo opens files, searches folders, opens processes and tokens, makes
// mutexes, loads libraries and takes memory blocks from the system: each helper takes what the
// system's call takes and returns an owner, empty on failure, with the system's last error left
// as the call set it. Everything made is counted and given back (a unit test finds any other call
// of these).
namespace owned {

KernelHandle CreateFileW(const wchar_t* path, DWORD access, DWORD share,
                         SECURITY_ATTRIBUTES* security, DWORD disposition, DWORD flags,
                         HANDLE templateFile);
FindHandle FindFirstFileExW(const wchar_t* pattern, FINDEX_INFO_LEVELS level, void* data,
                            FINDEX_SEARCH_OPS search, void* filter, DWORD flags);
KernelHandle OpenProcess(DWORD access, BOOL inherit, DWORD processId);
// The token of the process (OpenProcessToken).
KernelHandle OpenProcessToken(HANDLE process, DWORD access);
KernelHandle CreateMutexW(SECURITY_ATTRIBUTES* security, BOOL initialOwner, const wchar_t* name);

// The process and its first thread of CreateProcessW; both empty when the start failed.
struct StartedProcess {
  KernelHandle process;
  KernelHandle thread;
};
StartedProcess CreateProcessW(const wchar_t* application, wchar_t* commandLine,
                              SECURITY_ATTRIBUTES* processSecurity,
                              SECURITY_ATTRIBUTES* threadSecurity, BOOL inherit, DWORD flags,
                              void* environment, const wchar_t* directory, STARTUPINFOW* startup);

ModuleHandle LoadLibraryExW(const wchar_t* name, HANDLE file, DWORD flags);

// A block of the process heap.
HeapBlock HeapAlloc(DWORD flags, SIZE_T size);
GlobalMemory GlobalAlloc(UINT flags, SIZE_T size);

}  // namespace owned
