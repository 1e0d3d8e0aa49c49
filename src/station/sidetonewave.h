#pragma once
// The samples of the sidetone: a sine of the keyer's pitch whose level rises and
// falls over a few milliseconds, so that keying it does not click. Switched on
// and off from the keyer thread; the samples are made on the audio thread.

#include <atomic>
#include <cstddef>
#include <cstdint>

namespace vellum {

class SidetoneWave {
public:
    /// rampMs: the time the level takes to rise from silence to full or to fall back.
    explicit SidetoneWave(int sampleRate, double rampMs = 4.0);

    /// Safe from any thread; returns at once.
    void Set(bool on, int hz)
    {
        m_hz.store(hz, std::memory_order_relaxed);
        m_on.store(on, std::memory_order_release);
    }
    /// Fades out at the pitch it had.
    void Off() { m_on.store(false, std::memory_order_release); }
    bool On() const { return m_on.load(std::memory_order_acquire); }
    /// Silent: switched off and faded out.
    bool Silent() const { return !On() && m_level <= 0.0; }

    /// Writes count mono 16-bit samples (from the audio thread only).
    void Fill(std::int16_t *samples, std::size_t count);

private:
    const int m_sampleRate;
    const double m_step;
    std::atomic<bool> m_on{false};
    std::atomic<int> m_hz{850};
    double m_phase = 0.0;
    double m_level = 0.0; ///< 0 silent .. 1 full, before shaping
};

} // namespace vellum
