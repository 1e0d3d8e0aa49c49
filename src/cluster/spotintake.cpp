#include "spotintake.h"

#include "awards/awardqueries.h"
#include "config/configrecord.h"
#include "config/configsettings.h"
#include "country/resolver.h"
#include "logstore/daytime.h"
#include "logstore/qsotables.h"

#include <cmath>

namespace vellum {

namespace {

constexpr double MaxQsxDistance = 350;
constexpr int MinutesPerDay = 1440;
constexpr int LateSpot = 1410;   // 23:30
constexpr int EarlySpot = 30;    // 00:30

bool isWordChar(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'); }

/// The word's first occurrence in text stands alone (no letter or digit on either side).
bool firstOccurrenceIsWord(std::string_view text, std::string_view word)
{
    std::size_t at = text.find(word);
    if (at == std::string_view::npos || word.empty())
        return false;
    bool before = at > 0 && isWordChar(text[at - 1]);
    std::size_t end = at + word.size();
    bool after = end < text.size() && isWordChar(text[end]);
    return !before && !after;
}

/// "PFX," as the spotter filter looks for it.
bool listHas(std::string_view list, const std::string &entry)
{
    return list.find(entry + ",") != std::string_view::npos;
}

} // namespace

SpotClock SpotClock::System()
{
    return {[] { return TodayDayNumber(); }, [] { return static_cast<int>(NowUtcSeconds() / 60); }};
}

// --- ranking ---------------------------------------------------------------------------

SpotRanker::SpotRanker(TAwardModel &model, const TConfigRecord &config, std::function<TQsoData *()> log)
    : m_model(model), m_config(config), m_log(std::move(log))
{
}

bool OnSpotAlertList(const TConfigRecord &config, std::string_view call)
{
    return !call.empty() && listHas(config.Packet_DXCallsign.view(), std::string(call));
}

bool SpotRanker::OnAlertList(std::string_view call) const { return OnSpotAlertList(m_config, call); }

char SpotRanker::ClassOf(const TSpotRecord &spot) const
{
    if (OnAlertList(spot.Call.view()))
        return '1';
    SpotInfo info;
    info.call = spot.Call.view();
    info.country = spot.Country;
    info.band = spot.Band;
    info.mode = spot.Mode;
    info.date = spot.Date;
    int rank = NeedClass(m_model, m_log ? m_log() : nullptr, info, m_award);
    if (rank != ncNoInterest && !spotterAccepted(spot))
        rank = ncNoInterest;
    return static_cast<char>('0' + rank);
}

bool SpotRanker::spotterAccepted(const TSpotRecord &spot) const
{
    std::string_view okList = m_config.Packet_OkPrefixes.view();
    if (okList.empty() || spot.Spotter.empty())
        return true;
    std::string_view spotter = spot.Spotter.view();
    spotter = spotter.substr(0, spotter.find('-'));
    const CountryResolver &resolver = m_model.Resolver();
    std::int16_t country = resolver.CountryOfCall(spotter, spot.Date);
    if (country <= 0)
        return true; // an unknown spotter never demotes a spot
    if (listHas(okList, std::string(m_model.Countries().CountryPrefix(country))))
        return true;
    if (okList.find('#') != std::string_view::npos)
        return listHas(okList, "#" + std::to_string(resolver.ZoneOfCall(spotter, spot.Date)));
    return false;
}

// --- the spot's fields --------------------------------------------------------------------

int SpotModeOf(std::string_view remarks, double kHz, double qsxKHz, int band, const TConfigRecord &config)
{
    for (int mode = 1; mode < AllModeCount; ++mode)
        if (firstOccurrenceIsWord(remarks, ModeInfoOf(mode).name))
            return mode;
    static constexpr std::pair<std::string_view, std::string_view> aliases[] = {
        {"FSK", "RTTY"}, {"PSK31", "PSK3"}, {"PACKET", "PACK"}, {"CLOVER", "CLOV"}};
    for (const auto &[word, mode] : aliases)
        if (firstOccurrenceIsWord(remarks, word))
            return ModeOfName(mode);
    double at = qsxKHz != 0 ? qsxKHz : kHz;
    bool phone = IsBand(band) && at >= CwCutoffKHz(config, band) && at <= static_cast<double>(BandInfoOf(band).highKHz);
    return ModeOfName(phone ? "SSB" : "CW");
}

double RepairQsx(double kHz, double qsx)
{
    if (qsx == 0 || std::fabs(qsx - kHz) <= MaxQsxDistance)
        return qsx;
    double repaired = qsx;
    std::int64_t whole = std::llround(std::floor(kHz));
    std::int64_t scale = 1;
    while (whole / scale >= 10) { // two digits or more remain to be cleared
        scale *= 10;
        repaired = static_cast<double>(whole / scale * scale) + qsx;
        if (std::fabs(repaired - kHz) < static_cast<double>(scale))
            break;
    }
    return std::fabs(repaired - kHz) > MaxQsxDistance ? 0 : repaired;
}

// --- the intake ---------------------------------------------------------------------------

SpotIntake::SpotIntake(SpotList &list, SpotRanker &ranker, const TConfigRecord &config, const CountryResolver &resolver,
                       SpotClock clock)
    : m_list(list), m_ranker(ranker), m_config(config), m_resolver(resolver), m_clock(std::move(clock))
{
}

bool SpotIntake::Queue(std::string line)
{
    if (m_queue.size() >= QueueCapacity) {
        ++m_dropped;
        return false;
    }
    m_queue.push_back(std::move(line));
    return true;
}

bool SpotIntake::TakeLine(std::string &line)
{
    if (m_queue.empty())
        return false;
    line = std::move(m_queue.front());
    m_queue.pop_front();
    return true;
}

void SpotIntake::dateSpot(ParsedSpot &parsed) const
{
    std::uint16_t today = m_clock.today();
    int now = m_clock.minutes();
    if (parsed.date == 0 && parsed.time == SpotTimeNotGiven) {
        parsed.date = today;
        parsed.time = static_cast<std::uint16_t>(now);
    } else if (parsed.time == SpotTimeNotGiven) {
        parsed.time = static_cast<std::uint16_t>(now);
    } else if (parsed.date == 0) {
        parsed.date = today;
        if (parsed.time > LateSpot && now < EarlySpot)
            parsed.date = static_cast<std::uint16_t>(today - 1);
        else if (parsed.time < EarlySpot && now > LateSpot && today < LastValidDay)
            parsed.date = static_cast<std::uint16_t>(today + 1);
    }
}

std::optional<TSpotRecord> SpotIntake::ParseLine(std::string_view line) const
{
    if (line.size() <= 8)
        return std::nullopt;
    std::string upper = SpotMatchText(line);
    const ShortString<32> *patterns[] = {&m_config.Packet_pat1, &m_config.Packet_pat2, &m_config.Packet_pat3,
                                         &m_config.Packet_pat4};
    int year = SplitDayNumber(m_clock.today()).year;
    ParsedSpot parsed;
    bool matched = false;
    for (const ShortString<32> *pattern : patterns)
        if (!pattern->empty() && MatchSpotPattern(pattern->view(), upper, year, parsed)) {
            matched = true;
            break;
        }
    if (!matched || parsed.call.empty() || !std::isfinite(parsed.freqKHz))
        return std::nullopt;
    ApplyQsxMarker(parsed);
    dateSpot(parsed);
    TSpotRecord spot;
    spot.Freq = parsed.freqKHz;
    spot.Qsx = RepairQsx(parsed.freqKHz, parsed.qsx);
    std::string remarks = parsed.remarks;
    if (parsed.qsx != 0 && spot.Qsx.get() == 0)
        remarks = "QSX? " + remarks;
    spot.Remarks = std::string_view(remarks).substr(0, 33);
    spot.Call = parsed.call;
    spot.Spotter = parsed.spotter;
    spot.Date = parsed.date;
    spot.Time = parsed.time;
    Recompute(spot);
    if (spot.Band == 0)
        return std::nullopt; // a frequency outside every band
    return spot;
}

void SpotIntake::Recompute(TSpotRecord &spot) const
{
    spot.Band = static_cast<std::uint8_t>(BandOfFreq(std::llround(spot.Freq.get())));
    spot.Mode = static_cast<std::uint8_t>(SpotModeOf(spot.Remarks.view(), spot.Freq, spot.Qsx, spot.Band, m_config));
    spot.Country = m_resolver.CountryOfCall(spot.Call.view(), spot.Date);
    spot.Class = m_ranker.ClassOf(spot);
}

LineOutcome SpotIntake::ProcessLine(std::string_view line)
{
    if (std::optional<TSpotRecord> spot = ParseLine(line))
        return AddSpot(*spot);
    LineOutcome outcome;
    constexpr std::int32_t IgnoreTalk = 0;
    if (m_config.Packet_talkaction == IgnoreTalk)
        return outcome;
    std::string upper = SpotMatchText(line);
    if (!matchesWarning(upper))
        return outcome;
    m_talk.push_back(std::string(line));
    while (m_talk.size() > TalkCapacity)
        m_talk.pop_front();
    outcome.kind = LineKind::Talk;
    return outcome;
}

LineOutcome SpotIntake::AddSpot(const TSpotRecord &spot)
{
    LineOutcome outcome;
    outcome.kind = LineKind::Spot;
    if (spot.Class == '6' && m_config.Packet_IgnoreGray)
        return outcome;
    outcome.added = m_list.Add(spot);
    if (outcome.added == SpotAdded::Dropped)
        return outcome;
    outcome.spot = spot;
    outcome.spot.Arrival = m_list.LastArrival();
    int alert = m_config.Packet_DXAlert;
    int rank = spot.ClassNumber();
    bool byClass = (rank == 1 && alert >= 1) || (rank == 2 && alert >= 2) || (rank == 3 && alert >= 3) ||
                   ((rank == 4 || rank == 5) && alert == 4);
    outcome.announce = outcome.added == SpotAdded::Inserted && (byClass || m_ranker.OnAlertList(spot.Call.view()));
    return outcome;
}

bool SpotIntake::matchesWarning(std::string_view upper) const
{
    const ShortString<20> *patterns[] = {&m_config.packet_talk1, &m_config.packet_talk2, &m_config.packet_talk3,
                                         &m_config.packet_talk4};
    for (const ShortString<20> *pattern : patterns)
        if (MatchWarningPattern(SpotMatchText(pattern->view()), upper))
            return true;
    return false;
}

} // namespace vellum
