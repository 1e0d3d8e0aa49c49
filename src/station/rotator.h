#pragma once
// The antenna rotator: the heading for a bearing on a band (correction, offset,
// reverse, disabled bands), the commands of each controller, and the rotator
// of the run, started with the QSO window and driven by its bearing.

#include "bytechannel.h"
#include "serialsettings.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace vellum {

struct TConfigRecord;
class UserNotifier;

/// The controller kinds: Rotator_type - 1. The daemon kind speaks the line
/// protocol of the common rotator daemon over TCP ("P az el", "S", "RPRT 0").
enum class RotatorKind { None = 0, SarTek = 1, HygainDcu1 = 2, OrionM2 = 3, Hd1780 = 4, Daemon = 5 };
/// The names of Rotator_type 1..6.
inline constexpr std::array<const char *, 6> RotatorTypeNames = {"None",     "SARtek1", "Hygn DCU1",
                                                                 "Orion M2", "HD-1780", "Message based"};
RotatorKind RotatorKindOf(std::uint8_t rotatorType);

/// What a band does with a bearing (RotatorBands).
enum class BandTurn : std::uint8_t { Disabled = 0, Normal = 1, WithOffset = 2, Reverse = 3 };
inline constexpr std::array<const char *, 4> BandTurnNames = {"Disabled", "Normal", "With Offset", "Reverse"};

/// The rotator settings of the configuration as one block of bytes, from
/// Rotator_type to the end of Rotator_Message (the Rotator Control window keeps a copy).
inline constexpr std::size_t RotatorBlockSize = 92;
using RotatorBlock = std::array<std::uint8_t, RotatorBlockSize>;
RotatorBlock CopyRotatorBlock(const TConfigRecord &config);
void RestoreRotatorBlock(TConfigRecord &config, const RotatorBlock &block);

/// A heading to turn to, or the status text that says why not (beginning with "!").
struct TurnPlan {
    std::optional<int> heading;
    std::string status;
};
/// The heading for an azimuth on a band (1..15; 0 for none), 0 to 360.
TurnPlan PlanTurn(const TConfigRecord &config, std::int64_t azimuth, int band);
/// A heading brought into 0..360 (360 stays).
int NormalizeHeading(std::int64_t degrees);

/// The bytes that turn a controller to a heading, and that stop it.
std::string TurnCommand(RotatorKind kind, int heading);
std::string HaltCommand(RotatorKind kind);
/// The serial settings of a serial controller on COM port.
SerialSettings RotatorSerialSettings(RotatorKind kind, int comPort);
/// The rotator daemon's address from Rotator_Message: "host:port"; a host alone
/// takes port 4533; an empty text (or the window form "class|title") gives localhost:4533.
std::pair<std::string, int> RotatorDaemonAddress(std::string_view message);

/// The rotator of the run.
class Rotator {
public:
    using SerialMaker = std::function<std::unique_ptr<ByteChannel>(const SerialSettings &)>;
    using TcpMaker = std::function<std::unique_ptr<ByteChannel>(const std::string &host, int port)>;

    Rotator(TConfigRecord &config, UserNotifier &notifier, SerialMaker serial, TcpMaker tcp);
    ~Rotator();

    /// Opens the controller's port (or reaches the daemon) as the configuration says;
    /// a failure is told the user and leaves the rotator inactive.
    void Start();
    void Shutdown();
    bool Active() const { return m_channel != nullptr; }

    /// Turns to the heading for azimuth on band; returns the status text.
    std::string Turn(std::int64_t azimuth, int band);
    std::string Halt();

    /// Every status text (the Rotator Control window shows it; "!" texts beep).
    void OnStatus(std::function<void(const std::string &)> handler) { m_onStatus = std::move(handler); }
    /// The rotator became active or inactive (the menu items follow).
    void OnActiveChanged(std::function<void(bool)> handler) { m_onActive = std::move(handler); }

private:
    std::string status(std::string text);
    /// Sends a command; for the daemon also reads its answer. False with a status when it failed.
    bool send(const std::string &command, std::string &problem);
    void setChannel(std::unique_ptr<ByteChannel> channel);

    TConfigRecord &m_config;
    UserNotifier &m_notifier;
    SerialMaker m_makeSerial;
    TcpMaker m_makeTcp;
    RotatorKind m_kind = RotatorKind::None;
    std::unique_ptr<ByteChannel> m_channel;
    std::unique_ptr<ByteChannel> m_brokenChannel; ///< kept until the next start or shutdown: it told us from inside itself
    std::function<void(const std::string &)> m_onStatus;
    std::function<void(bool)> m_onActive;
};

} // namespace vellum
