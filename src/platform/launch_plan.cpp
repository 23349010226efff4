#include "platform/launch_plan.h"

#include <utility>

#include "base/text_case.h"

bool IsShortcutFile(std::u16string_view file) {
  const std::size_t dot = file.rfind(u'.');
  if (dot == std::u16string_view::npos) return false;
  return EqualsNoCase(file.substr(dot), u".LNK");
}

std::u16string DirectCommandLine(std::u16string_view file, std::u16string_view params) {
  const bool quote =
      file.find_first_of(u" \t") != std::u16string_view::npos && !file.starts_with(u'"');
  std::u16string line = quote ? u'"' + std::u16string(file) + u'"' : std::u16string(file);
  if (!params.empty()) {
    line += u' ';
    line += params;
  }
  return line;
}

LaunchRequest ApplyShortcut(LaunchRequest caller, const ResolvedShortcut& link) {
  switch (link.link) {
    case ResolvedShortcut::Link::kResolved:
      caller.file = link.installerTarget.empty() ? link.linkPath : link.installerTarget;
      caller.params = link.arguments;
      caller.dir = link.workingDirectory;
      caller.show = link.show;
      break;
    case ResolvedShortcut::Link::kNoLinkObject:
      // Without the link object only an installer target is known; with none, emptying the file
      // would make the start fail for certain, so the shell gets the shortcut file instead.
      if (!link.installerTarget.empty()) caller.file = link.installerTarget;
      break;
    case ResolvedShortcut::Link::kNotLoaded:
      break;
  }
  return caller;
}
