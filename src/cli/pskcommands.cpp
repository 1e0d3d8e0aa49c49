// vellum-cli psk31 encode | decode: the PSK31 engine on WAV files.

#include "cli.h"

#include "station/psk/pskengine.h"
#include "station/psk/psktools.h"
#include "station/psk/wavfile.h"

#include <iostream>
#include <stdexcept>

namespace vellum::cli {

namespace {

int numberOption(CliContext &context, const char *name, int fallback, int low, int high)
{
    std::string text = context.takeOption(name);
    if (text.empty())
        return fallback;
    try {
        int value = std::stoi(text);
        if (value >= low && value <= high)
            return value;
    } catch (const std::exception &) {
    }
    throw CliError(std::string(name) + " '" + text + "' is not a number from " + std::to_string(low) + " to " +
                   std::to_string(high));
}

int encodeCommand(CliContext &context)
{
    std::string out = context.takeOption("--wav");
    int freq = numberOption(context, "--freq", 1000, 100, 3900);
    int rate = numberOption(context, "--rate", 8000, 8000, 48000);
    bool qpsk = context.takeFlag("--qpsk");
    const std::string &text = context.arg(0, "text");
    if (out.empty())
        throw CliError("--wav OUT is missing");
    psk::WavSound sound;
    sound.sampleRate = rate;
    sound.samples = psk::EncodeText(text, rate, freq, qpsk ? psk::PskMode::QpskUsb : psk::PskMode::Bpsk);
    try {
        psk::WriteWav(out, sound);
    } catch (const std::runtime_error &error) {
        throw CliError(error.what());
    }
    std::cout << "{\"wav\":" << JsonString(out) << ",\"samples\":" << sound.samples.size() << ",\"rate\":" << rate
              << ",\"freq_hz\":" << freq << "}\n";
    return 0;
}

int decodeCommand(CliContext &context)
{
    std::string freqText = context.takeOption("--freq");
    bool qpsk = context.takeFlag("--qpsk");
    const std::string &file = context.arg(0, "WAV file");
    psk::WavSound sound;
    try {
        sound = psk::ReadWav(file);
    } catch (const std::runtime_error &error) {
        throw CliError(error.what());
    }
    psk::DecodeOptions options;
    options.mode = qpsk ? psk::PskMode::QpskUsb : psk::PskMode::Bpsk;
    options.frequency = freqText.empty() ? psk::StrongestSignal(sound.samples, sound.sampleRate) : std::stod(freqText);
    if (options.frequency <= 0)
        throw CliError(file + ": no signal found");
    std::cout << psk::DecodeSound(sound.samples, sound.sampleRate, options) << "\n";
    return 0;
}

} // namespace

VELLUM_CLI_COMMAND("psk31 encode", "psk31 encode TEXT --wav OUT [--freq HZ] [--rate HZ] [--qpsk]", encodeCommand);
VELLUM_CLI_COMMAND("psk31 decode", "psk31 decode IN.wav [--freq HZ] [--qpsk]", decodeCommand);

} // namespace vellum::cli
