#include "channels.h"

#include "Fserialchannel.h"
#include "Ftcpchannel.h"

#include <QCoreApplication>

namespace vellum {

std::unique_ptr<ByteChannel> MakeSerialChannel(const SerialSettings &settings, const std::string &device)
{
    return std::make_unique<TSerialChannel>(settings, device);
}

std::unique_ptr<ByteChannel> MakeTcpChannel(const std::string &host, const std::string &port, bool telnet,
                                            int connectTimeoutMs)
{
    auto channel = std::make_unique<TTcpChannel>(host, port, telnet);
    channel->SetConnectTimeout(connectTimeoutMs);
    return channel;
}

struct ChannelRuntime::Application {
    int argc = 1;
    char name[12] = "vellum-cli";
    char *argv[2] = {name, nullptr};
    QCoreApplication app{argc, argv};
};

ChannelRuntime::ChannelRuntime()
{
    if (!QCoreApplication::instance())
        m_application = std::make_unique<Application>();
}

ChannelRuntime::~ChannelRuntime() = default;

} // namespace vellum
