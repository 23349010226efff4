#pragma once
#include <string>

// The show command every caller passes for the first window of a started program.
inline constexpr int kSwShowNormal = 1;

// Starts a program, a document through its associated program, a web address or a shortcut file.
class ProgramLauncher {
 public:
  virtual ~ProgramLauncher() = default;
  // file: what to start; params: its command-line parameters (may be empty); dir: the working
  // directory (empty: the platform's default); show: the show command of the first window;
  // wait: false starts through the shell, true creates the process and waits until it is ready for
  // input, so that keystrokes can be typed into it right afterwards. True when the start succeeded.
  virtual bool LaunchProgram(const std::u16string& file, const std::u16string& params,
                             const std::u16string& dir, int show, bool wait) = 0;
};
