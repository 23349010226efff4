#include "launcher/launcher_actions.h"

#include <algorithm>

#include "base/text_case.h"
#include "util/text_macros.h"

namespace {

constexpr std::uint8_t kVkControl = 0x11;
constexpr std::uint8_t kVkV = 0x56;
constexpr int kBeforeKeysMs = 50;
constexpr int kKeyHoldMs = 100;

std::u16string ShownAmpersands(std::u16string_view text) {
  std::u16string out(text);
  std::replace(out.begin(), out.end(), kHiddenAmpersand, u'&');
  return out;
}

bool WriteClipboard(Clipboard& clipboard, KeyInput& keys, const std::u16string& text) {
  for (int attempt = 0; attempt < kClipboardWriteAttempts; ++attempt) {
    if (attempt > 0) keys.Sleep(kClipboardRetryPauseMs);
    if (clipboard.WriteText(text, ClipboardPrivacy::kShared)) return true;
  }
  return false;
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

bool IsPasteMessageClass(const std::u16string& className, const std::u16string& wmPasteClass) {
  std::size_t start = 0;
  while (start <= wmPasteClass.size()) {
    std::size_t end = wmPasteClass.find(u';', start);
    if (end == std::u16string::npos) end = wmPasteClass.size();
    const std::u16string_view part = std::u16string_view(wmPasteClass).substr(start, end - start);
    if (!part.empty() && EqualsNoCase(part, className)) return true;
    start = end + 1;
  }
  return false;
}

namespace {

bool TargetStillThere(const SavedTarget& target, const Desktop& desktop) {
  if (target.SavedFgWnd == 0 || target.SavedFgThread == 0) return false;
  if (desktop.WindowThread(target.SavedFgWnd, nullptr) != target.SavedFgThread) return false;
  return target.SavedFocusWnd == 0 ||
         desktop.WindowThread(target.SavedFocusWnd, nullptr) == target.SavedFgThread;
}

}  // namespace

void RestoreTarget(const SavedTarget& target, Desktop& desktop, WindowSystem& windows) {
  if (!TargetStillThere(target, desktop)) return;
  if (!desktop.AttachInput(target.SavedFgThread, true)) return;
  windows.SetForeground(target.SavedFgWnd);
  if (target.SavedFocusWnd != 0) desktop.SetFocus(target.SavedFocusWnd);
  desktop.AttachInput(target.SavedFgThread, false);
}

PasteOutcome PasteLauncherText(const std::u16string& caption, const SavedTarget& target,
                               const std::u16string& wmPasteClass, PasteServices& s) {
  if (target.SavedFgWnd == 0) return PasteOutcome::kNothing;
  const std::u16string text = PasteText(caption);
  if (text.empty()) return PasteOutcome::kNothing;
  // Without the new text on the clipboard, Ctrl+V would paste whatever was there before.
  if (!WriteClipboard(s.clipboard, s.keys, ExpandMacros(text, s.clock, s.locale))) {
    return PasteOutcome::kClipboardFailed;
  }
  if (target.SavedFocusWnd == 0) return PasteOutcome::kOnClipboard;
  // A window that closed meanwhile may have handed its handle to another window.
  if (!TargetStillThere(target, s.desktop)) return PasteOutcome::kOnClipboard;
  if (!s.desktop.AttachInput(target.SavedFgThread, true)) return PasteOutcome::kOnClipboard;
  PasteOutcome outcome = PasteOutcome::kOnClipboard;
  const bool inFront =
      s.windows.SetForeground(target.SavedFgWnd) || s.desktop.Foreground() == target.SavedFgWnd;
  s.desktop.SetFocus(target.SavedFocusWnd);
  if (IsPasteMessageClass(s.windows.ClassName(target.SavedFocusWnd), wmPasteClass)) {
    if (s.sender.SendPaste(target.SavedFocusWnd)) outcome = PasteOutcome::kPastedByMessage;
  } else if (inFront) {
    // Typed keys go to whatever window is in front: only when it is the target.
    s.keys.Sleep(kBeforeKeysMs);
    s.keys.SendKeyEvent(kVkControl, false);
    s.keys.SendKeyEvent(kVkV, false);
    s.keys.Sleep(kKeyHoldMs);
    s.keys.SendKeyEvent(kVkV, true);
    s.keys.SendKeyEvent(kVkControl, true);
    s.sender.ProcessPendingMessages();
    outcome = PasteOutcome::kPastedByKeys;
  }
  s.desktop.AttachInput(target.SavedFgThread, false);
  return outcome;
}
