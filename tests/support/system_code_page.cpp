#include "support/system_code_page.h"

#ifdef _WIN32
#include "win32/code_page_win.h"
using SystemCodePageType = WinCodePage;
#else
#include "posix/code_page_posix.h"
using SystemCodePageType = PosixCodePage;
#endif

const CodePage& SystemCodePage() {
  static const SystemCodePageType codePage;
  return codePage;
}
