#include "radioscan.h"

#include "config/configrecord.h"

namespace vellum {

std::optional<int> NextScanChannel(const std::array<TScanChannel, ScanChannelCount> &channels, int current)
{
    for (int step = 1; step <= ScanChannelCount; ++step) {
        int next = ((current + step) % ScanChannelCount + ScanChannelCount) % ScanChannelCount;
        if (channels[static_cast<std::size_t>(next)].InUse)
            return next;
    }
    return std::nullopt;
}

ScanTuning TuningOf(const TScanChannel &channel)
{
    double second = channel.Freq2;
    bool split = second != 0 && second != static_cast<double>(channel.Freq);
    return {channel.Mode, split, second, channel.Freq};
}

} // namespace vellum
