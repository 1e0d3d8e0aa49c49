#include "qsodata.h"

#include "compare.h"
#include "journal.h"
#include "paths.h"

#include <algorithm>
#include <filesystem>
#include <unordered_set>

namespace vellum {

namespace {
SilentNotifier g_silentNotifier;
ProgressService g_noProgress;
CallResolver g_noResolver;
AwardHooks g_noAwards;
LogSettings g_defaultSettings;
} // namespace

TQsoData::TQsoData(LogServices services) : m_services(services), m_qsos(CompareDateOrder)
{
    m_observers.SetFirst(m_services.observer);
    m_qsos.SetCompare(CompareDateOrder, SortByDateOrder);
    m_byCall = m_qsos.AddIndex(CompareCallOrder, SortByCallOrder);
    CurSelection = AllQsosSelection();
    Selections.push_back(CurSelection);
    Notes.onChange = [this] { observer().logChanged(); };
    observer().diskIndicator(LogObserver::DiskState::Clear);
}

TQsoData::~TQsoData() { observer().diskIndicator(LogObserver::DiskState::Clear); }

void TQsoData::SetServices(const LogServices &services)
{
    m_services = services;
    m_observers.SetFirst(m_services.observer);
}

void TQsoData::AddObserver(LogObserver &observer) { m_observers.Add(observer); }
void TQsoData::RemoveObserver(LogObserver &observer)
{
    m_observers.Remove(observer);
    if (m_services.observer == &observer)
        m_services.observer = nullptr;
}

UserNotifier &TQsoData::notifier() const { return m_services.notifier ? *m_services.notifier : g_silentNotifier; }
ProgressService &TQsoData::progress() const { return m_services.progress ? *m_services.progress : g_noProgress; }
const CallResolver &TQsoData::resolver() const { return m_services.resolver ? *m_services.resolver : g_noResolver; }
AwardHooks &TQsoData::awards() const { return m_services.awards ? *m_services.awards : g_noAwards; }
const LogSettings &TQsoData::settings() const
{
    return m_services.settings ? *m_services.settings : g_defaultSettings;
}

void TQsoData::completeRecord(TQsoRec &rec) const { rec.WpxPfx = resolver().WpxPrefix(rec.Call.view()); }

void TQsoData::SetModified()
{
    if (!m_modified) {
        m_modified = true;
        observer().diskIndicator(LogObserver::DiskState::ModifiedUnsaved);
    }
    observer().logChanged();
}

void TQsoData::MarkSaved()
{
    m_modified = false;
    m_outOfDate = false;
    observer().diskIndicator(LogObserver::DiskState::Clear);
}

std::int32_t TQsoData::AddQso(std::unique_ptr<TQsoRec> rec)
{
    completeRecord(*rec);
    journal(JournalEntry::QsoAdded(*rec));
    const TQsoRec &record = *rec;
    std::int32_t position = m_qsos.AddRec(std::move(rec));
    if (m_awardTablesValid)
        awards().AddQsoToAwards(*this, record);
    SetModified();
    return position;
}

void TQsoData::DeleteQso(TQsoRec *rec)
{
    if (PositionOf(rec) < 0)
        return; // not a record of this log
    journal(JournalEntry::QsoDeleted(*rec));
    removeQso(rec);
}

void TQsoData::removeQso(TQsoRec *rec)
{
    std::int32_t position = PositionOf(rec);
    if (m_awardTablesValid)
        awards().RemoveQsoFromAwards(*this, *rec);
    m_qsos.DeleteRec(position);
    SetModified();
}

std::int64_t TQsoData::DeleteQsos(std::vector<TQsoRec *> records)
{
    const std::unordered_set<const TQsoRec *> named(records.begin(), records.end());
    auto doomed = [&named](const TQsoRec *rec) { return named.contains(rec); };
    const auto count = std::count_if(m_qsos.begin(), m_qsos.end(), doomed);
    if (count == 0)
        return 0;
    if (Journaling()) {
        std::vector<TQsoRec> deleted; // as they were, in master order like DeleteQso one by one
        deleted.reserve(static_cast<std::size_t>(count));
        for (const TQsoRec *qso : m_qsos)
            if (doomed(qso))
                deleted.push_back(*qso);
        journal(JournalEntry::QsosDeleted(std::move(deleted)));
    }
    m_qsos.DeleteRecsIf(doomed);
    InvalidateAwardTables();
    SetModified();
    return count;
}

TQsoRec *TQsoData::ReplaceQso(const TQsoRec &edited, TQsoRec *old)
{
    auto copy = std::make_unique<TQsoRec>(edited);
    completeRecord(*copy);
    journal(JournalEntry::QsoReplaced(*old, *copy)); // one entry: a replay never sees half of it
    TQsoRec *record = copy.get();
    m_qsos.AddRec(std::move(copy));
    if (m_awardTablesValid)
        awards().AddQsoToAwards(*this, *record);
    if (PositionOf(old) >= 0)
        removeQso(old);
    SetModified();
    return record;
}

std::int64_t TQsoData::ChangeQsos(const std::function<bool(TQsoRec &)> &change)
{
    std::int64_t changed = 0;
    if (Journaling()) {
        // Write-ahead: the changes are worked out on copies, straight into the one
        // journal entry (old and new QSO one after the other), and journaled first.
        // The room reserved is only touched as far as it is used.
        JournalEntry entry = JournalEntry::BulkChange({});
        entry.Qsos.reserve(2 * static_cast<std::size_t>(Count()));
        std::vector<TQsoRec *> edited;
        for (TQsoRec *qso : m_qsos) {
            entry.Qsos.push_back(*qso);
            if (change(entry.Qsos.back())) {
                entry.Qsos.insert(entry.Qsos.end() - 1, *qso);
                edited.push_back(qso);
            } else {
                entry.Qsos.pop_back();
            }
        }
        if (!edited.empty())
            journal(entry);
        for (std::size_t i = 0; i < edited.size(); ++i)
            *edited[i] = std::move(entry.Qsos[2 * i + 1]);
        changed = static_cast<std::int64_t>(edited.size());
    } else {
        for (TQsoRec *qso : m_qsos)
            if (change(*qso))
                ++changed;
    }
    if (changed > 0) {
        Resort();
        InvalidateAwardTables();
        SetModified();
    }
    return changed;
}

namespace {
/// Sorts a list again when a change made in place broke its order.
void restoreOrder(TBAI<TQsoRec> &list)
{
    auto compare = list.Compare();
    if (!list.Sorted() || !compare)
        return;
    for (std::int32_t i = 0; i + 1 < list.Count(); ++i) {
        if (compare(list.Get(i), list.Get(i + 1)) > 0) {
            list.SetSorted(false);
            list.SetSorted(true);
            return;
        }
    }
}
} // namespace

void TQsoData::Resort()
{
    restoreOrder(m_qsos);
    for (const auto &index : m_qsos.Indexes())
        restoreOrder(*index);
}

TQsoRec *TQsoData::FindQso(const TQsoRec &key) const
{
    std::int32_t position = 0;
    return m_qsos.Find(&key, position) ? m_qsos.Get(position) : nullptr;
}

void TQsoData::BeginBulkAppend(std::int64_t expected, bool keepMasterSorted)
{
    m_bulk = true;
    if (expected > 0)
        m_qsos.SetCapacityAll(static_cast<std::int64_t>(Count()) + expected);
    m_qsos.BeginBulk(keepMasterSorted);
}

std::int32_t TQsoData::AppendQso(std::unique_ptr<TQsoRec> rec)
{
    completeRecord(*rec);
    m_highestPrtSeqNr = std::max(m_highestPrtSeqNr, rec->PrtSeqNr);
    return m_qsos.AddRec(std::move(rec));
}

void TQsoData::EndBulkAppend(bool masterInOrder)
{
    m_qsos.EndBulk(masterInOrder);
    m_bulk = false;
}

void TQsoData::SetGroupNames(std::vector<std::string> names)
{
    journal(JournalEntry::GroupNamesSet(names));
    GroupNames = std::move(names);
    SetModified();
}

void TQsoData::SetSelections(std::vector<TSelection> selections)
{
    journal(JournalEntry::SelectionsSet(selections, CurSelIndex));
    Selections = std::move(selections);
    SetModified();
}

// --- the journal ---------------------------------------------------------------------

void TQsoData::StartJournal()
{
    if (!m_journal)
        m_journal = std::make_unique<JournalWriter>();
    m_journal->Open(JournalFileName(LogFileName), LogFileIdentity(LogFileName));
    Notes.beforeChange = [this](std::string_view call, std::string_view text) {
        journal(text.empty() ? JournalEntry::NoteDeleted(call) : JournalEntry::NoteSet(call, text));
    };
}

void TQsoData::StopJournal()
{
    Notes.beforeChange = nullptr;
    if (m_journal && m_journal->IsOpen())
        m_journal->Remove();
    m_journal.reset();
}

bool TQsoData::Journaling() const { return m_journal && m_journal->IsOpen(); }

void TQsoData::journal(const JournalEntry &entry)
{
    if (Journaling() && !m_bulk)
        m_journal->Append(entry);
}

void TQsoData::JournalCheckpoint()
{
    if (!Journaling())
        return;
    WriteLog(false, EmptyLog::Write);
    m_journal->Append(JournalEntry::Checkpoint(BackupFileName(BackupFile::Log)));
}

void TQsoData::afterSave()
{
    // The saved file holds everything: the journal starts afresh, under the log's
    // present name (Save as renames the log).
    if (!Journaling())
        return;
    if (m_journal->FileName() != JournalFileName(LogFileName)) {
        m_journal->Remove();
        m_journal->Open(JournalFileName(LogFileName), LogFileIdentity(LogFileName));
    } else {
        m_journal->Reset(LogFileIdentity(LogFileName));
    }
}

void TQsoData::RecountHighestPrtSeqNr()
{
    std::uint16_t highest = 0;
    for (const TQsoRec *qso : m_qsos)
        highest = std::max(highest, qso->PrtSeqNr);
    m_highestPrtSeqNr = highest;
}

void TQsoData::AddSwl(const TSwlRec &swl)
{
    journal(JournalEntry::SwlAdded(swl));
    SwlList.AddRec(std::make_unique<TSwlRec>(swl));
    SetModified();
}

void TQsoData::DeleteSwl(std::int32_t position)
{
    journal(JournalEntry::SwlDeleted(*SwlList.Get(position)));
    SwlList.DeleteRec(position);
    SetModified();
}

std::uint16_t TQsoData::QueueForLabel(std::uint16_t behind)
{
    constexpr std::uint16_t LastNumber = 0xFFFF;
    std::uint16_t highest = m_highestPrtSeqNr;
    if (highest == LastNumber)
        return 0;
    m_highestPrtSeqNr = static_cast<std::uint16_t>(highest + 1);
    if (behind == 0 || behind >= highest)
        return m_highestPrtSeqNr;
    for (TQsoRec *qso : m_qsos)
        if (qso->PrtSeqNr > behind)
            ++qso->PrtSeqNr;
    Resort();
    SetModified();
    return static_cast<std::uint16_t>(behind + 1);
}

std::int32_t TQsoData::EndOfCall(std::string_view call) const
{
    TQsoRec key;
    key.Call = call;
    key.Date = 0xFFFF;
    key.Time = 0x7FFFFFFF;
    key.Band = 0xFF;
    key.Mode = 0xFF;
    std::int32_t position = 0;
    m_byCall->Find(&key, position);
    return position;
}

bool TQsoData::HasCall(std::string_view call) const
{
    std::int32_t end = EndOfCall(call);
    return end > 0 && m_byCall->Get(end - 1)->Call.view() == call;
}

void TQsoData::DropNoteIfUnused(std::string_view call)
{
    if (!HasCall(call))
        Notes.DeleteNote(call);
}

void TQsoData::CloseLog(bool save)
{
    observer().stopBackupCountdown();
    if (save && !LogFileName.empty())
        WriteLog(true); // before the journal goes: a failed save keeps it
    StopJournal();
    if (!LogFileName.empty()) {
        if (save) {
            if (observer().countryDataNeedsSaving())
                observer().saveCountryData();
        } else if (observer().countryDataNeedsSaving()) {
            observer().reloadCountryData();
        }
        LogFileName.clear();
    }
    MarkSaved();
}

void TQsoData::NewLog(const std::string &fileName)
{
    observer().stopBackupCountdown();
    LogFileName = fileName;
    std::filesystem::path dir = std::filesystem::path(fileName).parent_path();
    if (!dir.empty()) {
        std::error_code ec;
        std::filesystem::create_directories(dir, ec);
    }
    m_outOfDate = true;
    m_modified = false;
    SetModified();
    InvalidateAwardTables();
    observer().showQsoWindow(*this);
}

const TBAI<TQsoRec> &TQsoData::ViewIndex() const
{
    if (m_sortIndex)
        return *m_sortIndex;
    if (m_sortKey == SortKey::Call)
        return *m_byCall;
    return m_qsos;
}

void TQsoData::SetSortKey(SortKey key, std::int32_t &viewPosition)
{
    if (key == m_sortKey)
        return;
    const TBAI<TQsoRec> &before = ViewIndex();
    const TQsoRec *shown = (viewPosition >= 0 && viewPosition < before.Count()) ? before.Get(viewPosition) : nullptr;
    m_sortKey = key;
    QsoCompareFn compare = SortOrderTable[static_cast<int>(key)].compare;
    if (compare && m_sortIndex) {
        m_sortIndex->SetCompare(compare);
        m_sortIndex->SetSorted(true);
    } else if (compare) {
        m_sortIndex = m_qsos.AddIndex(compare);
    } else if (m_sortIndex) {
        m_qsos.RemoveIndex(m_sortIndex);
        m_sortIndex = nullptr;
    }
    const TBAI<TQsoRec> &view = ViewIndex();
    viewPosition = shown ? view.PositionOf(shown) : (view.Count() > 0 ? 0 : -1);
}

} // namespace vellum
