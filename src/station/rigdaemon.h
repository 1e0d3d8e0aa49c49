#pragma once
// A radio reached through the common rig-control daemon over TCP: one line per
// command ("f", "F 14250000", "m", "M USB 0", "s", "S 1 VFOB", "i", "I", "t",
// "l STRENGTH"), values answered line by line, set commands with "RPRT 0" or
// "RPRT -n". Any radio the daemon knows runs behind the same operations as a
// definition-driven one.

#include "radio.h"

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vellum {

inline constexpr int RigDaemonPort = 4532;

/// "host:port" (a host alone takes 4532, an empty text localhost).
std::pair<std::string, int> RigDaemonAddress(std::string_view text);
/// The daemon's mode name for a mode at a frequency ("" when it has none).
std::string RigDaemonModeName(int mode, double kHz);
/// The mode of a daemon's mode name (SSB for one without a match).
int ModeOfRigDaemonName(std::string_view name);

class RigDaemonRadio : public RadioLink {
public:
    RigDaemonRadio(const TRadioDefinition &definition, std::unique_ptr<ByteChannel> channel, RadioTiming timing);
    ~RigDaemonRadio() override;

    /// Asks the transmit state ("t") to learn that the daemon answers (throws when it does not).
    bool Init() override;
    std::string Model() const override { return m_model; }
    bool ReadStatus() override;
    bool SetRadio(int mode, bool split, double txKHz, double rxKHz) override;
    bool SetVfoA(double kHz) override;
    int ReadSMeter() override;
    bool CanSetMode(int mode) const override { return !RigDaemonModeName(mode, 14000).empty(); }
    bool CanReadSMeter() const override { return true; }
    bool OutOfRange(double kHz) const override;
    bool Busy() const override { return m_busy; }

private:
    /// Sends a get command and returns its lines; nothing (with the error set) for "RPRT -n".
    std::optional<std::vector<std::string>> get(const std::string &command, std::size_t lines);
    /// Sends a set command; false (with the error set) unless it is answered "RPRT 0".
    bool set(const std::string &command);
    std::string readLine();

    std::string m_model;
    double m_lowKHz, m_highKHz;
    std::unique_ptr<ByteChannel> m_channel;
    RadioTiming m_timing;
    std::string m_pending;
    bool m_busy = false;
};

} // namespace vellum
