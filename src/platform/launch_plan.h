#pragma once
#include <string>
#include <string_view>

#include "platform/program_launcher.h"

// What is finally started: the caller's values, or those of the shortcut they named.
struct LaunchRequest {
  std::u16string file;
  std::u16string params;
  std::u16string dir;
  int show = kSwShowNormal;
};

// What reading a shortcut file gave.
struct ResolvedShortcut {
  enum class Link {
    kResolved,      // the shell link was loaded and resolved
    kNotLoaded,     // the file could not be loaded or resolved as a shell link
    kNoLinkObject,  // the shell link object could not be created at all
  };
  Link link = Link::kNotLoaded;
  // The program path of a shortcut advertised by Windows Installer; empty when it is not one.
  std::u16string installerTarget;
  // The link's own values; meaningful only when link is kResolved.
  std::u16string linkPath;
  std::u16string arguments;
  std::u16string workingDirectory;
  int show = kSwShowNormal;
};

// True when the file's extension (from the last ".") is ".lnk" in any letter case.
bool IsShortcutFile(std::u16string_view file);

// The command line of a directly created process: file, then one blank and params when there are
// any. A file that holds a blank and does not begin with a quote is put in quotes: unquoted,
// "D:\My Tools\app.exe" would start "D:\My.exe" whenever such a file exists.
std::u16string DirectCommandLine(std::u16string_view file, std::u16string_view params);

// The request after a shortcut file has been read. A resolved shortcut replaces every value of the
// caller, also with empty ones, and an installer target wins over the link's own path. A file that
// is not a loadable shortcut is handed on unchanged, so the shell can still try to open it.
LaunchRequest ApplyShortcut(LaunchRequest caller, const ResolvedShortcut& link);
