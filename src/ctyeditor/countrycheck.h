#pragma once
// The consistency check of the country data: dates out of order, mappings
// without a country, overlapping mappings of one prefix, and mappings valid
// outside their country's period.

#include "messagelist.h"

namespace vellum {

class TCountryData;

namespace CheckText {
inline constexpr const char *CountryDates = "C-start > C-end";
inline constexpr const char *MappingDates = "M-start > M-end";
inline constexpr const char *NoCountry = "No country for ";
inline constexpr const char *Overlap = "Overlap";
inline constexpr const char *StartsBeforeCountry = "M-start < C-start";
inline constexpr const char *EndsAfterCountry = "M-end > C-end";
inline constexpr const char *End = "End of error listing";
} // namespace CheckText

/// Clears the list and writes one line per problem, then "End of error listing".
/// A line is the message, a blank, the country prefix padded to 8 and the
/// mapping prefix padded to 7 (each cut to 5 first). Returns the number of problems.
std::size_t CheckCountryData(const TCountryData &data, MessageList &messages);

/// text cut to 5 characters and padded with blanks to width.
std::string PaddedPrefix(std::string_view text, std::size_t width);

} // namespace vellum
