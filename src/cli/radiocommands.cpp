// vellum-cli: the radio over the CAT engine, without the program.
// "radio poll --rig FILE --port DEVICE [--baud N] [--id N] [--tries N] [--trace]"
// starts the radio as "Start Radio" does, reads it once and prints one JSON
// object; "radio set ... [--freq KHZ] [--freq2 KHZ] [--mode NAME] [--split on|off]"
// tunes it first; "radio check FILE" checks a definition. "--rigctld HOST:PORT"
// in place of --rig uses the rig-control daemon.

#include "cli.h"

#include "config/configfile.h"
#include "config/configrecord.h"
#include "config/inifile.h"
#include "logstore/qsotables.h"
#include "station/channels.h"
#include "station/radiocontrol.h"
#include "station/radiodefinition.h"
#include "station/rigdaemon.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <iostream>

namespace vellum::cli {

namespace {

int wholeNumber(const std::string &text, const char *what, int low, int high)
{
    int value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < low || value > high)
        throw CliError(std::string(what) + " must be a whole number from " + std::to_string(low) + " to " +
                       std::to_string(high) + ": " + text);
    return value;
}

double kiloHertz(const std::string &text)
{
    char *end = nullptr;
    double value = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || !std::isfinite(value) || value < 0 || value > 1e8)
        throw CliError("Not a frequency in kHz: " + text);
    return value;
}

TRadioDefinition readDefinition(const std::string &file, std::vector<std::string> &problems)
{
    if (!std::filesystem::is_regular_file(file))
        throw CliError(file + ": no such file");
    TIniFile ini(file);
    return ReadRadioDefinition(ini, problems);
}

TRadioDefinition chosenDefinition(CliContext &context)
{
    std::string daemon = context.takeOption("--rigctld");
    std::string file = context.takeOption("--rig");
    if (!daemon.empty()) {
        TRadioDefinition definition;
        definition.model = "rigctld";
        definition.daemon = daemon;
        return definition;
    }
    if (file.empty())
        throw CliError("radio: --rig FILE or --rigctld HOST:PORT is missing");
    std::vector<std::string> problems;
    TRadioDefinition definition = readDefinition(file, problems);
    if (!problems.empty())
        throw CliError(file + ": " + problems.front());
    return definition;
}

std::unique_ptr<RadioLink> startRadio(CliContext &context, TRadioDefinition &definition)
{
    std::string port = context.takeOption("--port");
    TConfigRecord config = Config();
    config.Hardware_baudrate = static_cast<std::uint16_t>(wholeNumber(context.takeOption("--baud", "0"), "--baud", 0, 65535));
    config.Hardware_RadioID = static_cast<std::uint8_t>(
        wholeNumber(context.takeOption("--id", std::to_string(Config().Hardware_RadioID)), "--id", 0, 255));
    config.Hardware_RadioMaxTries = static_cast<std::uint8_t>(
        wholeNumber(context.takeOption("--tries", std::to_string(std::max<int>(Config().Hardware_RadioMaxTries, 1))), "--tries", 1, 20));
    if (definition.daemon.empty() && definition.fileInterface.empty() && port.empty())
        throw CliError("radio: --port DEVICE is missing");
    RadioPorts ports{[port](const SerialSettings &settings) { return MakeSerialChannel(settings, port); },
                     [](const std::string &host, int number) {
                         return MakeTcpChannel(host, std::to_string(number), false, 3000);
                     }};
    std::string openError;
    std::unique_ptr<RadioLink> radio = MakeRadio(definition, config, ports, RadioTiming{}, openError);
    if (!radio)
        throw CliError(openError);
    return radio;
}

