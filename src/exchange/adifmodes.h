#pragma once
// The ADIF names of modes and bands: MODE and SUBMODE of the ADIF mode table for
// each mode of the program, and the ADIF band names.

#include <string_view>

namespace vellum {

struct AdifModeName {
    std::string_view mode;
    std::string_view submode; ///< empty when the mode has none
    bool exact = true;        ///< false when reading MODE and SUBMODE back gives another mode
};

/// The ADIF MODE and SUBMODE of a mode (FT4 is MFSK/FT4, PSK31 PSK/PSK31); an empty
/// mode for indexes outside the tables.
AdifModeName AdifModeOf(int mode);
/// The mode an ADIF MODE and SUBMODE name: a known submode first (USB and LSB give
/// SSB, FT4 gives FT4), then the mode of the ADIF mode table (PSK63 is PSK), then the
/// program's own mode names; 0 when neither is known.
int ModeOfAdif(std::string_view mode, std::string_view submode);
/// The mode of one ADIF name standing alone, as a SUBMODE or else as a MODE (FT4,
/// JS8, DMR, PKT) or one of the program's names (FT8, OLIVIA, DV); 0 for none.
int ModeOfAdifName(std::string_view name);
/// The mode whose name begins with `start` (OLIV for OLIVIA, MSK1 for MSK144,
/// DIGI for DIGITALVOICE): the names read by ModeOfAdifName, for a name cut to a
/// column's width; 0 when no mode or more than one does.
int ModeOfAdifNameStart(std::string_view start);
/// The ADIF BAND name of a band ("1.25m" for 1.2m); empty for none.
std::string_view AdifBandName(int band);

} // namespace vellum
