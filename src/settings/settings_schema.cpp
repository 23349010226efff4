#include "settings/settings_schema.h"

#include "base/text_case.h"

namespace {

// The number at the end of a name and the name before it; nothing when the name does not end in
// decimal digits or the number has a leading zero (Kelvo never writes HotKey01).
std::optional<std::pair<std::u16string_view, int>> SplitNumber(std::u16string_view name) {
  std::size_t digits = name.size();
  while (digits > 0 && name[digits - 1] >= u'0' && name[digits - 1] <= u'9') --digits;
  const std::u16string_view number = name.substr(digits);
  if (number.empty() || number.size() > 6 || number.front() == u'0') return std::nullopt;
  int value = 0;
  for (char16_t c : number) value = value * 10 + (c - u'0');
  return std::make_pair(name.substr(0, digits), value);
}

bool EndsWithMark(std::u16string_view name) { return !name.empty() && name.back() == u'#'; }

std::u16string_view WithoutMark(std::u16string_view name) {
  return EndsWithMark(name) ? name.substr(0, name.size() - 1) : name;
}

}  // namespace

std::optional<KnownSection> FindKnownSection(std::u16string_view name) {
  if (const auto split = SplitNumber(name)) {
    for (const NumberedSection& numbered : kNumberedSections) {
      if (EqualsNoCase(split->first, numbered.word)) {
        if (split->second > numbered.lastNumber) return std::nullopt;
        for (const SettingKey& row : kSettingKeys) {
          if (EndsWithMark(row.section) && WithoutMark(row.section) == numbered.word)
            return KnownSection{row.section, split->second};
        }
      }
    }
  }
  for (const SettingKey& row : kSettingKeys) {
    if (!EndsWithMark(row.section) && EqualsNoCase(row.section, name))
      return KnownSection{row.section, 0};
  }
  return std::nullopt;
}

const SettingKey* FindSettingKey(const KnownSection& section, std::u16string_view key) {
  const auto split = SplitNumber(key);
  for (const SettingKey& row : kSettingKeys) {
    if (row.section != section.name) continue;
    if (row.key == u"#") return &row;  // any key
    if (!EndsWithMark(row.key)) {
      if (EqualsNoCase(row.key, key)) return &row;
    } else if (split && EqualsNoCase(WithoutMark(row.key), split->first) &&
               (row.lastNumber == 0 || split->second <= row.lastNumber)) {
      return &row;
    }
  }
  return nullptr;
}

std::optional<std::size_t> FindChoice(std::u16string_view choices, std::u16string_view value) {
  while (!value.empty() && value.front() == u' ') value.remove_prefix(1);
  while (!value.empty() && value.back() == u' ') value.remove_suffix(1);
  std::size_t index = 0;
  while (!choices.empty()) {
    const std::size_t blank = choices.find(u' ');
    const std::u16string_view word = choices.substr(0, blank);
    if (!word.empty() && EqualsNoCase(word, value)) return index;
    if (blank == std::u16string_view::npos) break;
    choices.remove_prefix(blank + 1);
    ++index;
  }
  return std::nullopt;
}
