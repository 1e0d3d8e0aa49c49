#include "radiodefinition.h"

#include "config/inifile.h"
#include "logstore/compare.h"
#include "logstore/qsotables.h"
#include "logstore/trim.h"

#include <algorithm>
#include <cmath>

namespace vellum {

const std::array<const char *, RadioCommandCount> RadioCommandNames = {
    "No Command",  "Clear Clarifier", "File Read",       "File Write",    "Init",          "Read Clarifier",
    "Read ID",     "Read Mode",       "Read S meter",    "Read Status",   "Read VFO A",    "Read VFO A Xtra",
    "Read VFO B",  "Select VFO A",    "Select VFO B",    "Set Mode",      "Set Split off", "Set Split on",
    "Set VFO A",   "Set VFO B",       "VFO A -> B",
};

const std::array<const char *, RadioFieldCount> RadioFieldNames = {
    "Clarifier", "Current VFO", "Current VFO is A", "Current VFO is B", "ID",         "Mode",
    "RIT",       "S meter",     "Sign Clarifier",   "Split mode",       "VFO A",      "VFO B",
    "Write ID",  "Write Mode",  "Write VFO A",      "Write VFO B",      "XIT",
};

const std::array<const char *, FieldFormatCount> FieldFormatNames = {"BCD",    "BCD-R", "Binary", "Binary-R",
                                                                     "Byte-M", "Flag",  "String", "String-R"};

const std::array<const char *, ResponseLocationCount> ResponseLocationNames = {"VFO A&B", "VFO B", "Status", "Other"};

namespace {

constexpr const char *General = "GENERAL";
constexpr const char *Modes = "MODES";

std::string commandSection(std::size_t c) { return std::string("RC-") + RadioCommandNames[c]; }
std::string fieldSection(std::size_t f) { return std::string("RF-") + RadioFieldNames[f]; }

/// The index of name in names (ignoring case); the first entry when none matches.
template <std::size_t N>
std::uint8_t indexOfName(const std::array<const char *, N> &names, std::string_view name)
{
    for (std::size_t i = 0; i < N; ++i)
        if (CompareNoCase(names[i], name) == 0)
            return static_cast<std::uint8_t>(i);
    return 0;
}

/// The text cut to length, without the blanks the cut may leave at its end (they would not read back).
std::string cut(std::string text, std::size_t length)
{
    if (text.size() > length)
        text = std::string(TrimRight(std::string_view(text).substr(0, length)));
    return text;
}

/// An integer key that must lie in low..high; out of range is a problem and reads as low.
std::int32_t readRanged(const TIniFile &ini, const std::string &section, const char *key, std::int32_t low,
                        std::int32_t high, std::vector<std::string> &problems)
{
    std::int32_t value = ini.ReadInteger(section, key, low);
    if (value >= low && value <= high)
        return value;
    problems.push_back(section + " " + key + " = " + std::to_string(value) + " is not in " + std::to_string(low) +
                       ".." + std::to_string(high));
    return low;
}

void readGeneral(const TIniFile &ini, TRadioDefinition &d, std::vector<std::string> &problems)
{
    const std::string g = General;
    d.model = cut(ini.ReadString(g, "MODEL", ""), 20);
    d.date = static_cast<std::uint16_t>(readRanged(ini, g, "DATE", 0, 65535, problems));
    d.notes = cut(ini.ReadString(g, "NOTES", ""), 35);
    d.lowKHz = ini.ReadFloat(g, "FLOW", 0);
    d.highKHz = ini.ReadFloat(g, "FHIGH", 0);
    d.baud = static_cast<std::uint16_t>(readRanged(ini, g, "BAUD", 0, 65535, problems));
    d.dataBitsCode = static_cast<std::uint8_t>(readRanged(ini, g, "DATAB", 0, 1, problems));
    d.stopBitsCode = static_cast<std::uint8_t>(readRanged(ini, g, "STOPB", 0, 1, problems));
    d.format = static_cast<CommandFormat>(readRanged(ini, g, "CFMT", 0, 1, problems));
    d.reverseOrder = readRanged(ini, g, "CORDER", 0, 1, problems) != 0;
    d.reverseAB = ini.ReadBool(g, "REV", false);
    d.oneBased = readRanged(ini, g, "OFSET", 0, 1, problems) != 0;
    d.preamble = cut(ini.ReadString(g, "PABLE", ""), 20);
    d.confirmLength = static_cast<std::uint8_t>(readRanged(ini, g, "CNFL", 0, 255, problems));
    d.readMul = ini.ReadFloat(g, "RMUL", 1);
    d.writeMul = ini.ReadFloat(g, "WMUL", 1);
    d.clarifierMul = ini.ReadFloat(g, "RITSCL", 1);
    d.sMeterMul = ini.ReadFloat(g, "SMSCL", 1);
    d.fileInterface = cut(ini.ReadString(g, "FILEINTERFACE", ""), 40);
    d.daemon = cut(ini.ReadString(g, "DAEMON", ""), 40);
}

bool numericFormat(FieldFormat format)
{
    return format == FieldFormat::Bcd || format == FieldFormat::BcdR || format == FieldFormat::Binary ||
           format == FieldFormat::BinaryR;
}

bool textFormat(FieldFormat format) { return format == FieldFormat::String || format == FieldFormat::StringR; }

std::string checkField(const TRadioDefinition &d, std::size_t f)
{
    const RadioFieldDef &field = d.fields[f];
    if (field.lengthOrMask == 0)
        return {};
    auto format = static_cast<FieldFormat>(field.format);
    std::string name = RadioFieldNames[f];
    if (numericFormat(format) && field.lengthOrMask > MaxNumericFieldBytes)
        return name + ": " + std::to_string(field.lengthOrMask) + " bytes are more than a 64-bit value holds";
    if (textFormat(format) && field.lengthOrMask > MaxTextFieldBytes)
        return name + ": " + std::to_string(field.lengthOrMask) + " digits are more than a 64-bit value holds";
    int first = field.position + (d.oneBased ? 0 : 1);
    int span = format == FieldFormat::Flag || format == FieldFormat::ByteM ? 1 : field.lengthOrMask;
    if (first < 1)
        return name + ": position 0 in a one-based definition";
    if (first + span - 1 > static_cast<int>(RadioBlockSize))
        return name + ": position " + std::to_string(field.position) + " and length " + std::to_string(span) +
               " run past the " + std::to_string(RadioBlockSize) + "-byte block";
    return {};
}

} // namespace

std::vector<std::uint8_t> DecodeCommandString(std::string_view text, CommandFormat format)
{
    std::vector<std::uint8_t> bytes;
    if (format == CommandFormat::String) {
        for (char c : text)
            bytes.push_back(c == '|' ? 13 : static_cast<std::uint8_t>(c));
        return bytes;
    }
    auto digit = [](char c) -> int {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return 0;
    };
    for (std::size_t i = 0; i + 1 < text.size(); i += 2)
        bytes.push_back(static_cast<std::uint8_t>(digit(text[i]) * 16 + digit(text[i + 1])));
    return bytes;
}

std::string FormatModeCodes(const ModeCodes &codes)
{
    auto pair = [](std::uint8_t first, std::uint8_t second) {
        std::string text;
        if (first != NoModeCode)
            text = std::to_string(first);
        if (second != NoModeCode && second != first)
            text += "," + std::to_string(second);
        return text;
    };
    std::string reads = pair(codes.read1, codes.read2), writes = pair(codes.write1, codes.write2);
    if (reads.empty() && writes.empty())
        return {};
    return reads + ";" + writes + (codes.preferSecond ? ";Y" : ";N");
}

ModeCodes ParseModeCodes(std::string_view text, std::string *problem)
{
    std::size_t at = 0;
    auto number = [&]() -> std::uint8_t {
        std::uint32_t value = 0;
        bool any = false;
        while (at < text.size() && text[at] >= '0' && text[at] <= '9') {
            value = std::min<std::uint32_t>(value * 10 + static_cast<std::uint32_t>(text[at++] - '0'), 100000);
            any = true;
        }
        if (value > 255) {
            if (problem)
                *problem = "mode code " + std::to_string(value) + " is above 255";
            return NoModeCode;
        }
        return any ? static_cast<std::uint8_t>(value) : NoModeCode;
    };
    // A pair: a number, then "," and the second; anything else ends the pair.
    auto pair = [&](std::uint8_t &first, std::uint8_t &second) {
        first = number();
        if (at < text.size() && text[at] == ',') {
            ++at;
            second = number();
        }
        if (at < text.size())
            ++at; // the separator after the pair
        if (second == first)
            second = NoModeCode; // the same code twice is one code
    };
    ModeCodes codes;
    pair(codes.read1, codes.read2);
    pair(codes.write1, codes.write2);
    codes.preferSecond = text.substr(std::min(at, text.size())) == "Y";
    if (codes == ModeCodes{NoModeCode, NoModeCode, NoModeCode, NoModeCode, true})
        codes.preferSecond = false; // a preference without codes is no entry (and is not written)
    return codes;
}

TRadioDefinition ReadRadioDefinition(const TIniFile &ini, std::vector<std::string> &problems)
{
    TRadioDefinition d;
    readGeneral(ini, d, problems);
    for (std::size_t c = 0; c < RadioCommandCount; ++c) {
        std::string section = commandSection(c);
        RadioCommandDef &command = d.commands[c];
        command.text = ini.ReadString(section, "CSTR", "");
        if (command.text.size() > RadioBlockSize) {
            problems.push_back(section + ": the command string is longer than " + std::to_string(RadioBlockSize));
            command.text.resize(RadioBlockSize);
        }
        command.length = static_cast<std::uint16_t>(readRanged(ini, section, "LEN", 0, 255, problems));
        command.location = indexOfName(ResponseLocationNames, ini.ReadString(section, "LOC", ""));
    }
    for (std::size_t f = 0; f < RadioFieldCount; ++f) {
        std::string section = fieldSection(f);
        RadioFieldDef &field = d.fields[f];
        field.command = indexOfName(RadioCommandNames, ini.ReadString(section, "CMD", ""));
        field.format = indexOfName(FieldFormatNames, ini.ReadString(section, "FMT", ""));
        field.position = static_cast<std::uint8_t>(readRanged(ini, section, "POS", 0, 255, problems));
        field.lengthOrMask = static_cast<std::uint8_t>(readRanged(ini, section, "LM", 0, 255, problems));
    }
    for (int m = 1; m < ModeCount; ++m) {
        std::string problem;
        d.modes[static_cast<std::size_t>(m)] = ParseModeCodes(ini.ReadString(Modes, ModeName(m), ""), &problem);
        if (!problem.empty())
            problems.push_back(std::string(Modes) + " " + ModeName(m) + ": " + problem);
    }
    for (std::string &problem : ValidateRadioDefinition(d))
        problems.push_back(std::move(problem));
    return d;
}

std::vector<std::string> ValidateRadioDefinition(const TRadioDefinition &d)
{
    std::vector<std::string> problems;
    if (!RadioFileName(d.model))
        problems.push_back("MODEL \"" + d.model + "\" does not name a file in RADIOS");
    for (std::size_t f = 0; f < RadioFieldCount; ++f)
        if (std::string problem = checkField(d, f); !problem.empty())
            problems.push_back(problem);
    for (std::size_t c = 0; c < RadioCommandCount; ++c)
        if (DecodeCommandString(d.commands[c].text, d.format).size() + DecodeCommandString(d.preamble, CommandFormat::Hex).size() >
            RadioBlockSize)
            problems.push_back(std::string(RadioCommandNames[c]) + ": preamble and command are longer than " +
                               std::to_string(RadioBlockSize) + " bytes");
    if (!std::isfinite(d.lowKHz) || !std::isfinite(d.highKHz))
        problems.push_back("FLOW and FHIGH must be numbers");
    return problems;
}

void WriteRadioDefinition(TIniFile &ini, const TRadioDefinition &d)
{
    const std::string g = General;
    ini.WriteString(g, "MODEL", d.model);
    ini.WriteInteger(g, "DATE", d.date);
    ini.WriteString(g, "NOTES", d.notes);
    ini.WriteFloat(g, "FLOW", d.lowKHz);
    ini.WriteFloat(g, "FHIGH", d.highKHz);
    ini.WriteInteger(g, "BAUD", d.baud);
    ini.WriteInteger(g, "DATAB", d.dataBitsCode);
    ini.WriteInteger(g, "STOPB", d.stopBitsCode);
    ini.WriteInteger(g, "CFMT", static_cast<int>(d.format));
    ini.WriteInteger(g, "CORDER", d.reverseOrder ? 1 : 0);
    ini.WriteBool(g, "REV", d.reverseAB);
    ini.WriteInteger(g, "OFSET", d.oneBased ? 1 : 0);
    ini.WriteString(g, "PABLE", d.preamble);
    ini.WriteInteger(g, "CNFL", d.confirmLength);
    ini.WriteFloat(g, "RMUL", d.readMul);
    ini.WriteFloat(g, "WMUL", d.writeMul);
    ini.WriteFloat(g, "RITSCL", d.clarifierMul);
    ini.WriteFloat(g, "SMSCL", d.sMeterMul);
    ini.WriteString(g, "FILEINTERFACE", d.fileInterface);
    if (!d.daemon.empty())
        ini.WriteString(g, "DAEMON", d.daemon);
    for (std::size_t c = 0; c < RadioCommandCount; ++c) {
        const RadioCommandDef &command = d.commands[c];
        if (command.text.empty())
            continue;
        std::string section = commandSection(c);
        ini.WriteString(section, "CSTR", command.text);
        ini.WriteInteger(section, "LEN", command.length);
        ini.WriteString(section, "LOC", ResponseLocationNames[std::min<std::size_t>(command.location, 3)]);
    }
    for (std::size_t f = 0; f < RadioFieldCount; ++f) {
        const RadioFieldDef &field = d.fields[f];
        std::string section = fieldSection(f);
        ini.WriteString(section, "CMD", RadioCommandNames[std::min<std::size_t>(field.command, RadioCommandCount - 1)]);
        ini.WriteString(section, "FMT", FieldFormatNames[std::min<std::size_t>(field.format, FieldFormatCount - 1)]);
        ini.WriteInteger(section, "POS", field.position);
        ini.WriteInteger(section, "LM", field.lengthOrMask);
    }
    for (int m = 1; m < ModeCount; ++m)
        if (std::string value = FormatModeCodes(d.modes[static_cast<std::size_t>(m)]); !value.empty())
            ini.WriteString(Modes, ModeName(m), value);
}

std::optional<std::string> RadioFileName(std::string_view model)
{
    if (model.empty() || model.front() == '.' || model.front() == ' ')
        return std::nullopt;
    for (char c : model)
        if (c == '/' || c == '\\' || c == ':' || static_cast<unsigned char>(c) < ' ')
            return std::nullopt;
    return std::string(model) + ".rig";
}

TRadioDefinition NewRadioDefinition(std::uint16_t today)
{
    using C = RadioCommand;
    using F = RadioField;
    TRadioDefinition d;
    d.model = "New radio";
    d.date = today;
    d.notes = "Replace name for radio!";
    for (RadioCommandDef &command : d.commands)
        command.location = static_cast<std::uint8_t>(ResponseLocation::Other);
    for (C c : {C::ReadClarifier, C::ReadMode, C::ReadVfoA, C::ReadVfoAXtra, C::ReadVfoB})
        d.command(c).location = static_cast<std::uint8_t>(ResponseLocation::VfoAB);
    d.command(C::ReadStatus).location = static_cast<std::uint8_t>(ResponseLocation::Status);
    for (RadioFieldDef &field : d.fields) {
        field.command = static_cast<std::uint8_t>(C::ReadStatus);
        field.format = static_cast<std::uint8_t>(FieldFormat::Binary);
    }
    for (F f : {F::Clarifier, F::Mode, F::Rit, F::SplitMode, F::VfoA, F::VfoB, F::Xit})
        d.field(f).command = static_cast<std::uint8_t>(C::ReadVfoAXtra);
    for (F f : {F::CurrentVfo, F::Rit, F::SignClarifier, F::SplitMode, F::Xit})
        d.field(f).format = static_cast<std::uint8_t>(FieldFormat::Flag);
    d.field(F::Id).command = static_cast<std::uint8_t>(C::ReadId);
    d.field(F::SMeter).command = static_cast<std::uint8_t>(C::ReadSMeter);
    d.field(F::WriteMode).command = static_cast<std::uint8_t>(C::SetMode);
    d.field(F::WriteVfoA).command = static_cast<std::uint8_t>(C::SetVfoA);
    d.field(F::WriteVfoB).command = static_cast<std::uint8_t>(C::SetVfoB);
    return d;
}

} // namespace vellum
