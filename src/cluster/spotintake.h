#pragma once
// From a received line to a ranked spot: the four spotting patterns, the date,
// time and QSX rules, the mode and band of the spot, its class against the award
// standing, the repeat and capacity rules of the list, the alert decision, and
// the warning patterns with their talk list. The queue of received lines is
// capped; lines dropped because it was full are counted.

#include "spotlist.h"
#include "spotpattern.h"

#include "awards/awardmodel.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace vellum {

struct TConfigRecord;
class CountryResolver;
class TQsoData;

/// Now in UTC as the spot rules need it; tests set their own.
struct SpotClock {
    std::function<std::uint16_t()> today;
    std::function<int()> minutes; ///< minutes after 00:00 UTC
    static SpotClock System();
};

/// The callsign followed by "," occurs in the alert list (Packet_DXCallsign) followed by ",".
bool OnSpotAlertList(const TConfigRecord &config, std::string_view call);

/// The spot's class against the award of interest, the alert list and the spotter filter.
class SpotRanker {
public:
    SpotRanker(TAwardModel &model, const TConfigRecord &config, std::function<TQsoData *()> log);

    AwardIndex Award() const { return m_award; }
    void SetAward(AwardIndex award) { m_award = award; }
    /// Class '1'..'6' of a spot whose call, country, band, mode and date are set.
    char ClassOf(const TSpotRecord &spot) const;
    /// The callsign followed by "," occurs in the alert list followed by ",".
    bool OnAlertList(std::string_view call) const;

private:
    bool spotterAccepted(const TSpotRecord &spot) const;

    TAwardModel &m_model;
    const TConfigRecord &m_config;
    std::function<TQsoData *()> m_log;
    AwardIndex m_award = AwardDXCC;
};

/// The mode a spot's remarks name, else the mode its frequency's band part implies.
int SpotModeOf(std::string_view remarks, double kHz, double qsxKHz, int band, const TConfigRecord &config);
/// A QSX more than 350 kHz away taken as the last digits of a frequency; 0 when it cannot be.
double RepairQsx(double kHz, double qsx);

enum class LineKind { None, Spot, Talk };

struct LineOutcome {
    LineKind kind = LineKind::None;
    SpotAdded added = SpotAdded::Dropped;
    TSpotRecord spot;       ///< the spot as inserted (with its arrival number)
    bool announce = false;  ///< a new spot the alert setting announces
};

class SpotIntake {
public:
    static constexpr std::size_t QueueCapacity = 20000;
    static constexpr std::size_t TalkCapacity = 20;

    SpotIntake(SpotList &list, SpotRanker &ranker, const TConfigRecord &config, const CountryResolver &resolver,
               SpotClock clock = SpotClock::System());

    /// Appends a received line unless the queue is full (then it is counted as dropped).
    bool Queue(std::string line);
    std::size_t Waiting() const { return m_queue.size(); }
    std::size_t Dropped() const { return m_dropped; }
    /// Takes the next waiting line; false when none waits.
    bool TakeLine(std::string &line);
    void ClearQueue() { m_queue.clear(); }

    /// One line through the spotting patterns, then (when it is no spot and talk
    /// lines are not ignored) the warning patterns.
    LineOutcome ProcessLine(std::string_view line);
    /// A spot made elsewhere (decoded by a weak-signal program), all fields set and
    /// ranked: the gray rule, the repeat and capacity rules and the alert decision.
    LineOutcome AddSpot(const TSpotRecord &spot);
    /// The spot a line describes, fully dated, with its QSX, mode, band and country;
    /// nothing when no pattern matches or the spot is not valid.
    std::optional<TSpotRecord> ParseLine(std::string_view line) const;
    /// Mode, band, country and class of a stored spot again (after loading, or when the log changed).
    void Recompute(TSpotRecord &spot) const;

    const std::deque<std::string> &TalkList() const { return m_talk; }
    void ClearTalk() { m_talk.clear(); }

private:
    bool matchesWarning(std::string_view upper) const;
    void dateSpot(ParsedSpot &parsed) const;

    SpotList &m_list;
    SpotRanker &m_ranker;
    const TConfigRecord &m_config;
    const CountryResolver &m_resolver;
    SpotClock m_clock;
    std::deque<std::string> m_queue;
    std::size_t m_dropped = 0;
    std::deque<std::string> m_talk;
};

} // namespace vellum
