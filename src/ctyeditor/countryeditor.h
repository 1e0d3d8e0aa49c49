#pragma once
// The country editor without its window: the current country, its working
// lists of prefix mappings and exception calls, and the commands that change
// the country data. It works on the country data in memory; saving or
// dropping the changes as a whole is the window's business.

#include "country/countrydata.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vellum {

/// A row of the working mappings. Rows of other countries (otherCountry not
/// empty) share the first 4 prefix characters with an own row and are read-only.
struct WorkMapping {
    std::string prefix; ///< stored cut to 4 characters
    std::uint8_t zone = 0;
    std::uint16_t startDate = 0;  ///< 0: none
    std::uint16_t endDate = 0xFFFF; ///< 0xFFFF: none (shown blank)
    std::string otherCountry;
    bool Own() const { return otherCountry.empty(); }
    friend bool operator==(const WorkMapping &, const WorkMapping &) = default;
};

/// A row of the working exception calls.
struct WorkCall {
    std::string call;
    std::uint8_t zone = 0;
    std::uint16_t date = 0; ///< 0: always
    friend bool operator==(const WorkCall &, const WorkCall &) = default;
};

/// The answer to a command: done, or refused with the reason to tell the user.
struct EditResult {
    bool done = true;
    std::string message;
    static EditResult Refused(std::string why) { return {false, std::move(why)}; }
};

namespace CountryEditorText {
inline constexpr const char *NewPrefix = "ZZZZ";
inline constexpr const char *NewName = "New but incomplete!";
inline constexpr const char *WrongPage = "Command not executed!\rSwitching to correct page";
} // namespace CountryEditorText

/// Zones a country, mapping or exception call may carry.
inline constexpr int MaxCqZone = 40, MaxItuZone = 90;

class CountryEditor {
public:
    explicit CountryEditor(TCountryData &data);

    const TCountryData &Data() const { return m_data; }
    std::int32_t Current() const { return m_current; }
    CountryInfo CurrentCountry() const { return m_data.Country(m_current); }
    /// Whether any command changed the country data.
    bool Changed() const { return m_changed; }

    // --- moving ---
    /// Shows a country: loads its working mappings and calls. Indexes are kept
    /// within 1 .. the last country (entry 0 stands for no country).
    void Show(std::int32_t country);
    void First() { Show(1); }
    void Last() { Show(m_data.CountryCount() - 1); }
    void Next() { Show(m_current + 1); }
    void Previous() { Show(m_current - 1); }
    /// The index of the country with this prefix (ignoring case); -1 when none.
    std::int32_t Find(std::string_view prefix) const { return m_data.CountryIndexOfPrefix(prefix); }

    // --- countries ---
    EditResult AddCountry();
    /// Replaces the current country's record by fields (the name cut to 28
    /// characters) at the position of its prefix, renumbering the references
    /// of mappings and exception calls.
    EditResult UpdateCountry(CountryInfo fields);
    /// Removes the current country once no mapping or exception call refers
    /// to it. (A log's QSOs are resolved again when the log is read, so a
    /// country without mappings and calls is one no logged call resolves to.)
    EditResult DeleteCountry();

    // --- working mappings ---
    const std::vector<WorkMapping> &Mappings() const { return m_mappings; }
    /// Adds an empty own row at the end; returns its row.
    int AddMappingRow();
    /// Sets an own row; false for a row of another country or out of range.
    bool SetMapping(int row, WorkMapping mapping);
    /// Removes an own row and the rows of other countries with the same
    /// prefix; false for a row of another country.
    bool DeleteMappingRow(int row);
    /// Replaces every mapping of the country by the own rows with a prefix.
    EditResult UpdateMappings();

    // --- working calls ---
    const std::vector<WorkCall> &Calls() const { return m_calls; }
    int AddCallRow();
    bool SetCall(int row, WorkCall call);
    bool DeleteCallRow(int row);
    /// Replaces every exception call of the country by the rows with a call.
    EditResult UpdateCalls();

private:
    void loadMappings();
    void loadCalls();
    EditResult checkCountryFields(const CountryInfo &fields) const;
    /// Moves every reference to a country as the country table changed: from -> to, and the ones between by one.
    void moveReferences(std::int32_t from, std::int32_t to);
    /// Lowers by one every reference above country.
    void closeGap(std::int32_t country);
    /// Raises by one every reference at or above country.
    void openGap(std::int32_t country);
    void changed();

    TCountryData &m_data;
    std::int32_t m_current = 1;
    std::vector<WorkMapping> m_mappings;
    std::vector<WorkCall> m_calls;
    bool m_changed = false;
};

/// Whether a zone is a CQ zone (1 to 40).
inline bool ValidCqZone(int zone) { return zone >= 1 && zone <= MaxCqZone; }

} // namespace vellum
