#include "support/fake_hotkey_registrar.h"

bool FakeHotKeyRegistrar::Register(WindowHandle wnd, int id, std::uint32_t modifiers,
                                   std::uint32_t virtualKey) {
  registrations_.push_back({wnd, id, modifiers, virtualKey});
  if (taken_.count({modifiers, virtualKey}) != 0) return false;
  registeredIds_.insert(id);
  return true;
}

void FakeHotKeyRegistrar::Unregister(WindowHandle /*wnd*/, int id) {
  ++unregisterCount_;
  registeredIds_.erase(id);
}

void FakeHotKeyRegistrar::MarkTaken(std::uint32_t modifiers, std::uint32_t virtualKey) {
  taken_.insert({modifiers, virtualKey});
}
