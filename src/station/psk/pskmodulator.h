#pragma once
// The PSK31 transmitter: text to audio. Phase changes are shaped with a raised
// cosine over one symbol, so the signal stays within about 60 Hz of its carrier;
// a transmission starts and ends with idle reversals and may end with the call
// in CW.

#include "convcode.h"
#include "varicode.h"

#include <complex>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace vellum::psk {

enum class PskMode : int { Bpsk = 0, QpskUsb = 1, QpskLsb = 2 };

inline constexpr double BaudRate = 31.25;

class PskModulator {
public:
    explicit PskModulator(int sampleRate);

    void SetFrequency(double hz) { m_frequency = hz; }
    double Frequency() const { return m_frequency; }
    void SetMode(PskMode mode) { m_mode = mode; }
    void SetCwId(std::string text, int wpm);

    /// Starts a transmission (idle reversals until text comes).
    void Start();
    void QueueText(std::string_view text);
    /// The transmission ends once the text before this mark is sent.
    void QueueEnd();
    /// The CW identification, sent where it stands in the queue.
    void QueueCwId();
    void ClearText();
    void Abort();
    std::size_t CharactersRemaining() const;
    bool Transmitting() const { return m_state != State::Off; }

    /// The next samples of the signal, -1..1 (silence while off).
    void Generate(float *out, std::size_t count);

private:
    enum class State { Off, Preamble, Text, Postamble, RampDown, CwId };
    struct Item {
        enum Kind { Character, End, CwId } kind;
        std::uint8_t character = 0;
    };
    bool nextBit();
    void nextSymbol();
    void startCwId();
    float cwSample();

    int m_rate;
    int m_samplesPerSymbol;
    double m_frequency = 1000;
    PskMode m_mode = PskMode::Bpsk;
    State m_state = State::Off;
    std::deque<Item> m_queue;
    std::string m_bits;        ///< bits of the character being sent
    std::size_t m_bitAt = 0;
    int m_count = 0;           ///< symbols left of the preamble or postamble
    ConvEncoder m_encoder;
    std::complex<double> m_from{0, 0}, m_to{0, 0};
    int m_sampleInSymbol = 0;
    double m_phase = 0;
    std::string m_cwText;
    int m_cwWpm = 20;
    std::vector<std::uint8_t> m_cwKey; ///< key state per CW dot
    std::size_t m_cwAt = 0;
    bool m_cwPending = false;
    double m_cwLevel = 0;
    int m_cwSamplesPerDot = 0;
    int m_cwSampleInDot = 0;
};

} // namespace vellum::psk
