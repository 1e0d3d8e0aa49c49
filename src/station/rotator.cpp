#include "rotator.h"

#include "config/configrecord.h"
#include "logstore/qsotables.h"
#include "logstore/services.h"
#include "logstore/trim.h"

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <cstdio>
#include <cstring>

namespace vellum {

namespace {

constexpr int DaemonPort = 4533;
constexpr int DaemonAnswerMs = 3000;

std::size_t blockStart() { return offsetof(TConfigRecord, Rotator_type); }

/// round(p x 255 / 360), halves to the even neighbour.
int sartekByte(int p)
{
    int scaled = p * 17; // 255 / 360 = 17 / 24
    int whole = scaled / 24, rest = scaled % 24;
    if (rest * 2 > 24 || (rest * 2 == 24 && whole % 2 != 0))
        ++whole;
    return whole;
}

} // namespace

static_assert(offsetof(TConfigRecord, F_Band_type) - offsetof(TConfigRecord, Rotator_type) == RotatorBlockSize,
              "the rotator block runs from Rotator_type to the band decoder");

RotatorKind RotatorKindOf(std::uint8_t rotatorType)
{
    return rotatorType >= 2 && rotatorType <= 6 ? static_cast<RotatorKind>(rotatorType - 1) : RotatorKind::None;
}

RotatorBlock CopyRotatorBlock(const TConfigRecord &config)
{
    RotatorBlock block;
    std::memcpy(block.data(), reinterpret_cast<const std::uint8_t *>(&config) + blockStart(), block.size());
    return block;
}

void RestoreRotatorBlock(TConfigRecord &config, const RotatorBlock &block)
{
    std::memcpy(reinterpret_cast<std::uint8_t *>(&config) + blockStart(), block.data(), block.size());
}

int NormalizeHeading(std::int64_t degrees)
{
    // Add 360 while below 0, take 360 off while above 360: 360 itself stays.
    if (degrees < 0)
        return static_cast<int>((degrees % 360 + 360) % 360);
    if (degrees > 360)
        return static_cast<int>((degrees - 1) % 360 + 1);
    return static_cast<int>(degrees);
}

TurnPlan PlanTurn(const TConfigRecord &config, std::int64_t azimuth, int band)
{
    if (!IsBand(band))
        return {std::nullopt, "!No band specified"};
    std::int64_t r = azimuth + static_cast<std::int32_t>(config.CORRECTION);
    // An extended band turns as its settings band does (60m as 80m).
    switch (static_cast<BandTurn>(config.RotatorBands[static_cast<std::size_t>(SettingsBandOf(band))])) {
    case BandTurn::Normal: break;
    case BandTurn::WithOffset: r += static_cast<std::int32_t>(config.OFFSET); break;
    case BandTurn::Reverse: r += 180; break;
    default: return {std::nullopt, "!Not turning on " + BandLabel(band, config.DefQSO_ShowBandMHz)};
    }
    int heading = NormalizeHeading(r);
    return {heading, "Turning to " + std::to_string(heading)};
}

std::string TurnCommand(RotatorKind kind, int r)
{
    char text[32];
    switch (kind) {
    case RotatorKind::SarTek: {
        int p = std::clamp(NormalizeHeading(r + 180), 2, 358);
        return {static_cast<char>(80), static_cast<char>(sartekByte(p))};
    }
    case RotatorKind::HygainDcu1:
        std::snprintf(text, sizeof text, "AP1%.3d;AM1;", r == 360 ? 359 : r);
        return text;
    case RotatorKind::OrionM2: return "A\r" + std::to_string(r) + "\r";
    case RotatorKind::Hd1780: return std::to_string(r) + "\r";
    case RotatorKind::Daemon: return "P " + std::to_string(r) + " 0\n";
    case RotatorKind::None: break;
    }
    return {};
}

std::string HaltCommand(RotatorKind kind)
{
    switch (kind) {
    case RotatorKind::SarTek: return std::string{static_cast<char>(80), '\0'};
    case RotatorKind::HygainDcu1: return "AS1;";
    case RotatorKind::OrionM2: return "S\r";
    case RotatorKind::Hd1780: return "\r";
    case RotatorKind::Daemon: return "S\n";
    case RotatorKind::None: break;
    }
    return {};
}

SerialSettings RotatorSerialSettings(RotatorKind kind, int comPort)
{
    SerialSettings s;
    s.comNumber = comPort;
    s.baud = kind == RotatorKind::SarTek ? 1200 : kind == RotatorKind::OrionM2 ? 9600 : 4800;
    s.stopBits = kind == RotatorKind::SarTek ? 2 : 1;
    s.dataBits = 8;
    s.parity = Parity::None;
    s.inSize = s.outSize = 100;
    s.flow = FlowControl::None;
    s.dtr = s.rts = true;
    return s;
}

std::pair<std::string, int> RotatorDaemonAddress(std::string_view message)
{
    std::string_view text = Trim(message);
    if (text.empty() || text.find('|') != std::string_view::npos)
        return {"localhost", DaemonPort};
    std::size_t colon = text.rfind(':');
    if (colon == std::string_view::npos)
        return {std::string(text), DaemonPort};
    int port = 0;
    std::string_view digits = text.substr(colon + 1);
    auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), port);
    if (error != std::errc() || end != digits.data() + digits.size() || port < 1 || port > 65535)
        port = DaemonPort;
    std::string host(Trim(text.substr(0, colon)));
    return {host.empty() ? "localhost" : host, port};
}

