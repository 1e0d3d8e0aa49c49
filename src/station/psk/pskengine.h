#pragma once
// The PSK31 engine of the terminal: two receive channels, the transmitter, the
// spectrum and the receive history, behind the operations the PSK31 window
// calls, and the five notices it answers with (the window posts them to itself
// as queued events). Standard C++ only; the window feeds it sound samples and
// takes the samples it sends.

#include "pskdemodulator.h"
#include "pskmodulator.h"

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vellum::psk {

/// The notices of the engine, numbered as the window's messages.
enum class PskNoticeKind : int { DataReady = 2024, Character = 2025, Status = 2026, Imd = 2027, ClockError = 2028 };
struct PskNotice {
    PskNoticeKind kind;
    int first = 0;
    int second = 0;
};
/// Status codes of the Status notice.
enum PskStatus : int { StatusTxEnded = 0, StatusTransmitting = 1, StatusCpuBusy = 2 };

inline constexpr int SpectrumBins = 1024;        ///< 0..4000 Hz
inline constexpr double BinHz = 3.90625;

class PskEngine {
public:
    using Notify = std::function<void(const PskNotice &)>;

    explicit PskEngine(int sampleRate = 8000);

    // --- the operations of the terminal ---
    /// Starts the engine; 0 on success (the window owns the sound device itself).
    int StartSoundCard(Notify notify);
    void StopSoundCard();
    std::string GetErrorString() const { return m_error; }
    void SetFFTMode(int smooth, int fullScale, int baseline);
    void SetRXPSKMode(int mode, int channel);
    void SetAFCLimit(int limit, int channel);
    void SetSquelchThreshold(int threshold, int slow, int channel);
    void SetRXFrequency(int hz, int search, int channel);
    int GetRXFrequency(int channel) const;
    /// Fills bins first..last of a 1024-bin buffer (0..fullScale); true when the input is overloaded.
    bool GetFFTData(int *buffer, int first, int last) const;
    void GetVectorData(std::array<std::complex<int>, 8> &points, int channel) const;
    int GetClosestPeak(int from, int to) const;
    void SetTXFrequency(int hz);
    void StartTX(int mode);
    void StopTX();
    void AbortTX();
    void ClearTXBuffer();
    int GetTXCharsRemaining() const;
    /// control 0: a character; control 1: code 1 the end mark, code 2 the CW identification.
    void SendTXCharacter(int code, int control);
    void SetCWIDString(const std::string &text);
    void SetCWIDSpeed(int speed);
    /// Decodes the recent reception again (seconds of it; 99 = all that is kept).
    void RewindInput(int seconds);

    // --- sound ---
    int SampleRate() const { return m_rate; }
    void ProcessInput(const float *samples, std::size_t count);
    void GenerateOutput(float *samples, std::size_t count);
    bool Transmitting() const { return m_tx.Transmitting(); }

private:
    void analyse(const float *samples, std::size_t count);
    void spectrum();
    void receive(const float *samples, std::size_t count);
    void notify(PskNoticeKind kind, int first, int second);
    double peakScore(int bin) const;

    int m_rate;
    int m_fftStride;                    ///< input samples per spectrum sample (rate / 8000)
    Notify m_notify;
    bool m_running = false;
    std::string m_error;
    std::array<std::unique_ptr<PskDemodulator>, 2> m_rx;
    PskModulator m_tx;
    int m_txFrequency = 1000;
    int m_cwSpeed = 1;
    int m_smooth = 1, m_fullScale = 100, m_baseline = 1;
    std::vector<float> m_fftInput;       ///< the last 2048 samples at 8000 Hz
    std::size_t m_fftAt = 0;
    int m_sinceSpectrum = 0;
    std::vector<double> m_power;        ///< averaged power per bin
    bool m_overload = false;
    std::deque<float> m_history;        ///< input kept for "Play back"
    std::size_t m_historyLimit;
    bool m_replaying = false;
};

/// The audio frequency of the strongest PSK31 signal in a recording, or 0.
int StrongestSignal(const std::vector<float> &samples, int sampleRate);

} // namespace vellum::psk
