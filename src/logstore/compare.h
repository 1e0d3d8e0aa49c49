#pragma once
// The two comparisons of short strings used by every order of the program.

#include <string_view>

namespace vellum {

/// Byte-wise comparison as unsigned bytes; the shorter string comes first on a tie.
int CompareExact(std::string_view a, std::string_view b);

/// As CompareExact, with a..z taken as A..Z; no other character is folded.
int CompareNoCase(std::string_view a, std::string_view b);

/// Compares two numbers and returns -1, 0 or 1.
template <typename T>
constexpr int CompareNumbers(T a, T b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

} // namespace vellum
