#include "hotkeys/macro_starter.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "support/system_code_page.h"

namespace {

// An editor that takes as long to run a macro as the test decides (or 10 s at most). It lets a
// macro it still holds go before it goes itself, also when a test stops early.
class SlowEditor : public MacroSender {
 public:
  ~SlowEditor() override {
    Release();
    std::unique_lock lock(mutex);
    changed.wait_for(lock, std::chrono::seconds(10), [&] { return running == 0; });
  }
  void SendMacro(WindowHandle target, const std::string& bytes) override {
    std::unique_lock lock(mutex);
    ++running;
    received.emplace_back(target, bytes);
    changed.notify_all();
    changed.wait_for(lock, std::chrono::seconds(10), [&] { return released; });
    --running;
    changed.notify_all();
  }
  bool WaitForDeliveries(std::size_t n) {
    std::unique_lock lock(mutex);
    return changed.wait_for(lock, std::chrono::seconds(5), [&] { return received.size() >= n; });
  }
  void Release() {
    std::lock_guard lock(mutex);
    released = true;
    changed.notify_all();
  }

  std::mutex mutex;
  std::condition_variable changed;
  std::vector<std::pair<WindowHandle, std::string>> received;
  bool released = false;
  int running = 0;
};

bool WaitUntilIdle(const TZrMacStarter& starter) {
  for (int i = 0; i < 500 && starter.Pending(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return !starter.Pending();
}

}  // namespace

TEST(MacroStarter, DeliversTheAnsiBytesWithAZeroToTheRequestedWindow) {
  SlowEditor editor;
  editor.Release();
  TZrMacStarter starter(editor, SystemCodePage());
  ASSERT_TRUE(starter.Request(42, u"整形"));
  ASSERT_TRUE(editor.WaitForDeliveries(1));
  ASSERT_TRUE(WaitUntilIdle(starter));
  EXPECT_EQ(editor.received[0].first, 42u);
  // 整形 in Shift_JIS, then the terminating zero.
  EXPECT_EQ(editor.received[0].second, std::string("\x90\xae\x8c\x60", 4) + '\0');
  // A character outside the code page is replaced; the size counts the converted bytes.
  ASSERT_TRUE(starter.Request(43, u"a😀"));
  ASSERT_TRUE(editor.WaitForDeliveries(2));
  EXPECT_EQ(editor.received[1].first, 43u);  // each text goes with its own request's window
  EXPECT_EQ(editor.received[1].second.back(), '\0');
  EXPECT_EQ(editor.received[1].second.front(), 'a');
}

TEST(MacroStarter, ARequestWhileOneIsBeingDeliveredIsRefusedAndNeverDeliveredLater) {
  SlowEditor editor;
  {
    TZrMacStarter starter(editor, SystemCodePage());
    ASSERT_TRUE(starter.Request(1, u"first"));
    ASSERT_TRUE(editor.WaitForDeliveries(1));
    EXPECT_FALSE(starter.Request(2, u"second"));
    editor.Release();
    ASSERT_TRUE(WaitUntilIdle(starter));
    // One worker delivers in order: a kept second request would arrive before the third.
    EXPECT_TRUE(starter.Request(3, u"third"));
    ASSERT_TRUE(editor.WaitForDeliveries(2));
    ASSERT_TRUE(WaitUntilIdle(starter));
    std::lock_guard lock(editor.mutex);
    EXPECT_EQ(editor.received[1].first, 3u);
  }
}

TEST(MacroStarter, EndsPromptlyWhenIdle) {
  SlowEditor editor;
  const auto start = std::chrono::steady_clock::now();
  { TZrMacStarter starter(editor, SystemCodePage()); }
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(150));
}
