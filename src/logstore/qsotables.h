#pragma once
// The fixed tables of the QSO record: bands, modes, QSL methods, satellite modes.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace vellum {

inline constexpr int BandCount = 16; ///< band indexes 0..15, 0 = none, 15 = "Sat"
inline constexpr int ModeCount = 16; ///< mode indexes 0..15, 0 = none

struct BandInfo {
    const char *name;       ///< "160m"
    const char *shortName;  ///< "160"
    const char *freqLabel;  ///< "1.8MHz"
    std::int64_t lowKHz;
    std::int64_t highKHz;
};
extern const std::array<BandInfo, BandCount> BandTable;

struct ModeInfo {
    const char *name;       ///< at most four characters
    std::uint8_t group;     ///< 1 phone, 2 CW, 3 digital
    bool threeDigitReport;  ///< RST rather than RS
};
extern const std::array<ModeInfo, ModeCount> ModeTable;

/// Names of the mode groups 0..3: "MIX", "PHO", "CW", "RTTY".
extern const std::array<const char *, 4> ModeGroupNames;
/// QSL methods 0..6 ("" for 0, "Buro", "QSLSvc", "Direct", "$$$$", "Other", "Ignore").
extern const std::array<const char *, 7> QslMethodNames;

struct SatelliteInfo {
    const char *name;
    char code; ///< the one-letter code of exports
};
extern const std::array<SatelliteInfo, 10> SatelliteTable;

/// The first band whose range widened by 5 kHz holds the frequency; 0 when none.
int BandOfFreq(std::int64_t kHz);
/// A band from its text: the first three characters matched against the short
/// names from band 15 down; "SAT" in any case gives 15; else 0.
int ParseBand(std::string_view text);
/// Band name, or its MHz label when showInMHz is set; index 0 gives "xxxm"/"xxxf".
std::string BandLabel(int band, bool showInMHz);
/// The mode's name ("" for 0 and out-of-range indexes).
std::string ModeName(int mode);
/// The mode with this exact name (any letter case), 0 when none.
int ModeOfName(std::string_view name);
/// Mode group 0..3 of a mode; 0 for out-of-range indexes.
int ModeGroupOf(int mode);
/// The default report of a mode: 599 for three-digit modes, else 59.
std::uint16_t DefaultReport(int mode);

} // namespace vellum
