// Replaying a journal over a log loaded from its last saved file.

#include "journal.h"

#include "qsodata.h"

#include <filesystem>

#include <array>
#include <map>
#include <unordered_set>

namespace vellum {

namespace {

/// A QSO's stored bytes and note: equal keys mean the same QSO in every field kept.
std::string qsoImage(const TQsoRec &qso)
{
    std::array<std::uint8_t, QsoStoredSize> stored{};
    StoreQso(qso, stored);
    std::string image(stored.begin(), stored.end());
    image += qso.QsoNote.text();
    return image;
}

/// The log's QSO equal to qso in every stored field and the note, or nullptr.
TQsoRec *findSame(const TQsoData &log, const TQsoRec &qso)
{
    TQsoRec *match = log.FindQso(qso);
    if (!match)
        return nullptr;
    // Walk the run of QSOs with the same master key around the one found.
    std::int32_t found = log.PositionOf(match);
    std::string image = qsoImage(qso);
    auto sameKey = [&](std::int32_t position) {
        const TQsoRec *rec = log.Get(position);
        return rec->Date == qso.Date && rec->Time == qso.Time && rec->Band == qso.Band && rec->Mode == qso.Mode &&
               rec->Call.view() == qso.Call.view();
    };
    std::int32_t first = found;
    while (first > 0 && sameKey(first - 1))
        --first;
    for (std::int32_t position = first; position < log.Count() && sameKey(position); ++position)
        if (qsoImage(*log.Get(position)) == image)
            return log.Get(position);
    return nullptr;
}

class Replayer {
public:
    explicit Replayer(TQsoData &log) : m_log(log) {}

    void apply(const JournalEntry &entry)
    {
        switch (entry.Kind) {
        case JournalKind::QsoAdded:
            count(addQso(entry.Qsos.at(0)));
            break;
        case JournalKind::QsoDeleted:
            count(deleteQso(entry.Qsos.at(0)));
            break;
        case JournalKind::QsoReplaced:
            count(replaceQso(entry.Qsos.at(0), entry.Qsos.at(1)));
            break;
        case JournalKind::BulkChange:
            count(bulkChange(entry.Qsos));
            break;
        case JournalKind::QsosDeleted:
            count(deleteQsos(entry.Qsos));
            break;
        case JournalKind::NoteSet:
            count(setNote(entry.Call, entry.Text));
            break;
        case JournalKind::NoteDeleted:
            count(setNote(entry.Call, {}));
            break;
        case JournalKind::SwlAdded:
            count(addSwl(entry.Swl));
            break;
        case JournalKind::SwlDeleted:
            count(deleteSwl(entry.Swl));
            break;
        case JournalKind::GroupNames:
            count(setGroupNames(entry.GroupNames));
            break;
        case JournalKind::Selections:
            count(setSelections(entry.Selections, entry.SelIndex));
            break;
        case JournalKind::Checkpoint:
            break;
        }
    }

    ReplayCounts counts() const { return m_counts; }

private:
    void count(bool applied) { ++(applied ? m_counts.Applied : m_counts.Skipped); }

    /// A QSO with the same master key (date, time, call, band, mode) counts as
    /// there: a later entry may have changed its other fields.
    bool addQso(const TQsoRec &qso)
    {
        if (m_log.FindQso(qso))
            return false;
        m_log.AddQso(std::make_unique<TQsoRec>(qso));
        return true;
    }

    /// The QSO as it was, else one with its master key.
    bool deleteQso(const TQsoRec &qso)
    {
        TQsoRec *rec = findSame(m_log, qso);
        if (!rec)
            rec = m_log.FindQso(qso);
        if (rec)
            m_log.DeleteQso(rec);
        return rec != nullptr;
    }

    /// Each QSO as it was, else one with its master key not taken already; the
    /// QSOs found leave the log together.
    bool deleteQsos(const std::vector<TQsoRec> &qsos)
    {
        std::vector<TQsoRec *> found;
        std::unordered_set<const TQsoRec *> taken;
        auto take = [&](TQsoRec *rec) {
            if (rec && taken.insert(rec).second)
                found.push_back(rec);
            return rec != nullptr;
        };
        std::vector<const TQsoRec *> unmatched;
        for (const TQsoRec &qso : qsos)
            if (!take(findSame(m_log, qso)))
                unmatched.push_back(&qso);
        for (const TQsoRec *qso : unmatched)
            take(m_log.FindQso(*qso));
        return m_log.DeleteQsos(std::move(found)) > 0;
    }

    /// The old QSO as it was is replaced; else the change is there when a QSO with
    /// the new one's key is; else one with the old one's key is replaced; with
    /// neither the new QSO is added: the change was acknowledged, its result must
    /// not be lost.
    bool replaceQso(const TQsoRec &oldQso, const TQsoRec &newQso)
    {
        TQsoRec *rec = findSame(m_log, oldQso);
        if (!rec && m_log.FindQso(newQso))
            return false;
        if (!rec)
            rec = m_log.FindQso(oldQso);
        if (!rec)
            return addQso(newQso);
        m_log.ReplaceQso(newQso, rec);
        return true;
    }

