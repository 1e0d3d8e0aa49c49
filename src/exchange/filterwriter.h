#pragma once
// Writing QSOs as text lines through a filter: each placed field in its
// notation at its columns, the line cut to RecLen or freed of trailing blanks,
// and the QSO's note on the next line when the filter says so.

#include <cstdint>
#include <string>

namespace vellum {

class PrefixMap;
class TCountryData;
class TNotes;
struct ImportFilter;
struct TConfigRecord;
struct TQsoRec;

struct FilterWriteSources {
    const TCountryData &countries;
    TNotes &notes;                        ///< callsign notes exported are marked for the notes file
    const PrefixMap *prefixMap = nullptr; ///< DXCC numbers of the prefixes
    const TConfigRecord *config = nullptr; ///< the CW/phone boundaries; none: the band's lower edge
};

/// A day number written in a date format (0..16) with the separator dateChar.
std::string FormatFilterDate(std::uint16_t day, int format, char dateChar);

/// Appends the QSO's line (and its note line) to out, each ended by CR LF.
void WriteFilterRecord(std::string &out, const TQsoRec &qso, const ImportFilter &filter,
                       const FilterWriteSources &sources);

} // namespace vellum
