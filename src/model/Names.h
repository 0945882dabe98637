#pragma once

#include <string>
#include <string_view>

namespace kavo {

// Ordinal comparison of names after folding a-z to A-Z and nothing else; a prefix sorts first.
// Returns a negative value, 0 or a positive value. Names that compare equal are the same name.
int CompareNames(std::string_view a, std::string_view b);

inline bool SameName(std::string_view a, std::string_view b) {
    return CompareNames(a, b) == 0;
}

// The text without leading and trailing white space.
std::string Trim(std::string_view text);

// The name up to the first " [": an action or attribute without its actor's short name.
std::string BareName(std::string_view name);

// A factor's name as windows show it: "_" stands for a blank (the case document writes it as a
// non-breaking one).
std::string ShownName(std::string_view name);

}  // namespace kavo
