#include "Ftcpchannel.h"

#include <QDeadlineTimer>

#include <charconv>

namespace vellum {

namespace {
constexpr std::size_t OutputRoom = 65536;
}

TTcpChannel::TTcpChannel(std::string host, std::string port, bool telnet, QObject *parent)
    : QObject(parent), m_host(std::move(host)), m_port(port.empty() ? std::string("telnet") : std::move(port)),
      m_telnet(telnet)
{
    connect(&m_socket, &QTcpSocket::readyRead, this, &TTcpChannel::readSocket);
    connect(&m_socket, &QTcpSocket::connected, this, [this] {
        if (m_onConnected)
            m_onConnected();
    });
    connect(&m_socket, &QTcpSocket::disconnected, this, [this] {
        if (m_onClosed)
            m_onClosed();
    });
    connect(&m_socket, &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError error) {
        m_error = m_host + ":" + m_port + ": " + m_socket.errorString().toStdString();
        if (m_onError)
            m_onError(static_cast<int>(error));
        if (error == QAbstractSocket::RemoteHostClosedError || error == QAbstractSocket::NetworkError)
            broken(m_error);
    });
}

TTcpChannel::~TTcpChannel()
{
    disconnect(&m_socket, nullptr, this, nullptr);
    m_socket.abort();
}

int TTcpChannel::PortNumber(const std::string &port)
{
    if (port == "telnet")
        return 23;
    int number = 0;
    auto [end, error] = std::from_chars(port.data(), port.data() + port.size(), number);
    return error == std::errc() && end == port.data() + port.size() && number >= 1 && number <= 65535 ? number : 0;
}

bool TTcpChannel::startConnecting()
{
    m_error.clear();
    m_received.clear();
    m_filter = TelnetFilter();
    int port = PortNumber(m_port);
    if (port == 0 || m_host.empty()) {
        m_error = "Not a host and port: " + m_host + ":" + m_port;
        return false;
    }
    m_socket.abort();
    m_socket.connectToHost(QString::fromStdString(m_host), static_cast<quint16>(port));
    return true;
}

bool TTcpChannel::Open()
{
    if (!startConnecting())
        return false;
    if (m_socket.waitForConnected(m_connectTimeout))
        return true;
    if (m_error.empty())
        m_error = m_host + ":" + m_port + ": " + m_socket.errorString().toStdString();
    m_socket.abort();
    return false;
}

bool TTcpChannel::OpenAsync() { return startConnecting(); }

void TTcpChannel::Close()
{
    if (m_socket.state() != QAbstractSocket::UnconnectedState)
        m_socket.disconnectFromHost();
    if (m_socket.state() != QAbstractSocket::UnconnectedState)
        m_socket.abort();
}

void TTcpChannel::readSocket()
{
    QByteArray bytes = m_socket.readAll();
    std::span<const std::uint8_t> span(reinterpret_cast<const std::uint8_t *>(bytes.constData()),
                                       static_cast<std::size_t>(bytes.size()));
    std::size_t before = m_received.size();
    if (!m_telnet) {
        m_received.insert(m_received.end(), span.begin(), span.end());
    } else {
        TelnetFilter::Result result = m_filter.Feed(span);
        if (!result.reply.empty()) {
            // Answered at once, also while a caller waits without an event loop.
            m_socket.write(reinterpret_cast<const char *>(result.reply.data()), static_cast<qint64>(result.reply.size()));
            m_socket.flush();
        }
        m_received.insert(m_received.end(), result.data.begin(), result.data.end());
    }
    triggerAvail(m_received.size() - before);
}

bool TTcpChannel::PutBlock(std::span<const std::uint8_t> bytes)
{
    if (!IsOpen())
        return false;
    std::vector<std::uint8_t> escaped;
    if (m_telnet) {
        escaped = TelnetFilter::Escape(bytes);
        bytes = escaped;
    }
    return m_socket.write(reinterpret_cast<const char *>(bytes.data()), static_cast<qint64>(bytes.size())) ==
           static_cast<qint64>(bytes.size());
}

std::size_t TTcpChannel::OutBuffFree() const
{
    auto queued = static_cast<std::size_t>(m_socket.bytesToWrite());
    return queued >= OutputRoom ? 0 : OutputRoom - queued;
}

std::optional<std::uint8_t> TTcpChannel::GetChar()
{
    if (m_received.empty())
        return std::nullopt;
    std::uint8_t byte = m_received.front();
    m_received.pop_front();
    return byte;
}

bool TTcpChannel::WaitForData(int milliseconds)
{
    // No event loop runs here; telnet commands alone bring no data, so wait on.
    QDeadlineTimer deadline(milliseconds);
    while (m_received.empty() && IsOpen() && !deadline.hasExpired())
        m_socket.waitForReadyRead(static_cast<int>(deadline.remainingTime()));
    return !m_received.empty();
}

bool TTcpChannel::Flush(int milliseconds)
{
    while (IsOpen() && m_socket.bytesToWrite() > 0)
        if (!m_socket.waitForBytesWritten(milliseconds))
            return false;
    return IsOpen();
}

} // namespace vellum
