// QSO entry: browsing the log in its orders, searching it, and the helpers of
// single fields (date and time steps, the F1 lists, notes, manager addresses).

#include "qsoentry.h"

#include "qsochecks.h"

#include "app/programcontext.h"
#include "awards/customaward.h"
#include "config/configrecord.h"
#include "country/addresses.h"
#include "country/countrydata.h"
#include "logstore/daytime.h"
#include "logstore/qsodata.h"
#include "logstore/qsoorders.h"
#include "logstore/report.h"
#include "logstore/selection.h"
#include "logstore/trim.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace vellum {

// --- browsing -------------------------------------------------------------------------

QsoNavigator QsoEntry::navigator() const
{
    return QsoNavigator(m_log.ViewIndex(), [this](const TQsoRec &rec) { return IsShown(rec); });
}

bool QsoEntry::IsShown(const TQsoRec &rec) const
{
    if (m_admits && !m_admits(rec))
        return false;
    return m_mode != QsoWindowMode::Filtered || MatchesFilter(rec);
}

bool QsoEntry::MatchesFilter(const TQsoRec &rec) const { return m_filter.Matches(rec, *m_searchContext); }

std::int32_t QsoEntry::BrowseCount() const { return m_log.ViewIndex().Count(); }

void QsoEntry::navigate(const std::optional<std::int32_t> &target)
{
    if (!target) {
        m_events->Beep();
        return;
    }
    if (!browsing())
        setMode(QsoWindowMode::Browse);
    showPosition(*target);
}

void QsoEntry::showPosition(std::int32_t position)
{
    m_position = position;
    if (position >= 0 && position < m_log.ViewIndex().Count())
        showRecord(*m_log.ViewIndex().Get(position));
    changed();
    m_events->CompanionsDue();
}

// Every move away from the QSO shown asks first when it was edited (keepEdit).
void QsoEntry::GoNext()
{
    if (keepEdit())
        navigate(navigator().Step(m_position, 1));
}

void QsoEntry::GoPrevious()
{
    if (keepEdit())
        navigate(navigator().Step(m_position, -1));
}

void QsoEntry::GoFirst()
{
    if (keepEdit())
        navigate(navigator().First());
}

void QsoEntry::GoLast()
{
    if (keepEdit())
        navigate(navigator().Last());
}

void QsoEntry::GoNextSorted() { stepSorted(1); }
void QsoEntry::GoPreviousSorted() { stepSorted(-1); }

void QsoEntry::GoTo(std::int32_t target)
{
    if (target == m_position || !keepEdit())
        return;
    int step = target > m_position ? 1 : -1;
    auto found = navigator().Step(target - step, step);
    navigate(found ? found : std::optional<std::int32_t>(m_position));
}

void QsoEntry::stepSorted(int step)
{
    if (!keepEdit())
        return;
    SortKey key = m_log.CurrentSortKey();
    if (key == SortKey::CustAwd) {
        m_events->Beep(); // the Cust Awd order has no primary key to compare
        return;
    }
    navigate(navigator().StepSorted(m_position, step, [key](const TQsoRec *a, const TQsoRec *b) {
        return ComparePrimaryKey(key, a, b);
    }));
}

void QsoEntry::ShowQso(const TQsoRec *rec)
{
    std::int32_t position = rec ? m_log.ViewIndex().PositionOf(rec) : -1;
    if (position < 0)
        return;
    if (m_mode != QsoWindowMode::Filtered)
        setMode(QsoWindowMode::Browse);
    showPosition(position);
}

void QsoEntry::SetSortOrder(int key)
{
    if (key < 0 || key >= SortKeyCount || !keepEdit())
        return;
    std::int32_t position = browsing() ? m_position : -1;
    m_log.SetSortKey(static_cast<SortKey>(key), position);
    m_position = position;
    changed();
}

