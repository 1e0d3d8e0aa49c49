#include "rigdaemon.h"

#include "logstore/qsotables.h"
#include "logstore/trim.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdlib>

namespace vellum {

namespace {

/// A line longer than this is no answer of the daemon.
constexpr std::size_t MaxLine = 256;

struct DaemonMode {
    const char *daemon;
    const char *mode;
};
/// How the daemon's modes read; the first entry of a mode is the one it is set with.
constexpr std::array<DaemonMode, 11> DaemonModes = {{
    {"USB", "SSB"}, {"LSB", "SSB"}, {"CW", "CW"}, {"CWR", "CW"}, {"RTTY", "RTTY"}, {"RTTYR", "RTTY"},
    {"AM", "AM"}, {"FM", "FM"}, {"WFM", "FM"}, {"PKTUSB", "PSK"}, {"PKTFM", "PACK"},
}};

std::optional<double> hertz(const std::string &line)
{
    char *end = nullptr;
    double value = std::strtod(line.c_str(), &end);
    if (end == line.c_str() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace

std::pair<std::string, int> RigDaemonAddress(std::string_view text)
{
    text = Trim(text);
    std::size_t colon = text.rfind(':');
    std::string host(Trim(text.substr(0, colon)));
    int port = RigDaemonPort;
    if (colon != std::string_view::npos) {
        std::string_view digits = text.substr(colon + 1);
        auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), port);
        if (error != std::errc() || end != digits.data() + digits.size() || port < 1 || port > 65535)
            port = RigDaemonPort;
    }
    return {host.empty() ? "localhost" : host, port};
}

std::string RigDaemonModeName(int mode, double kHz)
{
    std::string name = ModeName(RadioModeOf(mode)); // FT8 is run in USB, digital voice in FM
    if (name == "SSB")
        return kHz > 10000 ? "USB" : "LSB";
    for (const DaemonMode &entry : DaemonModes)
        if (name == entry.mode)
            return entry.daemon;
    return {};
}

int ModeOfRigDaemonName(std::string_view name)
{
    for (const DaemonMode &entry : DaemonModes)
        if (name == entry.daemon)
            return ModeOfName(entry.mode);
    return ModeOfName("SSB");
}

RigDaemonRadio::RigDaemonRadio(const TRadioDefinition &definition, std::unique_ptr<ByteChannel> channel,
                               RadioTiming timing)
    : m_model(definition.model), m_lowKHz(definition.lowKHz), m_highKHz(definition.highKHz),
      m_channel(std::move(channel)), m_timing(timing)
{
}

RigDaemonRadio::~RigDaemonRadio() { m_channel->Close(); }

bool RigDaemonRadio::OutOfRange(double kHz) const
{
    // A definition without a range leaves the range to the daemon.
    return m_highKHz > 0 && (kHz < m_lowKHz || kHz > m_highKHz);
}

std::string RigDaemonRadio::readLine()
{
    auto start = std::chrono::steady_clock::now();
    while (true) {
        if (std::size_t end = m_pending.find('\n'); end != std::string::npos) {
            std::string line(Trim(std::string_view(m_pending).substr(0, end)));
            m_pending.erase(0, end + 1);
            return line;
        }
        if (std::optional<std::uint8_t> byte = m_channel->GetChar()) {
            m_pending += static_cast<char>(*byte);
            if (m_pending.size() > MaxLine)
                throw ERadioException("The rig-control daemon sent no line end");
            continue;
        }
        auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
        int left = m_timing.attemptMs - static_cast<int>(waited.count());
        if (!m_channel->IsOpen())
            throw ERadioException("The rig-control daemon closed the connection");
        if (left <= 0 || !m_channel->WaitForData(left)) {
            if (!m_channel->IsOpen())
                throw ERadioException("The rig-control daemon closed the connection");
            if (left <= 0)
                throw ERadioException("Radio timed out");
        }
    }
}

std::optional<std::vector<std::string>> RigDaemonRadio::get(const std::string &command, std::size_t lines)
{
    struct BusyScope {
        bool &busy;
        explicit BusyScope(bool &b) : busy(b) { busy = true; }
        ~BusyScope() { busy = false; }
    } scope(m_busy);
    m_pending.clear();
    while (m_channel->GetChar()) {
    } // nothing left over from an earlier answer
    log("Send: " + command);
    if (!m_channel->PutString(command + "\n") || !m_channel->Flush(m_timing.attemptMs))
        throw ERadioException("Radio timed out");
    std::vector<std::string> answer;
    while (answer.size() < lines) {
        std::string line = readLine();
        log("Received: " + line);
        if (line.rfind("RPRT ", 0) == 0 && line != "RPRT 0") {
            setError(RadioError::DaemonRefused);
            return std::nullopt;
        }
        answer.push_back(line);
    }
    return answer;
}

bool RigDaemonRadio::set(const std::string &command)
{
    std::optional<std::vector<std::string>> answer = get(command, 1);
    if (!answer || answer->front() != "RPRT 0") {
        setError(RadioError::DaemonRefused);
        return false;
    }
    return true;
}

bool RigDaemonRadio::Init()
{
    // Any answer to the transmit-state question shows the daemon is there; a radio
    // without that feature answers "RPRT -11", which is fine too.
    get("t", 1);
    setError(RadioError::None);
    return true;
}

bool RigDaemonRadio::ReadStatus()
{
    setError(RadioError::None);
    auto frequency = get("f", 1);
    auto mode = frequency ? get("m", 2) : std::nullopt;
    auto split = mode ? get("s", 2) : std::nullopt;
    std::optional<double> rx = frequency ? hertz(frequency->front()) : std::nullopt;
    if (!split || !rx) {
        if (ErrorCode() == 0)
            setError(RadioError::DaemonRefused);
        return false;
    }
    RadioState state{*rx / 1000.0, *rx / 1000.0, ModeOfRigDaemonName(mode->front()), split->front() == "1"};
    if (state.split) {
        auto tx = get("i", 1);
        std::optional<double> hz = tx ? hertz(tx->front()) : std::nullopt;
        if (!hz)
            return false;
        state.secondKHz = *hz / 1000.0;
        state.split = std::fabs(state.secondKHz - state.rxKHz) >= 1.0;
    }
    m_last = state;
    valuesChanged();
    return true;
}

bool RigDaemonRadio::SetRadio(int mode, bool split, double txKHz, double rxKHz)
{
    m_last = {rxKHz, txKHz, mode, split};
    setError(RadioError::None);
    auto hz = [](double kHz) { return std::to_string(std::llround(kHz * 1000.0)); };
    std::string modeName = RigDaemonModeName(mode, split ? txKHz : rxKHz);
    if (modeName.empty())
        modeName = RigDaemonModeName(ModeOfName("SSB"), split ? txKHz : rxKHz);
    bool ok = set("F " + hz(rxKHz)) && set("M " + modeName + " 0") && set(split ? "S 1 VFOB" : "S 0 VFOA") &&
              (!split || set("I " + hz(txKHz)));
    valuesChanged();
    return ok;
}

bool RigDaemonRadio::SetVfoA(double kHz)
{
    m_last.rxKHz = kHz;
    setError(RadioError::None);
    bool ok = set("F " + std::to_string(std::llround(kHz * 1000.0)));
    valuesChanged();
    return ok;
}

int RigDaemonRadio::ReadSMeter()
{
    setError(RadioError::None);
    auto answer = get("l STRENGTH", 1);
    std::optional<double> db = answer ? hertz(answer->front()) : std::nullopt;
    if (!db)
        return 0;
    // Decibels over S9; an S unit is 6 dB; 10 and 11 stand for +10 and +20 dB over S9.
    if (*db >= 20)
        return 11;
    if (*db >= 10)
        return 10;
    return static_cast<int>(std::clamp(9.0 + std::floor(*db / 6.0), 0.0, 9.0));
}

} // namespace vellum
