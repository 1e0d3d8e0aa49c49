// vellum-cli: the rotator as the program's configuration sets it up.
// "rotator turn AZIMUTH --band BAND [--long-path] [--port DEVICE]" and
// "rotator halt [--port DEVICE]" print the status text as JSON; the exit status
// is 0 when a command went out. --port names the serial device (or, for the
// rotator daemon, its host:port) instead of the configured one.

#include "cli.h"

#include "config/configfile.h"
#include "config/configrecord.h"
#include "logstore/qsotables.h"
#include "station/channels.h"
#include "station/portmap.h"
#include "station/rotator.h"

#include <charconv>
#include <iostream>

namespace vellum::cli {

namespace {

int parseAzimuth(const std::string &text)
{
    int value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < -720 || value > 720)
        throw CliError("Not an azimuth in degrees: " + text);
    return value;
}

int parseBand(const std::string &text)
{
    int band = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), band);
    if (error != std::errc() || end != text.data() + text.size())
        band = ParseBand(text);
    if (!IsBand(band))
        throw CliError("Not a band: " + text + " (give a band name such as 20m, or its number 1 to " +
                       std::to_string(AllBandCount - 1) + ")");
    return band;
}

Rotator makeRotator(CliContext &context, const std::string &port)
{
    auto serial = [&context, port](const SerialSettings &settings) -> std::unique_ptr<ByteChannel> {
        std::vector<std::string> problems;
        std::string device = port.empty() ? PortMap::Load(problems).DevicePath(settings.comNumber) : port;
        for (const std::string &problem : problems)
            context.notifier.warning(PortMap::FileName() + ": " + problem);
        return MakeSerialChannel(settings, device);
    };
    auto tcp = [port](const std::string &host, int number) -> std::unique_ptr<ByteChannel> {
        auto address = port.empty() ? std::make_pair(host, number) : RotatorDaemonAddress(port);
        return MakeTcpChannel(address.first, std::to_string(address.second), false, 3000);
    };
    return Rotator(Config(), context.notifier, serial, tcp);
}

int rotatorCommand(CliContext &context)
{
    std::string port = context.takeOption("--port");
    std::string bandText = context.takeOption("--band");
    bool longPath = context.takeFlag("--long-path");
    const std::string &action = context.arg(0, "turn or halt");
    if (action != "turn" && action != "halt")
        throw CliError("rotator: say turn or halt, not " + action);
    int azimuth = 0, band = 0;
    if (action == "turn") {
        azimuth = parseAzimuth(context.arg(1, "the azimuth")) + (longPath ? 180 : 0);
        if (bandText.empty())
            throw CliError("rotator turn: --band BAND is missing");
        band = parseBand(bandText);
    }
    if (RotatorKindOf(Config().Rotator_type) == RotatorKind::None)
        throw CliError("No rotator is set up (Rotator_type is 1, \"None\")");
    ChannelRuntime runtime;
    Rotator rotator = makeRotator(context, port);
    rotator.Start();
    if (!rotator.Active())
        throw CliError("The rotator could not be reached");
    std::string status = action == "turn" ? rotator.Turn(azimuth, band) : rotator.Halt();
    rotator.Shutdown();
    bool sent = status.empty() || status.front() != '!';
    std::cout << "{\"status\": " << JsonString(status) << ", \"sent\": " << (sent ? "true" : "false") << "}\n";
    if (!sent)
        std::cerr << status << "\n";
    return sent ? 0 : 1;
}

} // namespace

VELLUM_CLI_COMMAND("rotator",
                   "rotator turn AZIMUTH --band BAND [--long-path] [--port DEVICE] | rotator halt [--port DEVICE]",
                   rotatorCommand);

} // namespace vellum::cli
