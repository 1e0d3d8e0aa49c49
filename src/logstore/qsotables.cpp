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

const std::array<const char *, 4> ModeGroupNames = {"MIX", "PHO", "CW", "RTTY"};
const std::array<const char *, 7> QslMethodNames = {"", "Buro", "QSLSvc", "Direct", "$$$$", "Other", "Ignore"};

const std::array<SatelliteInfo, 10> SatelliteTable = {{
    {"", 'X'}, {"------", 'N'}, {"435/145", 'B'}, {"144/435", 'J'}, {"1269/436", 'L'},
    {"435/2400", 'S'}, {"2m/10m", 'A'}, {"15m/10m", 'K'}, {"15m/2m", 'T'}, {"Other", 'O'},
}};

int BandOfFreq(std::int64_t kHz)
{
    for (int i = 1; i < BandCount; ++i)
        if (kHz >= BandTable[i].lowKHz - 5 && kHz <= BandTable[i].highKHz + 5)
            return i;
    return 0;
}

int ParseBand(std::string_view text)
{
    std::string_view head = text.substr(0, 3);
    for (int i = BandCount - 1; i >= 1; --i)
        if (head == BandTable[i].shortName)
            return i;
    if (CompareNoCase(text, "SAT") == 0)
        return 15;
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
    if (band < 0 || band >= BandCount)
        band = 0;
    return showInMHz ? BandTable[band].freqLabel : BandTable[band].name;
}

std::string ModeName(int mode)
{
    return (mode > 0 && mode < ModeCount) ? ModeTable[mode].name : "";
}

int ModeOfName(std::string_view name)
{
    for (int i = 1; i < ModeCount; ++i)
        if (CompareNoCase(name, ModeTable[i].name) == 0)
            return i;
    return 0;
}

int ModeGroupOf(int mode)
{
    return (mode >= 0 && mode < ModeCount) ? ModeTable[mode].group : 0;
}

std::uint16_t DefaultReport(int mode)
{
    bool rst = (mode >= 0 && mode < ModeCount) ? ModeTable[mode].threeDigitReport : true;
    return rst ? 599 : 59;
}

} // namespace vellum
