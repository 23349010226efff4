// Closing Kelvo while the clipboard window asks whether to read the canned-text file again (the
// tray's exit, WM_CLOSE or the session's end, all arriving inside the question's box) frees the
// window only after the code that asked has finished with it. Under AddressSanitizer a close run
// at the end of the question would show as a use of freed memory.
#include "clip/model/canned_reload_question.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>

#include "base/text_codec.h"
#include "settings/settings_store.h"
#include "support/fake_locale.h"
#include "support/memory_file_system.h"
#include "support/system_code_page.h"

namespace {

const std::u16string kExeDir = u"C:\\Kelvo\\";
const std::u16string kFile = u"C:\\Kelvo\\TEXTDATA.txt";

// What of the clipboard window the question uses; the main window frees it at the close.
struct ClipWindowPart {
  explicit ClipWindowPart(MemoryFileSystem& files)
      : ini(u"C:\\Kelvo\\Kelvo.INI", files, SystemCodePage()),
        page(files, SystemCodePage(), clock, locale) {}
  FakeClock clock;
  FakeLocale locale;
  UsrIniFile ini;
  CannedTextPage page;
};

// The box of the question: while it is open the user saved the file and Kelvo was told to end.
class ClosingBox : public Dialogs {
 public:
  std::function<void()> whileOpen;
  int ShowMessage(const std::u16string&, const std::u16string&, unsigned) override {
    whileOpen();
    return kIdYes;
  }
};

}  // namespace

TEST(CannedReloadQuestionTest, AnExitDuringTheQuestionRunsAfterTheWindowHasFinished) {
  MemoryFileSystem files;
  files.files[kFile] = "before\r\n";
  auto window = std::make_unique<ClipWindowPart>(files);
  ASSERT_FALSE(window->page.LoadSettings(window->ini, kExeDir).message);

  std::deque<std::function<void()>> queue;
  DeferredWork* self = nullptr;
  DeferredWork work([&] { queue.push_back([&] { self->Posted(); }); },
                    [&](const DeferredItem& item) {
                      if (std::holds_alternative<deferred::Close>(item)) window.reset();
                    });
  self = &work;
  ClosingBox box;
  // The main window's close arrives while the box is open.
  box.whileOpen = [&] {
    files.files[kFile] = "after\r\n";
    work.Ask(deferred::Close{});
  };

  const CannedResult result = AskToReloadTextData(window->page, box, work);
  ASSERT_NE(window, nullptr) << "the window was freed under the code that asked";
  EXPECT_TRUE(result.changed);
  EXPECT_EQ(window->page.Items(), std::vector<std::u16string>{u"after"});
  while (!queue.empty()) {
    const std::function<void()> message = std::move(queue.front());
    queue.pop_front();
    message();
  }
  EXPECT_EQ(window, nullptr) << "the exit ran from its posted message";
}
