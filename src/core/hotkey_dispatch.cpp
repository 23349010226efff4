#include "core/hotkey_dispatch.h"

#include <utility>
#include <variant>

#include "base/text_case.h"
#include "core/app_sound.h"
#include "core/paste_into_target.h"
#include "util/bmp_file.h"
#include "util/file_listing.h"
#include "util/path_text.h"

void HotKeyDispatcher::WMHotKey(int id, const std::optional<SavedTarget>& pressedOver) {
  ++depth_;
  RememberTarget(pressedOver);
  bool showAbout = false;
  bool showHotKeyList = false;
  if (const HKeyRec* rec = model_.Record(id)) {
    PlaySound(*rec);
    SetWallPaper(*rec);
    if (const auto* internal = std::get_if<InternalAction>(&rec->Action())) {
      Perform(*internal, showAbout, showHotKeyList);
    } else {
      ExecuteHotKey(*rec, services_, model_.ZrEditorPath, target_.SavedFgWnd);
    }
  }
  --depth_;
  // The record has finished; only the outermost hotkey may replace or close what it ran from.
  const Requests requests = depth_ == 0 ? std::exchange(requests_, {}) : Requests{};
  if (requests.reload) windows_.Reload();
  TidyUp(showAbout, showHotKeyList);
  if (requests.close) windows_.CloseMainWindow();
}

void HotKeyDispatcher::RememberTarget(const std::optional<SavedTarget>& pressedOver) {
  target_ = pressedOver ? *pressedOver : RememberForeground(services_.desktop);
}

void HotKeyDispatcher::PlaySound(const HKeyRec& rec) {
  PlayAppSound(services_.system, files_, model_.ExeDir, rec.Sound);
}

void HotKeyDispatcher::SetWallPaper(const HKeyRec& rec) {
  if (rec.WallPaper.empty()) return;
  std::u16string path = EqualsNoCase(rec.WallPaper, u"none") ? u"" : rec.WallPaper;
  if (!AppFileExists(files_, model_.ExeDir, path)) {
    services_.system.SetWallpaper(u"");
    return;
  }
  if (ConvertWallPaper(path)) services_.system.SetWallpaper(model_.WallBmpName);
}

bool HotKeyDispatcher::ConvertWallPaper(const std::u16string& path) {
  const std::u16string_view ext = FileExtension(path);
  if (EqualsNoCase(ext, u".jpg") || EqualsNoCase(ext, u".png") || EqualsNoCase(ext, u".gif")) {
    Bitmap24 bitmap;
    if (!images_.LoadImageToBitmap(path, bitmap, 1)) return false;
    // The old bitmap file is replaced atomically: a failed write leaves it as it was.
    return files_.WriteAtomically(model_.WallBmpName, EncodeBmp24(bitmap));
  }
  if (EqualsNoCase(ext, u".bmp")) {
    // Copied through the file system's atomic replace, as the converted images are: a copy that
    // fails half-way leaves the previous wallpaper file whole.
    const FileContents bitmap = files_.Read(path);
    return bitmap.status == ReadStatus::kRead &&
           files_.WriteAtomically(model_.WallBmpName, bitmap.bytes);
  }
  return false;
}

void HotKeyDispatcher::Perform(const InternalAction& action, bool& showAbout,
                               bool& showHotKeyList) {
  switch (action.command) {
    case KelvoCommand::kReload:
      requests_.reload = true;
      break;
    case KelvoCommand::kLauncherMenu:
      windows_.OpenLauncherMenu();
      break;
    case KelvoCommand::kCmdLauncher:
      windows_.ToggleCmdLauncher();
      break;
    case KelvoCommand::kClipboard:
    case KelvoCommand::kClipboardHistory:
    case KelvoCommand::kCannedText:
      windows_.ShowClipboard(action);
      break;
    case KelvoCommand::kScreenSaver:
      if (services_.system.ScreenSaverEnabled()) services_.system.StartScreenSaver();
      break;
    case KelvoCommand::kEditSettings:
      windows_.EditSettings();
      break;
    case KelvoCommand::kEditMenuFile:
      windows_.EditMenuFile();
      break;
    case KelvoCommand::kAbout:
      showAbout = true;
      break;
    case KelvoCommand::kHotKeyList:
      showHotKeyList = true;
      break;
    case KelvoCommand::kExit:
      requests_.close = true;
      break;
  }
}

void HotKeyDispatcher::TidyUp(bool showAbout, bool showHotKeyList) {
  if (windows_.CmdLauncherVisible()) {
    windows_.ForegroundCmdLauncher();
  } else {
    windows_.HideMainWindow();
  }
  if (showAbout) windows_.ShowAbout();
  if (showHotKeyList) {
    windows_.ShowHotKeyList();
  } else {
    windows_.HideHotKeyList();
  }
}
