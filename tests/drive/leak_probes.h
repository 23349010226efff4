#pragma once
#include <windows.h>

#include <string>

#include "base/live_objects.h"

// What a test or a benchmark reads from outside a running Kelvo to see whether it leaks: the
// live counts of what it holds, which it answers itself (the system's GetGuiResources and
// GetProcessHandleCount answer 0 under Wine), and its private memory as Linux sees it. Nothing
// here may need GoogleTest: the benchmarks share it.

// Every kind's live count as Kelvo's main window answers kLiveObjectsMessageName;
// kUnknownLiveKind for a kind it did not answer within 5 s.
LiveCounts AskLiveCounts(HWND kelvoMainWindow);

// The process id on the Linux side of the Wine process that runs this program: the one whose
// command line (/proc/PID/cmdline, read through Wine's Z: drive) names the path, compared without
// regard to case; 0 when there is none, as on Windows.
long UnixProcessOf(const std::wstring& exePath);

// The private memory of that Linux process in KB, RssAnon of /proc/PID/status: the memory it
// wrote to itself (heaps, stacks, copied pages), not the files it maps; -1 when it cannot be read.
long long PrivateMemoryKb(long unixProcess);
