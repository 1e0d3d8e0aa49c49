#pragma once
// The memory-channel scanner's rules: which channel comes next and how a
// channel tunes the radio.

#include <array>
#include <optional>

namespace vellum {

struct TScanChannel;

inline constexpr int ScanChannelCount = 15;

/// The in-use channel after current (0..14; -1 before the first), cycling; nothing when none is in use.
std::optional<int> NextScanChannel(const std::array<TScanChannel, ScanChannelCount> &channels, int current);

struct ScanTuning {
    int mode = 0;
    bool split = false;
    double txKHz = 0, rxKHz = 0;
};
/// Split when the second frequency is set and differs from the first.
ScanTuning TuningOf(const TScanChannel &channel);

} // namespace vellum
