#pragma once
// The lines that key the transmitter: a modem line (DTR or RTS) of a serial
// port, or the control register of a parallel port (key in bit 0, PTT in bit 2),
// and KeyPort, the one owner of the line in use, shared by the keyer thread and
// the user-interface thread behind one mutex.

#include "bytechannel.h"
#include "morsecode.h"

#include <memory>
#include <mutex>
#include <string>

namespace vellum {

/// One keying output. Written by whoever holds the KeyPort's lock.
class KeyLine {
public:
    virtual ~KeyLine() = default;
    /// Sets the key and PTT outputs; false with a readable message when the hardware refused.
    virtual bool Write(bool keyDown, bool ptt, std::string &error) = 0;
    /// A line with a PTT output of its own (a parallel port) waits the PTT delay before keying.
    virtual bool HasPtt() const { return false; }
};

/// DTR or RTS of a serial port keys; the lines may belong to the radio's open port.
class ModemKeyLine : public KeyLine {
public:
    ModemKeyLine(std::shared_ptr<ModemLines> lines, ModemLines::Line line) : m_lines(std::move(lines)), m_line(line) {}
    bool Write(bool keyDown, bool ptt, std::string &error) override;

private:
    std::shared_ptr<ModemLines> m_lines;
    ModemLines::Line m_line;
};

/// A serial device opened only for its modem lines (no bytes are read or written).
class SerialDeviceLines : public ModemLines {
public:
    /// Null with a readable message when the device cannot be opened.
    static std::unique_ptr<SerialDeviceLines> Open(const std::string &device, std::string &error);
    ~SerialDeviceLines() override;
    SerialDeviceLines(const SerialDeviceLines &) = delete;
    SerialDeviceLines &operator=(const SerialDeviceLines &) = delete;
    bool Set(Line line, bool on, std::string &error) override { return m_lines.Set(line, on, error); }

private:
    explicit SerialDeviceLines(int fd) : m_fd(fd), m_lines(fd) {}
    int m_fd;
    DeviceModemLines m_lines;
};

/// The control register of a parallel port through Linux ppdev (/dev/parportN).
class ParallelKeyLine : public KeyLine {
public:
    /// Null when the port cannot be opened and claimed.
    static std::unique_ptr<ParallelKeyLine> Open(const std::string &device);
    ~ParallelKeyLine() override;
    ParallelKeyLine(const ParallelKeyLine &) = delete;
    ParallelKeyLine &operator=(const ParallelKeyLine &) = delete;
    bool Write(bool keyDown, bool ptt, std::string &error) override;
    bool HasPtt() const override { return true; }

private:
    explicit ParallelKeyLine(int fd) : m_fd(fd) {}
    int m_fd;
};

/// The key line in use. Every write and every exchange of the line happens under one
/// mutex, so a line handed back (its port about to close) is never touched again.
class KeyPort {
public:
    KeyPort() = default;
    ~KeyPort();
    KeyPort(const KeyPort &) = delete;
    KeyPort &operator=(const KeyPort &) = delete;

    /// Puts a new line in use (null: none): the old one is released (key up, PTT off)
    /// before it goes, the new one starts released.
    void Replace(std::unique_ptr<KeyLine> line);
    /// Releases the line and gives it up (for its owner to close).
    std::unique_ptr<KeyLine> Take();
    bool HasLine() const;
    bool HasPtt() const;

    void SetKey(bool down);
    void SetPtt(bool on);
    bool PttRaised() const;
    /// The first write failure since the last call (empty: none); reported once.
    std::string TakeError();

private:
    void write();
    mutable std::mutex m_mutex;
    std::unique_ptr<KeyLine> m_line;
    bool m_key = false;
    bool m_ptt = false;
    std::string m_error;
};

/// The ppdev device of LPT1..LPT3 (1..3).
std::string ParallelPortDevice(int lptNumber);

/// Opens the key line the settings choose: none for "None"; a parallel port for LPT1..3
/// (the error "Could not open CW driver" when it cannot be had); DTR or RTS of the
/// radio's open port when radioLines is given, else of comDevice opened for its lines.
/// Null with error set when the line cannot be opened; null with no error for "None".
std::unique_ptr<KeyLine> OpenKeyLine(const KeyerSettings &settings, std::shared_ptr<ModemLines> radioLines,
                                     const std::string &comDevice, std::string &error);

} // namespace vellum
