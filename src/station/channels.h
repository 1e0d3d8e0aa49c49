#pragma once
// The program's serial port and TCP client, made without naming the layer they
// run on: callers without windows (vellum-cli) use them through this header.

#include "bytechannel.h"
#include "serialsettings.h"

#include <memory>
#include <string>

namespace vellum {

/// A serial port on device (its settings fixed until it is opened).
std::unique_ptr<ByteChannel> MakeSerialChannel(const SerialSettings &settings, const std::string &device);
/// A TCP client of host and port ("telnet" or a number); telnet: the stream carries telnet commands.
std::unique_ptr<ByteChannel> MakeTcpChannel(const std::string &host, const std::string &port, bool telnet,
                                            int connectTimeoutMs = 5000);

/// What the channels need to run in a program without an event loop of its own
/// (a command-line run): made once, before any channel.
class ChannelRuntime {
public:
    ChannelRuntime();
    ~ChannelRuntime();
    ChannelRuntime(const ChannelRuntime &) = delete;
    ChannelRuntime &operator=(const ChannelRuntime &) = delete;

private:
    struct Application;
    std::unique_ptr<Application> m_application;
};

} // namespace vellum
