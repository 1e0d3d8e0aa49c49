#pragma once
// Which bands and mode groups each call of the log was worked on, so that the
// need class of a spot ("this call on this band and mode group already?") costs
// a hash look-up instead of a search of the log's call index.

#include "packedmap.h"

#include <cstdint>
#include <string_view>

namespace vellum {
class TQsoData;
struct TQsoRec;
} // namespace vellum

namespace vellum::detail {

/// Per call a mask of (band 1..15, mode group 0..3) bits over the QSOs the
/// selection in force admits. A call whose mask is not known (a QSO of it left
/// the log) is looked up in the log again when asked for.
class CallMasks {
public:
    /// Builds the masks of every QSO of the log that the selection admits.
    explicit CallMasks(const TQsoData &log);

    /// The bit of a band and mode group; 0 for a band outside 1..15.
    static std::uint64_t Bit(int band, int group);
    /// The bits of a band: its bit in every mode group.
    static std::uint64_t BandBits(int band);

    /// The mask of a call (0 for a call without QSOs in the selection).
    std::uint64_t MaskOf(const TQsoData &log, std::string_view call);
    /// A QSO just added to the log.
    void Added(const TQsoData &log, const TQsoRec &qso);
    /// A QSO about to leave the log: its call's mask is worked out again when next asked for.
    void Removing(const TQsoRec &qso);

private:
    static constexpr std::uint64_t Unknown = 1ull << 63;
    static std::uint64_t qsoBit(const TQsoRec &qso);

    PackedMap<std::uint64_t> m_masks;
};

} // namespace vellum::detail
