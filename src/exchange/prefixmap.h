#pragma once
// The prefix map file: a text file "<filter id>.PMP" in the import directory
// whose lines "prefix,number" translate between the country prefixes of the
// country list and ADIF DXCC entity numbers.

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace vellum {

class PrefixMap {
public:
    /// Reads the map from the lines of text: before the first comma the prefix
    /// (trailing blanks removed, at most 5 characters), after it the number (at
    /// most 5 characters, blanks removed). Lines without a comma are skipped.
    static PrefixMap Parse(std::string_view text);
    /// Loads "<id>.PMP" from dir (the name matched without regard to case).
    /// Nothing when the file does not exist; throws EFileError when it exists
    /// but cannot be read.
    static std::optional<PrefixMap> Load(const std::string &dir, std::string_view filterId);

    /// The prefix of a DXCC number (leading zeros do not count); nothing when absent.
    std::optional<std::string> PrefixOfNumber(std::string_view number) const;
    /// The DXCC number of a prefix (letter case ignored); nothing when absent.
    std::optional<std::string> NumberOfPrefix(std::string_view prefix) const;
    std::size_t Size() const { return m_size; }

private:
    void add(std::string_view prefix, std::string_view number);
    // Of lines with the same number (or prefix) the first counts.
    std::unordered_map<std::string, std::string> m_prefixOfNumber; ///< by number without leading zeros
    std::unordered_map<std::string, std::string> m_numberOfPrefix; ///< by upper-case prefix
    std::size_t m_size = 0;
};

} // namespace vellum
