#pragma once
// A radio definition: everything the CAT engine knows of one radio model - its
// command strings, where each value sits in a reply or a command, how values
// are encoded, and which codes stand for which modes. Definitions are INI files
// in RADIOS ("<MODEL>.rig"); they come from outside, so reading checks every
// position, length and code before an engine uses them.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vellum {

class TIniFile;

/// The commands of a definition, in their stored order (the index is stored).
enum class RadioCommand : std::uint8_t {
    NoCommand, ClearClarifier, FileRead, FileWrite, Init, ReadClarifier, ReadId, ReadMode, ReadSMeter,
    ReadStatus, ReadVfoA, ReadVfoAXtra, ReadVfoB, SelectVfoA, SelectVfoB, SetMode, SetSplitOff, SetSplitOn,
    SetVfoA, SetVfoB, VfoAToB,
};
inline constexpr std::size_t RadioCommandCount = 21;
extern const std::array<const char *, RadioCommandCount> RadioCommandNames;

/// The fields of a definition, in their stored order.
enum class RadioField : std::uint8_t {
    Clarifier, CurrentVfo, CurrentVfoIsA, CurrentVfoIsB, Id, Mode, Rit, SMeter, SignClarifier, SplitMode,
    VfoA, VfoB, WriteId, WriteMode, WriteVfoA, WriteVfoB, Xit,
};
inline constexpr std::size_t RadioFieldCount = 17;
extern const std::array<const char *, RadioFieldCount> RadioFieldNames;

enum class FieldFormat : std::uint8_t { Bcd, BcdR, Binary, BinaryR, ByteM, Flag, String, StringR };
inline constexpr std::size_t FieldFormatCount = 8;
extern const std::array<const char *, FieldFormatCount> FieldFormatNames;

/// Where a command's reply is kept until the locations are invalidated.
enum class ResponseLocation : std::uint8_t { VfoAB, VfoB, Status, Other };
inline constexpr std::size_t ResponseLocationCount = 4;
extern const std::array<const char *, ResponseLocationCount> ResponseLocationNames;

/// The bytes a reply or an assembled command holds at most.
inline constexpr std::size_t RadioBlockSize = 50;
/// The widest BCD or binary field: a 64-bit value.
inline constexpr std::size_t MaxNumericFieldBytes = 8;
/// The widest decimal text field (18 digits fit 64 bits with room to spare).
inline constexpr std::size_t MaxTextFieldBytes = 18;
/// A mode code byte that stands for no code.
inline constexpr std::uint8_t NoModeCode = 255;

enum class CommandFormat : std::uint8_t { Hex = 0, String = 1 };

struct RadioCommandDef {
    std::string text;      ///< up to 50 characters (hex digits or text)
    std::uint16_t length = 0; ///< reply bytes to wait for (0..255); the file offset of the file commands
    std::uint8_t location = 0;
};

struct RadioFieldDef {
    std::uint8_t command = 0;
    std::uint8_t format = 0;
    std::uint8_t position = 0;
    std::uint8_t lengthOrMask = 0; ///< 0: the field is absent
};

/// How the radio reports and is set to one mode.
struct ModeCodes {
    std::uint8_t read1 = NoModeCode, read2 = NoModeCode;
    std::uint8_t write1 = NoModeCode, write2 = NoModeCode;
    bool preferSecond = false;
    bool operator==(const ModeCodes &) const = default;
};

struct TRadioDefinition {
    std::string model;         ///< up to 20 characters; also the file name
    std::uint16_t date = 0;    ///< day number of the last change
    std::string notes;         ///< up to 35 characters
    double lowKHz = 0, highKHz = 0;
    std::uint16_t baud = 0;
    std::uint8_t dataBitsCode = 0; ///< 0: 7 bits, 1: 8 bits
    std::uint8_t stopBitsCode = 0; ///< 0: 1 bit, 1: 2 bits
    std::string fileInterface;     ///< a file or directory transport; empty: serial
    /// The address of a rig-control daemon ("host:port"); set, it replaces every other transport.
    std::string daemon;
    CommandFormat format = CommandFormat::Hex;
    bool reverseOrder = false; ///< CORDER: whole commands are sent reversed
    bool reverseAB = false;    ///< stored and edited only
    bool oneBased = false;     ///< OFSET: positions as stored count from 1
    std::string preamble;      ///< hex digits put before every command
    std::uint8_t confirmLength = 0;
    double readMul = 1, writeMul = 1, clarifierMul = 1, sMeterMul = 1;
    std::array<RadioCommandDef, RadioCommandCount> commands{};
    std::array<RadioFieldDef, RadioFieldCount> fields{};
    std::array<ModeCodes, 16> modes{}; ///< by mode index; entry 0 unused

    const RadioCommandDef &command(RadioCommand c) const { return commands[static_cast<std::size_t>(c)]; }
    RadioCommandDef &command(RadioCommand c) { return commands[static_cast<std::size_t>(c)]; }
    const RadioFieldDef &field(RadioField f) const { return fields[static_cast<std::size_t>(f)]; }
    RadioFieldDef &field(RadioField f) { return fields[static_cast<std::size_t>(f)]; }
};

/// Reads a definition from its INI text. Unknown command, format or location
/// names read as the first entry of their list; everything that would let an
/// engine read or write outside a block is reported in problems.
TRadioDefinition ReadRadioDefinition(const TIniFile &ini, std::vector<std::string> &problems);
/// The problems of a definition (empty when an engine can run it).
std::vector<std::string> ValidateRadioDefinition(const TRadioDefinition &definition);
/// Writes every key of a definition (the file is rewritten from scratch by the caller).
void WriteRadioDefinition(TIniFile &ini, const TRadioDefinition &definition);

/// The MODES value "r1[,r2];w1[,w2];P" of a mode; empty when it has no code.
std::string FormatModeCodes(const ModeCodes &codes);
/// Reads a MODES value; a number above 255 is reported in problem (and read as none).
ModeCodes ParseModeCodes(std::string_view text, std::string *problem = nullptr);

/// The bytes of a command string: hex digit pairs (a non-digit counts as 0, an
/// odd last digit is dropped), or the text with "|" as a carriage return.
std::vector<std::uint8_t> DecodeCommandString(std::string_view text, CommandFormat format);

/// The file name of a model in the RADIOS directory, or nothing when the model
/// names no plain file there (empty, a path separator, a leading dot, control characters).
std::optional<std::string> RadioFileName(std::string_view model);

/// A new definition as the editor's "New" makes it.
TRadioDefinition NewRadioDefinition(std::uint16_t today);

} // namespace vellum
