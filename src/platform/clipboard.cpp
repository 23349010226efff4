#include "platform/clipboard.h"

#include <algorithm>

#include "base/text_codec.h"

std::u16string_view BoundedClipboardText(const char16_t* units, std::size_t available,
                                         std::size_t maxUnits) {
  if (units == nullptr) return {};
  const std::u16string_view block(units, available);
  const std::size_t length = std::min(block.find(u'\0'), block.size());
  if (length <= maxUnits) return block.substr(0, length);
  std::size_t cut = maxUnits;
  // The unit after the cut exists here (length > maxUnits), so a pair split by the cut shows.
  if (cut > 0 && IsHighSurrogate(block[cut - 1])) --cut;
  return block.substr(0, cut);
}
