#include "ui/live_objects_win.h"

#include "base/live_objects.h"

namespace {

BOOL CALLBACK CountOne(HWND, LPARAM count) {
  ++*reinterpret_cast<long long*>(count);
  return TRUE;
}

BOOL CALLBACK CountWithChildren(HWND window, LPARAM count) {
  CountOne(window, count);
  // Every descendant, not only the direct children.
  EnumChildWindows(window, &CountOne, count);
  return TRUE;
}

}  // namespace

long long CountThreadWindows(DWORD threadId) {
  long long count = 0;
  EnumThreadWindows(threadId, &CountWithChildren, reinterpret_cast<LPARAM>(&count));
  return count;
}

LRESULT AnswerLiveObjects(WPARAM number) {
  const auto kind = LiveKindFromNumber(number);
  if (!kind) return static_cast<LRESULT>(kUnknownLiveKind);
  // Windows are counted as they exist now: the controls' own windows have no owner to count them.
  if (*kind == LiveKind::kWindow)
    return static_cast<LRESULT>(CountThreadWindows(GetCurrentThreadId()));
  return static_cast<LRESULT>(LiveCount(*kind));
}
