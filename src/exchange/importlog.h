#pragma once
// The import pipeline every import runs (ADIF, and the fixed-column text
// formats of the filters): the duplicate policy, the resolution of each
// imported QSO against the country data with its prefix and zone question, the
// error notes, the storing of the QSO and the closing summary.

#include "importedqso.h"
#include "importfields.h"
#include "prefixmap.h"

#include "detail/callnotes.h"

#include <array>
#include <functional>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vellum {

class TQsoData;
class TCountryData;
class CountryResolver;
class CustomAwardLookup;
struct TConfigRecord;
struct ImportFilter;

/// What an import does with a QSO the log holds already.
enum class DuplicatePolicy : int {
    Stop = 0,    ///< "Issue warning and stop"
    Replace = 1, ///< "Imported QSO replaces existing QSO (SLOW)"
    Ignore = 2,  ///< "Imported QSO is ignored"
    NoCheck = 3, ///< the log was empty: no duplicate check
    Aborted = 4, ///< the import stopped on a duplicate
};

/// The choices of "Confirm Prefix/Zone change", with the dialog's results.
enum class PrefixZoneChoice : int {
    Cancel = 0, ///< "Cancel": the QSO is dropped and the import ends
    Vellum = 1, ///< "VELLUM": the program's own country and zone stay
    Import = 2, ///< "Import": the file's country and zone are taken and learned as an exception call
};

/// What "Confirm Prefix/Zone change" shows: the QSO, and prefix and zone in two
/// columns, the program's own ("VELLUM") and the file's ("Import").
struct PrefixZoneQuestion {
    std::string call;
    std::uint16_t date = 0;   ///< day number
    std::string dateText;     ///< the date as the user reads dates
    std::string ownPrefix;    ///< empty when the call resolves to no country
    std::uint8_t ownZone = 0;
    std::string importedPrefix;
    std::uint8_t importedZone = 0;
};

/// The questions an import asks (the windows "Options for duplicate QSOs" and
/// "Confirm Prefix/Zone change"); tests and vellum-cli answer them from a script.
class ImportQuestions {
public:
    virtual ~ImportQuestions() = default;
    /// "Options for duplicate QSOs", asked once before reading when the log holds
    /// QSOs: Stop, Replace or Ignore ("Issue warning and stop" preselected);
    /// nothing for Cancel, which ends the import before anything is read.
    virtual std::optional<DuplicatePolicy> AskDuplicatePolicy() = 0;
    /// "Confirm Prefix/Zone change", asked (when the setting imp_action is 0)
    /// for a QSO whose country or zone in the file differs from the program's.
    virtual PrefixZoneChoice ConfirmPrefixZone(const PrefixZoneQuestion &question) = 0;
};

/// Which reader an import uses.
enum class RecordFormat { Adif, Filter };

/// What an import works on. The notifier and progress window are the log's services.
struct ImportContext {
    TQsoData &log;
    TCountryData &countries; ///< exception calls learned from imports are added here
    const CountryResolver &resolver;
    const TConfigRecord &config;
    ImportQuestions &questions;
    std::string importDir = {}; ///< where the prefix map file is looked for; empty: ImportDir()
    std::uint16_t today = 0;    ///< the day number of today; 0: today's UTC date
    /// An import nobody watches (QSOs logged by another program): no summary box, and
    /// a record that cannot be read, or bytes that are no ADIF, are passed over unasked.
    bool quiet = false;
    /// Told of each QSO stored in the log.
    std::function<void(const TQsoRec &)> stored = {};
    /// The custom awards "Awd group" and "Awd value" of a filter import are checked against; none: no award exists.
    const CustomAwardLookup *customAwards = nullptr;
};

enum class ImportOutcome {
    Finished,           ///< the whole file was read
    AbortedOnDuplicate, ///< policy "Issue warning and stop" met a duplicate
    Cancelled,          ///< the user ended it (prefix/zone question or a read error)
    NotStarted,         ///< the duplicate question was cancelled: nothing read, nothing changed
    Failed,             ///< the file could not be read as an import file: nothing changed
};

struct ImportResult {
    ImportOutcome outcome = ImportOutcome::Failed;
    ImportCounters counters;
    std::string summary; ///< the text of the summary box; empty when none was shown
};

/// One running import: the field rules, the counters and the call notes, and
/// the two steps after reading a QSO.
class ImportSession {
public:
    /// Loads the prefix map of the filter, when it has one. Throws EFileError
    /// when the prefix map file exists but cannot be read.
    ImportSession(ImportContext &context, const ImportFilter &filter, RecordFormat format);

    ImportFields &Fields() { return m_fields; }
    ImportCounters &Counters() { return m_counters; }
    /// A new imported QSO with the presets.
    ImportedQso Prepare() const { return m_fields.Prepare(); }

    /// Resolves the QSO's call on its date and settles differences between the
    /// file's country and zone and the program's (setting imp_action, or the
    /// question). Returns false when the user cancels; the QSO is then dropped.
    bool ResolveImportedQso(ImportedQso &q);
    /// Builds the QSO's note and the call's note from the note buffers and the
    /// error text, and stores the QSO: into the log, or in place of `replacing`
    /// (a QSO of the log with the same date, time, call, band and mode).
    /// Returns the stored record.
    TQsoRec *StoreImportedQso(ImportedQso &q, TQsoRec *replacing = nullptr);
    /// Writes the changed call notes to the log (also done at destruction).
    void FlushNotes() { m_callNotes.Flush(); }

private:
    void differences(ImportedQso &q, int action, bool countryDiffers, bool zoneDiffers);
    std::string composeQsoNote(ImportedQso &q, const std::string &note) const;

    ImportContext &m_context;
    std::optional<PrefixMap> m_prefixMap;
    ImportFields m_fields;
    ImportCounters m_counters;
    CallNoteBatch m_callNotes;
    std::array<bool, 3> m_noteToQso{};
    EntryRecording m_recording;
};

/// Runs a whole import of a file into the log: the duplicate question (when the
/// log holds QSOs), the reading with a progress bar ("Reading " + file name),
/// the duplicate handling, resolving and storing of each QSO, and the summary
/// box. The log's lists are sorted again and the log is marked modified at the
/// end, however the import ends; what was imported before a stop stays. A file
/// that cannot be read, or is no ADIF file, is told with an error box and
/// changes nothing. A filter import (format Filter) reads a text line per QSO
/// through the filter, then, unless it was cancelled, the filter's notes file.
ImportResult ImportLog(ImportContext &context, const std::string &fileName, const ImportFilter &filter,
                       RecordFormat format);

/// ImportLog over the bytes of a text file held in memory, read through a
/// filter (without its notes file). A filter whose fields run past column 255
/// or have no length is told and nothing is imported.
ImportResult ImportFilterBytes(ImportContext &context, std::string_view bytes, const std::string &displayName,
                               const ImportFilter &filter);

/// ImportLog over the bytes of an ADIF file held in memory; displayName names
/// it in messages. A prefix map file that exists but cannot be read is told and
/// nothing is imported.
ImportResult ImportAdifBytes(ImportContext &context, std::string_view bytes, const std::string &displayName,
                             const ImportFilter &filter);

} // namespace vellum
