#include "pskdemodulator.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vellum::psk {

namespace {

constexpr double TwoPi = 2 * std::numbers::pi;
constexpr double AfcGain = 0.02;
constexpr double SearchAfcGain = 0.2;
constexpr double CoarseGain = 0.05;
constexpr double CoarseHoldGain = 0.001;
constexpr int SearchSymbols = 64;
constexpr int SettleSymbols = 8;

} // namespace

PskDemodulator::PskDemodulator(int sampleRate)
    : m_rate(sampleRate),
      m_decimation(std::max(1, static_cast<int>(std::lround(sampleRate / BaudRate / SamplesPerSymbol))))
{
    makeFilter();
}

// The PSK31 symbol is a raised cosine two symbols long, and so is the matched
// filter. Through it each neighbour leaks a sixth of its value into a symbol,
// which costs up to 6 dB on runs of reversals and turns QPSK's 90-degree steps
// into phase errors; the symbols are therefore equalised (a neighbour's sixth
// taken off) before they are compared, one symbol late.
void PskDemodulator::makeFilter()
{
    const int length = 2 * SamplesPerSymbol;
    const int span = 2 * SamplesPerSymbol;
    m_taps.assign(static_cast<std::size_t>(span), 0.0);
    for (int i = 0; i < length; ++i)
        m_taps[static_cast<std::size_t>((span - length) / 2 + i)] = 0.5 - 0.5 * std::cos(TwoPi * (i + 0.5) / length);
    m_history.assign(static_cast<std::size_t>(span), {0, 0});
    m_wideTaps.assign(static_cast<std::size_t>(span), 0.0);
    for (int i = 0; i < SamplesPerSymbol; ++i)
        m_wideTaps[static_cast<std::size_t>(SamplesPerSymbol / 2 + i)] =
            0.5 - 0.5 * std::cos(TwoPi * (i + 0.5) / SamplesPerSymbol);
}

void PskDemodulator::SetFrequency(double hz, bool search)
{
    m_frequency = m_tuned = hz;
    m_fastAfc = search ? SearchSymbols : 0;
}

void PskDemodulator::SetMode(PskMode mode)
{
    m_mode = mode;
    makeFilter();
    m_viterbi.Reset();
    m_varicode.Reset();
}

void PskDemodulator::SetSquelch(int percent, bool slow)
{
    m_threshold = std::clamp(percent, 0, 100);
    m_qualityWeight = slow ? 0.015 : 0.05;
}

void PskDemodulator::Reset()
{
    m_sum = {0, 0};
    m_summed = 0;
    std::fill(m_history.begin(), m_history.end(), std::complex<double>(0, 0));
    m_energy.fill(0);
    m_previous = {0, 0};
    m_held = {};
    m_level = 0;
    m_centroid = {0, 0};
    m_lastFiltered = {0, 0};
    m_quality = 0;
    m_openFor = 0;
    m_varicode.Reset();
    m_viterbi.Reset();
    m_frequency = m_tuned;
}

int PskDemodulator::Quality() const { return static_cast<int>(std::clamp(m_quality * 100, 0.0, 100.0)); }

std::array<std::complex<int>, 8> PskDemodulator::Vectors() const
{
    std::array<std::complex<int>, 8> out{};
    for (std::size_t i = 0; i < 8; ++i) {
        std::complex<double> v = m_vectors[(m_vectorAt + i) % 8];
        double length = std::abs(v);
        if (length > 0)
            v /= length;
        out[i] = {static_cast<int>(std::lround(v.real() * 1000)), static_cast<int>(std::lround(v.imag() * 1000))};
    }
    return out;
}

void PskDemodulator::Process(const float *samples, std::size_t count, const CharacterSink &sink)
{
    for (std::size_t i = 0; i < count; ++i) {
        m_phase += TwoPi * m_frequency / m_rate;
        if (m_phase > TwoPi)
            m_phase -= TwoPi;
        m_sum += static_cast<double>(samples[i]) * std::polar(1.0, -m_phase);
        if (++m_summed == m_decimation) {
            decimated(m_sum / static_cast<double>(m_decimation), sink);
            m_sum = {0, 0};
            m_summed = 0;
        }
    }
}

