#include "awardstatus.h"

#include "logstore/daytime.h"
#include "logstore/qsotables.h"

#include <algorithm>

namespace vellum {

const std::array<const char *, AwardStatusCount> AwardStatusNames = {"",          "Worked",    "QSL sent",
                                                                     "Confirmed", "Submitted", "Checked"};
const std::array<const char *, AwardStatusCount> AwardStatusLetters = {"\xB7", "W", "M", "C", "S", "*"};
const std::array<const char *, AwardStatusCount> AwardStatusHeadings = {"",          "Worked", "QSL Mailed",
                                                                        "Confirmed", "Submit", "Checked"};

const std::array<AwardMasks, AwardCount> AwardFlagMasks = {{
    {0x00000004, 0x00000010, 0x00000040}, // DXCC
    {0x00004000, 0x00010000, 0x00040000}, // WAZ
    {0x00000100, 0x00001000, 0x00000400}, // WAS
    {0x10000000, 0x40000000, 0x00400000}, // WPX
}};

// --- queries on a block -------------------------------------------------------------

TAwardStatus MixedStatus(TConstStatusBlock block) { return ModeGroupStatus(block, mgMixed); }

TAwardStatus ModeGroupStatus(TConstStatusBlock block, int group)
{
    if (group < 0 || group > 3 || block.Count(group) == 0)
        return asNotWorked;
    return static_cast<TAwardStatus>(block.Best(group));
}

TAwardStatus BandStatus(TConstStatusBlock block, int band)
{
    if (!IsRealBand(band))
        return asNotWorked;
    std::uint8_t best = 0;
    for (int group = 1; group <= 3; ++group)
        if (block.Count(BandCell(band, group)) != 0)
            best = std::max(best, block.Best(BandCell(band, group)));
    return static_cast<TAwardStatus>(best);
}

TAwardStatus BandGroupStatus(TConstStatusBlock block, int band, int group)
{
    if (!IsRealBand(band) || group < 0 || group > 3)
        return asNotWorked;
    if (group == mgMixed)
        return BandStatus(block, band);
    int cell = BandCell(band, group);
    return block.Count(cell) != 0 ? static_cast<TAwardStatus>(block.Best(cell)) : asNotWorked;
}

bool AnyModeGroupWorked(TConstStatusBlock block)
{
    return block.Held(1) || block.Held(2) || block.Held(3);
}

// --- questions of an award's setup ------------------------------------------------------

bool CountsBand(const TConfigRecord &config, const TAwardSetup &setup, int band)
{
    // An extended band takes the station and valid-band flags of its settings band.
    auto slot = static_cast<std::size_t>(SettingsBandOf(band));
    return IsBand(band) && config.StationBands[slot] && setup.ValidBands[slot];
}

bool IsBandAward(const TConfigRecord &config, const TAwardSetup &setup, int band)
{
    // The status blocks have band cells for the fifteen classic bands only.
    return IsRealBand(band) && CountsBand(config, setup, band) && setup.SeparateBands[static_cast<std::size_t>(band)];
}

bool CountsMode(const TConfigRecord &config, const TAwardSetup &setup, int mode)
{
    if (mode == 0)
        return setup.Mixed;
    auto slot = static_cast<std::size_t>(SettingsModeOf(mode));
    return IsMode(mode) && setup.ValidModes[slot] && config.StationModes[slot];
}

bool CountsModeGroup(const TConfigRecord &config, const TAwardSetup &setup, int group)
{
    if (group == mgMixed)
        return setup.Mixed;
    for (int mode = 1; mode < ModeCount; ++mode)
        if (ModeGroupOf(mode) == group && CountsMode(config, setup, mode))
            return true;
    return false;
}

bool LevelEnabled(const TAwardSetup &setup, AwardLevel level)
{
    switch (level) {
    case AwardLevel::Mixed: return setup.Mixed;
    case AwardLevel::Mode: return setup.ModeAwards;
    case AwardLevel::Band: return setup.BandAwards;
    }
    return false;
}

// --- the status of one QSO ----------------------------------------------------------------

TAwardStatus QsoLevelStatus(const TQsoRec &qso, std::uint32_t submittedMask)
{
    if (qso.AwdFlags & submittedMask)
        return asSubmitted;
    if (qso.AwdFlags & (submittedMask << 1))
        return asChecked;
    return asConfirmed;
}

AwardStartDates DefaultStartDates()
{
    return {AwardStartDefault, AwardStartDefault, AwardStartDefault, AwardStartDefault};
}

std::uint16_t AwardStartDate(int awardCode)
{
    switch (awardCode) {
    case -1: return *DayNumber(1969, 1, 1);
    case 2: return *DayNumber(1945, 1, 1);
    case -2: return *DayNumber(1979, 1, 1);
    case 3:
    case -3: return *DayNumber(1936, 1, 1);
    default: return AwardStartDefault;
    }
}

std::uint16_t TQsoStatusRule::CutoffDate(std::uint16_t today, std::uint16_t cutoffDays)
{
    return static_cast<std::uint16_t>(std::max(0, static_cast<int>(today) - static_cast<int>(cutoffDays)));
}

TQsoStatusRule::TQsoStatusRule(const TSelection &selection, const TConfigRecord &config, std::uint16_t today)
    : m_selection(selection), m_workedFrom(CutoffDate(today, config.WorkedCutoff)),
      m_mailedFrom(CutoffDate(today, config.MailedCutoff))
{
}

TAwardStatus QsoAwardStatus(const TQsoRec &qso, const TSelection &selection, const TConfigRecord &config,
                            std::uint16_t today)
{
    return TQsoStatusRule(selection, config, today).Status(qso);
}

StatusTriple AwardTriple(const TQsoRec &qso, TAwardStatus status, AwardIndex award)
{
    if (status != asSubmitted)
        return {status, status, status};
    const AwardMasks &masks = AwardFlagMasks[static_cast<std::size_t>(award)];
    return {QsoLevelStatus(qso, masks.mixed), QsoLevelStatus(qso, masks.mode), QsoLevelStatus(qso, masks.band)};
}

} // namespace vellum
