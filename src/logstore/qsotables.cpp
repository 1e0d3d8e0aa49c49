#include "qsotables.h"

#include "compare.h"

#include <algorithm>

namespace vellum {

const std::array<BandInfo, BandCount> BandTable = {{
    {"xxxm", "", "xxxf", -1, -1},
    {"160m", "160", "1.8MHz", 1500, 2000},
    {"80m", "80", "3.7MHz", 3500, 4000},
    {"40m", "40", "7MHz", 7000, 7500},
    {"30m", "30", "10MHz", 10000, 10500},
    {"20m", "20", "14MHz", 14000, 14500},
    {"17m", "17", "18MHz", 18000, 18500},
    {"15m", "15", "21MHz", 21000, 21500},
    {"12m", "12", "24MHz", 24000, 25000},
    {"10m", "10", "28MHz", 28000, 30000},
    {"6m", "6", "50MHz", 50000, 54000},
    {"2m", "2", "144MHz", 144000, 148000},
    {"1.2m", "1.2", "220MHz", 220000, 230000},
    {"70cm", "70", "440MHz", 420000, 450000},
    {"23cm", "23", "1.3GHz", 1240000, 1300000},
    {"Sat", "Sat", "Sat", 1400000, 9999000},
}};

const std::array<ModeInfo, ModeCount> ModeTable = {{
    {"", 0, true},      {"AM", 1, false},   {"ATV", 1, false},  {"CLOV", 3, true},
    {"CW", 2, true},    {"FM", 1, false},   {"FSTV", 1, true},  {"GTOR", 3, true},
    {"MTOR", 3, true},  {"PACK", 3, true},  {"PSK", 3, true},   {"PSK3", 3, true},
    {"PTOR", 3, true},  {"RTTY", 3, true},  {"SSB", 1, false},  {"SSTV", 1, true},
}};

namespace {

// The bands of the amateur band plan that the classic table does not name, in the
// order of frequency. "1.25m" is the classic "1.2m". Short names that the classic
// ones would shadow keep their unit ("6cm" against "6m").
const std::array<BandInfo, AllBandCount - BandCount> ExtendedBandTable = {{
    {"2190m", "2190", "136kHz", 135, 138},
    {"630m", "630", "472kHz", 472, 479},
    {"560m", "560", "501kHz", 501, 504},
    {"60m", "60", "5MHz", 5060, 5450},
    {"8m", "8", "40MHz", 40000, 45000},
    {"5m", "5", "54MHz", 54001, 69900},
    {"4m", "4", "70MHz", 70000, 71000},
    {"33cm", "33", "902MHz", 902000, 928000},
    {"13cm", "13", "2.3GHz", 2300000, 2450000},
    {"9cm", "9", "3.4GHz", 3300000, 3500000},
    {"6cm", "6cm", "5.7GHz", 5650000, 5925000},
    {"3cm", "3cm", "10GHz", 10000000, 10500000},
    {"1.25cm", "1.25cm", "24GHz", 24000000, 24250000},
    {"6mm", "6mm", "47GHz", 47000000, 47200000},
    {"4mm", "4mm", "76GHz", 75500000, 81000000},
    {"2.5mm", "2.5mm", "122GHz", 119980000, 123000000},
    {"2mm", "2mm", "134GHz", 134000000, 149000000},
    {"1mm", "1mm", "241GHz", 241000000, 250000000},
    {"submm", "submm", "300GHz", 300000000, 7500000000},
}};

/// The classic band each extended band takes per-band settings from.
constexpr std::array<std::uint8_t, AllBandCount - BandCount> ExtendedBandSettings = {
    1, 1, 1, 2, 10, 10, 10, 13, 14, 14, 14, 14, 14, 14, 14, 14, 14, 14, 14,
};

// Today's digital modes and digital voice, with their groups and report kinds.
const std::array<ModeInfo, AllModeCount - ModeCount> ExtendedModeTable = {{
    {"FT8", 3, true, true},     {"FT4", 3, true, true},     {"JT65", 3, true, true},
    {"JT9", 3, true, true},     {"JS8", 3, true, true},     {"MSK144", 3, true, true},
    {"Q65", 3, true, true},     {"FST4", 3, true, true},    {"MFSK", 3, true, false},
    {"OLIVIA", 3, true, false}, {"CONTESTI", 3, true, false}, {"HELL", 3, true, false},
    {"THOR", 3, true, false},   {"DOMINO", 3, true, false}, {"DV", 1, false, false},
}};

constexpr int ModeSsb = 14;
constexpr int ModeCw = 4;
constexpr int ModeRtty = 13;
constexpr int ModeFm = 5;
constexpr int ModeDv = 30;

} // namespace

const BandInfo &BandInfoOf(int band)
{
    if (band >= 0 && band < BandCount)
        return BandTable[static_cast<std::size_t>(band)];
    if (IsExtendedBand(band))
        return ExtendedBandTable[static_cast<std::size_t>(band - BandCount)];
    return BandTable[0];
}

const ModeInfo &ModeInfoOf(int mode)
{
    if (mode >= 0 && mode < ModeCount)
        return ModeTable[static_cast<std::size_t>(mode)];
    if (IsExtendedMode(mode))
        return ExtendedModeTable[static_cast<std::size_t>(mode - ModeCount)];
    return ModeTable[0];
}

int SettingsBandOf(int band)
{
    if (band >= 0 && band < BandCount)
        return band;
    return IsExtendedBand(band) ? ExtendedBandSettings[static_cast<std::size_t>(band - BandCount)] : 0;
}

int SettingsModeOf(int mode)
{
    if (mode >= 0 && mode < ModeCount)
        return mode;
    if (!IsExtendedMode(mode))
        return 0;
    switch (ModeGroupOf(mode)) {
    case 1: return ModeSsb;
    case 2: return ModeCw;
    default: return ModeRtty;
    }
}

int RadioModeOf(int mode)
{
    if (mode >= 0 && mode < ModeCount)
        return mode;
    if (!IsExtendedMode(mode))
        return 0;
    return mode == ModeDv ? ModeFm : ModeSsb;
}

double ExtendedCwCutoff(int band)
{
    const BandInfo &info = BandInfoOf(band);
    return static_cast<double>(info.highKHz < 1000 ? info.highKHz : info.lowKHz);
}

const std::array<const char *, 4> ModeGroupNames = {"MIX", "PHO", "CW", "RTTY"};
const std::array<const char *, 7> QslMethodNames = {"", "Buro", "QSLSvc", "Direct", "$$$$", "Other", "Ignore"};

const std::array<SatelliteInfo, 10> SatelliteTable = {{
    {"", 'X'}, {"------", 'N'}, {"435/145", 'B'}, {"144/435", 'J'}, {"1269/436", 'L'},
    {"435/2400", 'S'}, {"2m/10m", 'A'}, {"15m/10m", 'K'}, {"15m/2m", 'T'}, {"Other", 'O'},
}};

bool BandHoldsFreq(int band, std::int64_t kHz)
{
    const BandInfo &info = BandInfoOf(band);
    return IsBand(band) && kHz >= info.lowKHz - 5 && kHz <= info.highKHz + 5;
}

int BandOfFreq(std::int64_t kHz)
{
    for (int i = 1; i < AllBandCount; ++i)
        if (BandHoldsFreq(i, kHz))
            return i;
    return 0;
}

int BandOfName(std::string_view name)
{
    for (int i = 1; i < AllBandCount; ++i)
        if (CompareNoCase(name, BandInfoOf(i).name) == 0)
            return i;
    return 0;
}

int ParseBand(std::string_view text)
{
    // A full name first: "1.25cm" is not the "1.2" of 1.2m.
    if (int band = BandOfName(text))
        return band;
    std::string_view head = text.substr(0, 3);
    for (int i = BandCount - 1; i >= 1; --i)
        if (head == BandTable[i].shortName)
            return i;
    if (CompareNoCase(text, "SAT") == 0)
        return 15;
    for (int i = BandCount; i < AllBandCount; ++i)
        if (text == BandInfoOf(i).shortName)
            return i;
    // "20m", "70cm", "1.2M": the number before the unit names the band too.
    std::size_t digits = 0;
    while (digits < text.size() && ((text[digits] >= '0' && text[digits] <= '9') || text[digits] == '.'))
        ++digits;
    std::string_view unit = text.substr(digits);
    if (digits > 0 && digits < text.size() && (CompareNoCase(unit, "M") == 0 || CompareNoCase(unit, "CM") == 0)) {
        std::string_view number = text.substr(0, std::min<std::size_t>(digits, 3));
        for (int i = BandCount - 1; i >= 1; --i)
            if (number == BandTable[i].shortName)
                return i;
    }
    return 0;
}

std::string BandLabel(int band, bool showInMHz)
{
    const BandInfo &info = BandInfoOf(band);
    return showInMHz ? info.freqLabel : info.name;
}

std::string ModeName(int mode)
{
    return IsMode(mode) ? ModeInfoOf(mode).name : "";
}

int ModeOfName(std::string_view name)
{
    for (int i = 1; i < AllModeCount; ++i)
        if (CompareNoCase(name, ModeInfoOf(i).name) == 0)
            return i;
    return 0;
}

int ModeGroupOf(int mode)
{
    return ModeInfoOf(mode).group;
}

std::uint16_t DefaultReport(int mode)
{
    const ModeInfo &info = ModeInfoOf(mode);
    if (info.dbReport)
        return 0;
    return info.threeDigitReport ? 599 : 59;
}

} // namespace vellum
