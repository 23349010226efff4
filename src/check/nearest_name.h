#pragma once
#include <string>
#include <string_view>
#include <vector>

// The candidate closest to a misspelt name, letter case aside: a letter too many or too few, a
// wrong letter and two letters swapped each count one step, and a name is offered only when it
// is at most a third of its length away (at least one step). Empty when none is that close.
std::u16string NearestName(std::u16string_view wrong,
                           const std::vector<std::u16string>& candidates);
