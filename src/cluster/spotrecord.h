#pragma once
// A DX spot as the spot list keeps it and as the spot file "VELLUM.PUT" stores
// it: an 89-byte little-endian record, and the file of such records behind a
// short-string header "SPOTB".

#include "config/lefields.h"
#include "logstore/shortstring.h"

#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

namespace vellum {

using LeI16 = LittleEndian<std::int16_t>;

inline constexpr std::uint16_t SpotTimeNotGiven = 65535;

struct TSpotRecord {
    LeF64 Freq;               ///< kHz
    LeF64 Qsx;                ///< kHz; 0 = none
    std::uint8_t Band = 0;
    std::uint8_t Mode = 0;
    ShortString<12> Call;
    ShortString<12> Spotter;
    LeI16 Country;            ///< 0 = unknown
    char Class = '5';         ///< '1'..'6'
    LeU16 Date;               ///< day number
    LeU16 Time;               ///< minutes after 00:00 UTC
    ShortString<33> Remarks;
    LeI32 Arrival;

    int ClassNumber() const { return Class >= '1' && Class <= '6' ? Class - '0' : 5; }
};
static_assert(sizeof(TSpotRecord) == 89 && alignof(TSpotRecord) == 1);
static_assert(std::is_trivially_copyable_v<TSpotRecord>);

/// What reading the spot file found.
enum class SpotFileState {
    Missing,      ///< no file: an empty list
    Read,         ///< header and whole records
    Incompatible, ///< the header is not "SPOTB": nothing read, the file set aside
    Damaged,      ///< a partial record at the end: the whole records read, the file set aside
};

struct SpotFileContents {
    SpotFileState state = SpotFileState::Missing;
    std::vector<TSpotRecord> spots;
    std::string setAsideAs; ///< where a file that could not be read whole was kept
};

/// Reads the spot file. A file that cannot be read whole is renamed to
/// name + ".bad" (an older such copy is replaced) so that the next write of the
/// list cannot empty what it held. Records with a frequency that is not a
/// finite positive number are dropped.
SpotFileContents ReadSpotFile(const std::string &fileName);

/// Writes the spots in list order through the safe writer; an empty list
/// deletes the file. Throws EFileError when the file cannot be written (the old
/// file is then kept).
void WriteSpotFile(const std::string &fileName, const std::vector<TSpotRecord> &spots, bool cycleFiles);

} // namespace vellum
