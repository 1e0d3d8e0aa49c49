#include "importlog.h"

#include "adifreader.h"
#include "delimitedline.h"
#include "filterformats.h"
#include "filterreader.h"
#include "importfilter.h"
#include "notesfile.h"

#include "detail/duplicatefinder.h"
#include "detail/notetext.h"

#include "config/configrecord.h"
#include "country/resolver.h"
#include "logstore/daytime.h"
#include "logstore/fileio.h"
#include "logstore/paths.h"
#include "logstore/qsodata.h"
#include "logstore/selection.h"

#include <algorithm>
#include <memory>

namespace vellum {

namespace {

std::optional<PrefixMap> loadPrefixMap(const ImportContext &context, const ImportFilter &filter)
{
    return PrefixMap::Load(context.importDir.empty() ? ImportDir() : context.importDir, filter.Id.view());
}

std::string dateText(const TQsoData &log, std::uint16_t date) { return FormatDate(date, log.settings().dateFormat(), true); }

std::string countryPrefix(const TCountryData &countries, std::int32_t country)
{
    return std::string(countries.CountryPrefix(country));
}

} // namespace

// --- ImportSession -----------------------------------------------------------------

ImportSession::ImportSession(ImportContext &context, const ImportFilter &filter, RecordFormat format)
    : m_context(context), m_prefixMap(loadPrefixMap(context, filter)),
      m_fields(context.countries, context.config, filter, m_prefixMap ? &*m_prefixMap : nullptr,
               context.today ? context.today : TodayDayNumber()),
      m_callNotes(context.log.Notes)
{
    for (int i = 0; i < 3; ++i) {
        // ADIF routes note 2 to the QSO; a filter routes each note by its format
        // (0 "Store with Call", else with the QSO).
        m_noteToQso[static_cast<std::size_t>(i)] =
            format == RecordFormat::Adif ? i == 1 : filter.FieldSpecs[ImportField::Note1 + i].format != 0;
    }
    m_recording = {context.config.Imp_syntax != 0, context.config.imp_prefix != 0, context.config.imp_zone != 0};
}

bool ImportSession::ResolveImportedQso(ImportedQso &q)
{
    TQsoRec &r = q.qso;
    r.State = q.importedState;
    m_context.resolver.ResolveCountry(r);
    if (q.importedCountry == 0)
        q.importedCountry = r.Country;
    if (q.importedZone == 0)
        q.importedZone = r.Zone;
    bool countryDiffers = q.importedCountry != r.Country, zoneDiffers = q.importedZone != r.Zone;
    if (countryDiffers || zoneDiffers) {
        int action = m_context.config.imp_action;
        if (action == 0) {
            PrefixZoneQuestion question{r.Call.str(), r.Date, dateText(m_context.log, r.Date),
                                        countryPrefix(m_context.countries, r.Country), r.Zone,
                                        countryPrefix(m_context.countries, q.importedCountry), q.importedZone};
            PrefixZoneChoice choice = m_context.questions.ConfirmPrefixZone(question);
            if (choice == PrefixZoneChoice::Cancel)
                return false;
            action = choice == PrefixZoneChoice::Import ? 2 : 1;
        }
        differences(q, action, countryDiffers, zoneDiffers);
    }
    if (r.Country != 0) {
        if (r.Iota.empty() && m_context.countries.ValidCountry(r.Country))
            r.Iota = KeyText(m_context.countries.Countries.Get(r.Country) + CountryField::Iota,
                             CountryField::IotaCapacity);
        if (q.importedState != 0 && r.State != q.importedState)
            q.errors.Add(EntryKind::Error, ImportFieldNames[ImportField::State].name,
                         m_context.countries.StateAbbreviation(q.importedState));
    } else {
        r.State = 0;
        r.County = 0;
    }
    return true;
}

void ImportSession::differences(ImportedQso &q, int action, bool countryDiffers, bool zoneDiffers)
{
    TQsoRec &r = q.qso;
    if (action == 2) {
        // The file's values win; the call resolves so from now on.
        if (countryDiffers)
            q.errors.Add(EntryKind::CountryDifference, "OtherPFX", countryPrefix(m_context.countries, r.Country));
        if (zoneDiffers)
            q.errors.Add(EntryKind::ZoneDifference, "OtherZone", std::to_string(r.Zone));
        r.Country = q.importedCountry;
        r.Zone = q.importedZone;
        m_context.countries.AddExceptionCall(r.Call.view(), r.Country, r.Zone, r.Date);
        ++m_counters.exceptionRecords;
        return;
    }
    if (countryDiffers) {
        std::string text = q.importedCountryText.empty() ? countryPrefix(m_context.countries, q.importedCountry)
                                                         : q.importedCountryText;
        q.errors.Add(EntryKind::CountryDifference, "OtherPFX", text);
    }
    if (zoneDiffers)
        q.errors.Add(EntryKind::ZoneDifference, "OtherZone", std::to_string(q.importedZone));
}

TQsoRec *ImportSession::StoreImportedQso(ImportedQso &q, TQsoRec *replacing)
{
    TQsoRec &r = q.qso;
    NoteCleaning cleaning{m_fields.Filter().FilterFreq != 0, m_fields.Filter().FilterImport != 0};
    std::string qsoNote, callNote;
    bool callNoteRead = false;
    for (std::size_t i = 0; i < 3; ++i) {
        std::string text = CleanImportedNote(q.notes[i], cleaning);
        if (text.empty())
            continue;
        if (m_noteToQso[i]) {
            AddToNote(qsoNote, text);
            continue;
        }
        if (!callNoteRead)
            callNote = m_callNotes.NoteOf(r.Call.view());
        callNoteRead = true;
        std::string before = callNote;
        AddToNote(callNote, text);
        if (callNote.size() > NoteCapacity) {
            callNote.resize(NoteCapacity);
            q.errors.Add(EntryKind::Error, ImportFieldNames[ImportField::Note1].name, "more than 255 characters");
        }
        if (callNote != before)
            m_callNotes.SetNote(r.Call.view(), callNote);
    }
    r.QsoNote.set(composeQsoNote(q, qsoNote));
    if (replacing) {
        r.WpxPfx = m_context.log.resolver().WpxPrefix(r.Call.view());
        *replacing = std::move(r);
        m_context.log.SetModified();
        return replacing;
    }
    auto record = std::make_unique<TQsoRec>(std::move(r));
    TQsoRec *stored = record.get();
    m_context.log.AddQso(std::move(record));
    return stored;
}

/// The QSO note with the error text in front ("Error:" and the entries),
/// separated by "|"; a note cut at 255 characters says so in the error text.
std::string ImportSession::composeQsoNote(ImportedQso &q, const std::string &note) const
{
    auto compose = [&] {
        std::string list = q.errors.List(m_recording);
        if (list.empty())
            return note;
        std::string error = "Error:" + list.substr(0, list.size() - 2);
        if (ContainsNoCase(note, error))
            return note;
        return note.empty() ? error : error + "|" + note;
    };
    std::string text = compose();
    if (text.size() > NoteCapacity &&
        q.errors.Add(EntryKind::Error, ImportFieldNames[ImportField::Note2].name, "more than 255 characters"))
        text = compose();
    return text.substr(0, NoteCapacity);
}

// --- the import driver ---------------------------------------------------------------

namespace {

/// Keeps the log's lists unsorted while QSOs are added and sorts them once at
/// the end, however the import ends.
class BulkImport {
public:
    explicit BulkImport(TQsoData &log) : m_log(log)
    {
        m_log.InvalidateAwardTables();
        m_log.observer().readingStarted();
        m_log.BeginBulkAppend();
    }
    ~BulkImport()
    {
        m_log.EndBulkAppend();
        m_log.observer().readingEnded();
    }
    BulkImport(const BulkImport &) = delete;
    BulkImport &operator=(const BulkImport &) = delete;

private:
    TQsoData &m_log;
};

/// Shows the progress at most a few hundred times however long the file.
class ProgressSteps {
public:
    ProgressSteps(ProgressService &progress, std::int64_t total)
        : m_progress(progress), m_step(std::max<std::int64_t>(total / 256, 4096))
    {
    }
    void show(std::int64_t position)
    {
        if (position - m_shown < m_step)
            return;
        m_shown = position;
        m_progress.advance(position);
    }

private:
    ProgressService &m_progress;
    std::int64_t m_step;
    std::int64_t m_shown = 0;
};

/// Where an import's records come from: an ADIF file or a text file read through a filter.
class RecordSource {
public:
    virtual ~RecordSource() = default;
    virtual bool AtEnd() const = 0;
    virtual std::size_t Position() const = 0;
    virtual std::size_t Size() const = 0;
    /// Reads the next record into q; may throw EAdifFormat.
    virtual RecordEnd Read(ImportedQso &q) = 0;
};

class AdifSource : public RecordSource {
public:
    AdifSource(AdifInput &input, ImportFields &fields) : m_input(input), m_fields(fields) {}
    bool AtEnd() const override { return m_input.AtEnd(); }
    std::size_t Position() const override { return m_input.Position(); }
    std::size_t Size() const override { return m_input.Size(); }
    RecordEnd Read(ImportedQso &q) override { return ReadAdifRecord(m_input, q, m_fields); }

private:
    AdifInput &m_input;
    ImportFields &m_fields;
};

class FilterSource : public RecordSource {
public:
    FilterSource(std::string_view bytes, ImportFields &fields, const ImportContext &context)
        : m_input(bytes, LineCapacityOf(fields.Filter())),
          m_reader(m_input, fields, context.resolver, context.customAwards)
    {
    }
    bool AtEnd() const override { return m_input.AtEnd(); }
    std::size_t Position() const override { return m_input.Position(); }
    std::size_t Size() const override { return m_input.Size(); }
    RecordEnd Read(ImportedQso &q) override { return m_reader.Read(q); }

private:
    LineInput m_input;
    FilterRecordReader m_reader;
};

class ImportRun {
public:
    ImportRun(ImportContext &context, ImportSession &session, RecordSource &input, const std::string &name,
              DuplicatePolicy policy)
        : m_context(context), m_session(session), m_input(input), m_name(name), m_policy(policy), m_finder(context.log)
    {
    }

