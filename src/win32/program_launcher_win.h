#pragma once
#include <string>

#include "platform/launch_plan.h"
#include "platform/program_launcher.h"

// Starts programs with the shell or CreateProcessW; shortcut files are resolved first, including
// those advertised by Windows Installer.
class WinProgramLauncher : public ProgramLauncher {
 public:
  bool LaunchProgram(const std::u16string& file, const std::u16string& params,
                     const std::u16string& dir, int show, bool wait) override;
};

// Reads a shortcut file: the Windows Installer target of an advertised shortcut, then the shell
// link's path (only without an installer target), arguments, working directory and show command.
// Initialises COM for the call and leaves it as it was.
ResolvedShortcut ResolveShortcutFile(const std::u16string& file);
