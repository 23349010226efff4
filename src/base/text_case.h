#pragma once
#include <string>
#include <string_view>

// Equality of names (settings sections and keys) without regard to letter case. Folds the ASCII
// letters, the Latin-1 letters (À..Þ except ×) and the full-width Latin letters; every other
// character compares exactly. Independent of the user's locale, so a file reads the same
// everywhere.
bool EqualsNoCase(std::u16string_view a, std::u16string_view b);

// The text with those letters folded: two names are EqualsNoCase exactly when their folded texts
// are equal, so the folded text can key a lookup table.
std::u16string FoldedName(std::u16string_view name);
