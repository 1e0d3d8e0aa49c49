#pragma once
// The converter that builds the default country data from cty.dat and the
// project's own small tables (the "*" entities, the US states, the ARRL sections).

#include "countrydata.h"
#include "ctydat.h"

#include <string>
#include <string_view>
#include <vector>

namespace vellum {

/// A "*" entity of cty.dat and the primary prefix of the DXCC entity it lies in.
struct StarEntity {
    std::string starPrefix;   ///< without the "*"
    std::string parentPrefix;
};

struct SectionEntry {
    std::string section;
    std::string state; ///< empty: the section lies in none of the 50 states
};

struct DefaultTables {
    std::vector<StarEntity> starEntities;
    std::vector<StateInfo> states;
    std::vector<SectionEntry> sections;
};

/// Readers of the data files (comment lines begin with "#"). Each throws
/// CtyFormatError naming the file and the line that does not fit.
std::vector<StarEntity> ParseStarEntities(std::string_view text, const std::string &fileName);
std::vector<StateInfo> ParseUsStates(std::string_view text, const std::string &fileName);
std::vector<SectionEntry> ParseArrlSections(std::string_view text, const std::string &fileName);
/// The data/ folder of the source tree, where the data files of the converter live.
std::string CountrySourceDataDir();
/// Reads cty-star-entities.txt, us-states.txt and arrl-sections.txt of dataDir.
/// Throws EFileError when a file cannot be read, CtyFormatError when it does not fit.
DefaultTables LoadDefaultTables(const std::string &dataDir);

/// What the conversion could not carry over, for the user and docs/.
struct ConversionReport {
    std::vector<std::string> longPrefixes; ///< prefixes over 4 characters: "PP0ZF (Fernando de Noronha)"
    std::vector<std::string> longCalls;    ///< exact calls over 12 characters
    std::vector<std::string> duplicates;   ///< prefixes or calls listed twice with another country or zone; the first is kept
    std::vector<std::string> notes;        ///< other things worth saying (cut names, unknown "*" entities)
};

/// The HasStates value the converter gives a country of this cty.dat primary prefix.
std::uint8_t DefaultHasStates(std::string_view primaryPrefix);

/// Builds the country data: one country per DXCC entity (the "*" entities
/// folded into theirs), mappings from the prefixes, exception calls from the
/// exact calls, and the default states and sections. With keep, its states,
/// sections, IOTA, managers, counties and addresses are taken instead, and every
/// country keeps Buro, FldChk, IOTA and map number of keep's country of the same
/// prefix. Throws CtyFormatError when the entities contradict themselves or the
/// "*" table (a primary prefix listed twice, a parent that does not exist).
ConversionReport ConvertCtyDat(const std::vector<CtyEntity> &entities, const DefaultTables &defaults,
                               const TCountryData *keep, TCountryData &out);

} // namespace vellum
