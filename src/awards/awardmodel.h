#pragma once
// The award status model: the status blocks of DXCC (in the country list), WAZ
// and WAS (41 zone and 51 state blocks kept with the log) and WPX (the WPX
// table of the country data), built from the QSOs of the open log and kept up
// to date as QSOs are added and removed.

#include "awardstatus.h"

#include "country/countrydata.h"
#include "country/resolver.h"
#include "logstore/qsodata.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>

namespace vellum {

namespace detail {
class CallMasks;
}

inline constexpr int ZoneBlockCount = 41;  ///< zones 0..40, 0 = unknown
inline constexpr int StateBlockCount = 51; ///< states 0..50, 0 = none

/// What a build of the award tables depended on; the tables are current only
/// while all of it is unchanged.
struct AwardTableInputs {
    std::array<std::uint8_t, SelectionStoredSize> selection{};
    std::array<TAwardSetup, AwardCount> setups{};
    std::uint16_t workedCutoff = 0;
    std::uint16_t mailedCutoff = 0;
    std::uint16_t today = 0;

    bool operator==(const AwardTableInputs &other) const;
};

/// The award blocks a log keeps for as long as it exists: its zone and state
/// blocks, and what the tables were last built with.
class TLogAwardBlocks : public LogAttachment {
public:
    TLogAwardBlocks();
    ~TLogAwardBlocks() override;

    std::array<TStatusBlockBytes, ZoneBlockCount> Zones{};
    std::array<TStatusBlockBytes, StateBlockCount> States{};
    AwardStartDates StartDates = DefaultStartDates();
    AwardTableInputs Inputs;
    const std::uint64_t Serial; ///< tells this log's blocks from those of a log gone before
    /// The bands and mode groups of each call, made when first asked for; dropped by a rebuild.
    std::unique_ptr<detail::CallMasks> Calls;
};

/// The award model of the program: one object over the country data and the
/// configuration record (both must outlive it), serving the open log. It is
/// the log's AwardHooks: the log calls AddQsoToAwards and RemoveQsoFromAwards
/// as QSOs come and go while its AwardTablesValid is set.
class TAwardModel : public AwardHooks {
public:
    TAwardModel(TCountryData &countries, const TConfigRecord &config);

    /// Today's UTC day number, which the cutoffs count back from. Changing it
    /// makes the tables out of date.
    std::uint16_t Today() const { return m_today; }
    void SetToday(std::uint16_t day) { m_today = day; }

    /// The country list or the WPX table were replaced or edited: every log's
    /// tables are out of date.
    void CountryDataChanged() { m_ownerSerial = 0; }

    // --- the cache ---
    /// Adds a QSO just inserted into the log. When the tables are not current
    /// (settings, selection or today changed since they were built) it clears
    /// AwardTablesValid instead.
    void AddQsoToAwards(TQsoData &log, const TQsoRec &rec) override;
    /// Takes out a QSO about to leave the log. When that cannot be done exactly
    /// (a best status whose count would drop below 1, a missing WPX entry, out
    /// of date tables) it clears AwardTablesValid, so the next reader rebuilds.
    void RemoveQsoFromAwards(TQsoData &log, const TQsoRec &rec) override;
    /// Clears every country, zone and state block and empties the WPX table.
    void ClearAwardTables(TQsoData &log);
    /// Builds the tables from every QSO of the log dated on or after the start
    /// date of its mode group, and sets AwardTablesValid. Nothing happens when
    /// the tables are current and were built with the same start dates.
    void RebuildAwardTables(TQsoData &log, const AwardStartDates &startDates);
    /// Rebuilds with 15 November 1945 when the tables are not current; readers
    /// outside reports call it before they read blocks.
    void EnsureAwardTables(TQsoData &log);
    /// Whether AwardTablesValid is set and the tables were built for this log
    /// with the present selection, settings and today.
    bool TablesCurrent(const TQsoData &log) const;
    /// The start dates the log's tables were built with.
    AwardStartDates StartDatesOf(TQsoData &log);

    // --- blocks (read them after EnsureAwardTables or RebuildAwardTables) ---
    /// A country's block; nothing for an index outside the country list.
    std::optional<TAwardStatusBlock> CountryBlock(int country);
    /// A zone's (0..40) or state's (0..50) block of the log; nothing outside those.
    std::optional<TAwardStatusBlock> ZoneBlock(TQsoData &log, int zone);
    std::optional<TAwardStatusBlock> StateBlock(TQsoData &log, int state);
    /// The WPX table entry's block of a prefix; nothing when the prefix is not in the table.
    std::optional<TAwardStatusBlock> WpxBlock(std::string_view prefix);
    /// Whether the WPX table holds the prefix and marks it deleted.
    bool WpxEntryDeleted(std::string_view prefix) const;
    /// The block of the QSO's entity: its country (not 0), zone (1..40), state
    /// (1..50) or WPX prefix (in the table); nothing for an unknown entity.
    std::optional<TAwardStatusBlock> EntityBlock(TQsoData &log, const TQsoRec &qso, AwardIndex award);
    /// Calls visit for the block of every entity of an award that reports count:
    /// countries from 1 on, zones 1..40, states 1..50, every WPX table entry.
    void ForEachEntity(TQsoData &log, AwardIndex award, const std::function<void(TAwardStatusBlock)> &visit);
    /// Whether the award counts the QSO at all: a real band and mode the award's
    /// setup marks valid, and a known entity (a country with the valid-for-DXCC
    /// flag, a zone up to 40, a state 1..50, a WPX prefix).
    bool CountsQso(const TQsoRec &qso, AwardIndex award) const;
    /// Whether a QSO with exactly this call, admitted by the selection in force,
    /// is in the log on the band in the mode group (in any mode for group 0).
    /// Read after EnsureAwardTables: the answer comes from a per-call summary
    /// kept with the tables.
    bool CallWorkedOn(TQsoData &log, std::string_view call, int band, int group);

    /// A call the operator wants to hear about whatever the standing (the spot
    /// list's always-alert list); none by default.
    std::function<bool(std::string_view call)> AlwaysAlert;

    TCountryData &Countries() const { return m_countries; }
    const TConfigRecord &Config() const { return m_config; }
    const CountryResolver &Resolver() const { return m_resolver; }
    const TAwardSetup &Setup(AwardIndex award) const { return AwardSetupOf(m_config, award); }

private:
    class Builder;
    TLogAwardBlocks &blocksOf(TQsoData &log);
    AwardTableInputs currentInputs(const TQsoData &log) const;
    /// The status a QSO brings to the tables of the log: 0 outside them.
    TAwardStatus countedStatus(const TQsoData &log, const TLogAwardBlocks &blocks, const TQsoRec &qso) const;
    std::uint8_t *findBlock(TQsoData &log, const TQsoRec &qso, AwardIndex award, bool create);
    std::uint8_t *findWpx(std::string_view prefix) const;
    std::uint8_t *newWpxRecord(std::string_view prefix) const;
    bool removeExactly(TQsoData &log, const TQsoRec &rec);

    TCountryData &m_countries;
    const TConfigRecord &m_config;
    CountryResolver m_resolver;
    std::uint16_t m_today;
    std::uint64_t m_ownerSerial = 0; ///< the log whose blocks the country list and WPX table hold
};

} // namespace vellum
