#pragma once
// An imported QSO while it is read, resolved and stored: the new record, three
// note buffers, what the file said about state, zone and country, and the
// error text; the counters of a whole import and its closing summary.

#include "logstore/qsorec.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vellum {

/// The kinds of entries of an imported QSO's error text.
enum class EntryKind : std::uint8_t {
    Error,             ///< always recorded; counted as an error
    Simple,            ///< counted as a simple error; recorded only with "Simple errors"
    CountryDifference, ///< "OtherPFX=": counted as a country exception; recorded with "Prefix differences"
    ZoneDifference,    ///< "OtherZone=": counted as a zone exception; recorded with "Zone differences"
};

/// Which entries beside the errors go into the error text (the setup options
/// Imp_syntax, imp_prefix and imp_zone).
struct EntryRecording {
    bool simple = false;
    bool prefix = false;
    bool zone = false;
};

/// The entries found while one QSO is imported, each "name=value".
class ImportErrors {
public:
    struct Entry {
        EntryKind kind;
        std::string text;
    };

    /// Adds name + "=" + value unless the same entry is there already (an entry
    /// is counted once). Returns whether it was added.
    bool Add(EntryKind kind, std::string_view name, std::string_view value);
    const std::vector<Entry> &Entries() const { return m_entries; }
    std::int64_t Count(EntryKind kind) const;
    /// The recorded entries, each followed by ", " (the error text as it grows).
    std::string List(const EntryRecording &recording) const;

private:
    std::vector<Entry> m_entries;
};

/// A report not given in the file (the record's reports are unsigned).
inline constexpr std::uint16_t NoReport = 0xFFFF;
/// The most characters a note holds.
inline constexpr std::size_t NoteCapacity = 255;

struct ImportedQso {
    TQsoRec qso;
    std::array<std::string, 3> notes; ///< note 1, note 2, note 3; each up to 255 characters
    std::uint8_t importedState = 0;   ///< state index the file gave, 0 = none
    std::uint8_t importedZone = 0;    ///< CQ zone the file gave, 0 = none
    std::int16_t importedCountry = 0; ///< country index the file gave, 0 = none
    std::string importedCountryText;  ///< the text the country came from
    ImportErrors errors;
    /// Whether the reader met any field the import uses (records without one are no QSOs).
    bool hasFields = false;
};

/// Appends text to note buffer `note` (0..2). A buffer that would grow beyond
/// 255 characters is cut there and the error "Note1="/"Note2="/"Note3=" with
/// "more than 255 characters" is recorded.
void AppendNote(ImportedQso &imported, int note, std::string_view text);

/// The counters of one import.
struct ImportCounters {
    std::int64_t read = 0;
    std::int64_t simpleErrors = 0;
    std::int64_t zoneExceptions = 0;
    std::int64_t countryExceptions = 0;
    std::int64_t duplicates = 0;
    std::int64_t exceptionRecords = 0;
    std::int64_t errors = 0;

    /// Counts the entries of one QSO by their kinds.
    void Add(const ImportErrors &errors);
};

/// What stopped an import on a duplicate (policy "Issue warning and stop").
struct DuplicateAbort {
    std::string call;
    std::string date; ///< as the user reads dates
};

/// The summary box: "Import Finished" (or the duplicate abort with its call and
/// date), the count lines, and "No errors found" or the error count with
/// "Look for Error in Notefield". Lines end with "\r".
std::string ImportSummaryText(const ImportCounters &counters, const DuplicateAbort *abort);

} // namespace vellum
