#include "adifmodes.h"

#include "logstore/compare.h"
#include "logstore/qsotables.h"
#include "logstore/trim.h"

#include <array>

namespace vellum {

namespace {

struct AdifName {
    std::string_view name;
    int mode;
};

// The ADIF MODE and SUBMODE of each mode, by mode index.
constexpr std::array<AdifModeName, AllModeCount> ExportNames = {{
    {"", ""},          {"AM", ""},         {"ATV", ""},        {"CLO", ""},        {"CW", ""},
    {"FM", ""},        {"ATV", "", false}, {"TOR", "GTOR"},    {"TOR", "AMTORFEC"}, {"PKT", ""},
    {"PSK", ""},       {"PSK", "PSK31"},   {"PAC", ""},        {"RTTY", ""},       {"SSB", ""},
    {"SSTV", ""},      {"FT8", ""},        {"MFSK", "FT4"},    {"JT65", ""},       {"JT9", ""},
    {"MFSK", "JS8"},   {"MSK144", ""},     {"MFSK", "Q65"},    {"MFSK", "FST4"},   {"MFSK", ""},
    {"OLIVIA", ""},    {"CONTESTI", ""},   {"HELL", ""},       {"THOR", ""},       {"DOMINO", ""},
    {"DIGITALVOICE", ""},
}};

// Submodes that name a mode of their own; the others fall back to their MODE.
constexpr std::array<AdifName, 17> Submodes = {{
    {"USB", 14}, {"LSB", 14},  {"GTOR", 7},  {"AMTORFEC", 8}, {"PSK31", 11}, {"BPSK31", 11},
    {"PAC2", 12}, {"PAC3", 12}, {"PAC4", 12}, {"FT4", 17},     {"JS8", 20},    {"Q65", 22},
    {"FST4", 23}, {"FST4W", 23}, {"C4FM", 30}, {"DMR", 30},     {"DSTAR", 30},
}};

// ADIF MODE values whose name is not the program's own mode name.
constexpr std::array<AdifName, 7> Modes = {{
    {"CLO", 3}, {"PKT", 9}, {"PAC", 12}, {"TOR", 12}, {"DIGITALVOICE", 30}, {"DSTAR", 30}, {"C4FM", 30},
}};

template <std::size_t N>
int lookUp(const std::array<AdifName, N> &names, std::string_view text)
{
    for (const AdifName &entry : names)
        if (CompareNoCase(entry.name, text) == 0)
            return entry.mode;
    return 0;
}

bool startsWithNoCase(std::string_view name, std::string_view start)
{
    return name.size() >= start.size() && CompareNoCase(name.substr(0, start.size()), start) == 0;
}

} // namespace

AdifModeName AdifModeOf(int mode)
{
    return IsMode(mode) ? ExportNames[static_cast<std::size_t>(mode)] : AdifModeName{};
}

int ModeOfAdif(std::string_view mode, std::string_view submode)
{
    mode = Trim(mode);
    submode = Trim(submode);
    if (int found = lookUp(Submodes, submode))
        return found;
    if (int found = lookUp(Modes, mode))
        return found;
    if (mode.empty())
        return ModeOfName(submode);
    return ModeOfName(mode);
}

int ModeOfAdifName(std::string_view name) { return ModeOfAdif(name, name); }

int ModeOfAdifNameStart(std::string_view start)
{
    start = Trim(start);
    if (start.empty())
        return 0;
    int found = 0;
    auto take = [&](std::string_view name, int mode) {
        if (!startsWithNoCase(name, start) || mode == found)
            return true;
        if (found != 0)
            return false; // two modes begin so
        found = mode;
        return true;
    };
    bool unique = true;
    for (const AdifName &entry : Submodes)
        unique = unique && take(entry.name, entry.mode);
    for (const AdifName &entry : Modes)
        unique = unique && take(entry.name, entry.mode);
    for (int mode = 1; mode < AllModeCount; ++mode)
        unique = unique && take(ModeName(mode), mode);
    return unique ? found : 0;
}

std::string_view AdifBandName(int band)
{
    if (band == 12)
        return "1.25m";
    return IsBand(band) ? BandInfoOf(band).name : "";
}

} // namespace vellum
