#include "win32/owned_kernel_objects_win.h"

namespace owned {

KernelHandle CreateFileW(const wchar_t* path, DWORD access, DWORD share,
                         SECURITY_ATTRIBUTES* security, DWORD disposition, DWORD flags,
                         HANDLE templateFile) {
  return KernelHandle(
      ::CreateFileW(path, access, share, security, disposition, flags, templateFile));
}

FindHandle FindFirstFileExW(const wchar_t* pattern, FINDEX_INFO_LEVELS level, void* data,
                            FINDEX_SEARCH_OPS search, void* filter, DWORD flags) {
  return FindHandle(::FindFirstFileExW(pattern, level, data, search, filter, flags));
}

KernelHandle OpenProcess(DWORD access, BOOL inherit, DWORD processId) {
  return KernelHandle(::OpenProcess(access, inherit, processId));
}

KernelHandle OpenProcessToken(HANDLE process, DWORD access) {
  HANDLE token = nullptr;
  if (!::OpenProcessToken(process, access, &token)) return {};
  return KernelHandle(token);
}

KernelHandle CreateMutexW(SECURITY_ATTRIBUTES* security, BOOL initialOwner, const wchar_t* name) {
  return KernelHandle(::CreateMutexW(security, initialOwner, name));
}

StartedProcess CreateProcessW(const wchar_t* application, wchar_t* commandLine,
                              SECURITY_ATTRIBUTES* processSecurity,
                              SECURITY_ATTRIBUTES* threadSecurity, BOOL inherit, DWORD flags,
                              void* environment, const wchar_t* directory, STARTUPINFOW* startup) {
  PROCESS_INFORMATION started{};
  if (!::CreateProcessW(application, commandLine, processSecurity, threadSecurity, inherit, flags,
                        environment, directory, startup, &started)) {
    return {};
  }
  return {KernelHandle(started.hProcess), KernelHandle(started.hThread)};
}

ModuleHandle LoadLibraryExW(const wchar_t* name, HANDLE file, DWORD flags) {
  return ModuleHandle(::LoadLibraryExW(name, file, flags));
}

HeapBlock HeapAlloc(DWORD flags, SIZE_T size) {
  return HeapBlock(::HeapAlloc(GetProcessHeap(), flags, size));
}

GlobalMemory GlobalAlloc(UINT flags, SIZE_T size) {
  return GlobalMemory(::GlobalAlloc(flags, size));
}

}  // namespace owned
