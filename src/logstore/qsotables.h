#pragma once
// The fixed tables of the QSO record: bands, modes, QSL methods, satellite modes.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace vellum {

// The classic tables: the first sixteen bands and modes. Records with a slot per band
// or per mode (the configuration record, the award status blocks) are sized by
// these counts and keep them; the extended entries (indexes from 16 up, held by the
// same band and mode bytes) are reached through BandInfoOf and ModeInfoOf, and take
// those slots through SettingsBandOf and SettingsModeOf (docs/modes-and-bands.md).
inline constexpr int BandCount = 16; ///< band indexes 0..15, 0 = none, 15 = "Sat"
inline constexpr int ModeCount = 16; ///< mode indexes 0..15, 0 = none
inline constexpr int AllBandCount = 35; ///< classic and extended bands, 16..34 extended
inline constexpr int AllModeCount = 31; ///< classic and extended modes, 16..30 extended

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
    bool dbReport = false;  ///< reports in dB (-50..+50), as the weak-signal modes exchange them
};
extern const std::array<ModeInfo, ModeCount> ModeTable;

/// Any band 0..AllBandCount-1; out-of-range indexes give the entry of band 0.
const BandInfo &BandInfoOf(int band);
/// Any mode 0..AllModeCount-1; out-of-range indexes give the entry of mode 0.
const ModeInfo &ModeInfoOf(int mode);
inline bool IsBand(int band) { return band >= 1 && band < AllBandCount; }
inline bool IsMode(int mode) { return mode >= 1 && mode < AllModeCount; }
inline bool IsExtendedBand(int band) { return band >= BandCount && band < AllBandCount; }
inline bool IsExtendedMode(int mode) { return mode >= ModeCount && mode < AllModeCount; }
/// The classic band whose per-band slots a band uses: the band itself for 0..15, for
/// an extended band its neighbour in frequency (160m below 1 MHz, 80m for 60m, 6m for
/// 8m to 4m, 70cm for 33cm, 23cm above); 0 for out-of-range indexes.
int SettingsBandOf(int band);
/// The classic mode whose per-mode slots a mode uses: the mode itself for 0..15, for
/// an extended mode the first mode of its group in the settings (SSB, CW, RTTY).
int SettingsModeOf(int mode);
/// The classic mode a radio is set to for a mode: the mode itself for 0..15; SSB for
/// the sound-card digital modes (run in USB), FM for digital voice.
int RadioModeOf(int mode);
/// The fixed CW/phone boundary (kHz) of an extended band, which has no configured
/// one: its upper edge below 1 MHz (all CW), else its lower edge (all phone).
double ExtendedCwCutoff(int band);

/// Names of the mode groups 0..3: "MIX", "PHO", "CW", "RTTY".
extern const std::array<const char *, 4> ModeGroupNames;
/// QSL methods 0..6 ("" for 0, "Buro", "QSLSvc", "Direct", "$$$$", "Other", "Ignore").
extern const std::array<const char *, 7> QslMethodNames;

struct SatelliteInfo {
    const char *name;
    char code; ///< the one-letter code of exports
};
extern const std::array<SatelliteInfo, 10> SatelliteTable;

/// The first band whose range widened by 5 kHz holds the frequency, the classic bands
/// before the extended ones (so a frequency in the "Sat" range stays "Sat"); 0 when none.
int BandOfFreq(std::int64_t kHz);
/// True when the band's range widened by 5 kHz holds the frequency.
bool BandHoldsFreq(int band, std::int64_t kHz);
/// A band from its full name in any letter case ("60m", "6CM", "Sat"), 0 when none.
int BandOfName(std::string_view name);
/// A band from its text: a full band name in any case ("4m", "1.25cm"); the first
/// three characters matched against the short names from band 15 down; "SAT" in any
/// case gives 15; an extended band's short name ("60"); a number before "m" or "cm"
/// naming a classic band; else 0.
int ParseBand(std::string_view text);
/// Band name, or its MHz label when showInMHz is set; index 0 gives "xxxm"/"xxxf".
std::string BandLabel(int band, bool showInMHz);
/// The mode's name ("" for 0 and out-of-range indexes).
std::string ModeName(int mode);
/// The mode with this exact name (any letter case), 0 when none.
int ModeOfName(std::string_view name);
/// Mode group 0..3 of a mode; 0 for out-of-range indexes.
int ModeGroupOf(int mode);
/// The default report of a mode: 599 for three-digit modes, 59 for two-digit ones,
/// 0 (empty) for dB modes, whose report is always measured.
std::uint16_t DefaultReport(int mode);

} // namespace vellum
