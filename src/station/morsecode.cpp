#include "morsecode.h"

#include "config/configrecord.h"
#include "logstore/trim.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

namespace vellum {

namespace {

/// Rounds to the nearest whole number, halves to even, as the keyer always has.
int roundMs(double value) { return static_cast<int>(std::nearbyint(value)); }

constexpr std::array<const char *, 26> LetterCodes = {
    ".-",   "-...", "-.-.", "-..",  ".",   "..-.", "--.",  "....", "..",   ".---", "-.-",  ".-..", "--",
    "-.",   "---",  ".--.", "--.-", ".-.", "...",  "-",    "..-",  "...-", ".--",  "-..-", "-.--", "--.."};
constexpr std::array<const char *, 10> DigitCodes = {"-----", ".----", "..---", "...--", "....-",
                                                     ".....", "-....", "--...", "---..", "----."};
constexpr std::array<std::pair<char, const char *>, 10> SignCodes = {{
    {'?', "..--.."}, {'.', ".-.-.-"}, {',', "--..--"}, {'=', "-...-"}, {'*', ".-.-."}, // AR
    {'!', "...-.-"},                                                                    // SK
    {'/', "-..-."}, {'\xC4', ".-.-"}, {'\xD6', "---."}, {'\0', nullptr}}};

} // namespace

MorseTiming MorseTiming::For(int speed, int wpm, int weight)
{
    speed = std::max(speed, 1);
    wpm = std::clamp(wpm, 1, speed);
    MorseTiming timing;
    timing.dot = roundMs(60000.0 / (speed * 49));
    timing.dash = roundMs(timing.dot * static_cast<double>(weight) * 3 / 100);
    timing.unit = roundMs(60000.0 / (wpm * 49)) * 3;
    return timing;
}

double MorseTiming::DisplayedWpm() const
{
    // "PARIS ": 4 dashes, 10 dots and 10 element gaps, 4 character gaps and one blank.
    int paris = 4 * dash + 24 * dot + 5 * CharacterGap() + BlankGap();
    return paris > 0 ? 60000.0 / paris : 0.0;
}

std::string_view MorseCode(char character)
{
    if (character >= 'A' && character <= 'Z')
        return LetterCodes[static_cast<std::size_t>(character - 'A')];
    if (character >= '0' && character <= '9')
        return DigitCodes[static_cast<std::size_t>(character - '0')];
    for (const auto &[sign, code] : SignCodes)
        if (code && sign == character)
            return code;
    return SignCodes[0].second; // "?"
}

void AppendMorseSteps(char character, const MorseTiming &timing, std::vector<MorseStep> &steps)
{
    switch (character) {
    case ' ':
        steps.push_back({MorseStepKind::Pause, timing.BlankGap()});
        return;
    case '<':
        steps.push_back({MorseStepKind::TransmitOff});
        return;
    case '>':
        steps.push_back({MorseStepKind::TransmitOn});
        return;
    default:
        break;
    }
    for (char element : MorseCode(character)) {
        steps.push_back({MorseStepKind::Element, element == '-' ? timing.dash : timing.dot});
        steps.push_back({MorseStepKind::Pause, timing.ElementGap()});
    }
    steps.push_back({MorseStepKind::Pause, timing.CharacterGap()});
}

std::vector<KeyTransition> KeyTimeline(std::string_view text, const MorseTiming &timing)
{
    std::vector<MorseStep> steps;
    for (char character : text)
        AppendMorseSteps(character, timing, steps);
    std::vector<KeyTransition> line;
    long long now = 0;
    bool transmitting = true;
    for (const MorseStep &step : steps) {
        if (step.kind == MorseStepKind::TransmitOff || step.kind == MorseStepKind::TransmitOn) {
            transmitting = step.kind == MorseStepKind::TransmitOn;
            continue;
        }
        if (step.kind == MorseStepKind::Element && transmitting) {
            line.push_back({now, true, step.ms});
            line.push_back({now + step.ms, false, 0});
        }
        now += step.ms;
    }
    // A key-up lasts until the next key-down, the last one until the end of the text.
    for (std::size_t i = 0; i < line.size(); ++i)
        if (!line[i].down)
            line[i].ms = (i + 1 < line.size() ? line[i + 1].tMs : now) - line[i].tMs;
    return line;
}

KeyerSettings KeyerSettings::From(const TConfigRecord &config)
{
    KeyerSettings settings;
    settings.speed = std::clamp(config.Speed.get(), 1, 60);
    settings.wpm = std::clamp(config.wpm.get(), 1, settings.speed);
    settings.weight = std::clamp(config.weight.get(), 1, 1000);
    settings.tone = std::clamp(config.tone.get(), 1, 20000);
    settings.sidetone = config.sidetone;
    settings.immediate = config.immediate;
    int port = config.hardware_cwport;
    settings.keyInterface = port >= 1 && port <= 6 ? static_cast<Interface>(port) : Interface::None;
    settings.pttDelay = config.hardware_PTTDelay;
    settings.comPort = config.Hardware_RadioCOMPort;
    return settings;
}

std::string KeyerUpperCase(std::string text)
{
    for (char &c : text) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        else if (c == '\xE4' || c == '\xF6') // ä, ö
            c = static_cast<char>(c - 0x20);
    }
    return text;
}

std::string FunctionKeyCaption(std::string_view keyText)
{
    std::size_t bar = keyText.find('|');
    if (bar == std::string_view::npos)
        return std::string(keyText.substr(0, 6));
    return std::string(Trim(keyText.substr(0, bar)));
}

std::string_view FunctionKeyExpansion(std::string_view keyText)
{
    std::size_t bar = keyText.find('|');
    return bar == std::string_view::npos ? keyText : keyText.substr(bar + 1);
}

} // namespace vellum
