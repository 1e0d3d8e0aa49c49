#pragma once
// Custom awards: awards the user defines in the text file SAVE/VELLUM.AWD. Each
// has a short identifier, a name, the countries, bands and mode groups it
// applies to, a picture for the values a QSO carries for it, and optionally a
// list of allowed values with long names. A QSO counts for at most one custom
// award: its CustAwd holds the identifier, its CustValue the value.

#include "logstore/qsoorders.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vellum {

class TCountryData;
struct TQsoRec;

inline constexpr std::size_t CustAwardIdentCapacity = 4;
inline constexpr std::size_t CustAwardNameCapacity = 20;
inline constexpr std::size_t CustAwardValueCapacity = 8;
inline constexpr std::string_view DefaultCustAwardPicture = "XXXXXXXX";

/// An entry of an award's value list.
struct TCustAwardValue {
    std::string key;      ///< up to 8 characters, upper case: what a QSO carries
    std::string longName; ///< what it stands for
};

/// What a value check of the QSO window finds.
enum class AwardValueCheck { Ok, Empty, NotInList, DoesNotFitPicture };

class TCustAward {
public:
    /// A new award: identifier cut to 4 characters, named after it (cut to 20),
    /// every mode group and band on, picture "XXXXXXXX", every country, no values.
    explicit TCustAward(std::string_view ident);

    std::string Ident;
    std::string Name;
    /// Each country prefix enclosed by commas (",DL,,OE,HB9,"); empty = every country.
    std::string Countries;
    std::array<bool, 4> ModeGroups{};  ///< by mode group 1..3 (phone, CW, digital); [0] unused
    std::array<bool, 16> Bands{};      ///< by band 1..15; [0] unused
    std::string Picture{DefaultCustAwardPicture}; ///< "9" digit, "!" upper case, "X" any character

    /// Appends "," + the prefixes (blanks around them removed) + "," to the country list.
    void AddCountries(std::string_view prefixes);
    /// "1", "Y" or "y" switches a mode group (phone, CW, digital) on, any other
    /// character off; groups beyond the text keep their setting.
    void SetModes(std::string_view switches);
    /// As SetModes for the bands 1 to 15.
    void SetBands(std::string_view switches);

    /// True when the country list is empty or holds the prefix (ignoring case);
    /// false for an empty prefix when the list is not empty.
    bool AppliesToCountry(std::string_view prefix) const;
    /// Whether the award is on for a band (1..15) or a mode group (1..3); false out of range.
    bool AppliesToBand(int band) const;
    bool AppliesToModeGroup(int group) const;

    enum class AddValueResult { Added, DuplicateKey, DuplicateValue };
    /// Adds an entry to the value list (the key upper-cased and cut to 8);
    /// nothing is added when the key or the long name is listed already.
    AddValueResult AddValue(std::string_view key, std::string_view longName);
    bool HasValueList() const { return !m_values.empty(); }
    /// The value list ordered by key, and ordered by long name.
    const std::vector<TCustAwardValue> &Values() const { return m_values; }
    const std::vector<TCustAwardValue> &ValuesByName() const { return m_byName; }
    /// The entry whose key is value (ignoring case); null when none is.
    const TCustAwardValue *ValueOfKey(std::string_view value) const;
    /// The entry with this long name (ignoring case); null when none is.
    const TCustAwardValue *ValueOfName(std::string_view longName) const;

    /// Checks a value a QSO is to carry: an award with a value list wants one of
    /// its keys; one without wants a value that fits the picture.
    AwardValueCheck CheckValue(std::string_view value) const;
    /// The value as the picture enters it: cut to the picture's length, with
    /// the characters at "!" positions in upper case.
    std::string FormatValue(std::string_view value) const;

private:
    std::vector<TCustAwardValue> m_values;
    std::vector<TCustAwardValue> m_byName;
};

/// The custom awards, ordered by identifier ignoring case; each identifier once.
/// It also gives the long names that the "Cust Awd" browse order sorts by
/// (hand it to SetCustomAwardNames).
class TCustAwardList : public CustomAwardNames {
public:
    std::int32_t Count() const { return static_cast<std::int32_t>(m_awards.size()); }
    const TCustAward &At(std::int32_t position) const { return m_awards[static_cast<std::size_t>(position)]; }
    void Clear() { m_awards.clear(); }

    /// Adds the award at its place; false (nothing added) when its identifier is listed already.
    bool Add(TCustAward award);
    /// The award's position, or -1 when no award has the identifier (ignoring case).
    std::int32_t IndexOf(std::string_view ident) const;

    /// The award's name; empty for an empty or unknown identifier.
    std::string LongAwdName(std::string_view ident) const override;
    /// For an award with a value list the long name of the entry whose key is
    /// value (empty when none is); for one without, the value itself; empty for
    /// an empty or unknown identifier.
    std::string LongAwdVal(std::string_view ident, std::string_view value) const override;

    /// Positions of the awards in the alphabetical order of their names.
    std::vector<std::int32_t> ByName() const;
    /// Positions (alphabetical by name) of the awards that fit a QSO of a
    /// country with this prefix, on this band and in this mode.
    std::vector<std::int32_t> AwardsFor(std::string_view countryPrefix, int band, int mode) const;
    /// AwardsFor the QSO's country (its prefix in the country data), band and mode.
    std::vector<std::int32_t> AwardsFor(const TQsoRec &rec, const TCountryData &countries) const;

private:
    std::vector<TCustAward> m_awards;
};

} // namespace vellum
