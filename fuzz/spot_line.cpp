// Fuzz target: a spotting pattern (the first line of the input, as a user may
// type one) against a received line (the rest). Matching must not crash or
// read past the line, and a match must give fields within their sizes.

#include "cluster/spotpattern.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    std::string_view input(reinterpret_cast<const char *>(data), size);
    std::size_t end = input.find('\n');
    std::string_view pattern = input.substr(0, std::min<std::size_t>(end, 32));
    std::string line = vellum::SpotMatchText(end == std::string_view::npos ? std::string_view() : input.substr(end + 1));
    vellum::ParsedSpot spot;
    if (vellum::MatchSpotPattern(pattern, line, 2026, spot)) {
        if (spot.call.size() > 12 || spot.spotter.size() > 12 || spot.remarks.size() > 33)
            std::abort();
        if (!std::isfinite(spot.freqKHz) || spot.freqKHz < 0 || (spot.time != 65535 && spot.time >= 1440))
            std::abort();
        if (!spot.call.empty() && !vellum::IsSpotCallsign(spot.call))
            std::abort();
        vellum::ApplyQsxMarker(spot);
        if (!std::isfinite(spot.qsx))
            std::abort();
    }
    vellum::MatchWarningPattern(pattern, line);
    return 0;
}
