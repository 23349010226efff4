// Window-title patterns (a regular expression between slashes in a …TitleM key) against titles of
// up to 2,046 UTF-16 units. The input is the pattern, a NUL, and a title. Properties:
// - every title test returns within a fixed time, whatever the pattern: on the given title, on
//   that title repeated to the longest length, and in a walk over windows with such titles
//   (over 50 ms under the sanitizers is a finding; a slow run is measured once more, on the
//   steady clock and in processor time, so that a busy machine alone does not count);
// - a short literal pattern (\Q…\E) matches exactly the titles that contain it.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <time.h>

#include "fuzz_support.h"
#include "hotkeys/window_matching.h"
#include "support/fake_dialogs.h"
#include "support/fake_locale.h"
#include "support/fake_window_system.h"
#include "util/title_pattern.h"

namespace {

constexpr std::size_t kLongestTitle = 2046;
constexpr auto kBound = std::chrono::milliseconds(50);
constexpr std::size_t kLongestLiteral = 8;

// The processor time this thread has used; unlike the clock on the wall it does not run on
// while a busy machine gives the processor to others.
std::chrono::nanoseconds ThreadTime() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
}

long long Milliseconds(std::chrono::nanoseconds duration) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(duration).count();
}

// Runs the test on a steady clock. When it takes longer than the bound, it runs again and counts
// as a finding only if it takes that long once more on the clock and in processor time.
void WithinBound(const std::function<void()>& test, std::chrono::milliseconds bound,
                 const std::string& what) {
  const auto start = std::chrono::steady_clock::now();
  test();
  if (std::chrono::steady_clock::now() - start <= bound) return;
  const auto again = std::chrono::steady_clock::now();
  const auto processorStart = ThreadTime();
  test();
  const auto took = std::chrono::steady_clock::now() - again;
  const auto processor = ThreadTime() - processorStart;
  FUZZ_CHECK(took <= bound || processor <= bound,
             what + " took " + std::to_string(Milliseconds(took)) + " ms (" +
                 std::to_string(Milliseconds(processor)) + " ms of processor time)");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::u16string input = FuzzText(data, size);
  const std::size_t nul = input.find(u'\0');
  const std::u16string pattern = input.substr(0, nul);
  std::u16string title = nul == std::u16string::npos ? u"" : input.substr(nul + 1);
  if (title.size() > kLongestTitle) title.resize(kLongestTitle);
  std::u16string longest = title.empty() ? std::u16string(kLongestTitle, u'a') : title;
  while (longest.size() < kLongestTitle) longest += longest;
  longest.resize(kLongestTitle);

  const auto compiled = TitlePattern::Compile(pattern);
  if (compiled) {
    for (const std::u16string* text : {&title, &longest}) {
      WithinBound([&] { compiled->Matches(*text); }, kBound,
                  "/" + Shown(pattern) + "/ on " + std::to_string(text->size()) + " units " +
                      Shown(text->substr(0, 40)));
    }
  }

  // A walk over windows, as a hotkey makes it.
  FakeWindowSystem windows;
  windows.Add(1, title, u"A");
  windows.Add(2, longest, u"B");
  windows.Add(3, std::u16string(kLongestTitle, u'a'), u"C");
  FakeLocale locale;
  FakeDialogs dialogs;
  const WindowTests tests{u"", u"", u"", u"/" + pattern + u"/"};
  std::vector<WindowHandle> found;
  WithinBound([&] { FindWindows(tests, found, windows, locale, dialogs); }, 3 * kBound,
              "a walk with /" + Shown(pattern) + "/");
  FUZZ_CHECK(dialogs.messages.size() == (compiled ? 0u : 1u),
             "error shown for /" + Shown(pattern) + "/");

  // A short literal matches where the title holds it.
  if (!pattern.empty() && pattern.size() <= kLongestLiteral &&
      pattern.find(u"\\E") == std::u16string::npos && pattern.back() != u'\\' &&
      !HasLoneSurrogate(pattern)) {
    const auto literal = TitlePattern::Compile(u"\\Q" + pattern + u"\\E");
    FUZZ_CHECK(literal.has_value(), "literal " + Shown(pattern));
    for (const std::u16string* text : {&title, &longest}) {
      const bool contains = text->find(pattern) != std::u16string::npos;
      FUZZ_CHECK(literal->Matches(*text) == contains,
                 "literal " + Shown(pattern) + (contains ? " not found in " : " found in ") +
                     Shown(text->substr(0, 80)));
    }
  }
  return 0;
}
