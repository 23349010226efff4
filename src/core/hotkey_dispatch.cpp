#include "core/hotkey_dispatch.h"

#include <utility>

#include "base/text_case.h"
#include "core/app_sound.h"
#include "core/paste_into_target.h"
#include "util/bmp_file.h"
#include "util/file_listing.h"
#include "util/path_text.h"

namespace {

constexpr char16_t kCanned[] = u"CLIPBOARD_T";

}  // namespace

void HotKeyDispatcher::WMHotKey(int id, const std::optional<SavedTarget>& pressedOver) {
  ++depth_;
  RememberTarget(pressedOver);
  bool showAbout = false;
  bool showHotKeyList = false;
  for (const auto& rec : model_.HKeyList) {
    if (rec->Id != id) continue;
    PlaySound(*rec);
    SetWallPaper(*rec);
    Perform(*rec, showAbout, showHotKeyList);
    break;  // only the first record of the identifier is handled
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
  if (EqualsNoCase(ext, u".bmp"))
    return services_.system.CopyFileReplacing(path, model_.WallBmpName);
  return false;
}

void HotKeyDispatcher::Perform(const HKeyRec& rec, bool& showAbout, bool& showHotKeyList) {
  const std::u16string& c = rec.Command;
  auto is = [&](const char16_t* name) { return EqualsNoCase(c, name); };
  if (is(u"RECYCLE")) {
    requests_.reload = true;
  } else if (is(u"POPUPMENU")) {
    windows_.OpenLauncherMenu();
  } else if (is(u"CMDLAUNCHER")) {
    windows_.ToggleCmdLauncher();
  } else if (is(u"CLIPBOARD") || is(u"CLIPBOARD_C") ||
             EqualsNoCase(std::u16string_view(c).substr(0, std::size(kCanned) - 1), kCanned)) {
    windows_.ShowClipboard(c);
  } else if (is(u"SCREENSAVE")) {
    if (services_.system.ScreenSaverEnabled()) services_.system.StartScreenSaver();
  } else if (is(u"EDIT_INI")) {
    windows_.EditSettings();
  } else if (is(u"EDIT_POPUP")) {
    windows_.EditMenuFile();
  } else if (is(u"VERSION")) {
    showAbout = true;
  } else if (is(u"HOTKEY_LIST")) {
    showHotKeyList = true;
  } else if (is(u"EXIT")) {
    requests_.close = true;
  } else {
    ExecuteHotKey(rec, services_, model_.ZrEditorPath, target_.SavedFgWnd);
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
