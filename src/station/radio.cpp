#include "radio.h"

#include "radiofields.h"

#include "logstore/qsotables.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>

namespace vellum {

namespace {

constexpr int Ssb = 14;

std::string yesNo(bool value) { return value ? "Y" : "N"; }

/// A scaled value rounded to whole units; nothing when it is not a finite 64-bit number.
std::optional<std::int64_t> scaled(double value)
{
    if (!std::isfinite(value) || std::fabs(value) > 9.0e18)
        return std::nullopt;
    return std::llround(value);
}

std::string groupThousands(double kHz)
{
    std::string digits = std::to_string(std::llround(std::fabs(kHz)));
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(static_cast<std::size_t>(at), ",");
    return (kHz < -0.5 ? "-" : "") + digits;
}

bool plainName(const std::string &name)
{
    return RadioFileName(name).has_value();
}

} // namespace

std::string RadioErrorText(int code)
{
    switch (static_cast<RadioError>(code)) {
    case RadioError::None: return "";
    case RadioError::NoDefinition: return "The radio definition file was not found";
    case RadioError::NoCommandString: return "A read command has no command string";
    case RadioError::NoReplyLength: return "A read command has no reply length";
    case RadioError::FieldUnavailable: return "A field was read that the definition does not have";
    case RadioError::DirectoryRead: return "The radio's data file could not be read";
    case RadioError::DirectoryWrite: return "The radio's data file could not be written";
    case RadioError::ValueDoesNotFit: return "A value does not fit its field";
    case RadioError::DaemonRefused: return "The rig-control daemon refused a command";
    case RadioError::TimedOut: return "Radio timed out";
    }
    return "Radio error " + std::to_string(code);
}

std::string RadioFrequencyText(const RadioState &state)
{
    std::string text = groupThousands(state.rxKHz);
    if (state.split)
        text += "/" + groupThousands(state.secondKHz);
    return text + "KHz";
}

std::string RadioLink::FrequencyText() { return ReadStatus() ? RadioFrequencyText(m_last) : std::string(); }

// --- the definition-driven radio --------------------------------------------------------

TRadio::TRadio(const TRadioDefinition &definition, const RadioSettings &settings, std::unique_ptr<ByteChannel> channel)
    : m_settings(settings), m_serial(std::make_unique<SerialRadioPort>(std::move(channel)))
{
    SetDefinition(definition);
}

TRadio::TRadio(const TRadioDefinition &definition, const RadioSettings &settings) : m_settings(settings)
{
    SetDefinition(definition);
    std::string name = m_def.fileInterface;
    if (m_def.format == CommandFormat::Hex) {
        m_transport = Transport::SharedFile;
        if (std::size_t hash = name.find('#'); hash != std::string::npos)
            name[hash] = static_cast<char>('0' + std::clamp(settings.comPort, 0, 9));
        m_file = SharedRadioFile::Open(name);
        if (!m_file)
            throw ERadioException("Radio handshake file not found:\r" + name);
        return;
    }
    m_transport = Transport::Directory;
    std::error_code error;
    if (!std::filesystem::is_directory(name, error))
        throw ERadioException("Radio data directory not found:\r" + name);
    const std::string &writeName = m_def.command(RadioCommand::FileWrite).text;
    const std::string &readName = m_def.command(RadioCommand::FileRead).text;
    if (!plainName(writeName) || !plainName(readName))
        throw ERadioException("Radio data file names must be plain names in:\r" + name);
    m_directory = std::make_unique<RadioDirectory>(name, writeName, readName);
}

TRadio::~TRadio() = default;

void TRadio::SetDefinition(const TRadioDefinition &definition)
{
    m_def = definition;
    if (!m_def.oneBased)
        for (RadioFieldDef &field : m_def.fields)
            field.position = static_cast<std::uint8_t>(std::min(field.position + 1, 255));
    invalidateAll();
}

bool TRadio::Busy() const
{
    return (m_serial && m_serial->Busy()) || (m_file && m_file->Busy());
}

std::uint64_t TRadio::DroppedBytes() const { return m_serial ? m_serial->Received().Dropped() : 0; }

bool TRadio::Init()
{
    setError(RadioError::None);
    execute(RadioCommand::Init);
    return ErrorCode() == 0;
}

// --- transactions --------------------------------------------------------------------------

std::vector<std::uint8_t> TRadio::assemble(std::vector<std::uint8_t> command) const
{
    std::vector<std::uint8_t> bytes = DecodeCommandString(m_def.preamble, CommandFormat::Hex);
    bytes.insert(bytes.end(), command.begin(), command.end());
    const RadioFieldDef &id = m_def.field(RadioField::WriteId);
    if (id.lengthOrMask != 0 && id.position >= 1 && id.position <= bytes.size())
        bytes[id.position - 1u] = m_settings.radioId;
    if (m_def.reverseOrder)
        std::reverse(bytes.begin(), bytes.end());
    return bytes;
}

std::vector<std::uint8_t> TRadio::transaction(std::vector<std::uint8_t> command, std::size_t count)
{
    std::vector<std::uint8_t> sent = assemble(std::move(command));
    std::size_t echo = m_def.confirmLength != 0 ? sent.size() : 0;
    std::vector<std::uint8_t> reply;
    if (m_transport == Transport::SharedFile) {
        const RadioCommandDef &fileRead = m_def.command(RadioCommand::FileRead);
        std::size_t length = DecodeCommandString(fileRead.text, CommandFormat::Hex).size();
        std::optional<std::vector<std::uint8_t>> block = m_file->Read(fileRead.length, length, m_settings.timing, m_console);
        if (!block)
            throw ERadioException("Radio timed out");
        reply = std::move(*block);
        echo = 0;
    } else {
        SerialExchange exchange = m_serial->Exchange(sent, count + echo, m_settings.maxTries, m_settings.timing);
        if (!exchange.garbage.empty())
            log("Garbage skipped: " + ConsoleBytes(exchange.garbage, m_def.format));
        log("Send: " + ConsoleBytes(sent, m_def.format));
        if (!exchange.complete)
            throw ERadioException("Radio timed out");
        reply = std::move(exchange.reply);
    }
    if (echo > 0) {
        log("Echo: " + ConsoleBytes(std::span(reply).first(echo), m_def.format));
        reply.erase(reply.begin(), reply.begin() + static_cast<std::ptrdiff_t>(echo));
    }
    log("Received: " + ConsoleBytes(reply, m_def.format));
    return reply;
}

// --- response locations and fields ------------------------------------------------------

TRadio::Location &TRadio::locationOf(RadioCommand command)
{
    return m_locations[std::min<std::size_t>(m_def.command(command).location, ResponseLocationCount - 1)];
}

void TRadio::invalidateAll()
{
    for (Location &location : m_locations)
        location.valid = false;
}

bool TRadio::available(RadioField field) const
{
    const RadioFieldDef &f = m_def.field(field);
    return f.lengthOrMask != 0 && hasCommand(static_cast<RadioCommand>(f.command));
}

void TRadio::readCommand(RadioCommand command)
{
    const RadioCommandDef &def = m_def.command(command);
    log(std::string("Cmd: ") + RadioCommandNames[static_cast<std::size_t>(command)]);
    RadioError error = def.text.empty() ? RadioError::NoCommandString
                       : def.length == 0 ? RadioError::NoReplyLength
                                         : RadioError::None;
    if (error != RadioError::None) {
        if (ErrorCode() == 0)
            log("*** Read error " + std::to_string(static_cast<int>(error)));
        setError(error);
        return;
    }
    std::vector<std::uint8_t> reply = transaction(DecodeCommandString(def.text, m_def.format), def.length);
    if (reply.empty())
        return;
    reply.resize(std::min(reply.size(), RadioBlockSize));
    Location &location = locationOf(command);
    location = {true, static_cast<std::uint8_t>(command), std::move(reply)};
}

void TRadio::loadLocation(RadioField field)
{
    auto command = static_cast<RadioCommand>(m_def.field(field).command);
    Location &location = locationOf(command);
    if (location.valid && location.command != static_cast<std::uint8_t>(command))
        location.valid = false;
    log(std::string("Load Field: ") + RadioFieldNames[static_cast<std::size_t>(field)] + "; L=" +
        ResponseLocationNames[std::min<std::size_t>(m_def.command(command).location, 3)] + " D=" + yesNo(location.valid));
    if (!location.valid)
        readCommand(command);
}

std::int64_t TRadio::readInteger(RadioField field)
{
    const std::string name = RadioFieldNames[static_cast<std::size_t>(field)];
    if (!available(field)) {
        setError(RadioError::FieldUnavailable);
        log("Field " + name + " not loaded");
        return 0;
    }
    loadLocation(field);
    const RadioFieldDef &def = m_def.field(field);
    auto format = static_cast<FieldFormat>(def.format);
    if (format == FieldFormat::Flag) {
        log(std::string("***Error Read format ") + FieldFormatNames[def.format]);
        return 0;
    }
    const std::vector<std::uint8_t> &reply = locationOf(static_cast<RadioCommand>(def.command)).bytes;
    std::size_t start = std::min<std::size_t>(def.position - 1u, reply.size());
    std::size_t length = std::min<std::size_t>(format == FieldFormat::ByteM ? 1 : def.lengthOrMask, reply.size() - start);
    std::int64_t value = DecodeFieldValue(format, std::span(reply).subspan(start, length), def.lengthOrMask);
    double scale = field == RadioField::Clarifier ? m_def.clarifierMul
                   : field == RadioField::CurrentVfo || field == RadioField::VfoA || field == RadioField::VfoB
                       ? m_def.readMul
                   : field == RadioField::SMeter ? m_def.sMeterMul
                                                 : 1.0;
    value = scaled(static_cast<double>(value) * scale).value_or(0);
    log("Integer Read: " + name + "; V=" + std::to_string(value));
    return value;
}

bool TRadio::readFlag(RadioField field)
{
    const RadioFieldDef &def = m_def.field(field);
    bool value = false;
    if (static_cast<FieldFormat>(def.format) == FieldFormat::Flag) {
        if (def.lengthOrMask != 0 && available(field)) {
            loadLocation(field);
            const std::vector<std::uint8_t> &reply = locationOf(static_cast<RadioCommand>(def.command)).bytes;
            value = def.position <= reply.size() && (reply[def.position - 1u] & def.lengthOrMask) != 0;
        }
    } else {
        value = hasCommand(static_cast<RadioCommand>(def.command)) && readInteger(field) != 0;
    }
    log(std::string("Flag Read: ") + RadioFieldNames[static_cast<std::size_t>(field)] + "; F=" +
        FieldFormatNames[std::min<std::size_t>(def.format, FieldFormatCount - 1)] + " V=" + yesNo(value));
    return value;
}

void TRadio::writeField(RadioField field, std::int64_t value, bool send)
{
    const RadioFieldDef &def = m_def.field(field);
    if (!available(field))
        return;
    auto format = static_cast<FieldFormat>(def.format);
    const std::string name = RadioFieldNames[static_cast<std::size_t>(field)];
    if (field == RadioField::WriteVfoA || field == RadioField::WriteVfoB) {
        std::optional<std::int64_t> written = scaled(static_cast<double>(value) * m_def.writeMul);
        value = written.value_or(-1);
    }
    if (format == FieldFormat::Flag) {
        log(std::string("***Error Write format ") + FieldFormatNames[def.format]);
        return;
    }
    std::optional<std::vector<std::uint8_t>> bytes = EncodeFieldValue(format, value, def.lengthOrMask);
    if (!bytes) {
        log("***Value " + std::to_string(value) + " does not fit " + name);
        setError(RadioError::ValueDoesNotFit);
        return;
    }
    auto command = static_cast<RadioCommand>(def.command);
    std::vector<std::uint8_t> &other = m_locations[static_cast<std::size_t>(ResponseLocation::Other)].bytes;
    if (m_transport == Transport::Serial)
        other = DecodeCommandString(m_def.command(command).text, m_def.format);
    std::size_t start = def.position - 1u;
    if (def.position == 0 || start + bytes->size() > RadioBlockSize) {
        setError(RadioError::ValueDoesNotFit);
        return;
    }
    if (other.size() < start + bytes->size())
        other.resize(std::min(start + bytes->size(), RadioBlockSize));
    if (format == FieldFormat::ByteM)
        other[start] = static_cast<std::uint8_t>(other[start] + bytes->front());
    else
        std::copy_n(bytes->begin(), std::min(bytes->size(), other.size() - start), other.begin() + static_cast<std::ptrdiff_t>(start));
    if (send && m_transport == Transport::Serial)
        sendOther(command);
}

void TRadio::sendOther(RadioCommand command)
{
    const RadioCommandDef &def = m_def.command(command);
    log(std::string("Cmd: ") + RadioCommandNames[static_cast<std::size_t>(command)]);
    if (def.text.empty())
        log("**Write error 1");
    else if (def.length != 0)
        log("**Write error 2");
    if (!def.text.empty())
        transaction(m_locations[static_cast<std::size_t>(ResponseLocation::Other)].bytes, m_def.confirmLength);
    using C = RadioCommand;
    if (command == C::SelectVfoA || command == C::SelectVfoB || command == C::SetMode || command == C::SetVfoA ||
        command == C::SetVfoB || command == C::VfoAToB)
        invalidateAll();
}

void TRadio::execute(RadioCommand command)
{
    if (!hasCommand(command) || m_transport != Transport::Serial)
        return;
    m_locations[static_cast<std::size_t>(ResponseLocation::Other)].bytes =
        DecodeCommandString(m_def.command(command).text, m_def.format);
    sendOther(command);
}

// --- modes --------------------------------------------------------------------------------

int TRadio::ModeOfCode(std::int64_t code) const
{
    for (int m = 1; m < ModeCount; ++m) {
        const ModeCodes &codes = m_def.modes[static_cast<std::size_t>(m)];
        for (std::uint8_t read : {codes.read1, codes.read2})
            if (read != NoModeCode && code == read)
                return m;
    }
    return Ssb;
}

std::uint8_t TRadio::WriteCodeFor(int mode, double kHz) const
{
    mode = RadioModeOf(mode); // FT8 and the other extended modes are run in a classic radio mode
    auto codesOf = [this](int m) -> const ModeCodes & { return m_def.modes[static_cast<std::size_t>(std::clamp(m, 0, ModeCount - 1))]; };
    if (mode != Ssb) {
        const ModeCodes &codes = codesOf(mode);
        std::uint8_t code = codes.preferSecond && codes.write2 != NoModeCode ? codes.write2 : codes.write1;
        if (code != NoModeCode)
            return code;
    }
    const ModeCodes &ssb = codesOf(Ssb);
    return kHz > 10000 && ssb.write2 != NoModeCode ? ssb.write2 : ssb.write1;
}

bool TRadio::CanSetMode(int mode) const
{
    mode = RadioModeOf(mode);
    if (mode < 1 || mode >= ModeCount)
        return false;
    const ModeCodes &codes = m_def.modes[static_cast<std::size_t>(mode)];
    return codes.write1 != NoModeCode || (mode != Ssb && codes.preferSecond && codes.write2 != NoModeCode);
}

// --- status -------------------------------------------------------------------------------

bool TRadio::currentVfoIsB()
{
    if (available(RadioField::CurrentVfoIsA))
        return !readFlag(RadioField::CurrentVfoIsA);
    return available(RadioField::CurrentVfoIsB) && readFlag(RadioField::CurrentVfoIsB);
}

bool TRadio::readDirectoryStatus()
{
    std::optional<DirectoryStatus> status = m_directory->Read(m_settings.timing);
    log("Reading from file: " + m_directory->ReadPath());
    if (!status) {
        setError(RadioError::DirectoryRead);
        return false;
    }
    finishStatus(status->rxKHz * 1000, status->txKHz * 1000, status->txKHz * 1000, status->mode, m_last.split, false, false);
    return ErrorCode() == 0;
}

bool TRadio::ReadStatus()
{
    setError(RadioError::None);
    if (m_transport == Transport::Directory)
        return readDirectoryStatus();
    using F = RadioField;
    invalidateAll();
    bool vfoB = currentVfoIsB();
    std::int64_t modeValue = available(F::Mode) ? readInteger(F::Mode) : -1;
    std::int64_t rx = available(F::CurrentVfo)          ? readInteger(F::CurrentVfo)
                      : vfoB && available(F::VfoB) ? readInteger(F::VfoB)
                                                   : readInteger(F::VfoA);
    std::int64_t other = rx;
    if (vfoB && available(F::VfoA))
        other = readInteger(F::VfoA);
    else if (!vfoB && available(F::VfoB))
        other = readInteger(F::VfoB);
    int mode = modeValue < 0 ? m_last.mode : ModeOfCode(modeValue);
    std::int64_t clarifier = available(F::Clarifier) ? readInteger(F::Clarifier) : 0;
    if (clarifier != 0 && available(F::SignClarifier) && readFlag(F::SignClarifier))
        clarifier = -clarifier;
    bool rit = available(F::Rit) && readFlag(F::Rit);
    bool xit = available(F::Xit) && readFlag(F::Xit);
    bool split = available(F::SplitMode) ? readFlag(F::SplitMode) : m_last.split;
    char clarifierText[48];
    std::snprintf(clarifierText, sizeof clarifierText, "Clarifier = %.3f kHz", static_cast<double>(clarifier) / 1000.0);
    log(clarifierText);
    double rxHz = static_cast<double>(rx), otherHz = static_cast<double>(other), txHz = otherHz;
    if (split) {
        rxHz += rit ? static_cast<double>(clarifier) : 0;
        txHz += xit ? static_cast<double>(clarifier) : 0;
    } else {
        txHz = rxHz + (xit ? static_cast<double>(clarifier) : 0);
        rxHz += rit ? static_cast<double>(clarifier) : 0;
    }
    finishStatus(rxHz, txHz, otherHz, mode, split, rit, xit);
    return ErrorCode() == 0;
}

void TRadio::finishStatus(double rxHz, double txHz, double otherHz, int mode, bool split, bool rit, bool xit)
{
    bool apart = std::fabs(rxHz - txHz) >= 1000;
    if (split && !apart)
        split = false;
    else if (!split && (rit || xit) && apart)
        split = true;
    RadioState state{rxHz / 1000.0, (split ? txHz : otherHz) / 1000.0, mode, split};
    char line[160];
    std::snprintf(line, sizeof line, "RIT = %s XIT = %s Split = %s Mode = %s Freq = %.3f QSX = %.3f", yesNo(rit).c_str(),
                  yesNo(xit).c_str(), yesNo(split).c_str(), ModeName(mode).c_str(), state.rxKHz, state.secondKHz);
    log(line);
    if (ErrorCode() != 0)
        return;
    m_last = state;
    valuesChanged();
}

// --- setting the radio -------------------------------------------------------------------

void TRadio::writeModeAndVfo(int mode, bool vfoB, double kHz, bool send)
{
    std::uint8_t code = WriteCodeFor(mode, kHz);
    if (code != NoModeCode)
        writeField(RadioField::WriteMode, code, send);
    RadioField vfo = vfoB ? RadioField::WriteVfoB : RadioField::WriteVfoA;
    if (available(vfo))
        writeField(vfo, scaled(kHz * 1000.0).value_or(-1), send);
}

bool TRadio::SetRadio(int mode, bool split, double txKHz, double rxKHz)
{
    m_last = {rxKHz, txKHz, mode, split};
    if (!split && !hasCommand(RadioCommand::SetSplitOff)) {
        split = true;
        txKHz = rxKHz;
    }
    setError(RadioError::None);
    invalidateAll();
    using C = RadioCommand;
    if (m_transport == Transport::Directory) {
        if (!m_directory->Write({rxKHz, split ? txKHz : rxKHz, mode}, split, m_settings.timing))
            setError(RadioError::DirectoryWrite);
    } else if (m_transport == Transport::SharedFile) {
        const RadioCommandDef &fileWrite = m_def.command(C::FileWrite);
        std::vector<std::uint8_t> &other = m_locations[static_cast<std::size_t>(ResponseLocation::Other)].bytes;
        other = DecodeCommandString(fileWrite.text, CommandFormat::Hex);
        writeModeAndVfo(mode, false, rxKHz, false);
        writeModeAndVfo(mode, true, split ? txKHz : rxKHz, false);
        if (ErrorCode() == 0 && !m_file->Write(fileWrite.length, other, m_settings.timing, m_console))
            throw ERadioException("Radio timed out");
    } else {
        execute(C::ClearClarifier);
        bool aToB = hasCommand(C::VfoAToB);
        bool vfoB = !aToB && currentVfoIsB();
        if (split && aToB) {
            execute(C::SelectVfoA);
            writeModeAndVfo(mode, false, txKHz);
            execute(C::VfoAToB);
            writeModeAndVfo(mode, false, rxKHz);
        } else if (split && vfoB) {
            writeModeAndVfo(mode, true, txKHz);
            execute(C::SelectVfoA);
            writeModeAndVfo(mode, false, rxKHz);
        } else if (split) {
            writeModeAndVfo(mode, false, rxKHz);
            execute(C::SelectVfoB);
            writeModeAndVfo(mode, true, txKHz);
            execute(C::SelectVfoA);
        }
        if (split) {
            execute(C::SetSplitOn);
        } else {
            execute(C::SetSplitOff);
            writeModeAndVfo(mode, vfoB, rxKHz);
        }
    }
    valuesChanged();
    return ErrorCode() == 0;
}

bool TRadio::SetVfoA(double kHz)
{
    m_last.rxKHz = kHz;
    setError(RadioError::None);
    writeField(RadioField::WriteVfoA, scaled(kHz * 1000.0).value_or(-1));
    valuesChanged();
    return ErrorCode() == 0;
}

int TRadio::ReadSMeter()
{
    setError(RadioError::None);
    invalidateAll();
    return static_cast<int>(std::clamp<std::int64_t>(readInteger(RadioField::SMeter), 0, 11));
}

} // namespace vellum
