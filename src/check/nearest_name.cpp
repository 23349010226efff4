#include "check/nearest_name.h"

#include <algorithm>

#include "base/text_case.h"

namespace {

// Steps from a to b: insertions, deletions, replacements and swaps of neighbours.
std::size_t Distance(const std::u16string& a, const std::u16string& b) {
  std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
  for (std::size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
  for (std::size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t cost = a[i - 1] == b[j - 1] ? 0 : 1;
      d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + cost});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
        d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
    }
  }
  return d[a.size()][b.size()];
}

}  // namespace

std::u16string NearestName(std::u16string_view wrong,
                           const std::vector<std::u16string>& candidates) {
  const std::u16string folded = FoldedName(wrong);
  const std::size_t limit = std::max<std::size_t>(1, folded.size() / 3);
  std::u16string best;
  std::size_t bestDistance = limit + 1;
  for (const std::u16string& candidate : candidates) {
    const std::size_t distance = Distance(folded, FoldedName(candidate));
    if (distance > 0 && distance < bestDistance) {
      best = candidate;
      bestDistance = distance;
    }
  }
  return best;
}
