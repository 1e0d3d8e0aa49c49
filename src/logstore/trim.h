#pragma once
// Blanks cut from the ends of a text: the one trimming rule of every reader of
// text files and fields (INI files, cty.dat, text imports, ADIF values, ...).

#include <string_view>

namespace vellum {

/// A blank: the space and every control character (bytes 0..32). Bytes of
/// cp1252 and UTF-8 text above 127 are never blanks.
constexpr bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

/// The text without blanks at its start.
constexpr std::string_view TrimLeft(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    return text;
}

/// The text without blanks at its end.
constexpr std::string_view TrimRight(std::string_view text)
{
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

/// The text without blanks at either end.
constexpr std::string_view Trim(std::string_view text) { return TrimRight(TrimLeft(text)); }

} // namespace vellum
