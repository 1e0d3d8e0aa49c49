#pragma once
// Test helpers: configuration images built byte by byte from the documented
// layout (independently of the record type), and that layout as a table with
// each setting's default and a second, foreign value.

#include <cstddef>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace vellum::test {

enum class Kind { U8, Flag, U16, I32, F64, Str };

/// A setting value as the tests compare it: whole numbers (flags 0/1), reals, text.
using Value = std::variant<std::int64_t, double, std::string>;

/// One leaf setting of the documented layout.
struct LayoutField {
    std::string path;   ///< "Speed", "WindowPos[3].Width", "Personal_CWcutoff[1]"
    std::size_t offset; ///< in the record and the file
    Kind kind;
    std::size_t capacity; ///< characters, for Str
    Value builtIn;        ///< default of the built-in image
    Value foreign;        ///< another valid value, for files written elsewhere

    std::size_t width() const;
};

/// Every leaf setting of the record with its documented offset, type, default
/// and a foreign value. Settings whose inner layout is this program's own choice
/// (contest details, lookup window flags, scanner memory) are included with it.
const std::vector<LayoutField> &DocumentedLayout();

/// 8672 bytes, filled with fill, with the values of the layout written at their
/// offsets: builtIn (useForeign false) or foreign values. Strings are a length
/// byte and their characters; the rest of a string field keeps the fill.
std::vector<std::uint8_t> BuildImage(bool useForeign, std::uint8_t fill);

/// Writes one value of the given kind at offset into image.
void PutValue(std::vector<std::uint8_t> &image, std::size_t offset, Kind kind, const Value &value);

} // namespace vellum::test