std::string QsoEntry::Caption() const
{
    std::string name = std::filesystem::path(m_log.LogFileName).stem().string();
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    std::string caption = name + " sorted by " + SortOrderTable[static_cast<std::size_t>(m_log.CurrentSortKey())].name;
    if (m_log.CurSelIndex != 0)
        caption += "  Selection: " + m_log.CurSelection.Name.str();
    return caption;
}

void QsoEntry::RefreshFromLog()
{
    if (!browsing())
        return;
    if (m_position >= m_log.ViewIndex().Count())
        m_position = m_log.ViewIndex().Count() - 1;
    showPosition(m_position);
}

void QsoEntry::SelectionChanged()
{
    navigate(navigator().First());
    m_events->LogEdited();
}

// --- searching --------------------------------------------------------------------------

void QsoEntry::StartSearch(bool useOldFilter)
{
    if (!AgreeToLeaveMode() || m_log.Count() == 0)
        return;
    m_positionBeforeSearch = m_position;
    m_mode = QsoWindowMode::SearchEntry;
    updateContestPanel();
    RefreshCustomAwards();
    clearForSearch(useOldFilter);
    m_dupe = false;
    changed();
    m_events->Focus(QsoField::Call);
}

void QsoEntry::clearForSearch(bool useOldFilter)
{
    m_text.fill(std::string());
    m_index.fill(-1);
    if (useOldFilter && m_oldSearch) {
        m_text = m_oldSearch->first;
        m_index = m_oldSearch->second;
    }
    for (QsoField cleared : {QsoField::RstSent, QsoField::RstRcvd, QsoField::Group, QsoField::Zone})
        text(cleared).clear();
    m_countryName.clear();
    m_direction.clear();
}

SearchFields QsoEntry::searchFields() const
{
    SearchFields f;
    auto textOf = [this](QsoField field) { return std::string(Trim(Text(field))); };
    auto byte = [this](QsoField field) -> std::optional<std::uint8_t> {
        auto value = ParseWholeNumber(Text(field));
        return value && *value >= 0 && *value <= 255 ? std::optional<std::uint8_t>(static_cast<std::uint8_t>(*value))
                                                     : std::nullopt;
    };
    auto listIndex = [this](QsoList which, int offset) -> std::optional<std::uint8_t> {
        int chosen = Index(which);
        return chosen < 0 ? std::nullopt : std::optional<std::uint8_t>(static_cast<std::uint8_t>(chosen + offset));
    };
    auto yesNo = [this](QsoList which) -> std::optional<bool> {
        return Index(which) < 0 ? std::nullopt : std::optional<bool>(Index(which) == 0);
    };
    auto date = [&](QsoField field) -> std::optional<std::uint16_t> {
        return textOf(field).empty() ? std::nullopt : ParseDate(textOf(field), m_log.settings().dateFormat());
    };
    f.call = textOf(QsoField::Call);
    f.prefix = textOf(QsoField::Prefix);
    f.date = date(QsoField::Date);
    if (!textOf(QsoField::Time).empty())
        f.time = ParseTimeText(Text(QsoField::Time));
    f.mode = listIndex(QsoList::Mode, 1);
    f.band = listIndex(QsoList::Band, 1);
    if (!textOf(QsoField::RstSent).empty())
        f.rstSent = EncodeRst(textOf(QsoField::RstSent));
    if (!textOf(QsoField::RstRcvd).empty())
        f.rstRcvd = EncodeRst(textOf(QsoField::RstRcvd));
    f.recvd = textOf(QsoField::Recvd);
    f.zone = byte(QsoField::Zone);
    f.state = textOf(QsoField::State);
    f.county = textOf(QsoField::County);
    f.grid = textOf(QsoField::Grid);
    f.callNote = textOf(QsoField::CallNotes);
    f.manager = textOf(QsoField::Manager);
    f.qsoNote = textOf(QsoField::QsoNote);
    f.iota = IotaKey(Text(QsoField::Iota));
    f.label = yesNo(QsoList::Label);
    f.qslDate = date(QsoField::QslDate);
    f.method = listIndex(QsoList::QslMethod, 0);
    f.confirmed = yesNo(QsoList::Confirmed);
    f.qrp = yesNo(QsoList::Qrp);
    f.yl = yesNo(QsoList::Yl);
    if (int sat = Index(QsoList::Satellite); sat >= 0)
        f.satellite = static_cast<std::uint8_t>(sat == 0 ? 1 : sat + 1);
    f.custAwdChosen = Index(QsoList::AwardType) >= 0;
    f.custAwd = chosenAward();
    f.custValue = AwardValueListed() ? (Index(QsoList::AwardValueList) >= 0 ? customValueKey() : std::string())
                                     : textOf(QsoField::AwardValue);
    f.group = byte(QsoField::Group);
    f.validDx = yesNo(QsoList::ValidDx);
    for (int i = 0; i < AwardWheelCount; ++i) {
        int chosen = Index(WheelList(i));
        f.awardWheels.emplace_back(AwardWheelTable[i].award, chosen < 0 ? std::nullopt : std::optional<int>(chosen));
    }
    return f;
}

