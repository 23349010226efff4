#include "base/text_search.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

bool SameUnits(const char16_t* a, const char16_t* b, std::size_t count) {
  return std::memcmp(a, b, count * sizeof(char16_t)) == 0;
}

}  // namespace

std::size_t FindText(std::u16string_view text, std::u16string_view needle) {
  const std::size_t n = needle.size();
  if (n == 0) return 0;
  if (text.size() < n) return std::u16string_view::npos;
  const char16_t* s = text.data();
  const std::size_t lastStart = text.size() - n;
  std::size_t i = 0;
#if defined(__SSE2__)
  // Eight candidate starts at a time: a start is looked at only where both the needle's first
  // unit and its last unit are in place. Both loads stay inside the text: the second reads up to
  // unit i + n + 6, and i + 7 <= lastStart.
  const __m128i first = _mm_set1_epi16(static_cast<short>(needle[0]));
  const __m128i last = _mm_set1_epi16(static_cast<short>(needle[n - 1]));
  for (; i + 7 <= lastStart; i += 8) {
    const __m128i heads = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
    const __m128i tails = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i + n - 1));
    auto mask = static_cast<unsigned>(_mm_movemask_epi8(
        _mm_and_si128(_mm_cmpeq_epi16(heads, first), _mm_cmpeq_epi16(tails, last))));
    while (mask != 0) {
      const auto bit = static_cast<unsigned>(__builtin_ctz(mask));  // two bits per unit
      const std::size_t at = i + bit / 2;
      if (SameUnits(s + at, needle.data(), n)) return at;
      mask &= ~(3u << bit);
    }
  }
#endif
  for (; i <= lastStart; ++i) {
    if (s[i] == needle[0] && SameUnits(s + i, needle.data(), n)) return i;
  }
  return std::u16string_view::npos;
}
