#include "importedqso.h"

#include "importfilter.h"

#include "logstore/selection.h"

#include <algorithm>

namespace vellum {

bool ImportErrors::Add(EntryKind kind, std::string_view name, std::string_view value)
{
    std::string text;
    text.reserve(name.size() + 1 + value.size());
    text.append(name).append("=").append(value);
    if (std::any_of(m_entries.begin(), m_entries.end(), [&text](const Entry &e) { return e.text == text; }))
        return false;
    m_entries.push_back({kind, std::move(text)});
    return true;
}

std::int64_t ImportErrors::Count(EntryKind kind) const
{
    return std::count_if(m_entries.begin(), m_entries.end(), [kind](const Entry &e) { return e.kind == kind; });
}

std::string ImportErrors::List(const EntryRecording &recording) const
{
    std::string list;
    for (const Entry &entry : m_entries) {
        bool recorded = entry.kind == EntryKind::Error || (entry.kind == EntryKind::Simple && recording.simple) ||
                        (entry.kind == EntryKind::CountryDifference && recording.prefix) ||
                        (entry.kind == EntryKind::ZoneDifference && recording.zone);
        if (recorded)
            list.append(entry.text).append(", ");
    }
    return list;
}

void AppendNote(ImportedQso &imported, int note, std::string_view text)
{
    std::string &buffer = imported.notes[static_cast<std::size_t>(note)];
    std::size_t room = NoteCapacity - std::min(buffer.size(), NoteCapacity);
    buffer.append(text.substr(0, room));
    if (text.size() > room)
        imported.errors.Add(EntryKind::Error, ImportFieldNames[ImportField::Note1 + note].name,
                            "more than 255 characters");
}

void ImportCounters::Add(const ImportErrors &entries)
{
    errors += entries.Count(EntryKind::Error);
    simpleErrors += entries.Count(EntryKind::Simple);
    countryExceptions += entries.Count(EntryKind::CountryDifference);
    zoneExceptions += entries.Count(EntryKind::ZoneDifference);
}

std::string ImportSummaryText(const ImportCounters &c, const DuplicateAbort *abort)
{
    std::string text = abort ? "Import aborted because of duplicate QSO\rCall = " + abort->call +
                                   " Date = " + abort->date + "\r\r"
                             : std::string("Import Finished\r\r");
    text += CountedNoun(c.read, "QSO") + " read\r";
    text += CountedNoun(c.simpleErrors, "Simple error") + " processed\r";
    text += CountedNoun(c.zoneExceptions, "Zone exception") + " processed\r";
    text += CountedNoun(c.countryExceptions, "Country exception") + "processed\r";
    text += CountedNoun(c.duplicates, "Duplicate QSO") + " processed\r";
    text += CountedNoun(c.exceptionRecords, "Exception record") + " added\r\r";
    if (c.errors == 0)
        text += "No errors found";
    else
        text += CountedNoun(c.errors, "error") + "found\rLook for Error in Notefield";
    return text;
}

} // namespace vellum