void QsoEntry::applySearchKinds(QsoFilter &filter) const
{
    filter.CallKind = config().DefQSO_CallSearch >= 1 && config().DefQSO_CallSearch <= 4
                          ? static_cast<CallSearch>(config().DefQSO_CallSearch)
                          : CallSearch::Exact;
    filter.DateKind = config().DefQSO_DateSearch >= 1 && config().DefQSO_DateSearch <= 3
                          ? static_cast<DateSearch>(config().DefQSO_DateSearch)
                          : DateSearch::Exact;
}

bool QsoEntry::RunSearch()
{
    m_oldSearch.emplace(m_text, m_index);
    m_filter.Clear();
    m_filter.Conditions = BuildConditions(searchFields());
    applySearchKinds(m_filter);
    setMode(QsoWindowMode::Filtered);
    auto first = navigator().First();
    if (!first) {
        setMode(QsoWindowMode::SearchEntry);
        notifier().information("No matching QSO found");
        return false;
    }
    showPosition(*first);
    m_events->LogEdited();
    return true;
}

bool QsoEntry::SearchFor(const std::function<void(QsoEntry &)> &fill, std::vector<SearchCondition> extra)
{
    StartSearch(false);
    if (m_mode != QsoWindowMode::SearchEntry)
        return false;
    fill(*this);
    m_oldSearch.emplace(m_text, m_index);
    m_filter.Clear();
    m_filter.Conditions = BuildConditions(searchFields());
    m_filter.Conditions.insert(m_filter.Conditions.end(), extra.begin(), extra.end());
    applySearchKinds(m_filter);
    setMode(QsoWindowMode::Filtered);
    auto first = navigator().First();
    if (!first) {
        // Nothing found: back to the QSO shown before, never a QSO under search fields.
        setMode(QsoWindowMode::Browse);
        notifier().information("No matching QSO found");
        auto before = m_positionBeforeSearch >= 0 && m_positionBeforeSearch < m_log.ViewIndex().Count()
                          ? std::optional<std::int32_t>(m_positionBeforeSearch)
                          : navigator().Last();
        navigate(before ? before : navigator().Last());
        return false;
    }
    showPosition(*first);
    m_events->LogEdited();
    return true;
}

std::int64_t QsoEntry::CountQsos()
{
    std::int64_t count = 0;
    if (m_mode == QsoWindowMode::SearchEntry) {
        QsoFilter filter;
        filter.Conditions = BuildConditions(searchFields());
        applySearchKinds(filter);
        for (const TQsoRec *rec : m_log)
            count += (!m_admits || m_admits(*rec)) && filter.Matches(*rec, *m_searchContext);
    } else if (m_mode == QsoWindowMode::Browse && m_log.CurSelIndex == 0) {
        count = m_log.Count();
    } else {
        for (const TQsoRec *rec : m_log)
            count += IsShown(*rec);
    }
    notifier().information(CountedNoun(count, "QSO") + "found");
    return count;
}