void printStatus(const RadioLink &radio, bool read, std::optional<int> sMeter, int error, const std::string &errorText)
{
    const RadioState &state = radio.Last();
    char frequencies[96];
    std::snprintf(frequencies, sizeof frequencies, "\"freq_khz\": %.3f, \"freq2_khz\": %.3f", state.rxKHz, state.secondKHz);
    std::cout << "{\"model\": " << JsonString(radio.Model()) << ", " << frequencies
              << ", \"mode\": " << JsonString(read ? ModeName(state.mode) : "")
              << ", \"split\": " << (state.split ? "true" : "false")
              << ", \"smeter\": " << (sMeter ? std::to_string(*sMeter) : "null") << ", \"error\": " << error
              << ", \"error_text\": " << JsonString(errorText) << "}\n";
}

/// Starts the radio, runs before (a set), reads it once and prints the status.
int runRadio(CliContext &context, const std::function<void(RadioLink &)> &before)
{
    bool trace = context.takeFlag("--trace");
    TRadioDefinition definition = chosenDefinition(context);
    ChannelRuntime runtime;
    std::unique_ptr<RadioLink> radio = startRadio(context, definition);
    if (trace)
        radio->SetConsole([](const std::string &line) { std::cerr << line << "\n"; });
    bool read = false;
    std::optional<int> sMeter;
    int error = 0;
    std::string errorText;
    try {
        if (radio->Init()) {
            before(*radio);
            read = radio->ReadStatus();
            if (read && radio->CanReadSMeter())
                sMeter = radio->ReadSMeter();
        }
        error = radio->ErrorCode();
        errorText = RadioErrorText(error);
    } catch (const ERadioException &e) {
        error = static_cast<int>(RadioError::TimedOut);
        errorText = e.what();
    }
    printStatus(*radio, read, sMeter, error, errorText);
    return error == 0 ? 0 : 1;
}

int pollCommand(CliContext &context)
{
    return runRadio(context, [](RadioLink &) {});
}

int setCommand(CliContext &context)
{
    std::string freq = context.takeOption("--freq"), freq2 = context.takeOption("--freq2");
    std::string modeName = context.takeOption("--mode"), splitText = context.takeOption("--split");
    int mode = modeName.empty() ? 0 : ModeOfName(modeName);
    if (!modeName.empty() && mode == 0)
        throw CliError("Not a mode: " + modeName);
    if (!splitText.empty() && splitText != "on" && splitText != "off")
        throw CliError("--split takes on or off, not " + splitText);
    double rx = freq.empty() ? -1 : kiloHertz(freq), tx = freq2.empty() ? -1 : kiloHertz(freq2);
    return runRadio(context, [&](RadioLink &radio) {
        // What is not given stays as the radio has it.
        radio.ReadStatus();
        const RadioState now = radio.Last();
        double receive = rx >= 0 ? rx : now.rxKHz;
        double transmit = tx >= 0 ? tx : now.secondKHz;
        bool split = splitText.empty() ? (tx >= 0 ? transmit != receive : now.split) : splitText == "on";
        radio.SetRadio(mode != 0 ? mode : now.mode, split, transmit, receive);
    });
}

int checkCommand(CliContext &context)
{
    const std::string &file = context.arg(1, "the definition file");
    std::vector<std::string> problems;
    TRadioDefinition definition = readDefinition(file, problems);
    for (const std::string &problem : problems)
        std::cerr << file << ": " << problem << "\n";
    if (!problems.empty())
        return 1;
    std::cout << "{\"model\": " << JsonString(definition.model) << ", \"valid\": true}\n";
    return 0;
}

int radioCommand(CliContext &context)
{
    const std::string &action = context.arg(0, "poll, set or check");
    if (action == "poll")
        return pollCommand(context);
    if (action == "set")
        return setCommand(context);
    if (action == "check")
        return checkCommand(context);
    throw CliError("radio: say poll, set or check, not " + action);
}

} // namespace

VELLUM_CLI_COMMAND("radio",
                   "radio poll (--rig FILE --port DEVICE | --rigctld HOST:PORT) [--baud N] [--id N] [--tries N] [--trace] | "
                   "radio set ... [--freq KHZ] [--freq2 KHZ] [--mode NAME] [--split on|off] | radio check FILE",
                   radioCommand);

} // namespace vellum::cli