    /// Pairs of old and new QSOs one after the other; the QSOs found are changed in
    /// one pass (ChangeQsos), the rest go through replaceQso.
    bool bulkChange(const std::vector<TQsoRec> &qsos)
    {
        std::multimap<std::string, std::size_t> pending;
        for (std::size_t i = 0; i + 1 < qsos.size(); i += 2)
            pending.emplace(qsoImage(qsos[i]), i + 1);
        const CallResolver &resolver = m_log.resolver();
        std::int64_t changed = m_log.ChangeQsos([&](TQsoRec &rec) {
            auto match = pending.find(qsoImage(rec));
            if (match == pending.end())
                return false;
            const TQsoRec &newQso = qsos[match->second];
            pending.erase(match);
            rec = newQso;
            rec.WpxPfx = resolver.WpxPrefix(rec.Call.view());
            return true;
        });
        bool applied = changed > 0;
        for (const auto &[image, index] : pending)
            applied = replaceQso(qsos[index - 1], qsos[index]) || applied;
        return applied;
    }

    bool setNote(const std::string &call, const std::string &text)
    {
        if (m_log.Notes.NoteOf(call) == text)
            return false;
        m_log.Notes.SetNote(call, text);
        m_log.SetModified();
        return true;
    }

    static bool sameSwl(const TSwlRec &a, const TSwlRec &b)
    {
        return CompareSwlOrder(&a, &b) == 0 && a.Group == b.Group && a.Printed == b.Printed;
    }

    bool addSwl(const TSwlRec &swl)
    {
        std::int32_t position = 0;
        if (m_log.SwlList.Find(&swl, position) && sameSwl(*m_log.SwlList.Get(position), swl))
            return false;
        m_log.SwlList.AddRec(std::make_unique<TSwlRec>(swl));
        m_log.SetModified();
        return true;
    }

    bool deleteSwl(const TSwlRec &swl)
    {
        std::int32_t position = 0;
        if (!m_log.SwlList.Find(&swl, position) || !sameSwl(*m_log.SwlList.Get(position), swl))
            return false;
        m_log.SwlList.DeleteRec(position);
        m_log.SetModified();
        return true;
    }

    bool setGroupNames(const std::vector<std::string> &names)
    {
        if (m_log.GroupNames == names)
            return false;
        m_log.GroupNames = names;
        m_log.InvalidateAwardTables();
        m_log.SetModified();
        return true;
    }

    bool setSelections(const std::vector<TSelection> &selections, std::int32_t index)
    {
        if (selections.empty())
            return false;
        std::vector<std::uint8_t> before = storedSelections(m_log.Selections);
        if (before == storedSelections(selections) && m_log.CurSelIndex == index)
            return false;
        m_log.Selections = selections;
        if (!SetCurrentSelection(m_log, index))
            SetCurrentSelection(m_log, 0);
        m_log.SetModified();
        return true;
    }

    static std::vector<std::uint8_t> storedSelections(const std::vector<TSelection> &selections)
    {
        std::vector<std::uint8_t> bytes(selections.size() * SelectionStoredSize);
        for (std::size_t i = 0; i < selections.size(); ++i)
            StoreSelection(selections[i], std::span(bytes).subspan(i * SelectionStoredSize).first<SelectionStoredSize>());
        return bytes;
    }

    TQsoData &m_log;
    ReplayCounts m_counts;
};

} // namespace

ReplayCounts ReplayJournal(TQsoData &log, const std::vector<JournalEntry> &entries)
{
    Replayer replayer(log);
    for (const JournalEntry &entry : entries)
        replayer.apply(entry);
    return replayer.counts();
}

std::optional<PendingJournal> FindPendingJournal(const std::string &logFile)
{
    std::string file = JournalFileName(logFile);
    std::error_code ec;
    if (!std::filesystem::exists(file, ec))
        return std::nullopt;
    PendingJournal pending;
    try {
        pending.Contents = ReadJournalFile(file);
    } catch (const std::exception &e) {
        pending.Contents.State = JournalState::Damaged;
        pending.Contents.Problem = e.what();
        return pending;
    }
    if (pending.Contents.Entries.empty())
        return std::nullopt;
    pending.MatchesLog = JournalMatchesLog(pending.Contents.Identity, logFile);
    for (const JournalEntry &entry : pending.Contents.Entries) {
        if (entry.Kind == JournalKind::Checkpoint) {
            pending.Checkpoint = entry.Text;
            pending.ToReplay.clear();
        } else {
            pending.ToReplay.push_back(entry);
        }
    }
    return pending;
}

} // namespace vellum