std::function<bool(const TQsoRec &)> QsoEntry::CommandScope() const
{
    if (m_mode != QsoWindowMode::SearchEntry)
        return [this](const TQsoRec &rec) { return IsShown(rec); };
    auto filter = std::make_shared<QsoFilter>();
    filter->Conditions = BuildConditions(searchFields());
    applySearchKinds(*filter);
    return [this, filter](const TQsoRec &rec) {
        return (!m_admits || m_admits(rec)) && filter->Matches(rec, *m_searchContext);
    };
}

void QsoEntry::LogChangedByCommand()
{
    if (m_log.Count() == 0 && m_mode != QsoWindowMode::AddOffline) {
        AddOffline();
    } else if (browsing()) {
        RefreshFromLog();
    }
    m_events->LogEdited();
}

void QsoEntry::CancelFilter()
{
    if ((m_mode != QsoWindowMode::Filtered && m_mode != QsoWindowMode::SearchEntry) || !keepEdit())
        return;
    bool wasSearchEntry = m_mode == QsoWindowMode::SearchEntry;
    const TQsoRec *shown = m_mode == QsoWindowMode::Filtered ? ShownQso() : nullptr;
    setMode(QsoWindowMode::Browse);
    std::int32_t target = wasSearchEntry ? m_positionBeforeSearch : (shown ? m_log.ViewIndex().PositionOf(shown) : -1);
    navigate(target >= 0 && target < m_log.ViewIndex().Count() ? std::optional<std::int32_t>(target)
                                                                : navigator().Last());
    m_events->LogEdited();
}

// --- date, time and notes -------------------------------------------------------------

void QsoEntry::StepDate(QsoField field, int days)
{
    DateFormat format = m_log.settings().dateFormat();
    std::uint16_t day = fieldDate(field);
    if (day == 0 && field == QsoField::QslDate)
        day = TodayDayNumber();
    else if (day != 0)
        day = static_cast<std::uint16_t>(std::clamp<int>(day + days, 1, LastValidDay));
    if (day)
        text(field) = FormatDate(day, format, false);
    changed();
}

void QsoEntry::StepTime(int minutes)
{
    std::int32_t time = ParseTimeText(Text(QsoField::Time)).value_or(0) + minutes * 60;
    if (time < 0 || time >= 86400) {
        StepDate(QsoField::Date, time < 0 ? -1 : 1);
        time = (time + 86400) % 86400;
    }
    text(QsoField::Time) = FormatTime(time, config().DefQSO_ShowSecs);
    changed();
}

void QsoEntry::AppendDate(QsoField note, bool today)
{
    std::string addition = today ? FormatDate(TodayDayNumber(), m_log.settings().dateFormat(), false) : Text(QsoField::Date);
    std::string value = Text(note);
    if (!today && !value.empty())
        value += ' ';
    Edit(note, value + addition);
}

void QsoEntry::AppendRadioFrequency(QsoField note)
{
    std::string frequency = m_context.Station().RadioFrequencyText();
    if (frequency.empty())
        return;
    std::string value = Text(note);
    if (!value.empty())
        value += ' ';
    Edit(note, value + frequency);
}

void QsoEntry::SetNote(QsoField note, std::string value)
{
    if (value == Text(note))
        return;
    Edit(note, std::move(value));
}

std::optional<std::vector<std::string>> QsoEntry::ManagerAddress()
{
    std::string manager(Trim(Text(QsoField::Manager)));
    if (manager.empty()) {
        notifier().information("Editing the address of a QSL manager\rrequires a callsign for the manager");
        return std::nullopt;
    }
    return vellum::ManagerAddress(m_context.Countries(), manager);
}

