#pragma once
// The rules an import applies to the values of a QSO's fields, shared by the
// ADIF reader and the fixed-column text reader: the presets of a new imported
// QSO, callsign, date, time of day (with synthetic seconds), mode aliases,
// reports, state, county, ARRL section, zone, grid, IOTA and country prefix,
// and the completion of a record after it was read.

#include "importedqso.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vellum {

class TCountryData;
class PrefixMap;
struct TConfigRecord;
struct ImportFilter;

/// A mode from its text: upper-cased, blanks dropped, the first 4 characters
/// looked up among the 32 aliases ("USB" SSB, "PKT" PACK, ..., and the mode
/// names themselves); 0 when none matches.
int ParseModeAlias(std::string_view text);

/// A date of 8 digits YYYYMMDD; nothing when it is not a date of the day
/// numbers (2 March 1900 .. 5 June 2079).
std::optional<std::uint16_t> ParseYmdDate(std::string_view text);

/// A decimal number of MHz (a "," taken as the decimal point) in kHz, rounded;
/// nothing when the text is no such number.
std::optional<std::int64_t> ParseMegahertz(std::string_view text);

/// The time-of-day rule of one import: "HHMM" or "HHMMSS" (and longer texts
/// whose first four characters are HHMM). Texts without their own seconds get
/// synthetic ones, so that QSOs logged in the same minute keep distinct,
/// increasing times: 0 for a new minute, one more than the last such time of
/// the same minute, up to 58.
class TimeOfDayRule {
public:
    /// Seconds after 00:00; nothing when the text is shorter than 4 characters,
    /// not made of digits where they are read, or names an hour above 23 or a
    /// minute (or second) above 59.
    std::optional<std::int32_t> Parse(std::string_view text);

private:
    int m_lastHour = -1;
    int m_lastMinute = -1;
    int m_lastSeconds = 0;
};

/// The field rules of one import over its settings.
class ImportFields {
public:
    ImportFields(const TCountryData &countries, const TConfigRecord &config, const ImportFilter &filter,
                 const PrefixMap *prefixMap, std::uint16_t today);

    /// A new imported QSO with the presets: valid for DXCC (plus the label flag
    /// when DefQSO_Label is 1), the default QSL method, no reports, mode 0 and
    /// no time.
    ImportedQso Prepare() const;

    /// Upper case, "-" and "\" made "/", at most 12 characters. A call that fails
    /// the syntax check (or is longer than 12) is the error Callsign=text; a valid
    /// call ending in "/MM" or "/AM" is not valid for DXCC.
    void SetCallsign(ImportedQso &q, std::string_view text) const;
    /// The time of day by the rule of this import; the error Time=text when invalid.
    void SetTimeOfDay(ImportedQso &q, std::string_view text);
    /// "5NN" is 599, else a report ("" gives 0); the simple error rstS=/rstR= when unreadable.
    void SetReport(ImportedQso &q, bool sent, std::string_view text) const;
    /// A state abbreviation becomes the imported state; the simple error State=text when unknown.
    void SetState(ImportedQso &q, std::string_view text) const;
    /// An ARRL section gives its state as the imported state when none is imported yet.
    void SetSection(ImportedQso &q, std::string_view text) const;
    /// The county of a state: the simple error County=whole for an unknown state,
    /// County=whole(ST) when another state ST was imported, County=name for an
    /// unknown county.
    void SetCounty(ImportedQso &q, std::string_view state, std::string_view name, std::string_view whole) const;
    /// A CQ zone 1..40 (0 for none); the simple error Zone=text otherwise.
    void SetZone(ImportedQso &q, std::string_view text) const;
    /// A locator of 2, 4 or 6 characters (an 8-character locator keeps its first
    /// 6); the simple error Grid=text otherwise.
    void SetGrid(ImportedQso &q, std::string_view text) const;
    /// A reference of the IOTA list after NormalizeImportedIota; the simple error
    /// IOTA=text and no reference otherwise. While the country data holds no IOTA
    /// references at all, every well-formed reference is taken.
    void SetIota(ImportedQso &q, std::string_view text) const;
    /// The country of a prefix or, through the prefix map, of a DXCC number: the
    /// imported country and its text; the error Prefix=text when unknown. Without
    /// a prefix map a number names no prefix and is passed over.
    void SetPrefix(ImportedQso &q, std::string_view text) const;
    /// Appends text followed by "|" to a note buffer (0..2), when text is not empty.
    static void AddNoteField(ImportedQso &q, int note, std::string_view text);

    /// After the record's end: the error entries and defaults of a missing call,
    /// band, mode, date or time, the default group, and the reports' defaults and
    /// range checks.
    void Complete(ImportedQso &q) const;

    const TCountryData &Countries() const { return m_countries; }
    const TConfigRecord &Config() const { return m_config; }
    const ImportFilter &Filter() const { return m_filter; }
    std::uint16_t Today() const { return m_today; }

private:
    void completeReport(ImportedQso &q, std::uint16_t &report, const char *field) const;

    const TCountryData &m_countries;
    const TConfigRecord &m_config;
    const ImportFilter &m_filter;
    const PrefixMap *m_prefixMap;
    std::uint16_t m_today;
    bool m_hasIotaList;
    TimeOfDayRule m_timeRule;
};

} // namespace vellum
