#pragma once
// Conversion between the Windows ANSI code page (cp1252), in which files and
// the core hold text, and UTF-8.

#include <string>
#include <string_view>

namespace vellum {

/// cp1252 bytes to UTF-8; the five undefined bytes map to U+FFFD.
std::string Cp1252ToUtf8(std::string_view text);
/// UTF-8 to cp1252; characters cp1252 lacks (and broken UTF-8) become "?".
/// replaced, when given, counts the characters that became "?".
std::string Utf8ToCp1252(std::string_view text, int *replaced = nullptr);

} // namespace vellum
