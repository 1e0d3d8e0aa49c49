#include "pskengine.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>

namespace vellum::psk {

namespace {

constexpr int FftSize = 2048; // at 8000 Hz: bins of 3.90625 Hz
constexpr int SpectrumEverySamples = 1024; // eight spectra a second
constexpr int HistorySeconds = 60;
constexpr int IdleToneBins = 4; // 15.625 Hz, half the baud rate

void fft(std::vector<std::complex<double>> &a)
{
    const std::size_t n = a.size();
    for (std::size_t i = 1, j = 0; i < n; ++i) {
        std::size_t bit = n >> 1;
        for (; j & bit; bit >>= 1)
            j ^= bit;
        j ^= bit;
        if (i < j)
            std::swap(a[i], a[j]);
    }
    for (std::size_t length = 2; length <= n; length <<= 1) {
        std::complex<double> step = std::polar(1.0, -2 * std::numbers::pi / static_cast<double>(length));
        for (std::size_t i = 0; i < n; i += length) {
            std::complex<double> w(1, 0);
            for (std::size_t k = 0; k < length / 2; ++k) {
                std::complex<double> u = a[i + k], v = a[i + k + length / 2] * w;
                a[i + k] = u + v;
                a[i + k + length / 2] = u - v;
                w *= step;
            }
        }
    }
}

/// Power per bin of 2048 samples at 8000 Hz, Hann windowed.
std::vector<double> powerSpectrum(const float *samples)
{
    std::vector<std::complex<double>> a(FftSize);
    for (int i = 0; i < FftSize; ++i)
        a[static_cast<std::size_t>(i)] = samples[i] * (0.5 - 0.5 * std::cos(2 * std::numbers::pi * i / FftSize));
    fft(a);
    std::vector<double> power(SpectrumBins);
    for (int i = 0; i < SpectrumBins; ++i)
        power[static_cast<std::size_t>(i)] = std::norm(a[static_cast<std::size_t>(i)]);
    return power;
}

/// A PSK31 signal idling or sending shows its two tones half the baud rate either
/// side of its centre: both must be there (a lone carrier is no PSK31 signal).
double signalScore(const std::vector<double> &power, int bin)
{
    if (bin - IdleToneBins < 0 || bin + IdleToneBins >= SpectrumBins)
        return 0;
    auto pair = [&power, bin](int offset) {
        return std::min(power[static_cast<std::size_t>(bin - offset)], power[static_cast<std::size_t>(bin + offset)]);
    };
    return 2 * pair(IdleToneBins) + pair(IdleToneBins - 1) + pair(IdleToneBins + 1) + pair(1);
}

int strongest(const std::vector<double> &power, int fromBin, int toBin)
{
    int best = 0;
    double bestScore = 0;
    for (int bin = fromBin; bin <= toBin; ++bin)
        if (double score = signalScore(power, bin); score > bestScore)
            best = bin, bestScore = score;
    return best;
}

} // namespace

PskEngine::PskEngine(int sampleRate)
    : m_rate(sampleRate), m_fftStride(std::max(1, sampleRate / 8000)), m_tx(sampleRate),
      m_fftInput(FftSize, 0.0f), m_power(SpectrumBins, 0.0),
      m_historyLimit(static_cast<std::size_t>(sampleRate) * HistorySeconds)
{
    for (auto &rx : m_rx) {
        rx = std::make_unique<PskDemodulator>(sampleRate);
        rx->SetAfcLimit(0);
    }
}

int PskEngine::StartSoundCard(Notify notify)
{
    m_notify = std::move(notify);
    m_running = true;
    m_error.clear();
    return 0;
}

void PskEngine::StopSoundCard()
{
    m_running = false;
    m_tx.Abort();
    m_notify = nullptr;
}

void PskEngine::notify(PskNoticeKind kind, int first, int second)
{
    if (m_running && m_notify)
        m_notify({kind, first, second});
}

void PskEngine::SetFFTMode(int smooth, int fullScale, int baseline)
{
    m_smooth = std::clamp(smooth, 1, 9);
    m_fullScale = std::max(1, fullScale);
    m_baseline = std::clamp(baseline, 1, 90);
}

void PskEngine::SetRXPSKMode(int mode, int channel)
{
    m_rx[static_cast<std::size_t>(channel & 1)]->SetMode(static_cast<PskMode>(std::clamp(mode, 0, 2)));
}

void PskEngine::SetAFCLimit(int limit, int channel)
{
    m_rx[static_cast<std::size_t>(channel & 1)]->SetAfcLimit(std::max(0, limit));
}

void PskEngine::SetSquelchThreshold(int threshold, int slow, int channel)
{
    m_rx[static_cast<std::size_t>(channel & 1)]->SetSquelch(threshold, slow != 0);
}

void PskEngine::SetRXFrequency(int hz, int search, int channel)
{
    m_rx[static_cast<std::size_t>(channel & 1)]->SetFrequency(std::clamp(hz, 100, 3900), search != 0);
}

int PskEngine::GetRXFrequency(int channel) const
{
    return static_cast<int>(std::lround(m_rx[static_cast<std::size_t>(channel & 1)]->Frequency()));
}

bool PskEngine::GetFFTData(int *buffer, int first, int last) const
{
    first = std::clamp(first, 0, SpectrumBins - 1);
    last = std::clamp(last, first, SpectrumBins - 1);
    double top = *std::max_element(m_power.begin(), m_power.end());
    double reference = std::max(top, 1e-12);
    for (int bin = first; bin <= last; ++bin) {
        // Decibels below the strongest bin, over a range set by the baseline.
        double db = 10 * std::log10(std::max(m_power[static_cast<std::size_t>(bin)], 1e-20) / reference);
        double range = 20.0 + m_baseline;
        buffer[bin] = static_cast<int>(std::clamp((db + range) / range * m_fullScale, 0.0, double(m_fullScale)));
    }
    return m_overload;
}

void PskEngine::GetVectorData(std::array<std::complex<int>, 8> &points, int channel) const
{
    points = m_rx[static_cast<std::size_t>(channel & 1)]->Vectors();
}

double PskEngine::peakScore(int bin) const { return signalScore(m_power, bin); }

int PskEngine::GetClosestPeak(int from, int to) const
{
    int fromBin = static_cast<int>(std::lround(from / BinHz));
    int toBin = static_cast<int>(std::lround(to / BinHz));
    double noise = 0;
    for (double p : m_power)
        noise += p;
    noise = noise / SpectrumBins * 4 * 10; // a signal stands 10 dB above the mean
    int step = toBin >= fromBin ? 1 : -1;
    for (int bin = fromBin; bin != toBin + step; bin += step) {
        double score = peakScore(bin);
        if (score > noise && score >= peakScore(bin - 1) && score >= peakScore(bin + 1))
            return static_cast<int>(std::lround(bin * BinHz));
    }
    return from;
}

void PskEngine::SetTXFrequency(int hz)
{
    m_txFrequency = std::clamp(hz, 100, 3900);
    m_tx.SetFrequency(m_txFrequency);
}

void PskEngine::StartTX(int mode)
{
    m_tx.SetMode(static_cast<PskMode>(std::clamp(mode, 0, 2)));
    m_tx.SetFrequency(m_txFrequency);
    m_tx.Start();
    notify(PskNoticeKind::Status, StatusTransmitting, 0);
}

void PskEngine::StopTX() { m_tx.QueueEnd(); }

void PskEngine::AbortTX()
{
    bool was = m_tx.Transmitting();
    m_tx.Abort();
    if (was)
        notify(PskNoticeKind::Status, StatusTxEnded, 0);
}

void PskEngine::ClearTXBuffer() { m_tx.ClearText(); }
int PskEngine::GetTXCharsRemaining() const { return static_cast<int>(m_tx.CharactersRemaining()); }

void PskEngine::SendTXCharacter(int code, int control)
{
    if (control == 0)
        m_tx.QueueText(std::string(1, static_cast<char>(code & 0xFF)));
    else if (code == 1)
        m_tx.QueueEnd();
    else if (code == 2)
        m_tx.QueueCwId();
}

void PskEngine::SetCWIDString(const std::string &text) { m_tx.SetCwId(text, 10 + 5 * std::clamp(m_cwSpeed, 1, 6)); }

void PskEngine::SetCWIDSpeed(int speed) { m_cwSpeed = speed; }

void PskEngine::RewindInput(int seconds)
{
    std::size_t keep = seconds >= 99 ? m_history.size()
                                     : std::min(m_history.size(), static_cast<std::size_t>(seconds) * m_rate);
    std::vector<float> again(m_history.end() - static_cast<std::ptrdiff_t>(keep), m_history.end());
    for (auto &rx : m_rx)
        rx->Reset();
    m_replaying = true;
    receive(again.data(), again.size());
    m_replaying = false;
}

void PskEngine::ProcessInput(const float *samples, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i)
        m_history.push_back(samples[i]);
    while (m_history.size() > m_historyLimit)
        m_history.pop_front();
    receive(samples, count);
    analyse(samples, count);
}

