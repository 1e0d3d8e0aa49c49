#include "Fserialchannel.h"

namespace vellum {

TSerialChannel::TSerialChannel(SerialSettings settings, std::string devicePath, QObject *parent)
    : QObject(parent), m_settings(settings), m_device(std::move(devicePath))
{
    m_makeLines = [](int fd) { return std::make_unique<DeviceModemLines>(fd); };
    connect(&m_port, &QSerialPort::readyRead, this, [this] { triggerAvail(Available()); });
    connect(&m_port, &QSerialPort::errorOccurred, this, &TSerialChannel::portError);
}

TSerialChannel::~TSerialChannel()
{
    disconnect(&m_port, nullptr, this, nullptr);
    Close();
}

void TSerialChannel::SetSettings(const SerialSettings &settings)
{
    if (!IsOpen())
        m_settings = settings;
}

bool TSerialChannel::Open()
{
    if (IsOpen())
        return true;
    m_error.clear();
    m_port.setPortName(QString::fromStdString(m_device));
    m_port.setBaudRate(m_settings.baud);
    m_port.setDataBits(m_settings.dataBits == 7 ? QSerialPort::Data7 : QSerialPort::Data8);
    m_port.setParity(m_settings.parity == Parity::Even ? QSerialPort::EvenParity : QSerialPort::NoParity);
    m_port.setStopBits(m_settings.stopBits == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop);
    m_port.setFlowControl(m_settings.flow == FlowControl::XonXoff  ? QSerialPort::SoftwareControl
                          : m_settings.flow == FlowControl::RtsCts ? QSerialPort::HardwareControl
                                                                   : QSerialPort::NoFlowControl);
    m_port.setReadBufferSize(static_cast<qint64>(m_settings.inSize));
    if (!m_port.open(QIODevice::ReadWrite)) {
        m_error = "COM" + std::to_string(m_settings.comNumber) + " (" + m_device + "): " +
                  m_port.errorString().toStdString();
        return false;
    }
    m_lines = m_makeLines(static_cast<int>(m_port.handle()));
    // The levels set while closed go to the device now; a device without the
    // lines (a pseudo-terminal) still carries bytes: the failure is kept in LineError.
    applyLine(ModemLines::Line::Dtr, m_settings.dtr);
    applyLine(ModemLines::Line::Rts, m_settings.rts);
    return true;
}

void TSerialChannel::Close()
{
    m_lines.reset();
    if (m_port.isOpen())
        m_port.close();
}

bool TSerialChannel::applyLine(ModemLines::Line line, bool on)
{
    if (!m_lines)
        return true;
    std::string error;
    if (m_lines->Set(line, on, error))
        return true;
    m_lineError = error;
    return false;
}

bool TSerialChannel::SetDtr(bool on)
{
    m_settings.dtr = on;
    return applyLine(ModemLines::Line::Dtr, on);
}

bool TSerialChannel::SetRts(bool on)
{
    m_settings.rts = on;
    return applyLine(ModemLines::Line::Rts, on);
}

bool TSerialChannel::PutBlock(std::span<const std::uint8_t> bytes)
{
    if (!IsOpen())
        return false;
    qint64 written = m_port.write(reinterpret_cast<const char *>(bytes.data()), static_cast<qint64>(bytes.size()));
    return written == static_cast<qint64>(bytes.size());
}

std::size_t TSerialChannel::OutBuffFree() const
{
    auto queued = static_cast<std::size_t>(m_port.bytesToWrite());
    return queued >= m_settings.outSize ? 0 : m_settings.outSize - queued;
}

std::optional<std::uint8_t> TSerialChannel::GetChar()
{
    char byte = 0;
    if (!IsOpen() || !m_port.getChar(&byte))
        return std::nullopt;
    return static_cast<std::uint8_t>(byte);
}

bool TSerialChannel::WaitForData(int milliseconds)
{
    // No event loop runs here: only this port's data is delivered meanwhile.
    return IsOpen() && (m_port.bytesAvailable() > 0 || m_port.waitForReadyRead(milliseconds));
}

bool TSerialChannel::Flush(int milliseconds)
{
    while (IsOpen() && m_port.bytesToWrite() > 0)
        if (!m_port.waitForBytesWritten(milliseconds))
            return false;
    return IsOpen();
}

void TSerialChannel::portError(QSerialPort::SerialPortError error)
{
    if (error == QSerialPort::NoError || error == QSerialPort::TimeoutError || !m_port.isOpen())
        return;
    m_error = "COM" + std::to_string(m_settings.comNumber) + " (" + m_device + "): " + m_port.errorString().toStdString();
    if (error == QSerialPort::ResourceError || error == QSerialPort::PermissionError) {
        Close(); // the device is gone: nothing more is read or written
        broken(m_error);
    }
}

} // namespace vellum
