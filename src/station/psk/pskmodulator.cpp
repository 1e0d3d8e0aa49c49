#include "pskmodulator.h"

#include "varicode.h"

#include "station/morsecode.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vellum::psk {

namespace {

constexpr int PreambleSymbols = 32;
constexpr int PostambleSymbols = 32;
constexpr double Amplitude = 0.8;

/// The phase step of a QPSK code symbol: 0 is a reversal, so idle is reversals as in BPSK.
std::complex<double> qpskStep(int symbol, bool lowerSideband)
{
    static const std::complex<double> steps[4] = {{-1, 0}, {0, 1}, {0, -1}, {1, 0}};
    std::complex<double> step = steps[symbol & 3];
    return lowerSideband ? std::conj(step) : step;
}

} // namespace

PskModulator::PskModulator(int sampleRate)
    : m_rate(sampleRate), m_samplesPerSymbol(static_cast<int>(std::lround(sampleRate / BaudRate)))
{
}

void PskModulator::SetCwId(std::string text, int wpm)
{
    m_cwText = std::move(text);
    m_cwWpm = wpm < 5 ? 5 : wpm;
}

void PskModulator::Start()
{
    if (m_state != State::Off && m_state != State::RampDown)
        return;
    m_state = State::Preamble;
    m_count = PreambleSymbols;
    m_encoder.Reset();
    m_from = m_to = {0, 0};
    m_sampleInSymbol = 0;
    m_bits.clear();
    m_bitAt = 0;
}

void PskModulator::QueueText(std::string_view text)
{
    for (char c : text)
        m_queue.push_back({Item::Character, static_cast<std::uint8_t>(c)});
}

void PskModulator::QueueEnd() { m_queue.push_back({Item::End}); }
void PskModulator::QueueCwId() { m_queue.push_back({Item::CwId}); }
void PskModulator::ClearText() { m_queue.clear(); }

void PskModulator::Abort()
{
    m_queue.clear();
    m_bits.clear();
    m_state = State::Off;
}

std::size_t PskModulator::CharactersRemaining() const
{
    std::size_t count = 0;
    for (const Item &item : m_queue)
        count += item.kind == Item::Character ? 1 : 0;
    return count;
}

bool PskModulator::nextBit()
{
    if (m_state != State::Text)
        return false; // idle reversals
    if (m_bitAt < m_bits.size())
        return m_bits[m_bitAt++] == '1';
    if (m_queue.empty())
        return false; // nothing to send: idle
    Item item = m_queue.front();
    m_queue.pop_front();
    if (item.kind == Item::Character) {
        m_bits = std::string(VaricodeOf(item.character)) + "00";
        m_bitAt = 1;
        return m_bits[0] == '1';
    }
    // The end mark, or the CW identification that ends the PSK part.
    m_cwPending = item.kind == Item::CwId && !m_cwText.empty();
    m_state = State::Postamble;
    m_count = PostambleSymbols;
    return false;
}

void PskModulator::nextSymbol()
{
    m_from = m_to;
    if (m_state == State::Preamble && --m_count <= 0)
        m_state = State::Text;
    if (m_state == State::Postamble && --m_count <= 0) {
        m_state = State::RampDown;
        m_to = {0, 0};
        return;
    }
    if (m_state == State::RampDown) {
        m_queue.clear();
        if (m_cwPending)
            startCwId();
        else
            m_state = State::Off;
        return;
    }
    bool bit = nextBit();
    if (m_from == std::complex<double>(0, 0))
        m_to = {1, 0}; // the first symbol rises from silence
    else if (m_mode == PskMode::Bpsk)
        m_to = bit ? m_from : -m_from;
    else
        m_to = m_from * qpskStep(m_encoder.Encode(bit), m_mode == PskMode::QpskLsb);
}

void PskModulator::startCwId()
{
    m_state = State::CwId;
    m_cwPending = false;
    m_cwKey.clear();
    for (char c : m_cwText) {
        if (c == ' ') {
            m_cwKey.insert(m_cwKey.end(), 4, 0);
            continue;
        }
        for (char element : MorseCode(c)) {
            m_cwKey.insert(m_cwKey.end(), element == '-' ? 3 : 1, 1);
            m_cwKey.push_back(0);
        }
        m_cwKey.insert(m_cwKey.end(), 2, 0);
    }
    m_cwKey.push_back(0);
    m_cwAt = 0;
    m_cwLevel = 0;
    m_cwSamplesPerDot = static_cast<int>(m_rate * 1.2 / m_cwWpm);
    m_cwSampleInDot = 0;
}

float PskModulator::cwSample()
{
    if (m_cwSampleInDot >= m_cwSamplesPerDot) {
        m_cwSampleInDot = 0;
        if (++m_cwAt >= m_cwKey.size()) {
            m_state = State::Off;
            m_cwAt = 0;
            return 0;
        }
    }
    ++m_cwSampleInDot;
    // Soft keying: the level moves to the key state within about 5 ms.
    double target = m_cwKey[m_cwAt] ? 1.0 : 0.0;
    double step = 1.0 / (0.005 * m_rate);
    m_cwLevel += std::clamp(target - m_cwLevel, -step, step);
    double shaped = 0.5 - 0.5 * std::cos(std::numbers::pi * m_cwLevel);
    return static_cast<float>(Amplitude * shaped * std::cos(m_phase));
}

void PskModulator::Generate(float *out, std::size_t count)
{
    const double omega = 2 * std::numbers::pi * m_frequency / m_rate;
    for (std::size_t i = 0; i < count; ++i) {
        if (m_state == State::Off) {
            out[i] = 0;
            continue;
        }
        m_phase = std::fmod(m_phase + omega, 2 * std::numbers::pi);
        if (m_state == State::CwId) {
            out[i] = cwSample();
            continue;
        }
        if (m_sampleInSymbol == 0)
            nextSymbol();
        if (m_state == State::Off || m_state == State::CwId) {
            out[i] = 0;
            m_sampleInSymbol = 0;
            continue;
        }
        double t = static_cast<double>(m_sampleInSymbol) / m_samplesPerSymbol;
        double w = 0.5 + 0.5 * std::cos(std::numbers::pi * t);
        std::complex<double> b = m_from * w + m_to * (1 - w);
        out[i] = static_cast<float>(Amplitude * (b * std::polar(1.0, m_phase)).real());
        if (++m_sampleInSymbol >= m_samplesPerSymbol)
            m_sampleInSymbol = 0;
    }
}

} // namespace vellum::psk
