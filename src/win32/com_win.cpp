#include "win32/com_win.h"

#include "win32/late_bound_win.h"

HRESULT ComInitialize() {
  static const auto initialize = LateBound<decltype(&CoInitialize)>(L"ole32.dll", "CoInitialize");
  return initialize ? initialize(nullptr) : E_FAIL;
}

void ComUninitialize() {
  static const auto uninitialize =
      LateBound<decltype(&CoUninitialize)>(L"ole32.dll", "CoUninitialize");
  if (uninitialize) uninitialize();
}

HRESULT ComCreateInstance(REFCLSID clsid, REFIID iid, void** object) {
  static const auto create =
      LateBound<decltype(&CoCreateInstance)>(L"ole32.dll", "CoCreateInstance");
  return create ? create(clsid, nullptr, CLSCTX_INPROC_SERVER, iid, object) : E_FAIL;
}