void PskDemodulator::decimated(std::complex<double> sample, const CharacterSink &sink)
{
    const std::size_t length = m_history.size();
    m_history[m_at] = sample;
    m_at = (m_at + 1) % length;
    std::complex<double> filtered{0, 0};
    for (std::size_t i = 0; i < length; ++i)
        filtered += m_history[(m_at + i) % length] * m_taps[i];
    // The power-weighted mean frequency near the channel, through a filter one symbol
    // long (wide enough not to weaken a signal that is off): a PSK31 spectrum is
    // symmetric about its carrier, so this says where the carrier is, whatever is sent.
    std::complex<double> wide{0, 0};
    for (std::size_t i = 0; i < length; ++i)
        wide += m_history[(m_at + i) % length] * m_wideTaps[i];
    m_centroid = 0.998 * m_centroid + 0.002 * wide * std::conj(m_lastFiltered);
    m_lastFiltered = wide;

    // The symbol centres are where the filtered signal is strongest on average: the
    // circular mean of the energy over the sixteen sample slots. The sampling slot
    // moves towards it one sample at a time, so a symbol is never skipped or taken twice.
    std::size_t slot = static_cast<std::size_t>(m_clock);
    m_energy[slot] = 0.98 * m_energy[slot] + 0.02 * std::norm(filtered);
    m_clock = (m_clock + 1) % SamplesPerSymbol;
    if (static_cast<int>(slot) != m_sampleSlot)
        return;
    symbol(filtered, sink);
    std::complex<double> centre{0, 0};
    double total = 0;
    for (int k = 0; k < SamplesPerSymbol; ++k) {
        centre += m_energy[static_cast<std::size_t>(k)] * std::polar(1.0, TwoPi * k / SamplesPerSymbol);
        total += m_energy[static_cast<std::size_t>(k)];
    }
    if (std::abs(centre) < 0.05 * total)
        return; // no clear centre (a steady carrier): keep the clock
    int target = static_cast<int>(std::lround(std::arg(centre) / TwoPi * SamplesPerSymbol));
    int offset = ((target - m_sampleSlot) % SamplesPerSymbol + SamplesPerSymbol + SamplesPerSymbol / 2) %
                     SamplesPerSymbol -
                 SamplesPerSymbol / 2;
    // While no signal is decoded the clock goes straight to the centre; after that it
    // follows slowly, so noise cannot pull it off.
    if (!SquelchOpen())
        m_sampleSlot = (target + SamplesPerSymbol) % SamplesPerSymbol;
    else if (offset != 0)
        m_sampleSlot = (m_sampleSlot + (offset > 0 ? 1 : -1) + SamplesPerSymbol) % SamplesPerSymbol;
}

void PskDemodulator::symbol(std::complex<double> received, const CharacterSink &sink)
{
    constexpr double Leak = 1.0 / 6;
    std::complex<double> sample = m_held[1] - Leak * (m_held[0] + received);
    m_held[0] = m_held[1];
    m_held[1] = received;
    std::complex<double> difference = sample * std::conj(m_previous);
    // A symbol much weaker than the signal has been is the carrier rising or going: no data.
    m_level = std::max(0.99 * m_level, std::norm(sample));
    // (Reversals between two neighbours of the other sign come out at a quarter of the
    // power of steady symbols through the BPSK filter: the limit is well below that.)
    bool carrier = std::norm(sample) > 0.05 * m_level && std::norm(m_previous) > 0.05 * m_level;
    m_previous = sample;
    m_power = 0.95 * m_power + 0.05 * std::norm(sample);
    m_vectors[m_vectorAt] = difference;
    m_vectorAt = (m_vectorAt + 1) % 8;
    track(difference);
    if (!carrier) {
        m_varicode.Reset();
        return;
    }
    if (m_mode == PskMode::Bpsk) {
        bit(difference.real() > 0, sink);
        return;
    }
    // Each code symbol's phase step, compared with the step received.
    static const std::complex<double> steps[4] = {{-1, 0}, {0, 1}, {0, -1}, {1, 0}};
    std::array<double, 4> match{};
    for (std::size_t s = 0; s < 4; ++s) {
        std::complex<double> step = m_mode == PskMode::QpskLsb ? std::conj(steps[s]) : steps[s];
        match[s] = (difference * std::conj(step)).real() / (m_power + 1e-12);
    }
    if (std::optional<bool> decoded = m_viterbi.Symbol(match))
        bit(*decoded, sink);
}

void PskDemodulator::bit(bool one, const CharacterSink &sink)
{
    // The first symbols after the squelch opens settle the clock: they carry no word.
    m_openFor = SquelchOpen() ? m_openFor + 1 : 0;
    if (m_openFor < SettleSymbols) {
        m_varicode.Reset();
        return;
    }
    std::optional<std::uint8_t> character = m_varicode.Bit(one);
    if (character && sink)
        sink(*character);
}

// The phase steps are multiples of 180 (BPSK) or 90 degrees (QPSK): what is left
// after removing them is the frequency error, which moves the mixer; how close the
// steps fall is the quality. That error is ambiguous beyond a quarter (BPSK) or an
// eighth (QPSK) of the baud rate, so the mean frequency of the filtered signal,
// which is not, brings the mixer near the carrier while nothing is decoded and keeps
// it from settling half a baud off while decoding.
void PskDemodulator::track(std::complex<double> difference)
{
    if (std::abs(difference) < 1e-12)
        return;
    int order = m_mode == PskMode::Bpsk ? 2 : 4;
    double angle = std::arg(std::pow(difference, order));
    m_quality += m_qualityWeight * (std::cos(angle) - m_quality);
    if (m_afcLimit <= 0)
        return;
    double decimatedRate = static_cast<double>(m_rate) / m_decimation;
    double coarseHz = std::arg(m_centroid) * decimatedRate / TwoPi;
    double fineHz = angle / order * BaudRate / TwoPi;
    double step = SquelchOpen() ? AfcGain * fineHz + CoarseHoldGain * coarseHz : CoarseGain * coarseHz;
    if (m_fastAfc > 0) {
        --m_fastAfc;
        step = SearchAfcGain * coarseHz;
    }
    m_frequency = std::clamp(m_frequency + step, m_tuned - m_afcLimit, m_tuned + m_afcLimit);
}

} // namespace vellum::psk
