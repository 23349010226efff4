#pragma once
#include <cstdint>
#include <set>
#include <utility>
#include <vector>

#include "platform/hotkey_registrar.h"

// Records hotkey registrations instead of making them. Combinations marked as taken fail, as
// they do when another program holds them.
class FakeHotKeyRegistrar : public HotKeyRegistrar {
 public:
  struct Registration {
    WindowHandle wnd = 0;
    int id = 0;
    std::uint32_t modifiers = 0;
    std::uint32_t virtualKey = 0;
  };

  bool Register(WindowHandle wnd, int id, std::uint32_t modifiers,
                std::uint32_t virtualKey) override;
  void Unregister(WindowHandle wnd, int id) override;

  void MarkTaken(std::uint32_t modifiers, std::uint32_t virtualKey);

  // Every call of Register, successful or not, in call order.
  const std::vector<Registration>& registrations() const { return registrations_; }
  int unregisterCount() const { return unregisterCount_; }
  // Ids registered successfully and not yet unregistered.
  const std::set<int>& registeredIds() const { return registeredIds_; }

 private:
  std::vector<Registration> registrations_;
  std::set<std::pair<std::uint32_t, std::uint32_t>> taken_;
  std::set<int> registeredIds_;
  int unregisterCount_ = 0;
};
