#include "platform/com_win.h"

namespace {

struct ComFunctions {
  decltype(&CoInitialize) initialize = nullptr;
  decltype(&CoUninitialize) uninitialize = nullptr;
  decltype(&CoCreateInstance) createInstance = nullptr;
};

template <typename F>
F Lookup(HMODULE library, const char* name) {
  return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

// The COM library is loaded at the first COM call and stays loaded.
const ComFunctions& Functions() {
  static const ComFunctions functions = [] {
    ComFunctions f;
    if (HMODULE library = LoadLibraryW(L"ole32.dll")) {
      f.initialize = Lookup<decltype(f.initialize)>(library, "CoInitialize");
      f.uninitialize = Lookup<decltype(f.uninitialize)>(library, "CoUninitialize");
      f.createInstance = Lookup<decltype(f.createInstance)>(library, "CoCreateInstance");
    }
    return f;
  }();
  return functions;
}

}  // namespace

HRESULT ComInitialize() {
  const auto& f = Functions();
  return f.initialize ? f.initialize(nullptr) : E_FAIL;
}

void ComUninitialize() {
  if (const auto& f = Functions(); f.uninitialize) f.uninitialize();
}

HRESULT ComCreateInstance(REFCLSID clsid, REFIID iid, void** object) {
  const auto& f = Functions();
  if (!f.createInstance) return E_FAIL;
  return f.createInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, iid, object);
}
