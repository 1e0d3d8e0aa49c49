#pragma once
// A serial port as a byte channel, on QSerialPort. The modem lines are set on
// the device itself and keep the level last set until the port closes.

#include "bytechannel.h"
#include "serialsettings.h"

#include <QObject>
#include <QSerialPort>

#include <functional>
#include <memory>

namespace vellum {

class TSerialChannel : public QObject, public ByteChannel {
    Q_OBJECT
public:
    using LinesMaker = std::function<std::unique_ptr<ModemLines>(int fd)>;

    /// devicePath: the device of settings.comNumber (from the ports file) or one given outright.
    TSerialChannel(SerialSettings settings, std::string devicePath, QObject *parent = nullptr);
    ~TSerialChannel() override;

    /// How the modem lines are reached (a test records them; the default sets the device's lines).
    void SetLinesMaker(LinesMaker maker) { m_makeLines = std::move(maker); }
    const SerialSettings &Settings() const { return m_settings; }
    /// Only while closed.
    void SetSettings(const SerialSettings &settings);
    const std::string &DevicePath() const { return m_device; }

    /// DTR and RTS, before or after opening; false with LineError() when the device refused.
    bool SetDtr(bool on);
    bool SetRts(bool on);
    const std::string &LineError() const { return m_lineError; }
    /// The open device's file descriptor (-1 while closed): its lines for another user, such as the CW keyer.
    int NativeHandle() const { return IsOpen() ? static_cast<int>(m_port.handle()) : -1; }

    bool Open() override;
    void Close() override;
    bool IsOpen() const override { return m_port.isOpen(); }
    std::string LastError() const override { return m_error; }
    bool PutBlock(std::span<const std::uint8_t> bytes) override;
    std::size_t OutBuffFree() const override;
    std::optional<std::uint8_t> GetChar() override;
    std::size_t Available() const override { return static_cast<std::size_t>(m_port.bytesAvailable()); }
    bool WaitForData(int milliseconds) override;
    bool Flush(int milliseconds) override;

private:
    bool applyLine(ModemLines::Line line, bool on);
    void portError(QSerialPort::SerialPortError error);

    SerialSettings m_settings;
    std::string m_device;
    QSerialPort m_port;
    LinesMaker m_makeLines;
    std::unique_ptr<ModemLines> m_lines;
    std::string m_error;
    std::string m_lineError;
};

} // namespace vellum
