// The PSK31 engine: character error rate against noise for BPSK and QPSK, with
// the signal 7 Hz off the tuned frequency and drifting 1 Hz in 30 s; the share of
// the transmitted power more than 60 Hz from the carrier; decoding speed.

#include "station/psk/psktools.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <string>

namespace {

using namespace vellum::psk;

std::string testText()
{
    std::string text;
    const char *lines[] = {"CQ CQ CQ de QQ0ABC QQ0ABC pse k\r", "Name Hans, QTH near Munich, locator JN58td.\r",
                           "Rig 100 W to a dipole at 12 m; wx cloudy, 4 C. Your RST 599 599.\r",
                           "The quick brown fox jumps over the lazy dog 0123456789 times.\r"};
    while (text.size() < 500)
        for (const char *line : lines)
            text += line;
    return text;
}

void BM_CharacterErrorRate(benchmark::State &state)
{
    auto mode = static_cast<PskMode>(state.range(0));
    double snr = static_cast<double>(state.range(1));
    const std::string text = testText();
    std::vector<float> clean = ShiftFrequency(EncodeText(text, 8000, 1000, mode), 8000, 7, 1.0 / 30);
    double cer = 0;
    int runs = 0;
    for (auto _ : state) {
        std::vector<float> signal = clean;
        AddNoise(signal, 8000, snr, static_cast<std::uint32_t>(100 + runs));
        DecodeOptions options;
        options.frequency = 1000;
        options.mode = mode;
        cer += CharacterErrorRate(text, DecodeSound(signal, 8000, options));
        ++runs;
    }
    state.counters["cer_percent"] = 100 * cer / runs;
}
BENCHMARK(BM_CharacterErrorRate)
    ->ArgsProduct({{0, 1}, {10, -5, -8, -10}})
    ->ArgNames({"qpsk", "snr_db"})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

void BM_DecodeSpeed(benchmark::State &state)
{
    const std::string text = testText();
    std::vector<float> signal = EncodeText(text, 8000, 1000, PskMode::Bpsk);
    AddNoise(signal, 8000, 0, 1);
    DecodeOptions options;
    options.frequency = 1000;
    for (auto _ : state)
        benchmark::DoNotOptimize(DecodeSound(signal, 8000, options));
    double seconds = static_cast<double>(signal.size()) / 8000;
    state.counters["times_real_time"] =
        benchmark::Counter(seconds * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DecodeSpeed)->Unit(benchmark::kMillisecond);

void BM_TransmitSpectrum(benchmark::State &state)
{
    std::vector<float> signal = EncodeText(testText(), 8000, 1000, PskMode::Bpsk);
    double worst = -200;
    for (auto _ : state) {
        const std::size_t n = 32768, start = 16000;
        auto powerAt = [&](double hz) {
            std::complex<double> sum{0, 0};
            for (std::size_t i = 0; i < n; ++i)
                sum += static_cast<double>(signal[start + i]) * (0.5 - 0.5 * std::cos(2 * std::numbers::pi * i / n)) *
                       std::polar(1.0, -2 * std::numbers::pi * hz * static_cast<double>(i) / 8000);
            return std::norm(sum);
        };
        double peak = 0;
        for (double hz = 950; hz <= 1050; hz += 1)
            peak = std::max(peak, powerAt(hz));
        worst = -200;
        for (double offset = 60; offset <= 300; offset += 2.5)
            for (double hz : {1000 - offset, 1000 + offset})
                worst = std::max(worst, 10 * std::log10(powerAt(hz) / peak));
    }
    state.counters["worst_beyond_60hz_db"] = worst;
}
BENCHMARK(BM_TransmitSpectrum)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

BENCHMARK_MAIN();