void PskEngine::receive(const float *samples, std::size_t count)
{
    for (std::size_t channel = 0; channel < m_rx.size(); ++channel)
        m_rx[channel]->Process(samples, count, [this, channel](std::uint8_t c) {
            notify(PskNoticeKind::Character, c, static_cast<int>(channel));
        });
}

void PskEngine::analyse(const float *samples, std::size_t count)
{
    for (std::size_t i = 0; i < count; i += static_cast<std::size_t>(m_fftStride)) {
        float sample = samples[i];
        m_overload = m_overload || std::fabs(sample) >= 0.99f;
        m_fftInput[m_fftAt] = sample;
        m_fftAt = (m_fftAt + 1) % FftSize;
        if (++m_sinceSpectrum >= SpectrumEverySamples) {
            m_sinceSpectrum = 0;
            spectrum();
        }
    }
}

void PskEngine::spectrum()
{
    std::vector<float> ordered(FftSize);
    for (int i = 0; i < FftSize; ++i)
        ordered[static_cast<std::size_t>(i)] = m_fftInput[(m_fftAt + static_cast<std::size_t>(i)) % FftSize];
    std::vector<double> power = powerSpectrum(ordered.data());
    double keep = (m_smooth - 1.0) / m_smooth;
    for (std::size_t i = 0; i < power.size(); ++i)
        m_power[i] = keep * m_power[i] + (1 - keep) * power[i];
    int level = m_rx[0]->Quality();
    notify(PskNoticeKind::DataReady, GetRXFrequency(0), level);
    // IMD from the idle tones (half the baud rate either side) and their third-order products.
    int centre = static_cast<int>(std::lround(m_rx[0]->Frequency() / BinHz));
    if (level > 80 && centre - 3 * IdleToneBins > 0 && centre + 3 * IdleToneBins < SpectrumBins) {
        double tones = m_power[static_cast<std::size_t>(centre - IdleToneBins)] + m_power[static_cast<std::size_t>(centre + IdleToneBins)];
        double products = m_power[static_cast<std::size_t>(centre - 3 * IdleToneBins)] +
                          m_power[static_cast<std::size_t>(centre + 3 * IdleToneBins)];
        if (tones > 0 && products > 0)
            notify(PskNoticeKind::Imd, static_cast<int>(std::lround(10 * std::log10(products / tones))), 0);
    }
    m_overload = false;
}

void PskEngine::GenerateOutput(float *samples, std::size_t count)
{
    bool was = m_tx.Transmitting();
    m_tx.Generate(samples, count);
    if (was && !m_tx.Transmitting())
        notify(PskNoticeKind::Status, StatusTxEnded, 0);
}

int StrongestSignal(const std::vector<float> &samples, int sampleRate)
{
    int stride = std::max(1, sampleRate / 8000);
    std::vector<float> at8k;
    for (std::size_t i = 0; i < samples.size(); i += static_cast<std::size_t>(stride))
        at8k.push_back(samples[i]);
    if (at8k.size() < static_cast<std::size_t>(FftSize))
        return 0;
    std::vector<double> total(SpectrumBins, 0.0);
    for (std::size_t at = 0; at + FftSize <= at8k.size(); at += FftSize / 2) {
        std::vector<double> power = powerSpectrum(at8k.data() + at);
        for (std::size_t i = 0; i < total.size(); ++i)
            total[i] += power[i];
    }
    int bin = strongest(total, static_cast<int>(100 / BinHz), static_cast<int>(3900 / BinHz));
    return static_cast<int>(std::lround(bin * BinHz));
}

} // namespace vellum::psk