// --- the rotator of the run ------------------------------------------------------

Rotator::Rotator(TConfigRecord &config, UserNotifier &notifier, SerialMaker serial, TcpMaker tcp)
    : m_config(config), m_notifier(notifier), m_makeSerial(std::move(serial)), m_makeTcp(std::move(tcp))
{
}

Rotator::~Rotator() = default;

void Rotator::setChannel(std::unique_ptr<ByteChannel> channel)
{
    bool was = Active();
    m_brokenChannel.reset();
    m_channel = std::move(channel);
    if (m_channel)
        m_channel->OnBroken([this](const std::string &message) {
            // A port unplugged or a daemon gone: the rotator stops being active.
            m_brokenChannel = std::move(m_channel);
            if (m_onActive)
                m_onActive(false);
            m_notifier.warning("The rotator is no longer reachable: " + message);
        });
    if (was != Active() && m_onActive)
        m_onActive(Active());
}

void Rotator::Start()
{
    setChannel(nullptr);
    m_kind = RotatorKindOf(m_config.Rotator_type);
    if (m_kind == RotatorKind::None)
        return;
    if (m_kind == RotatorKind::Daemon) {
        auto [host, port] = RotatorDaemonAddress(m_config.Rotator_Message.view());
        std::unique_ptr<ByteChannel> daemon = m_makeTcp ? m_makeTcp(host, port) : nullptr;
        if (!daemon || !daemon->Open()) {
            m_notifier.error("Rotator target Application Window not found: \rAddress: " + host + ":" +
                             std::to_string(port));
            return;
        }
        setChannel(std::move(daemon));
        return;
    }
    std::unique_ptr<ByteChannel> port =
        m_makeSerial ? m_makeSerial(RotatorSerialSettings(m_kind, m_config.Rotator_port)) : nullptr;
    if (!port || !port->Open()) {
        m_notifier.warning("Rotator COM port failed to open");
        return;
    }
    setChannel(std::move(port));
}

void Rotator::Shutdown()
{
    if (m_channel)
        m_channel->Close();
    setChannel(nullptr);
}

std::string Rotator::status(std::string text)
{
    if (m_onStatus)
        m_onStatus(text);
    return text;
}

std::string Rotator::Turn(std::int64_t azimuth, int band)
{
    TurnPlan plan = PlanTurn(m_config, azimuth, band);
    if (!plan.heading)
        return status(plan.status);
    std::string problem;
    if (Active() && !send(TurnCommand(m_kind, *plan.heading), problem))
        return status(problem);
    return status(plan.status);
}

std::string Rotator::Halt()
{
    std::string problem;
    if (Active() && !send(HaltCommand(m_kind), problem))
        return status(problem);
    return status("Rotator Stopped");
}

bool Rotator::send(const std::string &command, std::string &problem)
{
    if (!m_channel->PutString(command) || !m_channel->Flush(1000)) {
        problem = "!Rotator port: " + m_channel->LastError();
        return false;
    }
    if (m_kind != RotatorKind::Daemon)
        return true;
    // The daemon answers every command with one line, "RPRT 0" when it obeyed.
    std::string answer;
    while (answer.find('\n') == std::string::npos) {
        std::optional<std::uint8_t> byte = m_channel->GetChar();
        if (byte) {
            answer += static_cast<char>(*byte);
            if (answer.size() > 200)
                break;
        } else if (!m_channel->WaitForData(DaemonAnswerMs)) {
            problem = "!Rotator daemon did not answer";
            return false;
        }
    }
    std::string_view line = Trim(answer);
    if (line == "RPRT 0")
        return true;
    problem = "!Rotator daemon answered: " + std::string(line.substr(0, 60));
    return false;
}

} // namespace vellum
