#include "awardqueries.h"

#include "logstore/qsotables.h"

#include <algorithm>

namespace vellum {

const std::array<const char *, 7> NeedClassNames = {
    "", "New Country", "New Mode", "New band / mode", "Not cnf, different call", "Nothing special", "No interest"};

// --- ContributesTo ----------------------------------------------------------------------

bool ContributesTo(TAwardModel &model, TQsoData &log, const TQsoRec &qso, AwardIndex award, AwardLevel level)
{
    model.EnsureAwardTables(log);
    std::optional<TAwardStatusBlock> block;
    if (award == AwardWPX) {
        std::string prefix = qso.WpxPfx.empty() ? model.Resolver().WpxPrefix(qso.Call.view()) : qso.WpxPfx.str();
        block = model.WpxBlock(prefix);
    } else {
        block = model.EntityBlock(log, qso, award);
    }
    const TAwardSetup &setup = model.Setup(award);
    const TConfigRecord &config = model.Config();
    if (!block || !CountsBand(config, setup, qso.Band) || !CountsMode(config, setup, qso.Mode) ||
        !LevelEnabled(setup, level))
        return false;
    switch (level) {
    case AwardLevel::Mixed: return MixedStatus(*block) < asSubmitted;
    case AwardLevel::Mode: return ModeGroupStatus(*block, ModeGroupOf(qso.Mode)) < asSubmitted;
    case AwardLevel::Band:
        return IsBandAward(config, setup, qso.Band) && BandStatus(*block, qso.Band) < asSubmitted;
    }
    return false;
}

// --- NeedClass ------------------------------------------------------------------------------

namespace {

/// The entity block of a spotted call; nothing when the entity is unknown. A WPX
/// prefix not yet in the table is judged against the empty block.
std::optional<TConstStatusBlock> spotEntity(TAwardModel &model, TQsoData &log, const SpotInfo &spot,
                                            AwardIndex award, const TStatusBlockBytes &empty)
{
    switch (award) {
    case AwardDXCC:
        if (spot.country == 0)
            return std::nullopt;
        return model.CountryBlock(spot.country);
    case AwardWAZ: {
        std::uint8_t zone = model.Resolver().ZoneOfCall(spot.call, spot.date);
        if (zone == 0)
            return std::nullopt;
        return model.ZoneBlock(log, zone);
    }
    case AwardWPX: {
        std::string prefix = model.Resolver().WpxPrefix(spot.call);
        if (prefix.empty())
            return std::nullopt;
        if (auto block = model.WpxBlock(prefix))
            return *block;
        return TConstStatusBlock(empty);
    }
    default: return std::nullopt;
    }
}

/// Whether the entity counts as already held under the endorsement rule (Packet_EndorsedBM).
bool heldUnderRule(int rule, const TConfigRecord &config, const TAwardSetup &setup, TConstStatusBlock block, int band,
                   int group)
{
    switch (rule) {
    case 1:
        return (!setup.Mixed || MixedStatus(block) != asNotWorked) &&
               (!setup.BandAwards || !IsBandAward(config, setup, band) || BandStatus(block, band) != asNotWorked) &&
               (!setup.ModeAwards || !CountsModeGroup(config, setup, group) ||
                ModeGroupStatus(block, group) != asNotWorked);
    case 2: return BandStatus(block, band) != asNotWorked && ModeGroupStatus(block, group) != asNotWorked;
    case 3: return BandGroupStatus(block, band, group) != asNotWorked;
    default: return true;
    }
}

} // namespace

int NeedClass(TAwardModel &model, TQsoData *log, const SpotInfo &spot, AwardIndex award)
{
    if (model.AlwaysAlert && model.AlwaysAlert(spot.call))
        return ncNewCountry;
    const TConfigRecord &config = model.Config();
    const TAwardSetup &setup = model.Setup(award);
    if (!CountsBand(config, setup, spot.band) || !CountsMode(config, setup, spot.mode))
        return ncNoInterest;
    if (!log)
        return ncNothingSpecial;
    model.EnsureAwardTables(*log);
    const TStatusBlockBytes empty{};
    std::optional<TConstStatusBlock> block = spotEntity(model, *log, spot, award, empty);
    if (!block)
        return ncNothingSpecial;

    int group = ModeGroupOf(spot.mode);
    if (!AnyModeGroupWorked(*block))
        return ncNewCountry;
    if (ModeGroupStatus(*block, group) == asNotWorked)
        return ncNewMode;
    if (!IsRealBand(spot.band)) // an extended band has no band cells: judged at its mode group
        return ModeGroupStatus(*block, group) > asQslSent ? ncNothingSpecial : ncNotConfirmed;
    TAwardStatus cell = BandGroupStatus(*block, spot.band, group);
    if (cell != asNotWorked && model.CallWorkedOn(*log, spot.call, spot.band, group))
        return ncNoInterest;
    if (!heldUnderRule(config.Packet_EndorsedBM, config, setup, *block, spot.band, group))
        return ncNewBandMode;
    return cell > asQslSent ? ncNothingSpecial : ncNotConfirmed;
}

// --- ItemStatusBlock ----------------------------------------------------------------------

namespace {

bool matchesItem(const TQsoRec &qso, const ItemKey &key)
{
    switch (key.kind) {
    case ItemKind::Iota: return qso.Iota.view() == key.text;
    case ItemKind::Grid: return qso.Band >= 10 && qso.Band <= 15 && qso.Grid.view().starts_with(key.text);
    case ItemKind::County: return qso.State == key.state && qso.County == key.county;
    }
    return false;
}

std::uint32_t itemMask(ItemKind kind)
{
    switch (kind) {
    case ItemKind::Iota: return ItemMask::Iota;
    case ItemKind::Grid: return ItemMask::Vucc;
    case ItemKind::County: return ItemMask::County;
    }
    return 0;
}

} // namespace

TStatusBlockBytes ItemStatusBlock(const TAwardModel &model, const TQsoData &log, const ItemKey &key)
{
    TStatusBlockBytes bytes{};
    TAwardStatusBlock block(bytes);
    const TConfigRecord &config = model.Config();
    TQsoStatusRule rule(log.CurSelection, config, model.Today());
    std::uint32_t mask = itemMask(key.kind);
    for (const TQsoRec *qso : log) {
        // Item awards keep band cells only: QSOs on extended bands do not count for them.
        if (!matchesItem(*qso, key) || !IsRealBand(qso->Band) || !IsMode(qso->Mode) ||
            !config.StationBands[qso->Band] || !config.StationModes[static_cast<std::size_t>(SettingsModeOf(qso->Mode))] ||
            qso->RstRcvd == 0 ||
            !InSelection(log, *qso))
            continue;
        TAwardStatus status =
            (qso->QslFlags & QslFlag::Cnfm) ? QsoLevelStatus(*qso, mask) : rule.ConfirmationStatus(*qso);
        if (status != asNotWorked)
            block.Merge(BandCell(qso->Band, ModeGroupOf(qso->Mode)), status);
    }
    for (int band = 1; band <= 15; ++band) {
        int phone = BandCell(band, mgPhone);
        std::uint8_t best = std::max({block.Best(phone), block.Best(BandCell(band, mgCW)),
                                      block.Best(BandCell(band, mgDigital))});
        block.SetCell(phone, {best, block.Count(phone)});
    }
    return bytes;
}

// --- standing ------------------------------------------------------------------------------

AwardStanding CountStanding(TAwardModel &model, TQsoData &log, AwardIndex award)
{
    AwardStanding standing;
    model.ForEachEntity(log, award, [&standing](TAwardStatusBlock block) {
        ++standing.entities;
        ++standing.mixed[MixedStatus(block)];
        for (int group = 1; group <= 3; ++group) {
            ++standing.groups[static_cast<std::size_t>(group)][ModeGroupStatus(block, group)];
            for (int band = 1; band <= 15; ++band)
                ++standing.bandsInGroup[static_cast<std::size_t>(group)][static_cast<std::size_t>(band)]
                                       [BandGroupStatus(block, band, group)];
        }
    });
    return standing;
}

} // namespace vellum
