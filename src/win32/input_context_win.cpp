#include "win32/input_context_win.h"

#include "win32/late_bound_win.h"

namespace {

// imm32 is not imported: each imported library costs every start, and most starts never show a
// window that sets its input method.
struct InputMethodManager {
  decltype(&ImmCreateContext) create;
  decltype(&ImmDestroyContext) destroy;
  decltype(&ImmAssociateContext) associate;
  decltype(&ImmSetOpenStatus) setOpen;
  decltype(&ImmGetOpenStatus) getOpen;
  decltype(&ImmGetContext) get;
  decltype(&ImmReleaseContext) release;

  bool Complete() const {
    return create && destroy && associate && setOpen && getOpen && get && release;
  }
};

const InputMethodManager& Imm() {
  static const InputMethodManager imm{
      LateBound<decltype(&ImmCreateContext)>(L"imm32.dll", "ImmCreateContext"),
      LateBound<decltype(&ImmDestroyContext)>(L"imm32.dll", "ImmDestroyContext"),
      LateBound<decltype(&ImmAssociateContext)>(L"imm32.dll", "ImmAssociateContext"),
      LateBound<decltype(&ImmSetOpenStatus)>(L"imm32.dll", "ImmSetOpenStatus"),
      LateBound<decltype(&ImmGetOpenStatus)>(L"imm32.dll", "ImmGetOpenStatus"),
      LateBound<decltype(&ImmGetContext)>(L"imm32.dll", "ImmGetContext"),
      LateBound<decltype(&ImmReleaseContext)>(L"imm32.dll", "ImmReleaseContext"),
  };
  return imm;
}

}  // namespace

OwnInputContext::~OwnInputContext() {
  GiveBack();
  if (own_) Imm().destroy(own_);
}

bool OwnInputContext::Close(HWND window) {
  const InputMethodManager& imm = Imm();
  if (!imm.Complete()) return false;
  if (!own_) own_ = imm.create();
  if (!own_) return false;
  if (window_ != window) {
    GiveBack();
    previous_ = imm.associate(window, own_);
    window_ = window;
  }
  // Closed at every call: the user may have opened it while the window was shown last.
  imm.setOpen(own_, FALSE);
  return true;
}

void OwnInputContext::GiveBack() {
  if (!window_) return;
  // The thread's context again, open or closed as the user left it in the other windows.
  Imm().associate(window_, previous_);
  window_ = nullptr;
  previous_ = nullptr;
}

std::optional<bool> InputContextOpen(HWND window) {
  const InputMethodManager& imm = Imm();
  if (!imm.Complete()) return std::nullopt;
  const HIMC context = imm.get(window);
  if (!context) return std::nullopt;
  const bool open = imm.getOpen(context) != FALSE;
  imm.release(window, context);
  return open;
}
