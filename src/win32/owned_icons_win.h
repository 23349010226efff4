#pragma once
#include <windows.h>

#include <shellapi.h>

#include "win32/unique_handle_win.h"

// The one place where Kelvo loads or asks for icons. Icons it owns come back as owners, empty on
// failure, so that each is counted and destroyed (a unit test finds any other call that makes
// one).
namespace owned {

// An icon resource of the module at this size; not shared, so it is Kelvo's to destroy.
IconHandle LoadIconImage(HINSTANCE module, const wchar_t* name, int width, int height);

// The shell's icon of a file (SHGetFileInfoW with SHGFI_ICON and the flags, SHGFI_SMALLICON
// say). The shell library is loaded at the first call.
IconHandle ShellFileIcon(const wchar_t* path, DWORD attributes, UINT flags);

}  // namespace owned

// An icon resource of the module at the system's default size (or, with small, at the size of
// title bars), shared: the system owns it and it is never destroyed, so it is not counted.
HICON SharedIcon(HINSTANCE module, const wchar_t* name, bool small = false);
