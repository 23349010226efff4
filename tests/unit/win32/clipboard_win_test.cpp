#include "win32/clipboard_win.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <thread>

#include "support/fake_clipboard.h"
#include "win32/unique_handle_win.h"

namespace {

constexpr DWORD kDeadlineMs = 5000;

// A hidden message-only window to own the clipboard, as Kelvo's main window does.
class OwnerWindow {
 public:
  OwnerWindow()
      : hwnd_(CreateWindowExW(0, L"STATIC", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                              nullptr)) {}
  ~OwnerWindow() {
    if (hwnd_) DestroyWindow(hwnd_);
  }
  OwnerWindow(const OwnerWindow&) = delete;
  OwnerWindow& operator=(const OwnerWindow&) = delete;
  HWND get() const { return hwnd_; }

 private:
  HWND hwnd_;
};

// The Win32 clipboard, with its pauses between attempts observed by the test.
class ObservedClipboard : public WinClipboard {
 public:
  using WinClipboard::WinClipboard;
  std::function<void()> onPause;
  int pauses = 0;

 protected:
  void PauseBeforeRetry() override {
    ++pauses;
    if (onPause) onPause();
  }
};

struct RealClipboard {
  OwnerWindow owner;
  ObservedClipboard clipboard{owner.get()};
};

struct FakeClipboardUnderTest {
  FakeClipboard clipboard;
};

// Places data of a format on the clipboard this thread holds open, as another program would.
bool SetGlobalData(UINT format, const void* bytes, std::size_t size) {
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
  if (!memory) return false;
  std::memcpy(GlobalLock(memory), bytes, size);
  GlobalUnlock(memory);
  if (SetClipboardData(format, memory)) return true;
  GlobalFree(memory);
  return false;
}

// What every clipboard, the fake included, must do alike.
template <typename Implementation>
class ClipboardContractTest : public ::testing::Test {
 protected:
  Clipboard& clipboard() { return implementation.clipboard; }
  Implementation implementation;
};

using Implementations = ::testing::Types<RealClipboard, FakeClipboardUnderTest>;
TYPED_TEST_SUITE(ClipboardContractTest, Implementations);

TYPED_TEST(ClipboardContractTest, JapaneseTextMakesTheRoundTrip) {
  const std::u16string text = u"日本語のテキスト\r\n𠮷野家 ｶﾅ ☃";
  ASSERT_TRUE(this->clipboard().WriteText(text, ClipboardPrivacy::kShared));
  EXPECT_EQ(this->clipboard().ReadText(1000), text);
  const SharedClipboardText shared = this->clipboard().ReadSharedText(1000);
  EXPECT_FALSE(shared.isPrivate);
  EXPECT_EQ(shared.text, text);
}

TYPED_TEST(ClipboardContractTest, AnEmptyTextIsStillText) {
  ASSERT_TRUE(this->clipboard().WriteText(u"", ClipboardPrivacy::kShared));
  const std::optional<std::u16string> read = this->clipboard().ReadText(1000);
  ASSERT_TRUE(read.has_value());
  EXPECT_EQ(*read, u"");
}

TYPED_TEST(ClipboardContractTest, ReadingStopsAtTheMaximum) {
  ASSERT_TRUE(this->clipboard().WriteText(u"0123456789", ClipboardPrivacy::kShared));
  EXPECT_EQ(this->clipboard().ReadText(4), u"0123");
  EXPECT_EQ(this->clipboard().ReadText(0), u"");
  ASSERT_TRUE(this->clipboard().WriteText(u"ab𠮷", ClipboardPrivacy::kShared));
  EXPECT_EQ(this->clipboard().ReadText(3), u"ab");  // not half of the pair
}

TYPED_TEST(ClipboardContractTest, APrivateWriteIsRecognisedAsPrivateUntilTheNextWrite) {
  ASSERT_TRUE(this->clipboard().WriteText(u"パスワード", ClipboardPrivacy::kPrivate));
  EXPECT_TRUE(this->clipboard().ReadSharedText(100).isPrivate);
  EXPECT_EQ(this->clipboard().ReadSharedText(100).text, std::nullopt);  // not even read
  EXPECT_EQ(this->clipboard().ReadText(100), u"パスワード");
  ASSERT_TRUE(this->clipboard().WriteText(u"public", ClipboardPrivacy::kShared));
  EXPECT_FALSE(this->clipboard().ReadSharedText(100).isPrivate);
}

class WinClipboardTest : public ::testing::Test {
 protected:
  // Places the contents as another program would, with the raw calls.
  void PlaceRaw(UINT format, const void* bytes, std::size_t size) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    ASSERT_NE(memory, nullptr);
    std::memcpy(GlobalLock(memory), bytes, size);
    GlobalUnlock(memory);
    if (!SetClipboardData(format, memory)) {
      GlobalFree(memory);
      FAIL() << "SetClipboardData " << format;
    }
  }
  void PlaceText(const std::u16string& text) {
    PlaceRaw(CF_UNICODETEXT, text.c_str(), (text.size() + 1) * sizeof(char16_t));
  }
  static UINT Format(const wchar_t* name) { return RegisterClipboardFormatW(name); }

