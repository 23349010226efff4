// A library the unit tests place beside themselves under the name of a system library, to see
// which of the two is loaded; its resources hold the application icon.
#include <windows.h>

extern "C" __declspec(dllexport) int KelvoProbe() { return 42; }
