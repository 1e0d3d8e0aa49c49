#include "psktools.h"

#include "pskdemodulator.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>
#include <random>

namespace vellum::psk {

std::vector<float> EncodeText(std::string_view text, int sampleRate, double frequency, PskMode mode)
{
    PskModulator tx(sampleRate);
    tx.SetFrequency(frequency);
    tx.SetMode(mode);
    tx.Start();
    tx.QueueText(text);
    tx.QueueEnd();
    std::vector<float> samples;
    float block[1024];
    while (tx.Transmitting()) {
        tx.Generate(block, std::size(block));
        samples.insert(samples.end(), block, block + std::size(block));
    }
    return samples;
}

std::string DecodeSound(const std::vector<float> &samples, int sampleRate, const DecodeOptions &options)
{
    PskDemodulator rx(sampleRate);
    rx.SetMode(options.mode);
    rx.SetFrequency(options.frequency, false);
    rx.SetAfcLimit(options.afcLimit);
    rx.SetSquelch(options.squelch, options.slowSquelch);
    std::string text;
    rx.Process(samples.data(), samples.size(), [&text](std::uint8_t c) { text += static_cast<char>(c); });
    return text;
}

void AddNoise(std::vector<float> &samples, int sampleRate, double snrDb, std::uint32_t seed)
{
    double power = 0;
    std::size_t on = 0;
    for (float s : samples)
        if (std::fabs(s) > 1e-6f)
            power += static_cast<double>(s) * s, ++on;
    power /= static_cast<double>(std::max<std::size_t>(on, 1));
    // Noise of variance v spreads over sampleRate/2; the part in 3 kHz is v * 3000 / (sampleRate/2).
    double noiseIn3k = power / std::pow(10.0, snrDb / 10);
    double variance = noiseIn3k * (sampleRate / 2.0) / 3000.0;
    std::mt19937 random(seed);
    std::normal_distribution<double> gauss(0.0, std::sqrt(variance));
    for (float &s : samples)
        s = static_cast<float>(s + gauss(random));
}

std::vector<float> ShiftFrequency(const std::vector<float> &samples, int sampleRate, double hz, double driftPerSecond)
{
    // The analytic signal through a Hilbert transformer (FIR, odd taps), then mixed.
    constexpr int Half = 63;
    std::vector<double> taps(2 * Half + 1, 0.0);
    for (int k = -Half; k <= Half; ++k)
        if (k % 2 != 0)
            taps[static_cast<std::size_t>(k + Half)] =
                2.0 / (std::numbers::pi * k) * (0.54 + 0.46 * std::cos(std::numbers::pi * k / Half));
    std::vector<float> out(samples.size());
    double phase = 0;
    for (std::size_t n = 0; n < samples.size(); ++n) {
        double imaginary = 0;
        for (int k = -Half; k <= Half; ++k) {
            std::ptrdiff_t at = static_cast<std::ptrdiff_t>(n) - k;
            if (at >= 0 && at < static_cast<std::ptrdiff_t>(samples.size()) && k % 2 != 0)
                imaginary += taps[static_cast<std::size_t>(k + Half)] * samples[static_cast<std::size_t>(at)];
        }
        std::complex<double> analytic(samples[n], imaginary);
        double now = static_cast<double>(n) / sampleRate;
        phase += 2 * std::numbers::pi * (hz + driftPerSecond * now) / sampleRate;
        out[n] = static_cast<float>((analytic * std::polar(1.0, phase)).real());
    }
    return out;
}

double CharacterErrorRate(std::string_view sent, std::string_view received)
{
    std::vector<std::size_t> row(received.size() + 1), next(received.size() + 1);
    for (std::size_t j = 0; j <= received.size(); ++j)
        row[j] = j;
    for (std::size_t i = 1; i <= sent.size(); ++i) {
        next[0] = i;
        for (std::size_t j = 1; j <= received.size(); ++j)
            next[j] = std::min({row[j] + 1, next[j - 1] + 1, row[j - 1] + (sent[i - 1] == received[j - 1] ? 0 : 1)});
        std::swap(row, next);
    }
    return sent.empty() ? 0 : static_cast<double>(row[received.size()]) / static_cast<double>(sent.size());
}

} // namespace vellum::psk
