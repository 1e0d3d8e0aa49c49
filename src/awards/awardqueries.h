#pragma once
// Questions asked of the award standing: whether confirming a QSO helps an
// award, how new a spotted station is (the need class of the spot list), and
// the standing of one IOTA reference, grid square or county.

#include "awardmodel.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace vellum {

/// Whether confirming the QSO would bring its entity (country, zone, state or
/// WPX prefix) at the level to confirmed for the first time: the award counts
/// the band and mode, enables the level, and the entity's status at the level
/// is below submitted. False for an unknown entity. Brings the tables up to date first.
bool ContributesTo(TAwardModel &model, TQsoData &log, const TQsoRec &qso, AwardIndex award, AwardLevel level);

/// The colour classes of spots, 1..6.
enum NeedClassValue : int {
    ncNewCountry = 1,
    ncNewMode = 2,
    ncNewBandMode = 3,
    ncNotConfirmed = 4,
    ncNothingSpecial = 5,
    ncNoInterest = 6,
};
/// "New Country", "New Mode", "New band / mode", "Not cnf, different call",
/// "Nothing special", "No interest" (index = class; [0] is empty).
extern const std::array<const char *, 7> NeedClassNames;

/// A spotted station as the spot list knows it.
struct SpotInfo {
    std::string_view call;
    std::int16_t country = 0; ///< resolved by the spot list; 0 = unknown
    int band = 0;
    int mode = 0;
    std::uint16_t date = 0;   ///< the date the zone of the call is resolved for
};

/// How new a spotted station is for the award of interest (DXCC, WAZ or WPX; any
/// other award knows no entity of a call). log may be null (no log open); the
/// tables of an open log are brought up to date first.
int NeedClass(TAwardModel &model, TQsoData *log, const SpotInfo &spot, AwardIndex award);

/// The small awards whose standing is computed for one item at a time.
enum class ItemKind { Iota, Grid, County };
struct ItemKey {
    ItemKind kind = ItemKind::Iota;
    std::string text;         ///< IOTA reference (without dash) or the leading grid characters
    std::uint8_t state = 0;   ///< County: the state index
    std::uint16_t county = 0; ///< County: the county number within the state
};

/// The standing of one item from the QSOs of the log in the selection in
/// force, on the bands and modes the station uses, with a received report:
/// each QSO's status goes into its band-and-group cell only, and each band's
/// group-1 cell then carries the band's overall best (its count unchanged).
TStatusBlockBytes ItemStatusBlock(const TAwardModel &model, const TQsoData &log, const ItemKey &key);

/// How many entities of an award stand at each status (index = TAwardStatus) at one level.
using LevelStanding = std::array<std::int32_t, AwardStatusCount>;

/// The standing of an award over all its entities (ForEachEntity): the mixed
/// level, each mode group ([1..3]), and each band within a mode group
/// ([group][band], cell band * 3 + group).
struct AwardStanding {
    std::int32_t entities = 0;
    LevelStanding mixed{};
    std::array<LevelStanding, ModeGroupCount> groups{};
    std::array<std::array<LevelStanding, 16>, ModeGroupCount> bandsInGroup{};
};
/// Counts the standing from the tables as they are (bring them up to date first).
AwardStanding CountStanding(TAwardModel &model, TQsoData &log, AwardIndex award);

} // namespace vellum
