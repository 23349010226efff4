#include "win32/program_launcher_win.h"

#include <windows.h>

#include <objbase.h>
#include <objidl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <string>
#include <utility>

#include "win32/com_win.h"
#include "win32/late_bound_win.h"
#include "win32/owned_kernel_objects_win.h"
#include "win32/shell_win.h"
#include "win32/wide_win.h"

namespace {

// A GUID in text form is 38 characters and its terminator.
constexpr int kGuidTextSize = 39;
constexpr DWORD kPathBufferSize = MAX_PATH + 1;
// Shortcut arguments may be as long as the shell's own limit; a shorter buffer would cut them off.
constexpr int kArgumentsBufferSize = INFOTIPSIZE + 1;
constexpr DWORD kIdleWaitMs = 30000;

using MsiGetShortcutTargetFn = UINT(WINAPI*)(LPCWSTR, LPWSTR, LPWSTR, LPWSTR);
using MsiGetComponentPathFn = INT(WINAPI*)(LPCWSTR, LPCWSTR, LPWSTR, LPDWORD);

class LoadedLibrary {
 public:
  explicit LoadedLibrary(const wchar_t* name) : module_(LoadSystemLibrary(name)) {}

  template <typename Fn>
  Fn Find(const char* name) const {
    if (!module_) return nullptr;
    // Through the generic function pointer type, which any function pointer may be cast from.
    const FARPROC found = GetProcAddress(module_.get(), name);
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(found));
  }

 private:
  ModuleHandle module_;
};

// The program path of a shortcut advertised by Windows Installer; empty for any other file, and
// when the installer library is not there.
std::u16string InstallerTarget(const std::u16string& file) {
  const LoadedLibrary msi(L"MSI.DLL");
  const auto getShortcutTarget = msi.Find<MsiGetShortcutTargetFn>("MsiGetShortcutTargetW");
  const auto getComponentPath = msi.Find<MsiGetComponentPathFn>("MsiGetComponentPathW");
  if (getShortcutTarget == nullptr || getComponentPath == nullptr) return {};

  wchar_t product[kGuidTextSize] = {};
  wchar_t component[kGuidTextSize] = {};
  if (getShortcutTarget(W(file), product, nullptr, component) != 0) return {};
  wchar_t target[kPathBufferSize] = {};
  DWORD length = kPathBufferSize;
  // The installation state is of no interest: a path is all that is needed.
  getComponentPath(product, component, target, &length);
  if (length == 0) return {};
  return U16(target);
}

// Fills the link's own values; false when the file is not a loadable shortcut.
bool ReadShellLink(IShellLinkW& link, const std::u16string& file, bool wantPath,
                   ResolvedShortcut& result) {
  ComRef<IPersistFile> persist;
  if (FAILED(link.QueryInterface(IID_IPersistFile, persist.PutVoid()))) return false;
  if (FAILED(persist->Load(W(file), STGM_READ))) return false;
  // Without SLR_NO_UI the shell may ask the user where a moved target went.
  if (FAILED(link.Resolve(nullptr, SLR_UPDATE))) return false;

  if (wantPath) {
    wchar_t path[kPathBufferSize] = {};
    link.GetPath(path, kPathBufferSize, nullptr, 0);
    result.linkPath = U16(path);
  }
  wchar_t arguments[kArgumentsBufferSize] = {};
  link.GetArguments(arguments, kArgumentsBufferSize);
  result.arguments = U16(arguments);
  wchar_t directory[kPathBufferSize] = {};
  link.GetWorkingDirectory(directory, kPathBufferSize);
  result.workingDirectory = U16(directory);
  int show = kSwShowNormal;
  if (SUCCEEDED(link.GetShowCmd(&show))) result.show = show;
  return true;
}

bool StartProcessAndWait(const LaunchRequest& request) {
  std::wstring commandLine(W(DirectCommandLine(request.file, request.params)));
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(request.show);
  const owned::StartedProcess started =
      owned::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            request.dir.empty() ? nullptr : W(request.dir), &startup);
  if (!started.process) return false;
  // A program that never waits for input (a console program) ends the wait after the time-out;
  // either way the start has succeeded.
  WaitForInputIdle(started.process.get(), kIdleWaitMs);
  return true;
}

bool StartThroughShell(const LaunchRequest& request) {
  const HINSTANCE result =
      ShellExecuteOpen(W(request.file), W(request.params), W(request.dir), request.show);
  // Values up to 32 are error codes.
  return reinterpret_cast<INT_PTR>(result) > 32;
}

}  // namespace

ResolvedShortcut ResolveShortcutFile(const std::u16string& file) {
  ResolvedShortcut result;
  result.installerTarget = InstallerTarget(file);
  // Declared first so that the interfaces below are released before COM is uninitialised.
  const ComInitialization com;
  ComRef<IShellLinkW> link;
  if (FAILED(ComCreateInstance(CLSID_ShellLink, IID_IShellLinkW, link.PutVoid()))) {
    result.link = ResolvedShortcut::Link::kNoLinkObject;
    return result;
  }
  result.link = ReadShellLink(*link.Get(), file, result.installerTarget.empty(), result)
                    ? ResolvedShortcut::Link::kResolved
                    : ResolvedShortcut::Link::kNotLoaded;
  return result;
}

bool WinProgramLauncher::LaunchProgram(const std::u16string& file, const std::u16string& params,
                                       const std::u16string& dir, int show, bool wait) {
  LaunchRequest request{file, params, dir, show};
  if (IsShortcutFile(request.file)) {
    const ResolvedShortcut link = ResolveShortcutFile(request.file);
    request = ApplyShortcut(std::move(request), link);
  }
  // The shell would open something (the current folder) for an empty name.
  if (request.file.empty()) return false;
  return wait ? StartProcessAndWait(request) : StartThroughShell(request);
}
