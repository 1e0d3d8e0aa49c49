#pragma once
// One PSK31 receive channel: the signal mixed down at the channel's frequency,
// filtered with a filter matched to the PSK31 symbol, sampled at the symbol
// centres the channel finds itself, differentially detected (BPSK directly,
// QPSK through the Viterbi decoder), with automatic frequency control and a
// squelch on the quality of the detected phases.

#include "convcode.h"
#include "pskmodulator.h"
#include "varicode.h"

#include <array>
#include <complex>
#include <cstdint>
#include <functional>
#include <vector>

namespace vellum::psk {

class PskDemodulator {
public:
    static constexpr int SamplesPerSymbol = 16; ///< after decimation

    explicit PskDemodulator(int sampleRate);

    void SetFrequency(double hz, bool search);
    double Frequency() const { return m_frequency; }
    void SetMode(PskMode mode);
    /// AFC may move the frequency at most this far from where it was tuned; 0 turns it off.
    void SetAfcLimit(double hz) { m_afcLimit = hz; }
    /// Characters pass while the quality is at least percent; slow averages over longer.
    void SetSquelch(int percent, bool slow);

    using CharacterSink = std::function<void(std::uint8_t)>;
    void Process(const float *samples, std::size_t count, const CharacterSink &sink);
    void Reset();

    /// How cleanly the phases fall on the constellation, 0..100.
    int Quality() const;
    bool SquelchOpen() const { return Quality() >= m_threshold; }
    /// The last eight detected phase vectors, thousandths of the unit circle.
    std::array<std::complex<int>, 8> Vectors() const;

private:
    void makeFilter();
    void decimated(std::complex<double> sample, const CharacterSink &sink);
    void symbol(std::complex<double> sample, const CharacterSink &sink);
    void bit(bool one, const CharacterSink &sink);
    void track(std::complex<double> difference);

    int m_rate;
    int m_decimation;
    double m_frequency = 1000;
    double m_tuned = 1000;
    double m_afcLimit = 0;
    double m_phase = 0;
    PskMode m_mode = PskMode::Bpsk;
    int m_threshold = 50;
    double m_qualityWeight = 0.05;

    std::complex<double> m_sum{0, 0};
    int m_summed = 0;
    std::vector<std::complex<double>> m_history; ///< decimated samples for the matched filter
    std::vector<double> m_taps;
    std::vector<double> m_wideTaps; ///< one symbol long, for the carrier's mean frequency
    std::size_t m_at = 0;

    std::array<double, SamplesPerSymbol> m_energy{};
    int m_clock = 0;
    int m_sampleSlot = 0;
    std::complex<double> m_previous{0, 0};
    std::array<std::complex<double>, 2> m_held{}; ///< the two symbols before the one received
    double m_power = 1e-9;
    double m_level = 0; ///< recent peak power of the symbols
    std::complex<double> m_centroid{0, 0};    ///< mean of a filtered sample times the previous one, conjugated
    std::complex<double> m_lastFiltered{0, 0};
    double m_quality = 0;
    int m_openFor = 0; ///< symbols since the squelch opened
    int m_fastAfc = 0;
    std::array<std::complex<double>, 8> m_vectors{};
    std::size_t m_vectorAt = 0;

    VaricodeDecoder m_varicode;
    ViterbiDecoder m_viterbi;
};

} // namespace vellum::psk
