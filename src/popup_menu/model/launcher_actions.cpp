#include "popup_menu/model/launcher_actions.h"

#include <algorithm>

#include "util/text_helpers.h"
#include "util/text_macros.h"

namespace {

std::u16string ShownAmpersands(std::u16string_view text) {
  std::u16string out(text);
  std::replace(out.begin(), out.end(), kHiddenAmpersand, u'&');
  return out;
}

}  // namespace

ChosenItem CopyChosenItem(const PopupItem& item) {
  ChosenItem chosen;
  chosen.Click = item.Click;
  chosen.Caption = item.Caption;
  chosen.Path = item.Path;
  for (const PopupItem* p = item.Parent; p && p->Parent; p = p->Parent) {
    chosen.Enclosing.insert(chosen.Enclosing.begin(), p->Caption);
  }
  return chosen;
}

std::optional<LauncherStart> PlanLauncherStart(const ChosenItem& item,
                                               const std::u16string& popupDir) {
  if (HasCaptionText(item.Caption)) {
    const std::u16string command = ShownAmpersands(TrimControls(CaptionText(item.Caption)));
    if (command.empty()) return std::nullopt;
    bool quoted = false;
    std::size_t end = std::u16string::npos;
    for (std::size_t i = 0; i < command.size(); ++i) {
      if (command[i] == u'"') quoted = !quoted;
      if (command[i] == u' ' && !quoted) {
        end = i;
        break;
      }
    }
    LauncherStart request;
    request.reportFailure = true;
    if (end == std::u16string::npos) {
      request.program = command;
    } else {
      request.program = std::u16string(TrimControls(std::u16string_view(command).substr(0, end)));
      request.params = std::u16string(TrimControls(std::u16string_view(command).substr(end + 1)));
    }
    return request;
  }
  // A shortcut: a tree item knows its own file; an entry without a command stands for the
  // shortcut of its name in the folders of its submenus.
  if (!item.Path.empty()) return LauncherStart{item.Path, u"", false};
  if (popupDir.empty()) return std::nullopt;
  std::u16string path = popupDir;
  for (const auto& folder : item.Enclosing) path = JoinPath(path, folder);
  path = JoinPath(path, item.Caption + u".lnk");
  return LauncherStart{std::move(path), u"", false};
}

std::u16string LaunchFailedMessage(const std::u16string& program) {
  return u"[" + program + u"] の実行に失敗しました";
}

std::u16string PasteText(const std::u16string& caption) {
  if (!HasCaptionText(caption)) return caption;
  return ShownAmpersands(CaptionText(caption));
}

void RestoreTarget(const SavedTarget& target, Desktop& desktop, WindowSystem& windows) {
  if (!TargetStillThere(target, desktop)) return;
  if (!desktop.AttachInput(target.SavedFgThread, true)) return;
  windows.SetForeground(target.SavedFgWnd);
  if (target.SavedFocusWnd != 0) desktop.SetFocus(target.SavedFocusWnd);
  desktop.AttachInput(target.SavedFgThread, false);
}

PasteOutcome PasteLauncherText(const std::u16string& caption, const SavedTarget& target,
                               const std::u16string& wmPasteClass, PasteServices& s) {
  // Without a window in front when the menu opened there is nowhere to paste, and the text the
  // user copied last stays on the clipboard.
  if (target.SavedFgWnd == 0) return PasteOutcome::kNothing;
  const std::u16string text = PasteText(caption);
  if (text.empty()) return PasteOutcome::kNothing;
  const std::u16string expanded = ExpandMacros(text, s.clock, s.locale);
  // Without a control that had the focus the text is only placed on the clipboard: Ctrl+V would
  // go to whatever has the keyboard now.
  if (target.SavedFocusWnd == 0) {
    return WriteClipboard(s, expanded, ClipboardPrivacy::kShared) ? PasteOutcome::kOnClipboard
                                                                  : PasteOutcome::kClipboardFailed;
  }
  return PasteIntoTarget(expanded, target, wmPasteClass, s, ClipboardPrivacy::kShared);
}
