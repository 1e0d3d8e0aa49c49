#pragma once
// The award status of an entity (a country, a CQ zone, a US state, a WPX
// prefix, ...): status values, mode groups, the 113-byte status block with its
// 49 cells, the status of one QSO, and the questions asked of a block and of
// an award's setup.

#include "config/configrecord.h"
#include "logstore/qsorec.h"
#include "logstore/selection.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <type_traits>

namespace vellum {

/// How far the operator has come with an entity; a higher value always wins.
enum TAwardStatus : std::uint8_t {
    asNotWorked = 0,
    asWorked = 1,
    asQslSent = 2,
    asConfirmed = 3,
    asSubmitted = 4,
    asChecked = 5,
};
inline constexpr int AwardStatusCount = 6;

/// Status names ("" for asNotWorked), letters (cp1252; a middle dot for
/// asNotWorked) and the headings of the award summaries.
extern const std::array<const char *, AwardStatusCount> AwardStatusNames;
extern const std::array<const char *, AwardStatusCount> AwardStatusLetters;
extern const std::array<const char *, AwardStatusCount> AwardStatusHeadings;

/// Mode groups: 0 "MIX" (all modes), 1 "PHO", 2 "CW", 3 "RTTY" (digital).
enum TModeGroup : std::uint8_t { mgMixed = 0, mgPhone = 1, mgCW = 2, mgDigital = 3 };
inline constexpr int ModeGroupCount = 4;

/// The awards with status blocks, in the order of the configuration's AwardSetup.
inline constexpr std::array<const char *, AwardCount> AwardNames = {"DXCC", "WAZ", "WAS", "WPX"};
/// Levels of an award: 0 mixed, 1 mode, 2 band.
enum class AwardLevel : int { Mixed = 0, Mode = 1, Band = 2 };
inline constexpr std::array<const char *, 3> AwardLevelNames = {"Mixed", "Mode", "Band"};

/// One cell: the best status reached and the number of counted QSOs reaching it (saturating at 255).
struct TStatusCell {
    std::uint8_t Best = 0;
    std::uint8_t Count = 0;
};

inline constexpr int StatusCellCount = 49;
inline constexpr std::size_t StatusBlockSize = 113;
inline constexpr std::size_t FiveBandFlagsOffset = 2 * StatusCellCount;
static_assert(FiveBandFlagsOffset + 15 == StatusBlockSize);

/// Whether band is a real band (1..15) and mode a real mode (1..15).
/// The fifteen classic bands: those with cells in the status blocks.
inline bool IsRealBand(int band) { return band >= 1 && band <= 15; }
/// What award reports say of the extended bands (60m, 630m, ...), which have no band cells.
inline constexpr const char *ExtendedBandAwardNote =
    "QSOs on 60m, 630m, 4m and the other bands beyond the fifteen count at the mixed and mode levels, not per band";
inline bool IsRealMode(int mode) { return mode >= 1 && mode <= 15; } ///< the classic modes

/// The cell of a band in a mode group (band 1..15, group 1..3): band * 3 + group.
inline constexpr int BandCell(int band, int group) { return band * 3 + group; }

/// The bytes of a status block, as its holder keeps them: 49 cells (best,
/// count), then one five-band "used" flag per band 1..15. Cell 0 is the mixed
/// level, cells 1..3 the mode groups, cell band * 3 + group a band in a group.
using TStatusBlockBytes = std::array<std::uint8_t, StatusBlockSize>;

/// A view of a status block held elsewhere (a country entry, a zone of the log,
/// a WPX table entry, an item block). Byte may be const for a read-only view.
template <typename Byte>
class BasicStatusBlock {
public:
    /// The block's bytes as its holder keeps them (const for a read-only view).
    using Bytes = std::conditional_t<std::is_const_v<Byte>, const TStatusBlockBytes, TStatusBlockBytes>;

    explicit BasicStatusBlock(std::span<Byte, StatusBlockSize> bytes) : m_bytes(bytes.data()) {}
    explicit BasicStatusBlock(Bytes &bytes) : m_bytes(bytes.data()) {}
    /// A read-only view of a writable block.
    template <typename Other>
        requires(std::is_const_v<Byte> && !std::is_const_v<Other>)
    BasicStatusBlock(BasicStatusBlock<Other> other) : m_bytes(other.Data()) // NOLINT: widening to const
    {
    }

