#include "support/fake_window_system.h"

#include <algorithm>
#include <utility>

std::vector<WindowHandle> FakeWindowSystem::TopLevelWindows() const {
  std::vector<WindowHandle> handles;
  for (const Window& window : windows) handles.push_back(window.handle);
  return handles;
}

bool FakeWindowSystem::IsVisible(WindowHandle window) const {
  const Window* found = Find(window);
  return found && found->visible;
}

std::u16string FakeWindowSystem::Title(WindowHandle window) const {
  ++titleReads;
  const Window* found = Find(window);
  return found ? found->title : std::u16string();
}

std::u16string FakeWindowSystem::ClassName(WindowHandle window) const {
  const Window* found = Find(window);
  return found ? found->cls : std::u16string();
}

bool FakeWindowSystem::IsIconic(WindowHandle window) const {
  const Window* found = Find(window);
  return found && found->iconic;
}

void FakeWindowSystem::SendRestore(WindowHandle window) {
  actions.push_back("restore " + std::to_string(window));
  if (Window* found = Find(window)) found->iconic = false;
}

bool FakeWindowSystem::SetForeground(WindowHandle window) {
  actions.push_back("foreground " + std::to_string(window));
  return BringToTop(window);
}

bool FakeWindowSystem::SetForegroundForKeys(WindowHandle window) {
  actions.push_back("foreground for keys " + std::to_string(window));
  return BringToTop(window);
}

bool FakeWindowSystem::BringToTop(WindowHandle window) {
  if (onForeground) onForeground(window);
  const auto it = std::find_if(windows.begin(), windows.end(),
                               [&](const Window& w) { return w.handle == window; });
  if (it == windows.end()) return false;
  std::rotate(windows.begin(), it, it + 1);
  return true;
}

void FakeWindowSystem::ShowWindow(WindowHandle window, int showCommand) {
  actions.push_back("show " + std::to_string(window) + " " + std::to_string(showCommand));
  Window* found = Find(window);
  if (!found) return;
  if (showCommand == kSwMinimize) found->iconic = true;
  constexpr int kSwShowNormal = 1;
  if (showCommand == kSwRestore || showCommand == kSwMaximize || showCommand == kSwShowNormal) {
    found->iconic = false;
  }
}

void FakeWindowSystem::PostClose(WindowHandle window) {
  actions.push_back("close " + std::to_string(window));
}

void FakeWindowSystem::Add(WindowHandle handle, std::u16string title, std::u16string cls,
                           bool visible, bool iconic) {
  windows.push_back({handle, std::move(title), std::move(cls), visible, iconic});
}

FakeWindowSystem::Window* FakeWindowSystem::Find(WindowHandle window) {
  const auto it = std::find_if(windows.begin(), windows.end(),
                               [&](const Window& w) { return w.handle == window; });
  return it == windows.end() ? nullptr : &*it;
}

const FakeWindowSystem::Window* FakeWindowSystem::Find(WindowHandle window) const {
  return const_cast<FakeWindowSystem*>(this)->Find(window);
}

WindowHandle FakeWindowSystem::Front() const {
  return windows.empty() ? 0 : windows.front().handle;
}
