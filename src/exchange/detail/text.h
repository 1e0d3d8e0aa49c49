#pragma once
// Small character helpers of the import: ASCII tests.

#include <string_view>

namespace vellum::text {

inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }
inline bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
/// The letters a..z raised; every other character as it is.
inline char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

} // namespace vellum::text