    std::uint8_t Best(int cell) const { return m_bytes[2 * cell]; }
    std::uint8_t Count(int cell) const { return m_bytes[2 * cell + 1]; }
    TStatusCell Cell(int cell) const { return {Best(cell), Count(cell)}; }
    /// Whether the cell holds a status with a count (worked or better).
    bool Held(int cell) const { return Best(cell) != 0 && Count(cell) != 0; }
    bool FiveBandUsed(int band) const { return m_bytes[FiveBandFlagsOffset + band - 1] != 0; }
    Byte *Data() const { return m_bytes; }

    void SetCell(int cell, TStatusCell value) const
        requires(!std::is_const_v<Byte>)
    {
        m_bytes[2 * cell] = value.Best;
        m_bytes[2 * cell + 1] = value.Count;
    }
    void SetFiveBandUsed(int band, bool used) const
        requires(!std::is_const_v<Byte>)
    {
        m_bytes[FiveBandFlagsOffset + band - 1] = used ? 1 : 0;
    }
    void ClearFiveBandFlags() const
        requires(!std::is_const_v<Byte>)
    {
        std::fill(m_bytes + FiveBandFlagsOffset, m_bytes + StatusBlockSize, std::uint8_t{0});
    }
    /// Clears every cell and five-band flag.
    void Clear() const
        requires(!std::is_const_v<Byte>)
    {
        std::fill(m_bytes, m_bytes + StatusBlockSize, std::uint8_t{0});
    }
    /// Merges a status into a cell: a higher status replaces the best with count
    /// 1, an equal one raises the count (up to 255), a lower one changes nothing.
    void Merge(int cell, std::uint8_t status) const
        requires(!std::is_const_v<Byte>)
    {
        Byte &best = m_bytes[2 * cell];
        Byte &count = m_bytes[2 * cell + 1];
        if (status > best) {
            best = status;
            count = 1;
        } else if (status == best && count < 255) {
            ++count;
        }
    }
    /// Takes a status out of a cell. Returns false when it cannot be done
    /// exactly (the status is the best and its count is below 2); the cell is
    /// then left as it was.
    bool Unmerge(int cell, std::uint8_t status) const
        requires(!std::is_const_v<Byte>)
    {
        Byte &count = m_bytes[2 * cell + 1];
        if (m_bytes[2 * cell] != status)
            return true;
        if (count < 2)
            return false;
        --count;
        return true;
    }

private:
    Byte *m_bytes;
};

using TAwardStatusBlock = BasicStatusBlock<std::uint8_t>;
using TConstStatusBlock = BasicStatusBlock<const std::uint8_t>;

// --- queries on a block -------------------------------------------------------------

/// The best of the mixed cell, 0 when its count is 0.
TAwardStatus MixedStatus(TConstStatusBlock block);
/// The best of a mode group's cell (group 0 gives the mixed status), 0 when its count is 0.
TAwardStatus ModeGroupStatus(TConstStatusBlock block, int group);
/// The highest best among a band's three group cells with a count; 0 for a band outside 1..15.
TAwardStatus BandStatus(TConstStatusBlock block, int band);
/// The status of a band in a mode group: the cell's best (0 without a count);
/// for group 0 (no mode) the band's status over all groups.
TAwardStatus BandGroupStatus(TConstStatusBlock block, int band, int group);
/// Whether some mode group cell is worked or better.
bool AnyModeGroupWorked(TConstStatusBlock block);

// --- questions of an award's setup ------------------------------------------------------

/// The setup of an award in the configuration record.
inline const TAwardSetup &AwardSetupOf(const TConfigRecord &config, AwardIndex award)
{
    return config.AwardSetup[static_cast<std::size_t>(award)];
}
/// The station uses the band and the award counts it (false outside 1..15).
bool CountsBand(const TConfigRecord &config, const TAwardSetup &setup, int band);
/// CountsBand, and the band is a separate award.
bool IsBandAward(const TConfigRecord &config, const TAwardSetup &setup, int band);
/// Mode 0: the Mixed award is on; modes 1..15: the award counts the mode and the
/// station uses it; false for any other mode.
bool CountsMode(const TConfigRecord &config, const TAwardSetup &setup, int mode);
/// Group 0: the Mixed award is on; groups 1..3: some mode of the group counts.
bool CountsModeGroup(const TConfigRecord &config, const TAwardSetup &setup, int group);
/// Whether the setup enables a level (Mixed, Mode or Band awards).
bool LevelEnabled(const TAwardSetup &setup, AwardLevel level);

// --- the status of one QSO ----------------------------------------------------------------

/// The award flag masks (submitted bits; the checked bit is the one above) of
/// an award's three levels.
struct AwardMasks {
    std::uint32_t mixed;
    std::uint32_t mode;
    std::uint32_t band;
};
extern const std::array<AwardMasks, AwardCount> AwardFlagMasks;
/// Submitted masks of the smaller awards.
namespace ItemMask {
inline constexpr std::uint32_t Vucc = 0x00000001, Iota = 0x00100000, County = 0x01000000, CustomAward = 0x04000000;
}

/// A confirmed QSO's status at a level: 4 when the level's submitted bit is set,
/// else 5 when its checked bit is set, else 3.
TAwardStatus QsoLevelStatus(const TQsoRec &qso, std::uint32_t submittedMask);

/// Start dates of award counting, one per mode group 0..3.
using AwardStartDates = std::array<std::uint16_t, ModeGroupCount>;
/// 15 November 1945 for every group: the start date outside reports.
AwardStartDates DefaultStartDates();
/// The start date of a report's award code: 1 DXCC, -1 five-band DXCC, 2 WAZ,
/// -2 five-band WAZ, 3 or -3 WAS and WPX. Any other code gives 15 November 1945.
std::uint16_t AwardStartDate(int awardCode);

/// The rule that gives one QSO its status (QsoAwardStatus), with the selection,
/// the cutoffs and today fixed when it is made.
class TQsoStatusRule {
public:
    TQsoStatusRule(const TSelection &selection, const TConfigRecord &config, std::uint16_t today);

