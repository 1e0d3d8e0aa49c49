#pragma once
// A small country data set built in code for the tests. Calls are made up:
// QQ is the home country, XX a country prefix, QV3 a prefix with a mapping that
// is not a country prefix.

#include "country/countrydata.h"

#include <cstdint>
#include <string>

namespace vellum::test {

/// Day numbers used by the dated entries.
inline constexpr std::uint16_t ChangeDay = 30000;  ///< QD moves from OLD to QQ; QQ9EX changes entry
inline constexpr std::uint16_t OldEndDay = 31000;  ///< the country OLD ends
inline constexpr std::uint16_t QeEndDay = 32000;   ///< the mapping QE ends without a successor

/// Fills data with the test tables (countries, mappings, exception calls,
/// states, sections, IOTA, managers, counties, addresses).
void BuildTestCountryData(TCountryData &data);

/// Adds a county to the county table: key = state abbreviation and number ("NY047").
void AddTestCounty(TCountryData &data, const std::string &key, const std::string &name);

/// Index of a country of the test data by its prefix.
std::int16_t CountryOf(const TCountryData &data, const std::string &prefix);

} // namespace vellum::test
