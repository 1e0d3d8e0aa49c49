#pragma once
// The running radio. RadioLink is what the poll loop, the QSO window, the
// frequency window, the scanner and the panorama use, whichever way the radio
// is reached; TRadio runs a radio definition over a serial link, a shared file
// or a directory of text files (the rig-control daemon is in rigdaemon.h).

#include "radiodefinition.h"
#include "radiotransport.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace vellum {

/// The radio's last known state.
struct RadioState {
    double rxKHz = 14175.0;
    double secondKHz = 0;
    int mode = 14; ///< SSB
    bool split = false;
};

/// The error codes of the last operation.
enum class RadioError : std::uint8_t {
    None = 0,
    NoDefinition = 1,      ///< the definition file was not found (at start)
    NoCommandString = 5,   ///< a read command without command string
    NoReplyLength = 6,     ///< a read command with LEN 0
    FieldUnavailable = 7,  ///< a field read that is not available
    DirectoryRead = 8,     ///< the directory transport's read timed out
    DirectoryWrite = 9,    ///< the directory transport's write timed out
    ValueDoesNotFit = 10,  ///< a value written does not fit its field
    DaemonRefused = 11,    ///< the rig-control daemon answered RPRT with an error
    TimedOut = 12,         ///< the radio did not answer (the radio is then disabled)
};
std::string RadioErrorText(int code);

/// The radio did not answer, or its link broke: the radio is disabled.
class ERadioException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// The operations every kind of running radio offers.
class RadioLink {
public:
    virtual ~RadioLink() = default;

    virtual std::string Model() const = 0;
    /// Readies the radio after its link opened; false on an error code.
    virtual bool Init() = 0;
    /// Reads frequencies, mode and split into Last(); false (the last state kept)
    /// when an error code was set. Throws ERadioException when the radio is gone.
    virtual bool ReadStatus() = 0;
    /// Tunes the radio: mode, split, transmit and receive frequency (kHz); false on an error code.
    virtual bool SetRadio(int mode, bool split, double txKHz, double rxKHz) = 0;
    virtual bool SetVfoA(double kHz) = 0;
    /// The S meter, 0 to 11.
    virtual int ReadSMeter() = 0;
    virtual bool CanSetMode(int mode) const = 0;
    virtual bool CanReadSMeter() const = 0;
    /// Whether a frequency lies outside the radio's range.
    virtual bool OutOfRange(double kHz) const = 0;

    const RadioState &Last() const { return m_last; }
    int ErrorCode() const { return static_cast<int>(m_error); }
    /// A transaction is running (timer-driven users defer themselves).
    virtual bool Busy() const = 0;

    /// "14,250KHz", "14,250/14,255KHz" when split; empty when the status read fails.
    std::string FrequencyText();

    /// Told after every successful read and every set: the last state changed.
    void OnValuesChanged(std::function<void()> handler) { m_valuesChanged = std::move(handler); }
    /// The test console: every step of the engine as a line.
    void SetConsole(std::function<void(const std::string &)> console) { m_console = std::move(console); }

protected:
    void log(const std::string &line) const
    {
        if (m_console)
            m_console(line);
    }
    void valuesChanged() const
    {
        if (m_valuesChanged)
            m_valuesChanged();
    }
    void setError(RadioError error) { m_error = error; }
    RadioState m_last;
    std::function<void(const std::string &)> m_console;

private:
    RadioError m_error = RadioError::None;
    std::function<void()> m_valuesChanged;
};

/// The frequency text of a state: "%.0n" of the kHz with thousands separators.
std::string RadioFrequencyText(const RadioState &state);

/// What the configuration gives a definition-driven radio.
struct RadioSettings {
    std::uint8_t radioId = 0;
    int maxTries = 1;
    int comPort = 1; ///< its digit replaces "#" in a shared file's name
    RadioTiming timing;
};

/// A radio run from its definition.
class TRadio : public RadioLink {
public:
    /// Over a serial link (the channel open).
    TRadio(const TRadioDefinition &definition, const RadioSettings &settings, std::unique_ptr<ByteChannel> channel);
    /// Over the file transport FILEINTERFACE names; throws ERadioException when it is missing.
    TRadio(const TRadioDefinition &definition, const RadioSettings &settings);
    ~TRadio() override;

    std::string Model() const override { return m_def.model; }
    bool ReadStatus() override;
    bool SetRadio(int mode, bool split, double txKHz, double rxKHz) override;
    bool SetVfoA(double kHz) override;
    int ReadSMeter() override;
    bool CanSetMode(int mode) const override;
    bool CanReadSMeter() const override { return hasCommand(RadioCommand::ReadSMeter); }
    bool OutOfRange(double kHz) const override { return kHz < m_def.lowKHz || kHz > m_def.highKHz; }
    bool Busy() const override;

    /// Runs "Init" when it has a command string; false on an error code.
    bool Init() override;
    /// The definition replaced (the editor's test commands); positions converted again.
    void SetDefinition(const TRadioDefinition &definition);
    /// Bytes the link received that did not fit its buffer.
    std::uint64_t DroppedBytes() const;
    /// The mode a code the radio reported stands for (SSB when none matches).
    int ModeOfCode(std::int64_t code) const;
    /// The write code for a mode at a frequency (SSB's first below 10 MHz, second above).
    std::uint8_t WriteCodeFor(int mode, double kHz) const;

private:
    struct Location {
        bool valid = false;
        std::uint8_t command = 0;
        std::vector<std::uint8_t> bytes;
    };
    enum class Transport { Serial, SharedFile, Directory };

    bool hasCommand(RadioCommand command) const { return !m_def.command(command).text.empty(); }
    bool available(RadioField field) const;
    Location &locationOf(RadioCommand command);
    void invalidateAll();
    std::vector<std::uint8_t> transaction(std::vector<std::uint8_t> command, std::size_t count);
    std::vector<std::uint8_t> assemble(std::vector<std::uint8_t> command) const;
    void loadLocation(RadioField field);
    void readCommand(RadioCommand command);
    std::int64_t readInteger(RadioField field);
    bool readFlag(RadioField field);
    void writeField(RadioField field, std::int64_t value, bool send = true);
    void sendOther(RadioCommand command);
    void execute(RadioCommand command);
    void writeModeAndVfo(int mode, bool vfoB, double kHz, bool send = true);
    bool currentVfoIsB();
    bool readDirectoryStatus();
    void finishStatus(double rxHz, double txHz, double otherHz, int mode, bool split, bool rit, bool xit);

    TRadioDefinition m_def; ///< positions count from 1
    RadioSettings m_settings;
    Transport m_transport = Transport::Serial;
    std::unique_ptr<SerialRadioPort> m_serial;
    std::unique_ptr<SharedRadioFile> m_file;
    std::unique_ptr<RadioDirectory> m_directory;
    std::array<Location, ResponseLocationCount> m_locations;
};

} // namespace vellum