    /// 0 outside the selection, with an empty received report, or when an
    /// unconfirmed QSO is older than the worked (no QSL sent) or mailed (QSL
    /// sent) cutoff; 3 for a confirmed QSO without award flags, 4 with flags
    /// (the level decides, QsoLevelStatus); else 1 (worked) or 2 (QSL sent).
    TAwardStatus Status(const TQsoRec &qso) const
    {
        if (qso.RstRcvd == 0 || !InSelection(m_selection, qso))
            return asNotWorked;
        return ConfirmationStatus(qso);
    }
    /// The status from confirmation and cutoffs alone (no selection or report test).
    TAwardStatus ConfirmationStatus(const TQsoRec &qso) const
    {
        if (qso.QslFlags & QslFlag::Cnfm)
            return qso.AwdFlags == 0 ? asConfirmed : asSubmitted;
        if (qso.QslDate == 0)
            return qso.Date >= m_workedFrom ? asWorked : asNotWorked;
        return qso.Date >= m_mailedFrom ? asQslSent : asNotWorked;
    }
    /// The first date that still counts: today minus the cutoff, never below 0.
    static std::uint16_t CutoffDate(std::uint16_t today, std::uint16_t cutoffDays);

private:
    TSelection m_selection;
    std::uint16_t m_workedFrom;
    std::uint16_t m_mailedFrom;
};

/// The status of one QSO in the log's selection in force (see TQsoStatusRule::Status).
TAwardStatus QsoAwardStatus(const TQsoRec &qso, const TSelection &selection, const TConfigRecord &config,
                            std::uint16_t today);

/// The three statuses (mixed, mode, band) a QSO of status s brings to an award.
struct StatusTriple {
    std::uint8_t mixed;
    std::uint8_t mode;
    std::uint8_t band;
};
StatusTriple AwardTriple(const TQsoRec &qso, TAwardStatus status, AwardIndex award);

} // namespace vellum
