// QSO entry: showing a QSO in the fields, reading and checking the fields, and
// the rules that run as the user leaves a field or chooses from a list.

#include "qsoentry.h"

#include "banddecoder.h"
#include "qsochecks.h"

#include "app/programcontext.h"
#include "awards/customaward.h"
#include "config/configrecord.h"
#include "country/countrydata.h"
#include "country/iota.h"
#include "geo/bearing.h"
#include "logstore/daytime.h"
#include "logstore/qsodata.h"
#include "logstore/qsotables.h"
#include "logstore/report.h"
#include "logstore/shortstring.h"
#include "logstore/trim.h"

#include <algorithm>

namespace vellum {

namespace {

const QsoList YesNoLists[] = {QsoList::Label, QsoList::Confirmed, QsoList::Qrp, QsoList::Yl};
const std::uint8_t YesNoFlags[] = {QslFlag::Label, QslFlag::Cnfm, QslFlag::QRP, QslFlag::YLop};

const AwardFlagPair &flagPair(const char *award)
{
    for (const auto &pair : AwardFlagTable)
        if (std::string_view(pair.name) == award)
            return pair;
    return AwardFlagTable[0];
}

} // namespace

// --- the working QSO ------------------------------------------------------------------

std::vector<std::string> QsoEntry::Items(QsoList which) const
{
    if (which == QsoList::AwardType) {
        std::vector<std::string> names;
        for (const auto &[name, ident] : m_awardChoices)
            names.push_back(name);
        return names;
    }
    if (which == QsoList::AwardValueList)
        return m_awardValues;
    return FixedListItems(which, config().DefQSO_ShowBandMHz);
}

int QsoEntry::MaxLength(QsoField field) const
{
    if (field == QsoField::Time)
        return config().DefQSO_ShowSecs ? 8 : 5;
    if (field == QsoField::RstSent || field == QsoField::RstRcvd)
        return ReportLength();
    return FieldSpecOf(field).maxLength;
}

int QsoEntry::ReportLength() const
{
    int mode = Index(QsoList::Mode) + 1;
    if (m_mode == QsoWindowMode::SearchEntry || !IsMode(mode))
        return 3;
    const ModeInfo &info = ModeInfoOf(mode);
    return info.threeDigitReport || info.dbReport ? 3 : 2; // "-12"
}

bool QsoEntry::ListEnabled(QsoList which) const
{
    const StationState &station = m_context.Station();
    if (m_mode != QsoWindowMode::AddRealTime || !station.radioConnected)
        return true;
    if (which == QsoList::Band)
        return false;
    return which != QsoList::Mode || station.ignoreRadioMode;
}

std::string QsoEntry::CompanionCall() const
{
    std::string call(Trim(Text(QsoField::Call)));
    return call.empty() ? m_spotCall : call;
}

void QsoEntry::Set(QsoField field, std::string value)
{
    // What the program sets is cut to the field's room; the picture of the
    // reports applies to typing only (Edit).
    if (FieldSpecOf(field).upper)
        value = UpperAscii(value);
    bool report = field == QsoField::RstSent || field == QsoField::RstRcvd;
    int room = report ? FieldSpecOf(field).maxLength : MaxLength(field);
    if (static_cast<int>(value.size()) > room)
        value.resize(static_cast<std::size_t>(room));
    text(field) = std::move(value);
}

void QsoEntry::Select(QsoList which, int chosen)
{
    list(which) = chosen;
    if (which == QsoList::AwardType)
        customAwardChosen();
}

void QsoEntry::Edit(QsoField field, std::string value)
{
    if (static_cast<int>(value.size()) > MaxLength(field))
        value.resize(static_cast<std::size_t>(MaxLength(field)));
    Set(field, std::move(value));
    m_edited[index(field)] = true;
    m_failed[index(field)] = false; // the user mends the field
    if (field == QsoField::CallNotes)
        m_callNotesChanged = true;
    if (field == QsoField::Call) {
        m_callChanged = true;
        m_spotCall.clear();
        if (config().DefQSO_CallUpdate && m_mode != QsoWindowMode::SearchEntry)
            processCall();
        m_events->CallEdited();
    }
    changed();
}

void QsoEntry::Leave(QsoField field)
{
    if (m_mode == QsoWindowMode::SearchEntry)
        return;
    // The rules run for a call typed since it was last processed, and for the
    // other fields only when the user changed them.
    bool edited = std::exchange(m_edited[index(field)], false);
    if (field == QsoField::Call ? !m_callChanged : !edited)
        return;
    switch (field) {
    case QsoField::Call: processCall(); break;
    case QsoField::Prefix: prefixLeft(); break;
    case QsoField::State: stateLeft(); break;
    case QsoField::Zone: zoneLeft(); break;
    case QsoField::County: countyLeft(); break;
    case QsoField::Grid: gridLeft(); break;
    case QsoField::Iota: iotaLeft(); break;
    case QsoField::Date: dateLeft(); break;
    case QsoField::Group:
        if (!inRange(QsoField::Group, 253))
            fail(QsoField::Group, MessageKind::Warning, "Valid range is 0..253", false);
        break;
    default: return;
    }
    changed();
}

void QsoEntry::Choose(QsoList which, int chosen)
{
    Select(which, chosen);
    if (which == QsoList::Mode)
        modeChanged();
    else if (which == QsoList::Band)
        bandChanged();
    changed();
}

void QsoEntry::Entered(QsoField field)
{
    if ((field == QsoField::Date || field == QsoField::Time) && m_mode == QsoWindowMode::AddRealTime)
        m_clockFollow = false; // the user sets the time himself
}

void QsoEntry::markUnchanged()
{
    m_shownText = m_text;
    m_shownIndex = m_index;
    m_shownAward = {chosenAward(), customValueKey()};
    m_edited.fill(false);
    m_failed.fill(false);
    m_callChanged = false;
    m_callNotesChanged = false;
}

bool QsoEntry::FormChanged() const
{
    if (m_text != m_shownText || std::make_pair(chosenAward(), customValueKey()) != m_shownAward)
        return true;
    // The custom award lists follow the QSO and may be rebuilt: they compare by award and value above.
    for (int i = 0; i < QsoListCount; ++i) {
        auto which = static_cast<QsoList>(i);
        if (which != QsoList::AwardType && which != QsoList::AwardValueList && m_index[index(which)] != m_shownIndex[index(which)])
            return true;
    }
    return false;
}

std::uint16_t QsoEntry::fieldDate(QsoField field) const
{
    return ParseDate(Trim(Text(field)), m_log.settings().dateFormat()).value_or(0);
}

// --- showing a QSO ----------------------------------------------------------------------

void QsoEntry::showRecord(const TQsoRec &rec)
{
    DateFormat format = m_log.settings().dateFormat();
    const TCountryData &countries = m_context.Countries();
    text(QsoField::Call) = rec.Call.str();
    m_country = rec.Country;
    text(QsoField::Prefix) = std::string(countries.CountryPrefix(rec.Country));
    m_countryName = std::string(countries.CountryName(rec.Country));
    text(QsoField::Date) = FormatDate(rec.Date, format, false);
    text(QsoField::Time) = FormatTime(rec.Time, config().DefQSO_ShowSecs);
    list(QsoList::Mode) = IsMode(rec.Mode) ? rec.Mode - 1 : -1;
    list(QsoList::Band) = IsBand(rec.Band) ? rec.Band - 1 : -1;
    text(QsoField::RstSent) = DecodeRst(rec.RstSent);
    text(QsoField::RstRcvd) = DecodeRst(rec.RstRcvd);
    text(QsoField::Recvd) = rec.Recvd.str();
    text(QsoField::Zone) = std::to_string(rec.Zone);
    text(QsoField::State) = std::string(countries.StateAbbreviation(rec.State));
    text(QsoField::County) = rec.State && rec.County ? countries.CountyName(rec.State, rec.County) : std::string();
    text(QsoField::Grid) = rec.Grid.str();
    text(QsoField::CallNotes) = m_log.Notes.NoteOf(rec.Call.view());
    text(QsoField::Manager) = m_lookups->ManagerOf(rec.Call.view(), rec.Date);
    text(QsoField::QsoNote) = std::string(rec.QsoNote.text());
    text(QsoField::Iota) = rec.Iota.str();
    text(QsoField::QslDate) = FormatDate(rec.QslDate, format, false);
    list(QsoList::QslMethod) = rec.QslMethod <= 6 ? rec.QslMethod : 0;
    for (int i = 0; i < 4; ++i)
        list(YesNoLists[i]) = (rec.QslFlags & YesNoFlags[i]) ? 0 : 1;
    list(QsoList::Satellite) = rec.Satellite >= 2 && rec.Satellite <= 9 ? rec.Satellite - 1 : 0;
    showCustomValue(rec);
    text(QsoField::Group) = std::to_string(rec.Group);
    list(QsoList::ValidDx) = (rec.QslFlags & QslFlag::ValidDX) ? 0 : 1;
    for (int i = 0; i < AwardWheelCount; ++i) {
        const AwardFlagPair &pair = flagPair(AwardWheelTable[i].award);
        list(WheelList(i)) = (rec.AwdFlags & pair.submitted) ? 1 : (rec.AwdFlags & pair.checked) ? 2 : 0;
    }
    m_lastTime = rec.Time;
    ShowLocation();
    markUnchanged();
}

// --- checking and reading the fields -----------------------------------------------

bool QsoEntry::refuse(QsoField field, MessageKind kind, const std::string &message)
{
    setFailed(field, true);
    changed();
    notifier().show(kind, message, Buttons::Ok);
    m_events->Focus(field);
    return false;
}

void QsoEntry::fail(QsoField field, MessageKind kind, const std::string &message, bool openList)
{
    setFailed(field, true);
    changed(); // the error colour shows before the message or the list
    if (!message.empty())
        notifier().show(kind, message, Buttons::Ok);
    if (openList)
        m_events->ListDue(field);
}

void QsoEntry::setFailed(QsoField field, bool failed) { m_failed[index(field)] = failed; }

bool QsoEntry::inRange(QsoField field, int last) const
{
    if (Trim(Text(field)).empty())
        return true;
    auto value = ParseWholeNumber(Text(field));
    return value && *value >= 0 && *value <= last;
}

bool QsoEntry::iotaAcceptable() const
{
    std::string_view typed = Trim(Text(QsoField::Iota));
    return typed.empty() || m_lookups->IotaExists(typed);
}

bool QsoEntry::checkFields()
{
    if (!inRange(QsoField::Zone, 40))
        return refuse(QsoField::Zone, MessageKind::Warning, "Valid range is 0..40");
    if (!inRange(QsoField::Group, 253))
        return refuse(QsoField::Group, MessageKind::Warning, "Valid range is 0..253");
    std::string_view grid = Trim(Text(QsoField::Grid));
    if (!grid.empty() && !ValidGrid(grid))
        return refuse(QsoField::Grid, MessageKind::Error, "Not a good GRID");
    if (!iotaAcceptable())
        return refuse(QsoField::Iota, MessageKind::Error, "Unknown IOTA reference " + std::string(Trim(Text(QsoField::Iota))));
    if (!Trim(Text(QsoField::Date)).empty() && fieldDate(QsoField::Date) == 0)
        return refuse(QsoField::Date, MessageKind::Error, "Not a valid date: " + Text(QsoField::Date));
    std::string_view time = Trim(Text(QsoField::Time));
    if (!time.empty() && time != "??:??" && !ParseTimeText(time))
        return refuse(QsoField::Time, MessageKind::Error, "Not a valid time: " + std::string(time));
    return true;
}

bool QsoEntry::readRecord(TQsoRec &rec)
{
    std::string call = UpperAscii(Trim(Text(QsoField::Call)));
    if (!ValidCallsign(call))
        return refuse(QsoField::Call, MessageKind::Error, BadCallsignText);
    int mode = Index(QsoList::Mode) + 1;
    CheckedReports reports = CheckReports(Trim(Text(QsoField::RstSent)), Trim(Text(QsoField::RstRcvd)), mode);
    if (reports.problem != ReportProblem::None)
        return refuse(QsoField::RstSent, MessageKind::Error, ReportProblemText(reports.problem));
    if (!checkFields())
        return false;
    const TCountryData &countries = m_context.Countries();
    rec.Call = call;
    rec.Date = fieldDate(QsoField::Date);
    std::string_view time = Trim(Text(QsoField::Time));
    rec.Time = time.empty() ? m_lastTime : ParseTimeText(time).value_or(-1);
    std::int32_t country = countries.CountryIndexOfPrefix(std::string(Trim(Text(QsoField::Prefix))));
    rec.Country = static_cast<std::int16_t>(country > 0 ? country : 0);
    rec.Zone = static_cast<std::uint8_t>(ParseWholeNumber(Text(QsoField::Zone)).value_or(0));
    rec.Mode = static_cast<std::uint8_t>(mode);
    rec.Band = static_cast<std::uint8_t>(Index(QsoList::Band) + 1);
    rec.RstSent = reports.sent;
    rec.RstRcvd = reports.received;
    rec.Recvd = Trim(Text(QsoField::Recvd));
    std::string state(Trim(Text(QsoField::State)));
    rec.State = static_cast<std::uint8_t>(countries.StateIndex(state));
    std::string county(Trim(Text(QsoField::County)));
    rec.County = rec.State && !county.empty() ? countries.CountyNumber(state, county) : 0;
    rec.Iota = Trim(Text(QsoField::Iota)).empty() ? std::string() : NormalizeTypedIota(Text(QsoField::Iota));
    rec.QslDate = fieldDate(QsoField::QslDate);
    rec.QslMethod = static_cast<std::uint8_t>(std::max(0, Index(QsoList::QslMethod)));
    int sat = Index(QsoList::Satellite);
    rec.Satellite = static_cast<std::uint8_t>(sat <= 0 ? 1 : sat + 1);
    rec.Grid = FormatGrid(Trim(Text(QsoField::Grid)));
    rec.QslFlags = static_cast<std::uint8_t>(rec.QslFlags & ~(QslFlag::Label | QslFlag::Cnfm | QslFlag::QRP |
                                                              QslFlag::YLop | QslFlag::ValidDX));
    for (int i = 0; i < 4; ++i)
        if (Index(YesNoLists[i]) == 0)
            rec.QslFlags |= YesNoFlags[i];
    if (Index(QsoList::ValidDx) == 0)
        rec.QslFlags |= QslFlag::ValidDX;
    for (int i = 0; i < AwardWheelCount; ++i) {
        const AwardFlagPair &pair = flagPair(AwardWheelTable[i].award);
        rec.AwdFlags &= ~(pair.submitted | pair.checked);
        int shown = Index(WheelList(i));
        rec.AwdFlags |= shown == 1 ? pair.submitted : shown == 2 ? pair.checked : 0u;
    }
    rec.Group = static_cast<std::uint8_t>(ParseWholeNumber(Text(QsoField::Group)).value_or(0));
    rec.CustAwd = chosenAward();
    rec.CustValue = customValueKey();
    rec.QsoNote.set(Trim(Text(QsoField::QsoNote)));
    rec.WpxPfx = m_log.resolver().WpxPrefix(rec.Call.view());
    return true;
}

// --- call processing and the field rules -----------------------------------------------

void QsoEntry::showCallInfo(const CallInfo &info)
{
    text(QsoField::CallNotes) = info.callNote;
    m_callNotesChanged = false;
    m_country = info.country;
    text(QsoField::Prefix) = info.prefix;
    m_countryName = info.countryName;
    text(QsoField::Zone) = info.country || info.zone ? std::to_string(info.zone) : std::string();
    text(QsoField::State) = info.state;
    text(QsoField::Iota) = info.iota;
    text(QsoField::Grid) = info.grid;
    text(QsoField::County) = info.county;
    text(QsoField::Manager) = info.manager;
    list(QsoList::ValidDx) = info.validDx ? 0 : 1;
    if (info.ylOperator)
        list(QsoList::Yl) = 0;
}

void QsoEntry::processCall()
{
    m_callChanged = false;
    std::string call = UpperAscii(Trim(Text(QsoField::Call)));
    std::uint16_t date = fieldDate(QsoField::Date);
    showCallInfo(m_logic.ProcessCall(call, date ? date : TodayDayNumber()));
    checkDupe();
    ShowLocation();
    m_events->CompanionsDue();
    m_events->CustomAwardsDue();
}

void QsoEntry::prefixLeft()
{
    const TCountryData &countries = m_context.Countries();
    std::string prefix(Trim(Text(QsoField::Prefix)));
    std::int32_t country = prefix.empty() ? 0 : countries.CountryIndexOfPrefix(prefix);
    CallInfo info;
    info.state = Text(QsoField::State);
    m_logic.ShowCountry(static_cast<std::int16_t>(std::max(country, 0)), info);
    m_country = info.country;
    m_countryName = info.countryName;
    text(QsoField::Prefix) = country > 0 ? info.prefix : prefix; // an unknown prefix stays for the user to mend
    text(QsoField::State) = info.state;
    text(QsoField::Iota) = info.iota;
    text(QsoField::Zone) = country > 0 ? std::to_string(countries.CountryByte(country, 8)) : std::string();
    ShowLocation();
    m_events->CustomAwardsDue();
    m_events->CompanionsDue();
    if (!prefix.empty() && country <= 0)
        fail(QsoField::Prefix, MessageKind::Error, "", true);
}

CallInfo QsoEntry::resolveCall() const
{
    std::string call(Trim(Text(QsoField::Call)));
    std::uint16_t date = fieldDate(QsoField::Date);
    return m_logic.ResolveCall(UpperAscii(call), date ? date : TodayDayNumber());
}

void QsoEntry::stateLeft()
{
    const TCountryData &countries = m_context.Countries();
    std::string state(Trim(Text(QsoField::State)));
    if (state != countries.AllowedState(m_country, state) || (!state.empty() && countries.StateIndex(state) == 0)) {
        fail(QsoField::State, MessageKind::Error, "", true);
        return;
    }
    text(QsoField::County).clear();
    std::int32_t index = countries.StateIndex(state);
    if (index > 0)
        text(QsoField::Zone) = std::to_string(countries.StateCqZone(index));
    else if (!Trim(Text(QsoField::Call)).empty())
        text(QsoField::Zone) = std::to_string(resolveCall().zone); // no state: the zone of the call
    ShowLocation();
    m_events->CompanionsDue();
}

void QsoEntry::zoneLeft()
{
    if (!inRange(QsoField::Zone, 40)) {
        fail(QsoField::Zone, MessageKind::Warning, "Valid range is 0..40", false);
        return;
    }
    m_events->CompanionsDue();
}

void QsoEntry::countyLeft()
{
    const TCountryData &countries = m_context.Countries();
    std::string county(Trim(Text(QsoField::County)));
    std::string state(Trim(Text(QsoField::State)));
    if (!county.empty() && state.empty()) {
        fail(QsoField::County, MessageKind::Error, "No State information available", false);
        return;
    }
    if (!county.empty() && countries.CountyNumber(state, county) == 0) {
        fail(QsoField::County, MessageKind::Error, "", true);
        return;
    }
    m_events->CompanionsDue();
}

void QsoEntry::iotaLeft()
{
    if (!iotaAcceptable()) {
        fail(QsoField::Iota, MessageKind::Error, "", true);
        return;
    }
    if (!Trim(Text(QsoField::Iota)).empty())
        text(QsoField::Iota) = NormalizeTypedIota(Text(QsoField::Iota));
    ShowLocation();
    m_events->CompanionsDue();
}

void QsoEntry::gridLeft()
{
    std::string_view grid = Trim(Text(QsoField::Grid));
    if (!grid.empty() && !ValidGrid(grid)) {
        fail(QsoField::Grid, MessageKind::Error, "Not a good GRID", false);
        return;
    }
    text(QsoField::Grid) = FormatGrid(grid);
    ShowLocation();
    m_events->CompanionsDue();
}

void QsoEntry::dateLeft()
{
    // A new date may move the call to another country (or end an exception):
    // country, zone and manager follow; what the user typed elsewhere stays.
    if (Trim(Text(QsoField::Call)).empty())
        return;
    CallInfo info = resolveCall();
    if (info.country != m_country) {
        info.state = m_context.Countries().AllowedState(info.country, Text(QsoField::State));
        text(QsoField::State) = info.country ? info.state : std::string();
        text(QsoField::Iota) = info.iota;
    }
    m_country = info.country;
    m_countryName = info.countryName;
    text(QsoField::Prefix) = info.prefix;
    text(QsoField::Zone) = info.country || info.zone ? std::to_string(info.zone) : std::string();
    text(QsoField::Manager) = info.manager;
    ShowLocation();
    m_events->CompanionsDue();
    m_events->CustomAwardsDue();
}

void QsoEntry::modeChanged()
{
    if (m_mode == QsoWindowMode::SearchEntry) {
        // A mode searched for is no report searched for: the report fields stay as typed.
        m_events->CustomAwardsDue();
        return;
    }
    std::string report = DecodeRst(DefaultReport(Index(QsoList::Mode) + 1));
    text(QsoField::RstSent) = report;
    text(QsoField::RstRcvd) = report;
    checkDupe();
    m_events->HighlightDue();
    m_events->CustomAwardsDue();
}

void QsoEntry::bandChanged()
{
    if (adding() && Index(QsoList::Band) + 1 != 15)
        list(QsoList::Satellite) = 0;
    if (m_mode == QsoWindowMode::AddRealTime)
        driveBandDecoder();
    checkDupe();
    m_events->HighlightDue();
    m_events->CustomAwardsDue();
}

void QsoEntry::driveBandDecoder()
{
    int band = Index(QsoList::Band) + 1;
    auto byte = BandDecoderByte(band, config().F_Band_sel);
    if (config().F_Band_type != 2 || band == 15 || !byte)
        return;
    if (!m_bandPort) {
        int port = config().F_Band_Port >= 1 && config().F_Band_Port <= 3 ? config().F_Band_Port : 1;
        m_bandPort = std::make_unique<ParallelPortOutput>("/dev/parport" + std::to_string(port - 1));
    }
    if (!m_bandPort->Write(*byte) && !m_bandPortWarned) {
        m_bandPortWarned = true; // once per window, not at every band change
        notifier().warning("Could not open CW driver");
    }
}

void QsoEntry::checkDupe()
{
    bool dupe = false;
    if (m_mode == QsoWindowMode::AddRealTime && config().ContestEnabled) {
        std::string call(Trim(Text(QsoField::Call)));
        dupe = !call.empty() &&
               m_logic.IsContestDupe(call, static_cast<std::uint8_t>(Index(QsoList::Band) + 1),
                                     static_cast<std::uint8_t>(Index(QsoList::Mode) + 1), config().ContestStartDate,
                                     config().ContestStartTime, m_admits);
    }
    if (dupe && !m_dupe)
        m_events->Beep();
    m_dupe = dupe;
}

void QsoEntry::ShowLocation()
{
    m_direction = m_logic.DirectionText(Trim(Text(QsoField::Grid)), Trim(Text(QsoField::Iota)),
                                        Trim(Text(QsoField::State)), m_country);
}

std::optional<int> QsoEntry::Bearing() const
{
    auto result = m_logic.Locate(Trim(Text(QsoField::Grid)), Trim(Text(QsoField::Iota)), Trim(Text(QsoField::State)),
                                 m_country);
    return result ? std::optional<int>(result->second.bearing) : std::nullopt;
}

std::optional<QsoLocation> QsoEntry::Location() const
{
    auto point = m_logic.LocatePoint(Trim(Text(QsoField::Grid)), Trim(Text(QsoField::Iota)),
                                     Trim(Text(QsoField::State)), m_country);
    if (!point)
        return std::nullopt;
    auto path = GreatCircle(GeoPoint{config().Personal_Latitude, config().Personal_Longitude}, point->second);
    if (!path)
        return std::nullopt;
    return QsoLocation{point->first, point->second, path->bearing};
}

// --- custom awards ------------------------------------------------------------------------

void QsoEntry::RefreshCustomAwards()
{
    std::string previous = chosenAward();
    const TCustAwardList &awards = m_context.CustomAwards();
    m_awardChoices = {{"---", ""}};
    std::vector<std::int32_t> listed =
        m_mode == QsoWindowMode::SearchEntry
            ? awards.ByName()
            : awards.AwardsFor(std::string(Trim(Text(QsoField::Prefix))), Index(QsoList::Band) + 1,
                               Index(QsoList::Mode) + 1);
    for (std::int32_t position : listed)
        m_awardChoices.emplace_back(awards.At(position).Name, awards.At(position).Ident);
    auto found = std::find_if(m_awardChoices.begin(), m_awardChoices.end(),
                              [&](const auto &choice) { return choice.second == previous; });
    int at = found == m_awardChoices.end() ? 0 : static_cast<int>(found - m_awardChoices.begin());
    list(QsoList::AwardType) = m_mode == QsoWindowMode::SearchEntry && previous.empty() ? -1 : at;
    customAwardChosen();
    changed();
}

std::string QsoEntry::chosenAward() const
{
    int chosen = Index(QsoList::AwardType);
    return chosen < 0 || chosen >= static_cast<int>(m_awardChoices.size()) ? std::string()
                                                                            : m_awardChoices[static_cast<std::size_t>(chosen)].second;
}

bool QsoEntry::AwardValueListed() const
{
    std::string ident = chosenAward();
    std::int32_t award = ident.empty() ? -1 : m_context.CustomAwards().IndexOf(ident);
    return award >= 0 && m_context.CustomAwards().At(award).HasValueList();
}

bool QsoEntry::AwardValueTyped() const
{
    std::string ident = chosenAward();
    return !ident.empty() && m_context.CustomAwards().IndexOf(ident) >= 0 && !AwardValueListed();
}

void QsoEntry::fillAwardValues(std::int32_t award)
{
    int shown = Index(QsoList::AwardValueList);
    std::string previous = shown >= 0 && shown < static_cast<int>(m_awardValues.size())
                               ? m_awardValues[static_cast<std::size_t>(shown)]
                               : std::string();
    m_awardValues.clear();
    for (const TCustAwardValue &value : m_context.CustomAwards().At(award).ValuesByName())
        m_awardValues.push_back(value.longName);
    auto found = std::find(m_awardValues.begin(), m_awardValues.end(), previous);
    list(QsoList::AwardValueList) = found == m_awardValues.end() ? 0 : static_cast<int>(found - m_awardValues.begin());
}

void QsoEntry::customAwardChosen()
{
    if (AwardValueListed())
        fillAwardValues(m_context.CustomAwards().IndexOf(chosenAward()));
}

void QsoEntry::showCustomValue(const TQsoRec &rec)
{
    std::string ident = rec.CustAwd.str();
    const TCustAwardList &awards = m_context.CustomAwards();
    auto found = std::find_if(m_awardChoices.begin(), m_awardChoices.end(),
                              [&](const auto &choice) { return choice.second == ident; });
    if (found == m_awardChoices.end() && !ident.empty()) {
        // A QSO keeps its award even where the award no longer fits its country, band or mode.
        std::int32_t award = awards.IndexOf(ident);
        m_awardChoices.emplace_back(award >= 0 ? awards.At(award).Name : ident, ident);
        found = m_awardChoices.end() - 1;
    }
    list(QsoList::AwardType) = found == m_awardChoices.end() ? 0 : static_cast<int>(found - m_awardChoices.begin());
    customAwardChosen();
    text(QsoField::AwardValue) = rec.CustValue.str();
    std::int32_t award = ident.empty() ? -1 : awards.IndexOf(ident);
    if (award >= 0 && awards.At(award).HasValueList()) {
        const TCustAwardValue *value = awards.At(award).ValueOfKey(rec.CustValue.view());
        auto at = value ? std::find(m_awardValues.begin(), m_awardValues.end(), value->longName) : m_awardValues.end();
        list(QsoList::AwardValueList) = at == m_awardValues.end() ? (value ? -1 : 0) : static_cast<int>(at - m_awardValues.begin());
    }
}

std::string QsoEntry::customValueKey() const
{
    std::string ident = chosenAward();
    if (ident.empty())
        return {};
    const TCustAwardList &awards = m_context.CustomAwards();
    std::int32_t position = awards.IndexOf(ident);
    if (position < 0)
        return UpperAscii(Trim(Text(QsoField::AwardValue)));
    const TCustAward &award = awards.At(position);
    if (!award.HasValueList())
        return award.FormatValue(std::string(Trim(Text(QsoField::AwardValue))));
    int chosen = Index(QsoList::AwardValueList);
    const TCustAwardValue *value =
        chosen >= 0 && chosen < static_cast<int>(m_awardValues.size())
            ? award.ValueOfName(m_awardValues[static_cast<std::size_t>(chosen)])
            : nullptr;
    return value ? value->key : award.ValuesByName().front().key;
}

} // namespace vellum
