// Canned texts and launcher items with their escapes and date/time macros, expanded with a fixed
// clock. The input is the text. Properties:
// - expansion ends, and the result is at most a small multiple of the text: every replacement
//   uses up one backslash (no expansion holds one) and adds at most a day name;
// - a text without a backslash comes back unchanged.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "support/fake_locale.h"
#include "util/text_macros.h"

namespace {

// "Wednesday" and "September" are the longest expansions; a macro is at least two units.
constexpr std::size_t kLongestExpansion = 9;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::u16string text = FuzzText(data, size);
  FakeClock clock;
  // The clock's fields vary with the input, out-of-range values included.
  if (size >= 4) {
    clock.now.month = data[0] % 15;
    clock.now.weekday = data[1] % 9;
    clock.now.hour = data[2] % 25;
    clock.now.year = 1990 + data[3];
  }
  FakeLocale locale;
  const std::u16string expanded = ExpandMacros(text, clock, locale);

  std::size_t backslashes = 0;
  for (char16_t c : text) backslashes += c == u'\\' ? 1 : 0;
  FUZZ_CHECK(expanded.size() <= text.size() + backslashes * kLongestExpansion,
             std::to_string(text.size()) + " units became " + std::to_string(expanded.size()));
  if (backslashes == 0) FUZZ_CHECK(expanded == text, Shown(text));
  return 0;
}
