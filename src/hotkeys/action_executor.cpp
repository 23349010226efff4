#include "hotkeys/action_executor.h"

#include <optional>
#include <variant>

#include "base/number_text.h"
#include "base/text_case.h"
#include "hotkeys/key_sequence.h"
#include "hotkeys/window_matching.h"
#include "platform/system_control.h"
#include "util/error_box.h"

namespace {

bool IsBlank(char16_t c) { return c <= u' '; }

// Runs a key sequence; false when it stopped on an empty token (the error is shown) or gave up
// waiting for the hotkey's keys to be released; the rest of the hotkey is then not run.
bool TypeKeys(const HKeyRec& rec, std::u16string_view text, int delay, ActionServices& s,
              PressedKeys& pressed) {
  switch (SendKeySequence(rec, text, delay, s.keys, s.locale, pressed)) {
    case KeySequenceResult::Done:
      return true;
    case KeySequenceResult::EmptyToken:
      ShowError(s.dialogs, kRangeCheckError);
      return false;
    case KeySequenceResult::KeysHeld:
      // The user may not notice that the rest of the hotkey was dropped.
      ShowError(s.dialogs, KeysHeldMessage(rec.Section));
      return false;
  }
  return false;
}

bool Shutdown(const std::u16string& word, unsigned flags, ActionServices& s) {
  if (!s.system.Shutdown(flags)) ShowError(s.dialogs, word + kCommandFailed);
  return false;
}

void TerminateApp(WindowHandle fg, ActionServices& s) {
  std::uint32_t processId = 0;
  const std::uint32_t thread = s.desktop.WindowThread(fg, &processId);
  if (thread == 0) return;
  WindowHandle focus = 0;
  if (s.desktop.AttachInput(thread, true)) {
    focus = s.desktop.FocusedWindow();
    s.desktop.AttachInput(thread, false);
  }
  const std::u16string title = s.windows.Title(fg);
  s.desktop.BringKelvoToFront();
  const int answer = s.dialogs.ShowMessage(u"[" + title + u"]\n 強制終了しますか?", u"警告",
                                           kMbOkCancel | kMbIconExclamation);
  if (answer == kIdOk) {
    s.system.TerminateProcess(processId);
  } else if (s.desktop.AttachInput(thread, true)) {
    // The user's window gets its focus back.
    s.windows.SetForeground(fg);
    s.desktop.SetFocus(focus);
    s.desktop.AttachInput(thread, false);
  }
}

int PositionItem(const std::u16string& item, int index, int current, const Desktop& desktop) {
  const int screen = index % 2 == 0 ? desktop.ScreenWidth() : desktop.ScreenHeight();
  if (EqualsNoCase(item, u"MAX")) return screen;
  if (EqualsNoCase(item, u"HALF")) return screen / 2;
  if (item == u"*") return current;
  return ParseInt32(item).value_or(0);
}

void SetPosition(WindowHandle fg, const std::u16string& parameter, ActionServices& s) {
  if (fg == 0) return;
  WindowRect rect;
  if (!s.desktop.GetRect(fg, rect)) return;
  int values[4] = {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
  const std::vector<std::u16string> items = SplitCommaText(parameter);
  if (items.size() > 4) return;
  for (std::size_t k = 0; k < items.size(); ++k) {
    values[k] = PositionItem(items[k], static_cast<int>(k), values[k], s.desktop);
  }
  s.desktop.SetPosition(fg, values[0], values[1], values[2], values[3]);
}

void MonitorOff(ActionServices& s) {
  s.system.Sleep(1000);
  s.system.MonitorPower(1);
  s.system.Sleep(1000);
  s.system.MonitorPower(2);
}

std::u16string CdDrive(std::u16string parameter) {
  if (!parameter.empty() && parameter.back() != u':') parameter += u':';
  return parameter;
}

// The command step; false when the hotkey ends with it. fg is the foreground window when the
// hotkey was pressed.
bool RunCommand(const HKeyRec& rec, const SystemAction& cmd, WindowHandle fg, ActionServices& s,
                PressedKeys& pressed) {
  switch (cmd.command) {
    case SystemCommand::kReboot:
      return Shutdown(cmd.word, kEwxReboot, s);
    case SystemCommand::kLogoff:
      return Shutdown(cmd.word, kEwxLogoff, s);
    case SystemCommand::kPowerOff:
      return Shutdown(cmd.word, kEwxPowerOff, s);
    case SystemCommand::kMonitorOff:
      MonitorOff(s);
      break;
    case SystemCommand::kTerminateApp:
      TerminateApp(fg, s);
      break;
    case SystemCommand::kMaximizeForeground:
      if (fg) s.windows.ShowWindow(fg, kSwMaximize);
      break;
    case SystemCommand::kMinimizeForeground:
      if (fg) s.windows.ShowWindow(fg, kSwMinimize);
      break;
    case SystemCommand::kRestoreForeground:
      if (fg) s.windows.ShowWindow(fg, kSwRestore);
      break;
    case SystemCommand::kCloseForeground:
      if (fg) s.windows.PostClose(fg);
      break;
    case SystemCommand::kSetForegroundPosition:
      SetPosition(fg, cmd.parameter, s);
      break;
    case SystemCommand::kCdOpen:
    case SystemCommand::kCdClose:
      s.system.CdDoor(CdDrive(cmd.parameter), cmd.command == SystemCommand::kCdOpen);
      break;
    case SystemCommand::kMinimizeAll:
      return TypeKeys(rec, u"WIN,M,/M,/WIN", 0, s, pressed);
    case SystemCommand::kRestoreAll:
      return TypeKeys(rec, u"WIN,SHIFT,M,/M,/SHIFT,/WIN", 0, s, pressed);
    case SystemCommand::kChangeTask:
      return TypeKeys(rec, u"ALT,TAB,/TAB,/ALT", 0, s, pressed);
    case SystemCommand::kUnknown:
      ShowError(s.dialogs, kUnknownCommand + cmd.word + u"]");
      break;
  }
  return true;
}

WindowTests Tests(const SlotTexts& cls, const SlotTexts& title, const SlotTexts& titleR,
                  const SlotTexts& titleM, std::size_t i) {
  return WindowTests{cls[i], title[i], titleR[i], titleM[i]};
}

// The activation steps; false when a key sequence stopped the hotkey.
bool RunSlots(const HKeyRec& rec, ActionServices& s, PressedKeys& pressed) {
  std::vector<WindowHandle> list;
  for (std::size_t i = 0; i < kActionSlots; ++i) {
    if (FindWindows(Tests(rec.MinimizeWndClass, rec.MinimizeWndTitle, rec.MinimizeWndTitleR,
                          rec.MinimizeWndTitleM, i),
                    list, s.windows, s.locale, s.dialogs)) {
      MinimizeWindows(list, s.windows);
    }
  }
  for (std::size_t i = 0; i < kActionSlots; ++i) {
    if (FindWindows(
            Tests(rec.CloseWndClass, rec.CloseWndTitle, rec.CloseWndTitleR, rec.CloseWndTitleM, i),
            list, s.windows, s.locale, s.dialogs)) {
      CloseWindows(list, s.windows);
    }
  }
  for (std::size_t i = 0; i < kActionSlots; ++i) {
    if (FindWindows(Tests(rec.ActivateWndClass, rec.ActivateWndTitle, rec.ActivateWndTitleR,
                          rec.ActivateWndTitleM, i),
                    list, s.windows, s.locale, s.dialogs)) {
      ActivateWindows(list, s.windows, !rec.SendKey[i].empty());
    } else if (!rec.Execute[i].empty()) {
      s.launcher.LaunchProgram(rec.Execute[i], rec.ExeParam[i], rec.ExeDir[i], kSwShowNormal,
                               !rec.SendKey[i].empty());
    }
    if (!rec.SendKey[i].empty() && !TypeKeys(rec, rec.SendKey[i], rec.Delay, s, pressed)) {
      return false;
    }
  }
  return true;
}

void StartMacro(const HKeyRec& rec, ActionServices& s, const std::u16string& ZrEditorPath) {
  const WindowHandle editor = s.desktop.FindByClass(kEditorWindowClass);
  if (editor != 0) {
    if (s.windows.IsIconic(editor)) s.windows.SendRestore(editor);
    s.windows.SetForeground(editor);
    if (!s.macros.Request(editor, rec.ZrMacro)) s.system.Beep();
  } else if (!ZrEditorPath.empty()) {
    s.launcher.LaunchProgram(ZrEditorPath, u"-M" + rec.ZrMacro, u"", kSwShowNormal, false);
  }
}

// The command step and the slots; false when the hotkey ends before its editor macro.
bool RunKeyedSteps(const HKeyRec& rec, WindowHandle fg, ActionServices& s) {
  PressedKeys pressed;
  const auto* command = std::get_if<SystemAction>(&rec.Action());
  const bool goOn =
      (!command || RunCommand(rec, *command, fg, s, pressed)) && RunSlots(rec, s, pressed);
  // Keys a sequence left down would otherwise stay down for the user; they go up before any
  // later step, whose window must not receive them.
  pressed.ReleaseAll(s.keys);
  return goOn;
}

}  // namespace

std::vector<std::u16string> SplitCommaText(std::u16string_view text) {
  std::vector<std::u16string> items;
  std::size_t p = 0;
  auto skipBlanks = [&] {
    while (p < text.size() && IsBlank(text[p])) ++p;
  };
  skipBlanks();
  while (p < text.size()) {
    std::u16string item;
    if (text[p] == u'"') {
      // A quoted item; a doubled quote inside stands for one quote.
      for (++p; p < text.size(); ++p) {
        if (text[p] == u'"') {
          if (p + 1 < text.size() && text[p + 1] == u'"') {
            item += u'"';
            ++p;
            continue;
          }
          ++p;
          break;
        }
        item += text[p];
      }
    } else {
      const std::size_t start = p;
      while (p < text.size() && !IsBlank(text[p]) && text[p] != u',') ++p;
      item = std::u16string(text.substr(start, p - start));
    }
    items.push_back(std::move(item));
    skipBlanks();
    if (p < text.size() && text[p] == u',') {
      if (p + 1 == text.size()) items.emplace_back();
      ++p;
      skipBlanks();
    }
  }
  return items;
}

void ExecuteHotKey(const HKeyRec& rec, ActionServices& services, const std::u16string& ZrEditorPath,
                   std::optional<WindowHandle> foreground) {
  const WindowHandle fg = foreground ? *foreground : services.desktop.Foreground();
  if (RunKeyedSteps(rec, fg, services) && !rec.ZrMacro.empty()) {
    StartMacro(rec, services, ZrEditorPath);
  }
}