  OwnerWindow owner;
  ObservedClipboard clipboard{owner.get()};
};

// Holds the clipboard on a thread of its own, as another program would, until told to let go.
class ClipboardHolder {
 public:
  ClipboardHolder()
      : letGo_(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
        held_(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
        released_(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
        thread_([this] {
          holding_ = OpenClipboard(nullptr) != FALSE;
          SetEvent(held_.get());
          WaitForSingleObject(letGo_.get(), 2 * kDeadlineMs);
          if (holding_) CloseClipboard();
          SetEvent(released_.get());
        }) {
    WaitForSingleObject(held_.get(), kDeadlineMs);
  }
  ~ClipboardHolder() {
    LetGo();
    thread_.join();
  }
  ClipboardHolder(const ClipboardHolder&) = delete;
  ClipboardHolder& operator=(const ClipboardHolder&) = delete;

  bool Holding() const { return holding_; }
  void LetGo() { SetEvent(letGo_.get()); }
  bool WaitUntilReleased() { return WaitForSingleObject(released_.get(), kDeadlineMs) == 0; }

 private:
  KernelHandle letGo_;
  KernelHandle held_;
  KernelHandle released_;
  bool holding_ = false;
  std::thread thread_;
};

TEST_F(WinClipboardTest, OpensOnceAnotherHolderLetsGo) {
  ClipboardHolder holder;
  ASSERT_TRUE(holder.Holding());
  clipboard.onPause = [&] {
    holder.LetGo();
    ASSERT_TRUE(holder.WaitUntilReleased());
  };
  EXPECT_TRUE(clipboard.WriteText(u"やっと書けた", ClipboardPrivacy::kShared));
  EXPECT_EQ(clipboard.pauses, 1);
  EXPECT_EQ(clipboard.ReadText(100), u"やっと書けた");
}

TEST_F(WinClipboardTest, GivesUpAfterBoundedAttemptsAndReportsTheFailure) {
  ASSERT_TRUE(clipboard.WriteText(u"before", ClipboardPrivacy::kShared));
  {
    ClipboardHolder holder;
    ASSERT_TRUE(holder.Holding());
    EXPECT_FALSE(clipboard.WriteText(u"after", ClipboardPrivacy::kShared));
    EXPECT_EQ(clipboard.pauses, WinClipboard::kOpenAttempts - 1);
    EXPECT_EQ(clipboard.ReadText(100), std::nullopt);
  }
  EXPECT_EQ(clipboard.ReadText(100), u"before");
}

TEST_F(WinClipboardTest, AHistoryTakesKelvosOwnTextWithoutHoldingTheClipboard) {
  // The program Kelvo pastes into holds the clipboard for its paste; the history's read of what
  // Kelvo placed must not hold it at that moment, or the paste finds it taken.
  ASSERT_TRUE(clipboard.WriteText(u"貼り付ける", ClipboardPrivacy::kShared));
  {
    ClipboardHolder target;
    ASSERT_TRUE(target.Holding());
    const SharedClipboardText shared = clipboard.ReadSharedText(3);
    EXPECT_EQ(shared.text, u"貼り付");
    EXPECT_EQ(clipboard.pauses, 0);
  }
  ASSERT_TRUE(clipboard.WriteText(u"秘密", ClipboardPrivacy::kPrivate));
  EXPECT_TRUE(clipboard.ReadSharedText(100).isPrivate);
  // Once another program placed something, the clipboard itself is read.
  ASSERT_TRUE(OpenClipboard(owner.get()));
  EmptyClipboard();
  PlaceText(u"theirs");
  CloseClipboard();
  EXPECT_EQ(clipboard.ReadSharedText(100).text, u"theirs");
}

TEST_F(WinClipboardTest, ReadsNoTextWhenThereIsNone) {
  ASSERT_TRUE(OpenClipboard(owner.get()));
  EmptyClipboard();
  const DWORD value = 7;
  PlaceRaw(Format(L"Kelvo test format"), &value, sizeof value);
  CloseClipboard();
  EXPECT_EQ(clipboard.ReadText(100), std::nullopt);
  EXPECT_FALSE(clipboard.ReadSharedText(100).isPrivate);
}

TEST_F(WinClipboardTest, ATextWithoutTerminatorIsReadWithinItsBlock) {
  ASSERT_TRUE(OpenClipboard(owner.get()));
  EmptyClipboard();
  const char16_t unterminated[] = {u'a', u'b', u'c', u'd'};
  PlaceRaw(CF_UNICODETEXT, unterminated, sizeof unterminated);
  CloseClipboard();
  // The system may write a terminator into the last unit itself (Wine does); either way the
  // read ends within the block.
  const std::optional<std::u16string> read = clipboard.ReadText(100);
  ASSERT_TRUE(read.has_value());
  EXPECT_TRUE(*read == u"abcd" || *read == u"abc") << read->size();
  EXPECT_EQ(clipboard.ReadText(2), u"ab");
}

TEST_F(WinClipboardTest, RecognisesEachMarkOfOtherPrograms) {
  struct Case {
    const wchar_t* format;
    DWORD value;
    bool isPrivate;
  };
  const Case cases[] = {
      {L"ExcludeClipboardContentFromMonitorProcessing", 1, true},
      {L"Clipboard Viewer Ignore", 1, true},
      {L"CanIncludeInClipboardHistory", 0, true},
      {L"CanIncludeInClipboardHistory", 1, false},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(OpenClipboard(owner.get()));
    EmptyClipboard();
    PlaceText(u"secret");
    PlaceRaw(Format(c.format), &c.value, sizeof c.value);
    CloseClipboard();
    EXPECT_EQ(clipboard.ReadSharedText(100).isPrivate, c.isPrivate) << (&c - cases);
    EXPECT_EQ(clipboard.ReadText(100), u"secret");
  }
}

// Another program holds the clipboard while it writes: its text first, its mark a moment later.
// A history that looked at the marks before it could hold the clipboard would see none and then
// read the private text once the writer let go.
TEST_F(WinClipboardTest, MarksAreLookedAtInTheSameHoldAsTheTextIsRead) {
  KernelHandle placed(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  KernelHandle letGo(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  KernelHandle released(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  const UINT mark = Format(L"ExcludeClipboardContentFromMonitorProcessing");
  std::thread writer([&] {
    const OwnerWindow window;  // the writer's own, so that its emptied clipboard takes data
    if (OpenClipboard(window.get())) {
      EmptyClipboard();
      SetGlobalData(CF_UNICODETEXT, u"password", sizeof(u"password"));
      SetEvent(placed.get());
      WaitForSingleObject(letGo.get(), kDeadlineMs);
      const DWORD one = 1;
      SetGlobalData(mark, &one, sizeof one);
      CloseClipboard();
    }
    SetEvent(placed.get());
    SetEvent(released.get());
  });
  WaitForSingleObject(placed.get(), kDeadlineMs);
  clipboard.onPause = [&] {
    SetEvent(letGo.get());
    WaitForSingleObject(released.get(), kDeadlineMs);
  };
  const SharedClipboardText read = clipboard.ReadSharedText(100);
  SetEvent(letGo.get());
  writer.join();
  EXPECT_GT(clipboard.pauses, 0) << "the writer did not hold the clipboard";
  EXPECT_TRUE(read.isPrivate);
  EXPECT_EQ(read.text, std::nullopt);
}

TEST_F(WinClipboardTest, APrivateWriteCarriesEveryMark) {
  ASSERT_TRUE(clipboard.WriteText(u"secret", ClipboardPrivacy::kPrivate));
  EXPECT_TRUE(IsClipboardFormatAvailable(Format(L"ExcludeClipboardContentFromMonitorProcessing")));
  EXPECT_TRUE(IsClipboardFormatAvailable(Format(L"Clipboard Viewer Ignore")));
  const UINT canInclude = Format(L"CanIncludeInClipboardHistory");
  ASSERT_TRUE(OpenClipboard(owner.get()));
  const HANDLE data = GetClipboardData(canInclude);
  DWORD value = 1;
  if (data && GlobalSize(data) >= sizeof value) {
    std::memcpy(&value, GlobalLock(data), sizeof value);
    GlobalUnlock(data);
  }
  CloseClipboard();
  EXPECT_NE(data, nullptr);
  EXPECT_EQ(value, 0u);
}

}  // namespace
