// QSO entry: the modes, adding, updating and deleting QSOs, Confirm/Label with
// the label queue, the contest settings, the clock and the station windows.

#include "qsoentry.h"

#include "banddecoder.h"
#include "countrylookups.h"
#include "qsochecks.h"

#include "app/programcontext.h"
#include "awards/awardqueries.h"
#include "config/configrecord.h"
#include "country/countrydata.h"
#include "logstore/daytime.h"
#include "logstore/qsodata.h"
#include "logstore/qsotables.h"
#include "logstore/selection.h"
#include "logstore/shortstring.h"
#include "logstore/trim.h"

#include <algorithm>

namespace vellum {

namespace {

/// What a search needs from the country data, the notes and the manager table.
class EntrySearchContext : public SearchContext {
public:
    EntrySearchContext(const TCountryData &countries, const TQsoData &log, const QsoLookups &lookups,
                       const QsoEntry::DateRangeAsker &asker)
        : m_countries(countries), m_log(log), m_lookups(lookups), m_asker(asker)
    {
    }
    std::string CountryPrefix(const TQsoRec &rec) const override { return std::string(m_countries.CountryPrefix(rec.Country)); }
    std::string StateAbbreviation(const TQsoRec &rec) const override
    {
        return std::string(m_countries.StateAbbreviation(rec.State));
    }
    std::string CountyName(const TQsoRec &rec) const override
    {
        return rec.State && rec.County ? m_countries.CountyName(rec.State, rec.County) : std::string();
    }
    std::string CallNote(const TQsoRec &rec) const override { return m_log.Notes.NoteOf(rec.Call.view()); }
    std::string Manager(const TQsoRec &rec) const override { return m_lookups.ManagerOf(rec.Call.view(), rec.Date); }
    std::pair<std::uint16_t, std::uint16_t> DateRange(std::uint16_t around) override
    {
        return m_asker ? m_asker(around) : std::pair<std::uint16_t, std::uint16_t>{around, OpenEndDate};
    }

private:
    const TCountryData &m_countries;
    const TQsoData &m_log;
    const QsoLookups &m_lookups;
    const QsoEntry::DateRangeAsker &m_asker;
};

QsoLookups &ownOrGiven(std::unique_ptr<QsoLookups> &own, QsoLookups *given, TCountryData &countries)
{
    if (!given)
        own = std::make_unique<CountryQsoLookups>(countries);
    return given ? *given : *own;
}

} // namespace

QsoEntry::QsoEntry(ProgramContext &context, TQsoData &log, QsoLookups *lookups)
    : m_context(context), m_log(log), m_lookups(&ownOrGiven(m_ownLookups, lookups, context.Countries())),
      m_logic(log, context.Countries(), context.Resolver(), context.Config(), *m_lookups)
{
    m_index.fill(-1);
    m_searchContext = std::make_unique<EntrySearchContext>(context.Countries(), log, *m_lookups, m_dateRangeAsker);
    SetAdmits(nullptr);
}

QsoEntry::~QsoEntry() = default;

void QsoEntry::SetAdmits(std::function<bool(const TQsoRec &)> admits)
{
    if (!admits)
        admits = [&log = m_log](const TQsoRec &rec) { return InSelection(log, rec); };
    m_admits = std::move(admits);
}

UserNotifier &QsoEntry::notifier() const { return m_context.Notifier(); }
const TConfigRecord &QsoEntry::config() const { return m_context.Config(); }
TConfigRecord &QsoEntry::mutableConfig() const { return m_context.Config(); }

void QsoEntry::Start()
{
    RefreshCustomAwards();
    if (m_log.Count() > 0) {
        setMode(QsoWindowMode::Browse);
        navigate(navigator().Last());
    } else {
        AddOffline();
    }
}

// --- modes ------------------------------------------------------------------------------

void QsoEntry::setMode(QsoWindowMode mode)
{
    m_mode = mode;
    updateContestPanel();
    changed();
}

void QsoEntry::prepareBlank(const TQsoRec *previous)
{
    TQsoRec blank = m_logic.BlankQso(previous);
    if (!previous) {
        blank.Date = TodayDayNumber();
        blank.Time = NowUtcSeconds();
    }
    showRecord(blank);
    for (QsoField cleared : {QsoField::Call, QsoField::Prefix, QsoField::Zone})
        text(cleared).clear();
    m_countryName.clear();
    m_direction.clear();
    m_country = 0;
    m_spotCall.clear();
    m_dupe = false;
    m_clockFollow = m_mode == QsoWindowMode::AddRealTime;
    markUnchanged();
    changed();
    m_events->Focus(QsoField::Call);
}

void QsoEntry::AddRealTime()
{
    if (m_mode == QsoWindowMode::SearchEntry)
        return;
    if (!AgreeToLeaveMode())
        return;
    setMode(QsoWindowMode::AddRealTime);
    prepareBlank(nullptr);
}

void QsoEntry::AddOffline()
{
    if (!keepEdit())
        return;
    setMode(QsoWindowMode::AddOffline);
    prepareBlank(nullptr);
}

void QsoEntry::ClearQso()
{
    if (!adding())
        return;
    TQsoRec keep;
    keep.Mode = static_cast<std::uint8_t>(Index(QsoList::Mode) + 1);
    keep.Band = static_cast<std::uint8_t>(Index(QsoList::Band) + 1);
    keep.Group = config().DefQSO_Group;
    keep.Date = fieldDate(QsoField::Date);
    keep.Time = ParseTimeText(Text(QsoField::Time)).value_or(m_lastTime);
    keep.Satellite = 1;
    prepareBlank(&keep);
}

bool QsoEntry::AgreeToLeaveMode()
{
    if (!adding())
        return keepEdit();
    if (Trim(Text(QsoField::Call)).empty() || !config().DefQSO_WarnOnMove) {
        leaveAddModes();
        return true;
    }
    Answer answer = notifier().confirm("Save the QSO you just added?", Buttons::YesNoCancel);
    if (answer == Answer::Cancel)
        return false;
    if (answer == Answer::Yes && !AddQso())
        return false; // the checks failed: stay with the QSO
    leaveAddModes();
    return true;
}

bool QsoEntry::keepEdit()
{
    if (!browsing() || !ShownQso() || !FormChanged())
        return true;
    // Never drop a correction silently: whatever leaves the QSO shown asks first.
    Answer answer = notifier().confirm("Update this QSO with the changes you made?", Buttons::YesNoCancel);
    if (answer == Answer::Cancel)
        return false;
    return answer == Answer::No || updateShown(std::nullopt, AfterUpdate::SameQso);
}

void QsoEntry::leaveAddModes()
{
    if (m_log.Count() == 0) {
        AddOffline();
        return;
    }
    setMode(QsoWindowMode::Browse);
    navigate(navigator().Last());
}

void QsoEntry::EscapePressed()
{
    if (adding())
        AgreeToLeaveMode();
    else
        CancelFilter();
}

void QsoEntry::EnterPressed()
{
    if (adding()) {
        AddQso();
    } else if (m_mode == QsoWindowMode::SearchEntry) {
        RunSearch();
    } else if (browsing() && FormChanged()) {
        if (notifier().confirm("Update this QSO with the changes you made?", Buttons::YesNo) == Answer::Yes)
            UpdateQso();
    }
}

// --- adding, updating, deleting -------------------------------------------------------

std::string QsoEntry::contestNote(const std::string &note) const
{
    std::string contestText(config().ContestNoteText.view());
    if (contestText.empty())
        return note;
    if (shownContestNumber() != 0)
        if (auto at = contestText.find("##"); at != std::string::npos)
            contestText.replace(at, 2, std::to_string(static_cast<int>(config().ContestNextNumber)));
    if (auto at = contestText.find("$$"); at != std::string::npos && m_context.Station().radioConnected)
        contestText.replace(at, 2, m_context.Station().RadioFrequencyText());
    return note.empty() ? contestText : note + " " + contestText;
}

void QsoEntry::storeCallData(const TQsoRec &rec)
{
    if (m_callNotesChanged)
        m_log.Notes.SetNote(rec.Call.view(), std::string(Trim(Text(QsoField::CallNotes))));
    if (std::string_view manager = Trim(Text(QsoField::Manager)); !manager.empty())
        m_lookups->SetManager(rec.Call.view(), rec.Date, manager);
}

bool QsoEntry::AddQso()
{
    if (Trim(Text(QsoField::Call)).empty())
        return false;
    if (m_callChanged)
        processCall();
    auto rec = std::make_unique<TQsoRec>();
    if (!readRecord(*rec))
        return false; // nothing added; the contest text and number are left as they were
    rec->QsoNote.set(contestNote(std::string(rec->QsoNote.text())));
    m_logic.LearnException(*rec);
    storeCallData(*rec);
    TQsoRec previous = *rec;
    const TQsoRec *stored = rec.get();
    m_log.AddQso(std::move(rec));
    m_position = m_log.ViewIndex().PositionOf(stored);
    m_events->LogEdited();
    prepareBlank(&previous);
    if (shownContestNumber() != 0) {
        mutableConfig().ContestNextNumber = config().ContestNextNumber + 1;
        updateContestPanel();
    }
    return true;
}

const TQsoRec *QsoEntry::ShownQso() const
{
    if (!browsing() || m_position < 0 || m_position >= m_log.ViewIndex().Count())
        return nullptr;
    return m_log.ViewIndex().Get(m_position);
}

bool QsoEntry::UpdateQso() { return updateShown(std::nullopt, AfterUpdate::NextQso); }

bool QsoEntry::updateShown(std::optional<std::uint16_t> labelBehind, AfterUpdate after)
{
    const TQsoRec *shown = ShownQso();
    if (!shown)
        return false;
    if (m_callChanged)
        processCall();
    TQsoRec edited = *shown;
    if (!readRecord(edited))
        return false; // checked before anything changes: the log stays as it was
    if (labelBehind) {
        std::uint16_t number = m_log.QueueForLabel(*labelBehind);
        if (number == 0)
            return false; // the full queue was refused before; nothing changed
        edited.PrtSeqNr = number;
    }
    std::string oldCall = shown->Call.str();
    TQsoRec *replaced = m_log.ReplaceQso(edited, const_cast<TQsoRec *>(shown));
    m_logic.LearnException(*replaced);
    if (oldCall != replaced->Call.view())
        m_log.DropNoteIfUnused(oldCall);
    storeCallData(*replaced);
    m_position = m_log.ViewIndex().PositionOf(replaced);
    m_events->LogEdited();
    auto next = after == AfterUpdate::NextQso ? navigator().Step(m_position, 1) : std::nullopt;
    navigate(next ? next : std::optional<std::int32_t>(m_position));
    return true;
}

void QsoEntry::DeleteQso()
{
    const TQsoRec *shown = ShownQso();
    if (!shown || notifier().confirm("Delete current QSO?", Buttons::YesNo) != Answer::Yes)
        return;
    std::string call = shown->Call.str();
    std::int32_t at = m_position;
    m_log.DeleteQso(const_cast<TQsoRec *>(shown));
    m_log.DropNoteIfUnused(call);
    m_events->LogEdited();
    if (m_log.Count() == 0) {
        AddOffline();
        return;
    }
    auto next = navigator().Step(at - 1, 1);
    navigate(next ? next : navigator().Last());
}

// --- Confirm/Label ------------------------------------------------------------------------

void QsoEntry::ConfirmLabel()
{
    std::uint8_t after = config().F_F2_NextQSO;
    ConfirmLabel(after <= 2 ? static_cast<AfterConfirm>(after) : AfterConfirm::SameQso);
}

void QsoEntry::ConfirmLabel(AfterConfirm after)
{
    const TQsoRec *shown = ShownQso();
    if (!shown)
        return;
    const TConfigRecord &setup = config();
    bool marked = false;
    if (setup.F_F2_Confirm) {
        marked = Index(QsoList::Confirmed) != 0;
        list(QsoList::Confirmed) = 0;
    }
    std::optional<std::uint16_t> labelBehind;
    bool mark = setup.F_F2_label != 0 &&
                (shown->QslDate == 0 ||
                 notifier().confirm("QSL was sent already, mark again?", Buttons::YesNo) == Answer::Yes);
    if (mark && setup.F_F2_label == 1) {
        list(QsoList::Label) = 0;
        list(QsoList::QslMethod) = setup.F_F2_Method <= 6 ? setup.F_F2_Method : 0;
        marked = true;
    } else if (mark && setup.F_F2_label == 2) {
        if (shown->PrtSeqNr != 0) {
            notifier().information("QSO is marked for sequence printing already");
        } else if (m_log.HighestPrtSeqNr() == 0xFFFF) {
            // The queue's numbers are 16 bits; wrapping to 0 would mean "not queued".
            notifier().error("The label sequence is full (65535 QSOs); print or clear it first");
        } else {
            labelBehind = labelQueuePlace(*shown);
            list(QsoList::QslMethod) = setup.F_F2_Method <= 6 ? setup.F_F2_Method : 0;
            marked = true;
        }
    }
    if (marked && setup.F_F2_Confirm && setup.F_F2_Alert) {
        TQsoRec confirmed = *shown;
        confirmed.QslFlags |= QslFlag::Cnfm;
        alertContributions(confirmed);
    }
    // A refused update leaves the fields as typed, for the user to mend, and stays.
    if (marked && !updateShown(labelBehind, AfterUpdate::SameQso)) {
        changed();
        return;
    }
    switch (after) {
    case AfterConfirm::SameQso: break;
    case AfterConfirm::NextQso:
        if (auto next = navigator().Step(m_position, 1))
            GoNext();
        break;
    case AfterConfirm::NewSearch: StartSearch(false); break;
    }
}

std::uint16_t QsoEntry::labelQueuePlace(const TQsoRec &shown)
{
    std::uint16_t same = 0;
    const TBAI<TQsoRec> &byCall = m_log.ByCall();
    for (std::int32_t i = m_log.EndOfCall(shown.Call.view()) - 1; i >= 0; --i) {
        const TQsoRec &q = *byCall.Get(i);
        if (q.Call != shown.Call)
            break;
        if (q.PrtSeqNr != 0 && (!m_admits || m_admits(q))) {
            same = q.PrtSeqNr;
            break;
        }
    }
    if (same != 0 && same != m_log.HighestPrtSeqNr() &&
        notifier().confirm("Same call marked already as number " + std::to_string(same) +
                               "\rinsert this QSO behind it?",
                           Buttons::YesNo) == Answer::Yes)
        return same;
    return 0;
}

void QsoEntry::alertContributions(const TQsoRec &confirmed)
{
    static const char *const awardNames[4] = {"DXCC", "WAZ", "WAS", "WPX"};
    static const char *const levelNames[3] = {"mixed", "mode", "band"};
    std::string contributions;
    std::vector<int> wheels;
    for (int award = 0; award < AwardCount; ++award)
        for (int level = 0; level < 3; ++level) {
            if (!ContributesTo(m_context.Awards(), m_log, confirmed, static_cast<AwardIndex>(award),
                               static_cast<AwardLevel>(level)))
                continue;
            std::string name = std::string(awardNames[award]) + " " + levelNames[level];
            contributions += name + "\r";
            for (int wheel = 0; wheel < AwardWheelCount; ++wheel)
                if (name == AwardWheelTable[wheel].award)
                    wheels.push_back(wheel);
        }
    if (contributions.empty())
        return;
    if (notifier().confirm("Confirming this QSO contributes to:\r" + contributions + "Do you want to submit?",
                           Buttons::YesNo) == Answer::Yes)
        for (int wheel : wheels)
            list(WheelList(wheel)) = 1;
}

// --- contest mode, window size, Tab stops ------------------------------------------------

int QsoEntry::shownContestNumber() const
{
    bool shown = m_mode == QsoWindowMode::AddRealTime && config().ContestEnabled && config().ContestNextNumber != 0;
    return shown ? static_cast<int>(config().ContestNextNumber) : 0;
}

void QsoEntry::updateContestPanel() { m_events->ContestNumber(shownContestNumber()); }

ContestTexts QsoEntry::ContestSettings() const
{
    return {config().ContestEnabled != 0, FormatDate(config().ContestStartDate, m_log.settings().dateFormat(), false),
            FormatTime(config().ContestStartTime, false), std::to_string(static_cast<int>(config().ContestNextNumber)),
            std::string(config().ContestNoteText.view())};
}

bool QsoEntry::ApplyContestSettings(const ContestTexts &texts)
{
    // Checked in full before anything changes: a typing slip never half-applies.
    std::optional<std::uint16_t> date = ParseDate(Trim(texts.date), m_log.settings().dateFormat());
    if (!Trim(texts.date).empty() && !date) {
        notifier().error("Not a valid date: " + texts.date);
        return false;
    }
    std::optional<std::int32_t> time = ParseTimeText(Trim(texts.time));
    if (!Trim(texts.time).empty() && !time) {
        notifier().error("Not a valid time: " + texts.time);
        return false;
    }
    std::optional<int> number = Trim(texts.number).empty() ? std::optional<int>(0) : ParseWholeNumber(texts.number);
    if (!number || *number < 0 || *number > 99999) {
        notifier().error("Value in range 0 to 99999 expected");
        return false;
    }
    TConfigRecord &setup = mutableConfig();
    setup.ContestEnabled = texts.enabled;
    setup.ContestStartDate = date.value_or(0);
    setup.ContestStartTime = time.value_or(0);
    setup.ContestNextNumber = *number;
    setup.ContestNoteText = texts.note;
    ContestSettingsChanged();
    return true;
}

void QsoEntry::ContestSettingsChanged()
{
    updateContestPanel();
    checkDupe();
    changed();
}

int QsoEntry::WindowSize() const { return std::min<int>(config().QsoWindowSize, 5); }

void QsoEntry::NextWindowSize()
{
    mutableConfig().QsoWindowSize = static_cast<std::uint8_t>((config().QsoWindowSize + 1) % 6);
    m_events->LayoutChanged();
    m_events->Focus(QsoField::Call);
}

std::array<bool, 23> QsoEntry::TabDisabled() const
{
    std::array<bool, 23> disabled{};
    for (std::size_t i = 0; i < disabled.size(); ++i)
        disabled[i] = config().TabDisabled[i];
    return disabled;
}

void QsoEntry::SetTabDisabled(const std::array<bool, 23> &disabled)
{
    for (std::size_t i = 0; i < disabled.size(); ++i)
        mutableConfig().TabDisabled[i] = disabled[i];
    m_events->LayoutChanged();
}

// --- clock and the station windows ---------------------------------------------------

void QsoEntry::ClockTick(std::uint16_t day, std::int32_t seconds)
{
    if (m_mode != QsoWindowMode::AddRealTime || !m_clockFollow)
        return;
    text(QsoField::Date) = FormatDate(day, m_log.settings().dateFormat(), false);
    text(QsoField::Time) = FormatTime(seconds, config().DefQSO_ShowSecs);
    m_lastTime = seconds;
    changed();
}

void QsoEntry::RadioReport(int mode, std::int64_t kHz)
{
    // The band chosen stays while it holds the frequency (13cm inside the Sat range).
    int shown = Index(QsoList::Band) + 1;
    int band = BandHoldsFreq(shown, kHz) ? shown : BandOfFreq(kHz);
    if (band == 0)
        return;
    if (shown != band) {
        list(QsoList::Band) = band - 1;
        bandChanged();
    }
    bool followMode = !m_context.Station().ignoreRadioMode;
    // The radio knows no FT8: an extended mode stays while the radio is in its radio mode.
    int chosen = Index(QsoList::Mode) + 1;
    if (followMode && mode > 0 && mode < ModeCount && chosen != mode && RadioModeOf(chosen) != mode) {
        list(QsoList::Mode) = mode - 1;
        modeChanged();
    }
    changed();
}

void QsoEntry::SpotCall(const std::string &call, std::uint16_t day)
{
    if (m_mode != QsoWindowMode::AddRealTime || !Text(QsoField::Call).empty())
        return;
    CallInfo info = m_logic.ResolveCall(UpperAscii(Trim(call)), day);
    m_country = info.country;
    text(QsoField::Prefix) = info.prefix;
    m_countryName = info.countryName;
    text(QsoField::Zone) = info.country ? std::to_string(info.zone) : std::string();
    // The WPX panel and the same-call window show the spotted call in place of the empty call field.
    m_spotCall = UpperAscii(Trim(call)).substr(0, 12);
    ShowLocation();
    changed();
    m_events->CompanionsDue();
}

bool QsoEntry::TakeSpot(const std::string &call, int band, int mode)
{
    if (m_mode == QsoWindowMode::SearchEntry || !AgreeToLeaveMode())
        return false;
    setMode(QsoWindowMode::AddRealTime);
    prepareBlank(nullptr);
    m_spotCall.clear();
    if (mode > 0)
        Choose(QsoList::Mode, mode - 1);
    if (band > 0)
        Choose(QsoList::Band, band - 1);
    Edit(QsoField::Call, UpperAscii(Trim(call)).substr(0, 12));
    Leave(QsoField::Call);
    m_events->Focus(QsoField::RstSent);
    changed();
    return true;
}

QsoMacroFields QsoEntry::MacroFields() const
{
    return {std::string(Trim(Text(QsoField::Call))),    std::string(Trim(Text(QsoField::RstSent))),
            std::string(Trim(Text(QsoField::RstRcvd))), std::string(Trim(Text(QsoField::Recvd))),
            Text(QsoField::CallNotes),                  shownContestNumber()};
}

} // namespace vellum
