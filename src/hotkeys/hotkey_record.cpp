#include "hotkeys/hotkey_record.h"

#include <utility>

namespace {

// Bits 8-12 of the code stay with the key; only the three modifier bits above them are dropped.
constexpr std::uint16_t kVirtualKeyMask = 0x1FFF;

bool IsGlobalHotKeyId(int id) { return id >= kFirstGlobalHotKeyId && id <= kLastGlobalHotKeyId; }

}  // namespace

std::uint32_t HotKeyModifiers(HKeyShortCut shortCut) {
  const std::uint16_t code = ShortCutCode(shortCut);
  std::uint32_t modifiers = 0;
  if (code & kShortCutShift) modifiers |= kModShift;
  if (code & kShortCutAlt) modifiers |= kModAlt;
  if (code & kShortCutCtrl) modifiers |= kModControl;
  if (HasWinFlag(shortCut)) modifiers |= kModWin;
  return modifiers;
}

HKeyRec::HKeyRec(HotKeyRegistrar& registrar, WindowHandle Wnd, int Id, HKeyShortCut ShortCut)
    : Id(Id),
      Wnd(Wnd),
      Modifiers(HotKeyModifiers(ShortCut)),
      VirtualKey(static_cast<std::uint16_t>(ShortCutCode(ShortCut) & kVirtualKeyMask)),
      ShortCut(ShortCut),
      registrar_(registrar) {
  // No repeat suppression is asked for: a held combination fires again, as users expect. A text
  // whose key could not be named ("Ctrl+", a key the layout lacks) has no key at all; the system
  // would take it as a hotkey of the modifiers alone, so it fails like a taken combination.
  if (!IsGlobalHotKeyId(Id)) {
    Registered = 1;
  } else {
    Registered = VirtualKey != 0 && registrar_.Register(Wnd, Id, Modifiers, VirtualKey) ? 1 : 0;
  }
}

HKeyRec::~HKeyRec() {
  // Only global hotkeys are ever registered. Unregistering the others would change nothing but
  // cost a call to the window manager for each of thousands of keyword and directory entries at
  // every reload.
  if (Id >= kFirstGlobalHotKeyId && Id <= kLastGlobalHotKeyId && Registered != 0) {
    registrar_.Unregister(Wnd, Id);
  }
}

void HKeyRec::SetCommand(std::u16string command) {
  action_ = ParseHotKeyAction(command);
  command_ = std::move(command);
}
