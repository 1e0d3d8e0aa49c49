#include "bulkcommands.h"

#include "qsoentry.h"

#include "app/programcontext.h"
#include "config/configrecord.h"
#include "country/resolver.h"
#include "logstore/qsodata.h"
#include "logstore/selection.h"
#include "logstore/services.h"

#include <unordered_map>
#include <vector>

namespace vellum {

namespace {

/// The progress window over a walk of the log, told every so many QSOs.
class ProgressWalk {
public:
    ProgressWalk(ProgressService &progress, const std::string &caption, std::int64_t total) : m_progress(progress)
    {
        m_progress.begin(caption, total);
    }
    ~ProgressWalk() { m_progress.end(); }
    ProgressWalk(const ProgressWalk &) = delete;
    ProgressWalk &operator=(const ProgressWalk &) = delete;
    void step()
    {
        if ((++m_done & 0x3FF) == 0)
            m_progress.advance(m_done);
    }

private:
    ProgressService &m_progress;
    std::int64_t m_done = 0;
};

} // namespace

BulkCommands::BulkCommands(QsoEntry &entry) : m_entry(entry), m_log(entry.Log()) {}

UserNotifier &BulkCommands::notifier() const { return m_entry.Context().Notifier(); }

bool BulkCommands::agree(const std::string &question) const
{
    return notifier().confirm(question, Buttons::YesNo) == Answer::Yes;
}

std::int64_t BulkCommands::changeQsos(const std::string &caption, const std::function<bool(TQsoRec &)> &change)
{
    ProgressWalk walk(m_log.progress(), caption, m_log.Count());
    return m_log.ChangeQsos([&](TQsoRec &qso) {
        walk.step();
        return change(qso);
    });
}

std::int64_t BulkCommands::changeInScope(const std::string &caption, const std::function<bool(TQsoRec &)> &change)
{
    auto inScope = m_entry.CommandScope();
    return changeQsos(caption, [&](TQsoRec &qso) { return inScope(qso) && change(qso); });
}

void BulkCommands::refresh(std::int64_t changed)
{
    if (changed > 0)
        m_entry.LogChangedByCommand();
}

std::int64_t BulkCommands::SetConfirmed()
{
    if (m_log.Count() == 0)
        return 0;
    if (!agree("Confirming up to " + CountedNoun(CountInScope(m_log, m_entry.CommandScope()), "QSO") +
               BulkText::AreYouSure))
        return 0;
    std::int64_t changed = changeInScope("Confirming QSOs", [](TQsoRec &qso) {
        if (qso.QslFlags & QslFlag::Cnfm)
            return false;
        qso.QslFlags = static_cast<std::uint8_t>(qso.QslFlags | QslFlag::Cnfm);
        return true;
    });
    notifier().information(CountedNoun(changed, "QSO") + " were confirmed");
    refresh(changed);
    return changed;
}

std::int64_t BulkCommands::SetQslDate()
{
    if (m_log.Count() == 0)
        return 0;
    if (!agree("Setting QSL Date for up to " + CountedNoun(CountInScope(m_log, m_entry.CommandScope()), "QSO") +
               BulkText::AreYouSure))
        return 0;
    std::int64_t changed = changeInScope("Setting QSL dates", [](TQsoRec &qso) {
        if (qso.QslDate != NoDate)
            return false;
        qso.QslDate = qso.Date;
        return true;
    });
    notifier().information(CountedNoun(changed, "QSO") + " were changed");
    refresh(changed);
    return changed;
}

std::int64_t BulkCommands::SetUsaStates(std::uint16_t today)
{
    if (m_log.Count() == 0)
        return 0;
    const std::int16_t usa = m_entry.Context().Resolver().CountryOfCall(BulkText::UsaCall, today);
    // The state and county each QSO takes, found first: the walk reads the call
    // order while the change re-sorts the orders that use the state.
    std::unordered_map<const TQsoRec *, const TQsoRec *> sources;
    const TBAI<TQsoRec> &byCall = m_log.ByCall();
    {
        ProgressWalk walk(m_log.progress(), "Setting USA states", m_log.Count());
        for (std::int32_t i = m_log.Count() - 1; i >= 0; --i) {
            walk.step();
            const TQsoRec *qso = m_log.Get(i);
            if (qso->Country != usa || qso->State != 0)
                continue;
            for (std::int32_t at = m_log.EndOfCall(qso->Call.view()) - 1;
                 at >= 0 && byCall.Get(at)->Call == qso->Call.view(); --at) {
                const TQsoRec *earlier = byCall.Get(at);
                if (earlier->State != 0 && earlier->Date <= qso->Date) {
                    sources.emplace(qso, earlier);
                    break;
                }
            }
        }
    }
    std::int64_t changed = 0;
    if (!sources.empty()) {
        // The sources hold their state and county: copies, since the change walks every record.
        std::unordered_map<const TQsoRec *, std::pair<std::uint8_t, std::uint16_t>> values;
        for (const auto &[qso, source] : sources)
            values.emplace(qso, std::make_pair(source->State, source->County));
        changed = changeQsos("Setting USA states", [&](TQsoRec &qso) {
            auto found = values.find(&qso);
            if (found == values.end())
                return false;
            qso.State = found->second.first;
            qso.County = found->second.second;
            return true;
        });
    }
    notifier().information(CountedNoun(changed, "QSO") + " were changed");
    refresh(changed);
    return changed;
}

std::int64_t BulkCommands::DeleteQsos()
{
    if (m_log.Count() == 0)
        return 0;
    auto inScope = m_entry.CommandScope();
    std::vector<TQsoRec *> doomed;
    for (TQsoRec *qso : m_log)
        if (inScope(*qso))
            doomed.push_back(qso);
    if (!agree("Deleting " + CountedNoun(static_cast<std::int64_t>(doomed.size()), "QSO") + BulkText::AreYouSure))
        return 0;
    std::int64_t deleted = m_log.DeleteQsos(std::move(doomed)); // one pass, the award tables out of date
    m_entry.LogChangedByCommand();
    return deleted;
}

std::int64_t BulkCommands::SetPrintFlags(bool set)
{
    if (m_log.Count() == 0)
        return 0;
    const QsoWindowMode mode = m_entry.Mode();
    const bool filtering = mode == QsoWindowMode::SearchEntry || mode == QsoWindowMode::Filtered;
    Answer answer = filtering
                        ? notifier().confirm(std::string(set ? "Set" : "Clear") + " label field in QSOs matching filter?",
                                             Buttons::YesNo)
                        : notifier().show(MessageKind::Warning,
                                          std::string(set ? "Setting" : "Clearing") +
                                              " label fields and no QSO filter active!\rDo you want to proceed?",
                                          Buttons::YesNo);
    if (answer != Answer::Yes)
        return 0;
    if (mode == QsoWindowMode::SearchEntry && !m_entry.RunSearch())
        return 0;
    const TQsoRec *shown = m_entry.ShownQso();
    const std::uint8_t method = m_entry.Context().Config().F_F2_Method;
    std::int64_t changed = changeInScope(set ? "Setting label flags" : "Clearing label flags", [&](TQsoRec &qso) {
        bool labelled = (qso.QslFlags & QslFlag::Label) != 0;
        if (!set) {
            if (labelled)
                qso.QslFlags = static_cast<std::uint8_t>(qso.QslFlags & ~QslFlag::Label);
            return labelled;
        }
        if (labelled || qso.QslMethod == QslMethodNr::Ignore)
            return false;
        qso.QslFlags = static_cast<std::uint8_t>(qso.QslFlags | QslFlag::Label);
        qso.QslMethod = method;
        return true;
    });
    if (shown)
        m_entry.ShowQso(shown);
    refresh(changed);
    notifier().information(CountedNoun(changed, "QSO") + "changed");
    return changed;
}

std::int64_t BulkCommands::ClearSequencedPrint()
{
    if (m_log.Count() == 0 || !agree(BulkText::ClearSequenced))
        return 0;
    std::int64_t cleared = changeQsos("Clearing label numbers", [this](TQsoRec &qso) {
        if (qso.PrtSeqNr == 0 || !InSelection(m_log, qso))
            return false;
        qso.PrtSeqNr = 0;
        return true;
    });
    m_log.RecountHighestPrtSeqNr();
    notifier().information(CountedNoun(cleared, "QSO") + "cleared");
    refresh(cleared);
    return cleared;
}

bool BulkCommands::ClearSwlLabels()
{
    if (!agree(BulkText::ClearSwl))
        return false;
    for (std::int32_t i = m_log.SwlList.Count() - 1; i >= 0; --i)
        m_log.DeleteSwl(i);
    m_log.SetModified();
    return true;
}

void BulkCommands::BeforeLabelRun(LabelKind kind) { ClearPrintedMarks(m_log, kind); }

std::int64_t BulkCommands::AfterLabelRun(LabelKind kind, std::uint16_t today)
{
    if (CountPrintedMarks(m_log, kind) == 0)
        return 0;
    if (kind == LabelKind::Swl) {
        if (!agree(BulkText::DeletePrintedSwl))
            return 0;
        std::int64_t deleted = 0;
        for (std::int32_t i = m_log.SwlList.Count() - 1; i >= 0; --i)
            if (m_log.SwlList.Get(i)->Printed) {
                m_log.DeleteSwl(i);
                ++deleted;
            }
        return deleted;
    }
    if (!agree(BulkText::UpdateQslDates))
        return 0;
    std::int64_t changed = changeQsos("Updating QSL dates", [&](TQsoRec &qso) {
        if (!(qso.QslFlags & QslFlag::Mark))
            return false;
        qso.QslDate = today;
        if (kind == LabelKind::Sequence)
            qso.PrtSeqNr = 0;
        else
            qso.QslFlags = static_cast<std::uint8_t>(qso.QslFlags & ~QslFlag::Label);
        return true;
    });
    if (kind == LabelKind::Sequence)
        m_log.RecountHighestPrtSeqNr();
    refresh(changed);
    return changed;
}

bool BulkCommands::CanConfirmSwl() const
{
    QsoWindowMode mode = m_entry.Mode();
    return (mode == QsoWindowMode::Browse || mode == QsoWindowMode::Filtered) && m_entry.ShownQso() &&
           m_log.Count() > 0;
}

void BulkCommands::ConfirmSwl(std::string_view listener)
{
    const TQsoRec *shown = m_entry.ShownQso();
    if (!CanConfirmSwl() || !shown)
        return;
    TSwlRec swl;
    swl.Call = UpperAscii(listener.substr(0, 12));
    swl.Date = shown->Date;
    swl.Time = shown->Time;
    swl.Band = shown->Band;
    swl.Mode = shown->Mode;
    swl.Group = shown->Group;
    std::int32_t position = 0;
    if (m_log.SwlList.Find(&swl, position)) {
        if (agree(BulkText::SwlExists))
            m_log.DeleteSwl(position);
    } else {
        m_log.AddSwl(swl);
    }
    switch (m_entry.Context().Config().F_F2_NextQSO) {
    case 1: m_entry.GoNext(); break;
    case 2: m_entry.StartSearch(false); break;
    default: break;
    }
}

} // namespace vellum
