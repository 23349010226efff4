#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "hotkeys/hotkey_action.h"
#include "hotkeys/key_text.h"
#include "platform/hotkey_registrar.h"
#include "platform/types.h"

// Modifier flags of a system hotkey registration.
inline constexpr std::uint32_t kModAlt = 1;
inline constexpr std::uint32_t kModControl = 2;
inline constexpr std::uint32_t kModShift = 4;
inline constexpr std::uint32_t kModWin = 8;

// Only the entries of the HotKey sections are global hotkeys; keyword and launcher-directory
// entries use their ids only to be found again.
inline constexpr int kFirstGlobalHotKeyId = 101;
inline constexpr int kLastGlobalHotKeyId = 200;

inline constexpr int kDefaultKeyDelayMs = 50;
inline constexpr std::size_t kActionSlots = 10;

// The ten texts of one action key ("Execute1" … "Execute10"). Most records use one or two of the
// sixteen keys, a launcher-directory shortcut only Execute1: the ten texts are made at the first
// write, so that an unused key costs one pointer (2,000 shortcuts held 11 MB of empty texts).
// Read through a const record: the non-const operator[] is for writing and makes the ten.
class SlotTexts {
 public:
  SlotTexts() = default;
  const std::u16string& operator[](std::size_t slot) const {
    return texts_ ? (*texts_)[slot] : Empty();
  }
  std::u16string& operator[](std::size_t slot) {
    if (!texts_) texts_ = std::make_unique<std::array<std::u16string, kActionSlots>>();
    return (*texts_)[slot];
  }
  void Clear(std::size_t slot) {
    if (texts_) (*texts_)[slot].clear();
  }
  bool Used() const { return texts_ != nullptr; }

 private:
  static const std::u16string& Empty() {
    static const std::u16string empty;
    return empty;
  }
  std::unique_ptr<std::array<std::u16string, kActionSlots>> texts_;
};

// One entry of the hotkey table: a global hotkey, a command-launcher keyword or a
// launcher-directory shortcut, with everything it does when it fires. A global hotkey is
// registered for the record's lifetime, so the record can be neither copied nor moved.
class HKeyRec {
 public:
  HKeyRec(HotKeyRegistrar& registrar, WindowHandle Wnd, int Id, HKeyShortCut ShortCut);
  ~HKeyRec();
  HKeyRec(const HKeyRec&) = delete;
  HKeyRec& operator=(const HKeyRec&) = delete;

  int Id = 0;
  WindowHandle Wnd = 0;
  std::uint32_t Modifiers = 0;
  std::uint16_t VirtualKey = 0;
  HKeyShortCut ShortCut = 0;
  int Registered = 0;  // non-zero when usable; every record kept in the table has it set
  int Delay = kDefaultKeyDelayMs;  // pause before each typed key, milliseconds
  // Where the record came from, as messages name it: its section ("HotKey3", "CmdKwd12"), or the
  // keyword of a launcher-directory shortcut.
  std::u16string Section;
  std::u16string Keyword;
  std::u16string Description;
  std::u16string Icon;
  SlotTexts ActivateWndClass;
  SlotTexts ActivateWndTitle;
  SlotTexts ActivateWndTitleR;
  SlotTexts ActivateWndTitleM;
  SlotTexts Execute;
  SlotTexts ExeParam;
  SlotTexts ExeDir;
  SlotTexts MinimizeWndClass;
  SlotTexts MinimizeWndTitle;
  SlotTexts MinimizeWndTitleR;
  SlotTexts MinimizeWndTitleM;
  SlotTexts CloseWndClass;
  SlotTexts CloseWndTitle;
  SlotTexts CloseWndTitleR;
  SlotTexts CloseWndTitleM;
  SlotTexts SendKey;
  std::u16string ZrMacro;
  std::u16string Sound;
  std::u16string WallPaper;

  // The `Command` value (upper-cased by the load) and the action read from it.
  void SetCommand(std::u16string command);
  const std::u16string& Command() const { return command_; }
  const HotKeyAction& Action() const { return action_; }

 private:
  HotKeyRegistrar& registrar_;
  std::u16string command_;
  HotKeyAction action_;
};

// The registration flags of a combination: Shift, Ctrl, Alt and a non-zero Win flag.
std::uint32_t HotKeyModifiers(HKeyShortCut shortCut);

// The hotkey table in creation order: hotkey entries, keyword entries, launcher-directory entries.
using HKeyList = std::vector<std::unique_ptr<const HKeyRec>>;
