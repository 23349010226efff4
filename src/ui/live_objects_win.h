#pragma once
#include <windows.h>

// The answer of Kelvo's main window to the registered message kLiveObjectsMessageName
// (base/live_objects.h): the live count of the kind in wParam.
LRESULT AnswerLiveObjects(WPARAM kind);

// The windows of the thread, top-level and child, hidden ones included (the list parts of combo
// boxes, tooltips and the input method's windows that the system makes for them too).
long long CountThreadWindows(DWORD threadId);