    ImportOutcome run();
    const DuplicateAbort *abort() const { return m_policy == DuplicatePolicy::Aborted ? &m_abort : nullptr; }

private:
    enum class Next { Go, Stop };
    Next readAndStore(ImportedQso &q);
    Next store(ImportedQso &q);
    std::string qsoText(const ImportedQso &q) const
    {
        return "Call=" + q.qso.Call.str() + " Date=" + dateText(m_context.log, q.qso.Date);
    }

    ImportContext &m_context;
    ImportSession &m_session;
    RecordSource &m_input;
    const std::string &m_name;
    DuplicatePolicy m_policy;
    DuplicateFinder m_finder;
    DuplicateAbort m_abort;
    ImportOutcome m_outcome = ImportOutcome::Finished;
};

ImportOutcome ImportRun::run()
{
    ProgressSteps steps(m_context.log.progress(), static_cast<std::int64_t>(m_input.Size()));
    while (!m_input.AtEnd()) {
        ImportedQso q = m_session.Prepare();
        Next next = readAndStore(q);
        m_session.Counters().Add(q.errors);
        steps.show(static_cast<std::int64_t>(m_input.Position()));
        if (next == Next::Stop)
            break;
    }
    return m_outcome;
}

ImportRun::Next ImportRun::readAndStore(ImportedQso &q)
{
    RecordEnd end;
    try {
        end = m_input.Read(q);
    } catch (const EAdifFormat &e) {
        q.errors = {}; // the record is dropped: its entries count for nothing
        if (m_context.quiet)
            return Next::Go;
        Answer answer = m_context.log.notifier().show(
            MessageKind::Error, "Error reading " + m_name + ": " + e.what() + "\r" + qsoText(q), Buttons::OkCancel);
        if (answer == Answer::Cancel) {
            m_outcome = ImportOutcome::Cancelled;
            return Next::Stop;
        }
        return Next::Go;
    }
    if (end == RecordEnd::EndOfInput) {
        if (q.hasFields && !m_context.quiet)
            m_context.log.notifier().warning(m_name + " ends inside a record: the QSO " + qsoText(q) +
                                             " has no <EOR> and is not imported");
        q.errors = {};
        return Next::Stop;
    }
    if (!q.hasFields)
        return Next::Go; // a record of no field the log uses is no QSO
    ++m_session.Counters().read;
    return store(q);
}

ImportRun::Next ImportRun::store(ImportedQso &q)
{
    TQsoRec *existing = m_policy == DuplicatePolicy::NoCheck ? nullptr : m_finder.Find(q.qso);
    if (existing) {
        ++m_session.Counters().duplicates;
        if (m_policy == DuplicatePolicy::Stop) {
            m_policy = DuplicatePolicy::Aborted;
            m_abort = {q.qso.Call.str(), dateText(m_context.log, q.qso.Date)};
            m_outcome = ImportOutcome::AbortedOnDuplicate;
            return Next::Stop;
        }
        if (m_policy == DuplicatePolicy::Ignore)
            return Next::Go;
    }
    if (!m_session.ResolveImportedQso(q)) {
        m_outcome = ImportOutcome::Cancelled;
        return Next::Stop;
    }
    TQsoRec *stored = m_session.StoreImportedQso(q, existing);
    if (!existing && m_policy != DuplicatePolicy::NoCheck)
        m_finder.Add(stored);
    if (m_context.stored)
        m_context.stored(*stored);
    return Next::Go;
}

/// The reason a file is no ADIF file; empty when its header was read.
std::string headerProblem(AdifHeader header)
{
    switch (header) {
    case AdifHeader::Missing: return "it has text before its first tag but no end of header <EOH>: it is not an ADIF file";
    case AdifHeader::Xml: return "it is an ADX (XML) file; only ADIF files of tags (.adi) are read";
    default: return {};
    }
}

} // namespace

namespace {

/// The steps every import runs around its records: the duplicate question, the
/// session, the reading with its progress bar, the summary, and the log's state
/// afterwards (sorted, modified) however the reading ended.
template <class MakeSource>
ImportResult importRecords(ImportContext &context, const std::string &displayName, const ImportFilter &filter,
                           RecordFormat format, std::size_t size, MakeSource makeSource)
{
    ImportResult result;
    TQsoData &log = context.log;
    DuplicatePolicy policy = DuplicatePolicy::NoCheck;
    if (log.Count() > 0) {
        std::optional<DuplicatePolicy> answer = context.questions.AskDuplicatePolicy();
        if (!answer) {
            result.outcome = ImportOutcome::NotStarted;
            return result;
        }
        // The question offers three policies; anything else is taken as the first.
        policy = *answer == DuplicatePolicy::Replace || *answer == DuplicatePolicy::Ignore ? *answer
                                                                                           : DuplicatePolicy::Stop;
    }
    std::optional<ImportSession> opened;
    try {
        opened.emplace(context, filter, format);
    } catch (const EFileError &e) {
        log.notifier().error(std::string("Cannot import ") + displayName + ": " + e.what() +
                             ". Nothing was imported.");
        return result;
    }
    ImportSession &session = *opened;
    {
        BulkImport bulk(log);
        log.progress().begin("Reading " + displayName, static_cast<std::int64_t>(size));
        std::unique_ptr<RecordSource> source = makeSource(session);
        ImportRun run(context, session, *source, displayName, policy);
        result.outcome = run.run();
        log.progress().end();
        session.FlushNotes();
        result.counters = session.Counters();
        result.summary = ImportSummaryText(result.counters, run.abort());
    }
    if (!context.quiet)
        log.notifier().information(result.summary);
    log.observer().refreshAfterMerge(log);
    log.SetModified();
    return result;
}

bool importFinished(ImportOutcome outcome)
{
    return outcome == ImportOutcome::Finished || outcome == ImportOutcome::AbortedOnDuplicate;
}

/// Adds the notes file of a filter import to the callsign notes; says when it is missing.
void importNotesFile(ImportContext &context, const std::string &fileName, const ImportFilter &filter)
{
    TQsoData &log = context.log;
    try {
        log.progress().begin("Reading " + NotesFileName(fileName, filter), 1);
        NotesFileResult notes = ReadNotesFile(fileName, filter, log.Notes);
        log.progress().end();
        if (!notes.found && !context.quiet)
            log.notifier().information("There is no notes file " + NotesFileName(fileName, filter) +
                                       ": the QSOs were imported without callsign notes");
        if (notes.cut > 0)
            log.notifier().warning(CountedNoun(notes.cut, "note") + "of " + NotesFileName(fileName, filter) +
                                   " became longer than 255 characters and were cut there");
    } catch (const EFileError &e) {
        log.progress().end();
        log.notifier().error(std::string("Cannot read the notes file: ") + e.what() +
                             ". The QSOs are imported without its notes.");
    }
}

} // namespace

ImportResult ImportAdifBytes(ImportContext &context, std::string_view bytes, const std::string &displayName,
                             const ImportFilter &filter)
{
    AdifInput input(bytes);
    std::string problem = headerProblem(SkipAdifHeader(input));
    if (!problem.empty()) {
        if (!context.quiet)
            context.log.notifier().error("Cannot import " + displayName + ": " + problem + ". Nothing was imported.");
        return {};
    }
    return importRecords(context, displayName, filter, RecordFormat::Adif, bytes.size(),
                         [&](ImportSession &session) { return std::make_unique<AdifSource>(input, session.Fields()); });
}

ImportResult ImportFilterBytes(ImportContext &context, std::string_view bytes, const std::string &displayName,
                               const ImportFilter &filter)
{
    std::vector<std::string> problems = FilterProblems(filter);
    if (!problems.empty()) {
        context.log.notifier().error("The filter " + filter.Id.str() + " cannot read " + displayName + ": " +
                                     problems.front() + ". Nothing was imported.");
        return {};
    }
    return importRecords(context, displayName, filter, RecordFormat::Filter, bytes.size(),
                         [&](ImportSession &session) {
                             return std::make_unique<FilterSource>(bytes, session.Fields(), context);
                         });
}

ImportResult ImportLog(ImportContext &context, const std::string &fileName, const ImportFilter &filter,
                       RecordFormat format)
{
    std::vector<std::uint8_t> bytes;
    try {
        bytes = ReadWholeFile(fileName);
    } catch (const EFileError &e) {
        context.log.notifier().error(std::string("Cannot import: ") + e.what() + ". Nothing was imported.");
        return {};
    }
    std::string_view text(reinterpret_cast<const char *>(bytes.data()), bytes.size());
    if (format == RecordFormat::Adif)
        return ImportAdifBytes(context, text, fileName, filter);
    ImportResult result = ImportFilterBytes(context, text, fileName, filter);
    if (importFinished(result.outcome) && !filter.NoteExt.empty())
        importNotesFile(context, fileName, filter);
    return result;
}

} // namespace vellum
