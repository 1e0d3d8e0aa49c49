#pragma once
// Morse timing and the code table: what the keyer sends for a text, as a list of
// steps (key down for a time, pause, transmitter off or on). The sender thread
// and the planned key-line timeline are both made from these steps.

#include <string>
#include <string_view>
#include <vector>

namespace vellum {

struct TConfigRecord;

/// Element and gap lengths in whole milliseconds.
struct MorseTiming {
    int dot = 0;
    int dash = 0;
    int unit = 0; ///< three spacing dots

    /// dot = 60000 / (speed x 49); dash = dot x weight x 3 / 100;
    /// unit = (60000 / (wpm x 49)) x 3, rounded before the multiplication. Each value is
    /// rounded to the nearest millisecond (halves to even). Speeds below 1 count as 1,
    /// a spacing speed above the character speed as the character speed.
    static MorseTiming For(int speed, int wpm, int weight);

    int ElementGap() const { return dot; }
    /// The pause added after a character's last element gap.
    int CharacterGap() const { return unit - dot; }
    int BlankGap() const { return unit + dot; }
    /// The words per minute of "PARIS " sent with this timing.
    double DisplayedWpm() const;
};

/// The dots and dashes of a character (".-"); "?" for a character the table lacks.
/// Text is cp1252: 196 is "Ä", 214 is "Ö". "*" is AR and "!" is SK.
std::string_view MorseCode(char character);

enum class MorseStepKind {
    Element,      ///< key down (and sidetone) for ms
    Pause,        ///< key up for ms
    TransmitOff,  ///< "<": what follows sounds only on the sidetone
    TransmitOn,   ///< ">"
};

struct MorseStep {
    MorseStepKind kind;
    int ms = 0;
    bool operator==(const MorseStep &) const = default;
};

/// The steps that send one character: a blank is the blank gap, "<" and ">" switch the
/// transmitter, any other character its elements each followed by the element gap, then
/// the character gap. Characters are sent as they are: a lower-case letter is a "?".
void AppendMorseSteps(char character, const MorseTiming &timing, std::vector<MorseStep> &steps);

/// A change of the key line as the sender makes it: at t_ms after the start the line goes
/// down or up and stays so for ms (until the next change or the end of the text).
struct KeyTransition {
    long long tMs = 0;
    bool down = false;
    long long ms = 0;
    bool operator==(const KeyTransition &) const = default;
};

/// The key line for a whole text: only elements sent while transmitting key it; the
/// elements between "<" and ">" take their time on the sidetone alone.
std::vector<KeyTransition> KeyTimeline(std::string_view text, const MorseTiming &timing);

/// The keyer's settings out of the configuration, checked: what the sender thread reads.
struct KeyerSettings {
    enum class Interface { None = 1, Lpt1 = 2, Lpt2 = 3, Lpt3 = 4, RadioDtr = 5, RadioRts = 6 };
    int speed = 20;
    int wpm = 20;
    int weight = 100;
    int tone = 850;
    bool sidetone = true;
    bool immediate = true;
    Interface keyInterface = Interface::None;
    int pttDelay = 0;
    int comPort = 1;

    static KeyerSettings From(const TConfigRecord &config);
    MorseTiming Timing() const { return MorseTiming::For(speed, wpm, weight); }
};

/// Upper-cases cp1252 text as the keyer's keys send it (a..z, and ä, ö to Ä, Ö).
std::string KeyerUpperCase(std::string text);

/// The caption of a function key's text: the part before the first "|", trimmed, or its
/// first 6 characters when there is no "|".
std::string FunctionKeyCaption(std::string_view keyText);
/// What a function key expands: the part after the first "|", or the whole text.
std::string_view FunctionKeyExpansion(std::string_view keyText);

} // namespace vellum
