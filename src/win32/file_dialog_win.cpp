#include "win32/file_dialog_win.h"

#include <commdlg.h>

#include <algorithm>

#include "win32/late_bound_win.h"
#include "win32/wide_win.h"

namespace {

using FileNameFunction = BOOL(WINAPI*)(LPOPENFILENAMEW);

}  // namespace

std::optional<std::u16string> AskFileName(HWND owner, const FileDialogRequest& request, bool save) {
  static const auto open = LateBound<FileNameFunction>(L"comdlg32.dll", "GetOpenFileNameW");
  static const auto saveAs = LateBound<FileNameFunction>(L"comdlg32.dll", "GetSaveFileNameW");
  const FileNameFunction ask = save ? saveAs : open;
  if (!ask) return std::nullopt;
  // The filter is pairs of texts, each ending with a terminator, and one more at the end.
  std::u16string filter = request.filterName + u'\0' + request.filterPattern + u'\0' + u'\0';
  std::wstring path(32768, L'\0');
  const std::size_t initial = std::min(request.fileName.size(), path.size() - 1);
  request.fileName.copy(reinterpret_cast<char16_t*>(path.data()), initial);
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = W(filter);
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = path.data();
  ofn.nMaxFile = static_cast<DWORD>(path.size());
  ofn.lpstrInitialDir = request.folder.empty() ? nullptr : W(request.folder);
  ofn.lpstrTitle = W(request.title);
  ofn.lpstrDefExt = request.defaultExt.empty() ? nullptr : W(request.defaultExt);
  ofn.Flags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST |
              (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
  if (!ask(&ofn)) return std::nullopt;
  return U16(path.c_str());
}
