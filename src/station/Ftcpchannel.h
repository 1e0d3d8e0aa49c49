#pragma once
// The TCP client as a byte channel, on QTcpSocket, with the program's telnet
// layer in front of the caller when the peer is a telnet service.

#include "bytechannel.h"
#include "telnetfilter.h"

#include <QObject>
#include <QTcpSocket>

#include <deque>
#include <functional>
#include <string>

namespace vellum {

class TTcpChannel : public QObject, public ByteChannel {
    Q_OBJECT
public:
    /// port: a number or the service name "telnet" (23). telnet: the stream carries telnet commands.
    TTcpChannel(std::string host, std::string port, bool telnet, QObject *parent = nullptr);
    ~TTcpChannel() override;

    /// The port a text names: a number 1..65535 or "telnet"; 0 for anything else.
    static int PortNumber(const std::string &port);
    /// How long Open waits for the connection.
    void SetConnectTimeout(int milliseconds) { m_connectTimeout = milliseconds; }

    /// Connection established, closed by the peer, and socket errors by their number.
    void OnConnected(std::function<void()> handler) { m_onConnected = std::move(handler); }
    void OnClosed(std::function<void()> handler) { m_onClosed = std::move(handler); }
    void OnSocketError(std::function<void(int)> handler) { m_onError = std::move(handler); }

    /// Connects and waits for the connection (no event loop runs meanwhile).
    bool Open() override;
    /// Starts connecting and returns at once; OnConnected or OnSocketError follows.
    bool OpenAsync();
    void Close() override;
    bool IsOpen() const override { return m_socket.state() == QAbstractSocket::ConnectedState; }
    std::string LastError() const override { return m_error; }
    bool PutBlock(std::span<const std::uint8_t> bytes) override;
    std::size_t OutBuffFree() const override;
    std::optional<std::uint8_t> GetChar() override;
    std::size_t Available() const override { return m_received.size(); }
    bool WaitForData(int milliseconds) override;
    bool Flush(int milliseconds) override;

private:
    void readSocket();
    bool startConnecting();

    std::string m_host;
    std::string m_port;
    bool m_telnet;
    int m_connectTimeout = 5000;
    QTcpSocket m_socket;
    TelnetFilter m_filter;
    std::deque<std::uint8_t> m_received;
    std::string m_error;
    std::function<void()> m_onConnected;
    std::function<void()> m_onClosed;
    std::function<void(int)> m_onError;
};

} // namespace vellum
