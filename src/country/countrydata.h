#pragma once
// The country data: the nine tables of the country file, the deleted-WPX list
// and the WPX table, held in memory for the whole run by the program and handed
// to those who need them.

#include "countrytables.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vellum {

/// Continent codes of a country record.
enum class Continent : std::uint8_t {
    Unknown = 1, Africa = 2, Antarctica = 3, Asia = 4, Europe = 5, NorthAmerica = 6, Oceania = 7, SouthAmerica = 8
};
/// The two-letter code of a continent (AF, AN, AS, EU, NA, OC, SA); empty for unknown values.
std::string_view ContinentCode(std::uint8_t continent);
/// The continent of a two-letter code; Unknown when the code is not one of the seven.
Continent ContinentOfCode(std::string_view code);

/// Values of a country's HasStates field.
namespace HasStatesValue {
inline constexpr std::uint8_t Yes = 1, No = 2, Hawaii = 3, Alaska = 4;
}

/// Y/N values of Buro and FldChk.
inline constexpr std::uint8_t FlagYes = 1, FlagNo = 2;

/// A country record taken apart (strings cut to their capacities on encoding).
struct CountryInfo {
    std::string prefix;
    std::uint8_t continent = static_cast<std::uint8_t>(Continent::Unknown);
    std::uint8_t ituZone = 0;
    std::uint8_t cqZone = 0;
    double utcOffset = 0;  ///< hours, ahead of UTC positive
    std::uint16_t mapNumber = 0;
    double longitude = 0;  ///< degrees, East positive
    double latitude = 0;   ///< degrees, North positive
    std::uint16_t startDate = 0;
    std::uint16_t endDate = 0xFFFF;
    std::string iota;
    std::uint8_t buro = FlagYes;
    std::uint8_t fldChk = FlagNo;
    std::uint8_t hasStates = HasStatesValue::No;
    std::string name;

    std::vector<std::uint8_t> Encode() const;
    static CountryInfo Decode(const std::uint8_t *record);
};

/// A state record taken apart.
struct StateInfo {
    std::string abbreviation;
    std::uint8_t cqZone = 0;
    double longitude = 0;
    double latitude = 0;
    std::string name;

    std::vector<std::uint8_t> Encode() const;
    static StateInfo Decode(const std::uint8_t *record);
};

/// A prefix mapping or an exception call taken apart.
struct MappingInfo {
    std::string prefix;
    std::int16_t country = 0;
    std::uint8_t cqZone = 0;
    std::uint16_t startDate = 0;
    std::uint16_t endDate = 0xFFFF;

    std::array<std::uint8_t, MappingField::Size> Encode() const;
    static MappingInfo Decode(const std::uint8_t *record);
};

struct ExceptionInfo {
    std::string call;
    std::int16_t country = 0;
    std::uint8_t cqZone = 0;
    std::uint16_t date = 0;

    std::array<std::uint8_t, ExceptionField::Size> Encode() const;
    static ExceptionInfo Decode(const std::uint8_t *record);
};

/// The award-status block kept for every country.
using AwardStatusBlock = std::array<std::uint8_t, WpxField::AwardStatusSize>;

class TCountryData {
public:
    TCountryData();
    ~TCountryData();
    TCountryData(const TCountryData &) = delete;
    TCountryData &operator=(const TCountryData &) = delete;

    TKeyedTwoIndex Countries;   ///< 1: by Prefix ignoring case; Second by name
    TSuffixIndex Mappings;      ///< 2
    TDefcallIndex Exceptions;   ///< 3
    TKeyedTwoIndex States;      ///< 4: by Abbreviation; Second by name
    TKeyedFixedTable Sections;  ///< 5: by Section ignoring case
    TKeyedTwoIndex Iota;        ///< 6: by reference; Second by name
    TQSLMgrIndex Managers;      ///< 7
    TKeyedTwoIndex Counties;    ///< 8: by county key; Second by name
    TKeyedTailTable Addresses;  ///< 9: by call ignoring case
    TWPXDeleted DeletedWpx;     ///< read from VELLUM.WPX, not part of the country file
    TWPXIndex Wpx;              ///< filled by the award model, not part of the country file

    bool CountryModified = false;
    bool AutosavePending = false;
    /// Called by MarkCountryDataModified so that the main window can show the unsaved state.
    std::function<void()> OnModified;

    // --- countries ---
    std::int32_t CountryCount() const { return Countries.Count(); }
    bool ValidCountry(std::int32_t country) const { return country >= 0 && country < Countries.Count(); }
    /// Fields of country; an index out of range gives the empty value.
    std::string_view CountryPrefix(std::int32_t country) const;
    std::string_view CountryName(std::int32_t country) const;
    std::uint8_t CountryByte(std::int32_t country, std::size_t offset) const;
    CountryInfo Country(std::int32_t country) const;
    /// Position of the country whose Prefix equals prefix ignoring case; -1 when none.
    std::int32_t CountryIndexOfPrefix(std::string_view prefix) const;
    /// The award-status block of a country (created on first use); nullptr for an index out of range.
    AwardStatusBlock *AwardStatusOf(std::int32_t country);

    // --- states and counties ---
    /// Position of the abbreviation in the state table; 0 if empty or absent.
    std::int32_t StateIndex(std::string_view abbreviation) const;
    /// The abbreviation of a state index; empty for 0 or an index out of range.
    std::string_view StateAbbreviation(std::int32_t state) const;
    std::uint8_t StateCqZone(std::int32_t state) const;
    /// The state a QSO of this country may carry: the abbreviation itself (USA),
    /// empty (no states), "HI" or "AK". Empty for a country out of range.
    std::string AllowedState(std::int32_t country, std::string_view abbreviation) const;
    /// The county's name; empty when the state or the county is unknown.
    std::string CountyName(std::int32_t state, std::uint32_t number) const;
    /// The county's number within the state; 0 when no county of that state has the name.
    std::uint16_t CountyNumber(std::string_view stateAbbreviation, std::string_view countyName) const;

    // --- changes ---
    /// Inserts an exception call before any record with the same call and date, then marks the data modified.
    void AddExceptionCall(std::string_view call, std::int16_t country, std::uint8_t cqZone, std::uint16_t date);
    /// Inserts a country record at its key position with a fresh award-status
    /// block; returns its index. References to countries are not renumbered.
    std::int32_t InsertCountry(const CountryInfo &country);
    /// Replaces the record of a country by a new one, inserted at its key
    /// position, keeping its award-status block; returns the new index.
    std::int32_t ReplaceCountry(std::int32_t country, const CountryInfo &replacement);
    /// Removes the record of a country and frees its award-status block.
    void RemoveCountry(std::int32_t country);
    void MarkCountryDataModified();
    bool CountryDataNeedsSaving() const { return CountryModified || AutosavePending; }
    /// Releases every table, the award-status blocks and the WPX table.
    void FreeCountryData();
    /// Creates a fresh award-status block for every country (after loading).
    void CreateAwardBlocks();

private:
    std::unordered_map<const Record *, std::unique_ptr<AwardStatusBlock>> m_awardBlocks;
};

} // namespace vellum
