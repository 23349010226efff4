#pragma once
#include <string>
#include <vector>

#include "clip/model/history.h"

using Texts = std::vector<std::u16string>;

// The texts of history entries, in their order.
inline Texts TextsOf(const std::vector<HistoryRec>& items) {
  Texts texts;
  for (const HistoryRec& rec : items) texts.emplace_back(rec.Text());
  return texts;
}
