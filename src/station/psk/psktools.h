#pragma once
// Whole transmissions in and out of memory, for the command line, the tests
// and the benchmarks: text to a signal, a signal to text, noise of a given
// signal-to-noise ratio, and the character error rate of a decoded text.

#include "pskmodulator.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vellum::psk {

/// A whole transmission of the text: idle reversals before and after.
std::vector<float> EncodeText(std::string_view text, int sampleRate, double frequency, PskMode mode);

struct DecodeOptions {
    double frequency = 1000;
    PskMode mode = PskMode::Bpsk;
    int afcLimit = 25;    ///< Hz; 0 = off
    int squelch = 30;     ///< percent
    bool slowSquelch = false;
};
std::string DecodeSound(const std::vector<float> &samples, int sampleRate, const DecodeOptions &options);

/// White noise added so that the signal's power over that of the noise in a
/// 3 kHz bandwidth is snrDb (the signal's power measured where it is on).
void AddNoise(std::vector<float> &samples, int sampleRate, double snrDb, std::uint32_t seed);

/// Shifts the signal's frequency by hz plus a drift in hz per second (a mixer of the analytic signal).
std::vector<float> ShiftFrequency(const std::vector<float> &samples, int sampleRate, double hz, double driftPerSecond);

/// Edit distance between the texts over the sent text's length.
double CharacterErrorRate(std::string_view sent, std::string_view received);

} // namespace vellum::psk
