#include "check_driver.h"

#include <vector>

#include "drive/program_control.h"

CheckRun RunKelvoCheck(const std::wstring& arguments, const std::wstring& folder) {
  CheckRun run;
  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return run;
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW startup{sizeof(startup)};
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = writeEnd;
  startup.hStdError = writeEnd;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  std::wstring command = L"\"" + ThisProgramsFolder() + L"\\KelvoCheck.exe\" " + arguments;
  PROCESS_INFORMATION process{};
  const BOOL started =
      CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                     folder.c_str(), &startup, &process);
  CloseHandle(writeEnd);
  if (started) {
    // Read until the program closes its end; then it has ended or is about to.
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(readEnd, buffer, sizeof(buffer), &got, nullptr) && got > 0)
      run.output.append(buffer, got);
    if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0)
      GetExitCodeProcess(process.hProcess, &run.exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  CloseHandle(readEnd);
  return run;
}

std::wstring Decoded(const std::string& bytes, UINT codePage) {
  if (bytes.empty()) return {};
  const int n =
      MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring text(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), n);
  return text;
}
