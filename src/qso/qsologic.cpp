#include "qsologic.h"

#include "config/configrecord.h"
#include "country/countrydata.h"
#include "country/resolver.h"
#include "geo/bearing.h"
#include "logstore/qsodata.h"
#include "logstore/qsotables.h"

#include <vector>

namespace vellum {

TQsoRec QsoLogic::BlankQso(const TQsoRec *previous) const
{
    TQsoRec rec;
    rec.Group = m_config.DefQSO_Group;
    rec.Mode = IsMode(m_config.DefQSO_Mode) ? m_config.DefQSO_Mode : 14;
    rec.Band = IsBand(m_config.DefQSO_band) ? m_config.DefQSO_band : 5;
    rec.QslMethod = m_config.DefQSO_Method <= 6 ? m_config.DefQSO_Method : 0;
    rec.Satellite = 1;
    rec.QslFlags = QslFlag::ValidDX;
    if (m_config.DefQSO_Label == 1)
        rec.QslFlags |= QslFlag::Label;
    if (previous) {
        rec.Date = previous->Date;
        rec.Time = previous->Time;
        rec.Mode = previous->Mode;
        rec.Band = previous->Band;
        rec.Satellite = previous->Satellite;
        rec.Group = previous->Group;
        rec.QslFlags = static_cast<std::uint8_t>((rec.QslFlags & ~QslFlag::QRP) | (previous->QslFlags & QslFlag::QRP));
    }
    rec.RstSent = rec.RstRcvd = DefaultReport(rec.Mode);
    return rec;
}

void QsoLogic::ShowCountry(std::int16_t country, CallInfo &info) const
{
    if (country <= 0 || !m_countries.ValidCountry(country)) {
        info.country = 0;
        info.prefix.clear();
        info.countryName.clear();
        info.state.clear();
        info.zone = 0;
        info.iota.clear();
        return;
    }
    info.country = country;
    info.prefix = std::string(m_countries.CountryPrefix(country));
    info.countryName = std::string(m_countries.CountryName(country));
    info.state = m_countries.AllowedState(country, info.state);
    info.iota = m_countries.Country(country).iota;
}

CallInfo QsoLogic::ResolveCall(std::string_view call, std::uint16_t date) const
{
    CallInfo info;
    TQsoRec scratch;
    scratch.Call = call;
    scratch.Date = date;
    m_resolver.ResolveCountry(scratch);
    info.validDx = call.find("/MM") == std::string_view::npos;
    info.manager = m_lookups.ManagerOf(call, date);
    info.state = std::string(m_countries.StateAbbreviation(scratch.State));
    ShowCountry(scratch.Country, info);
    if (info.country != 0)
        info.zone = scratch.Zone; // the resolved zone, not the country's own
    return info;
}

CallInfo QsoLogic::ProcessCall(std::string_view call, std::uint16_t date) const
{
    CallInfo info = ResolveCall(call, date);
    info.callNote = m_log.Notes.NoteOf(call);
    std::int32_t end = m_log.EndOfCall(call);
    if (end > 0 && m_log.ByCall().Get(end - 1)->Call == call) {
        // The latest QSO with the call tells what the resolution cannot.
        const TQsoRec &latest = *m_log.ByCall().Get(end - 1);
        std::string state(m_countries.StateAbbreviation(latest.State));
        info.state = info.country != 0 ? m_countries.AllowedState(info.country, state) : std::string();
        if (!latest.Iota.empty())
            info.iota = latest.Iota.str();
        info.grid = latest.Grid.str();
        if (latest.State != 0 && latest.County != 0)
            info.county = m_countries.CountyName(latest.State, latest.County);
        info.ylOperator = latest.QslFlags & QslFlag::YLop;
    }
    return info;
}

int QsoLogic::LearnException(const TQsoRec &rec)
{
    TQsoRec resolved = rec;
    m_resolver.ResolveCountry(resolved);
    if (resolved.Country == rec.Country && resolved.Zone == rec.Zone)
        return 0;
    m_countries.AddExceptionCall(rec.Call.view(), rec.Country, rec.Zone, rec.Date);
    // Collect first, then replace: ReplaceQso frees the records it replaces.
    std::vector<TQsoRec *> later;
    for (std::int32_t i = m_log.EndOfCall(rec.Call.view()) - 1; i >= 0; --i) {
        TQsoRec *other = m_log.ByCall().Get(i);
        if (other->Call != rec.Call)
            break;
        bool after = other->Date > rec.Date || (other->Date == rec.Date && other->Time > rec.Time);
        if (after && (other->Country != rec.Country || other->Zone != rec.Zone))
            later.push_back(other);
    }
    for (TQsoRec *other : later) {
        TQsoRec edited = *other;
        edited.Country = rec.Country;
        edited.Zone = rec.Zone;
        m_log.ReplaceQso(edited, other);
    }
    return static_cast<int>(later.size());
}

bool QsoLogic::IsContestDupe(std::string_view call, std::uint8_t band, std::uint8_t mode, std::uint16_t startDate,
                             std::int32_t startTime, const std::function<bool(const TQsoRec &)> &admits) const
{
    for (std::int32_t i = m_log.EndOfCall(call) - 1; i >= 0; --i) {
        const TQsoRec &q = *m_log.ByCall().Get(i);
        if (q.Call != call)
            break;
        if (admits && !admits(q))
            continue;
        if (q.Date < startDate || (q.Date == startDate && q.Time < startTime))
            break;
        if (q.Band == band && q.Mode == mode)
            return true;
    }
    return false;
}

std::optional<std::pair<std::string, GeoPoint>> QsoLogic::LocatePoint(std::string_view grid, std::string_view iota,
                                                                      std::string_view state,
                                                                      std::int16_t country) const
{
    if (auto centre = GridCentre(grid))
        return std::make_pair(FormatGrid(grid), *centre);
    if (auto position = iota.empty() ? std::nullopt : m_lookups.IotaPosition(iota))
        return std::make_pair(std::string(iota), GeoPoint{position->first, position->second});
    if (std::int32_t s = m_countries.StateIndex(state); s > 0) {
        StateInfo info = StateInfo::Decode(m_countries.States.Get(s));
        if (info.latitude != 0 || info.longitude != 0)
            return std::make_pair(std::string(state), GeoPoint{info.latitude, info.longitude});
    }
    if (country > 0 && m_countries.ValidCountry(country)) {
        CountryInfo info = m_countries.Country(country);
        return std::make_pair(info.prefix, GeoPoint{info.latitude, info.longitude});
    }
    return std::nullopt;
}

std::optional<std::pair<std::string, BearingDistance>> QsoLogic::Locate(std::string_view grid, std::string_view iota,
                                                                        std::string_view state,
                                                                        std::int16_t country) const
{
    auto point = LocatePoint(grid, iota, state, country);
    if (!point)
        return std::nullopt;
    auto result = GreatCircle(GeoPoint{m_config.Personal_Latitude, m_config.Personal_Longitude}, point->second);
    if (!result)
        return std::nullopt;
    return std::make_pair(point->first, *result);
}

std::string QsoLogic::DirectionText(std::string_view grid, std::string_view iota, std::string_view state,
                                    std::int16_t country) const
{
    auto located = Locate(grid, iota, state, country);
    return located ? DirDistText(located->first, located->second, m_config.Personal_UnitFormat == 1) : std::string();
}

std::optional<std::int32_t> QsoNavigator::Step(std::int32_t from, int step) const
{
    for (std::int32_t i = from + step; i >= 0 && i < m_index.Count(); i += step)
        if (!m_admits || m_admits(*m_index.Get(i)))
            return i;
    return std::nullopt;
}

std::optional<std::int32_t> QsoNavigator::Last() const { return Step(m_index.Count(), -1); }

std::optional<std::int32_t> QsoNavigator::StepSorted(
    std::int32_t from, int step, const std::function<int(const TQsoRec *, const TQsoRec *)> &compare) const
{
    if (from < 0 || from >= m_index.Count())
        return Step(from, step);
    const TQsoRec *present = m_index.Get(from);
    for (auto i = Step(from, step); i; i = Step(*i, step))
        if (compare(m_index.Get(*i), present) != 0)
            return i;
    return std::nullopt;
}

} // namespace vellum