void QsoEntry::SetManagerAddress(const std::vector<std::string> &lines)
{
    std::vector<std::string> edited = lines;
    while (!edited.empty() && edited.back().empty())
        edited.pop_back();
    ReplaceManagerAddress(m_context.Countries(), Trim(Text(QsoField::Manager)), edited);
}

// --- the F1 lists ---------------------------------------------------------------------

namespace {

void addTable(FieldChoices &choices, const TTwoIndex &table)
{
    for (std::int32_t i = 0; i < table.Count(); ++i)
        choices.entries.emplace_back(table.KeyString(i), table.TailString(i));
}

} // namespace

std::optional<FieldChoices> QsoEntry::ChoicesFor(QsoField field)
{
    const TCountryData &countries = m_context.Countries();
    FieldChoices choices;
    switch (field) {
    case QsoField::Prefix:
        choices = {"Prefix", {}, 1};
        addTable(choices, countries.Countries);
        return choices;
    case QsoField::Iota:
        choices = {"Select IOTA", {}, 0};
        addTable(choices, countries.Iota);
        return choices;
    case QsoField::State: {
        std::uint8_t hasStates = m_country > 0 ? countries.CountryByte(m_country, 47) : 0;
        if (hasStates == 2) {
            notifier().information("There are no states in this country\r");
            text(QsoField::State).clear();
        } else if (hasStates == 3 || hasStates == 4) {
            text(QsoField::State) = hasStates == 3 ? "HI" : "AK";
        }
        changed();
        if (hasStates != 1)
            return std::nullopt;
        choices = {"States", {}, 1};
        addTable(choices, countries.States);
        return choices;
    }
    case QsoField::County: {
        std::int32_t state = countries.StateIndex(std::string(Trim(Text(QsoField::State))));
        if (state == 0) {
            notifier().information("No State Information Available");
            return std::nullopt;
        }
        choices = {std::string(countries.StateAbbreviation(state)) + " Counties", {}, 0};
        for (std::uint32_t number = 1;; ++number) {
            std::string name = countries.CountyName(state, number);
            if (name.empty())
                break;
            choices.entries.emplace_back(std::to_string(number), name);
        }
        return choices;
    }
    case QsoField::AwardValue: {
        std::int32_t award = m_context.CustomAwards().IndexOf(chosenAward());
        if (award < 0 || !m_context.CustomAwards().At(award).HasValueList())
            return std::nullopt;
        choices = {"Award Value", {}, 0};
        for (const TCustAwardValue &value : m_context.CustomAwards().At(award).ValuesByName())
            choices.entries.emplace_back(value.key, value.longName);
        return choices;
    }
    case QsoField::Group:
        choices = {"Select Group", {}, 1};
        for (std::size_t g = 0; g < m_log.GroupNames.size(); ++g) {
            char key[24];
            std::snprintf(key, sizeof key, "%3zu", g);
            choices.entries.emplace_back(key, m_log.GroupNames[g]);
        }
        return choices;
    default:
        return std::nullopt;
    }
}

void QsoEntry::ChooseFrom(QsoField field, const FieldChoices &choices, int chosen)
{
    if (chosen < choices.firstChoosable || chosen >= static_cast<int>(choices.entries.size()))
        return;
    const auto &[key, name] = choices.entries[static_cast<std::size_t>(chosen)];
    switch (field) {
    case QsoField::Prefix:
    case QsoField::State:
        Edit(field, key);
        Leave(field);
        break;
    case QsoField::County:
        Set(field, name);
        break;
    case QsoField::Group:
        Set(field, std::to_string(chosen));
        break;
    case QsoField::AwardValue: {
        auto at = std::find(m_awardValues.begin(), m_awardValues.end(), name);
        if (at != m_awardValues.end())
            list(QsoList::AwardValueList) = static_cast<int>(at - m_awardValues.begin());
        break;
    }
    default:
        Set(field, key);
        break;
    }
    changed();
}

} // namespace vellum
