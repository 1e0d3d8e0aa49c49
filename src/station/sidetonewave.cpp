#include "sidetonewave.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vellum {

namespace {
constexpr double Amplitude = 0.3 * 32767; // well below full scale: a monitor, not an alarm
}

SidetoneWave::SidetoneWave(int sampleRate, double rampMs)
    : m_sampleRate(std::max(sampleRate, 1)), m_step(1.0 / std::max(1.0, rampMs * m_sampleRate / 1000.0))
{
}

void SidetoneWave::Fill(std::int16_t *samples, std::size_t count)
{
    const double target = On() ? 1.0 : 0.0;
    const double hz = std::clamp(m_hz.load(std::memory_order_relaxed), 1, m_sampleRate / 2);
    const double advance = 2 * std::numbers::pi * hz / m_sampleRate;
    for (std::size_t i = 0; i < count; ++i) {
        m_level = target > m_level ? std::min(target, m_level + m_step) : std::max(target, m_level - m_step);
        // A raised-cosine edge: the level starts and ends without a corner.
        double shaped = 0.5 - 0.5 * std::cos(std::numbers::pi * m_level);
        samples[i] = static_cast<std::int16_t>(std::lround(Amplitude * shaped * std::sin(m_phase)));
        m_phase = std::fmod(m_phase + advance, 2 * std::numbers::pi);
    }
}

} // namespace vellum
