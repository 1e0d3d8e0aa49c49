#include "Fmsghandover.h"

#include <QLocalSocket>

#include <algorithm>

namespace vellum {

namespace {

std::string upperCut(std::string text)
{
    text = text.substr(0, 32);
    for (char &c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

constexpr std::size_t MaxMessage = 65536;

} // namespace

TMsgHandOver::TMsgHandOver(std::string handshake, QObject *parent) : QObject(parent)
{
    std::size_t bar = handshake.find('|');
    m_class = upperCut(handshake.substr(0, bar));
    m_title = bar == std::string::npos ? std::string() : upperCut(handshake.substr(bar + 1));
    connect(&m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *client = m_server.nextPendingConnection()) {
            connect(client, &QLocalSocket::readyRead, this, [this, client] { readClient(client); });
            connect(client, &QLocalSocket::disconnected, this, [this, client] {
                m_pending.erase(client);
                client->deleteLater();
            });
        }
    });
}

TMsgHandOver::~TMsgHandOver()
{
    // Clients closing while the server goes must not reach this half-destroyed object.
    for (QLocalSocket *client : m_server.findChildren<QLocalSocket *>())
        disconnect(client, nullptr, this, nullptr);
    disconnect(&m_server, nullptr, this, nullptr);
}

bool TMsgHandOver::Listen(const QString &name)
{
    QLocalServer::removeServer(name);
    return m_server.listen(name);
}

void TMsgHandOver::readClient(QLocalSocket *client)
{
    QByteArray &pending = m_pending[client];
    pending += client->readAll();
    if (pending.size() > static_cast<qsizetype>(MaxMessage) + 2) {
        m_pending.erase(client); // a message without an end is refused, not kept growing
        client->abort();
        return;
    }
    for (qsizetype end; (end = pending.indexOf('\0')) >= 0;) {
        QByteArray message = pending.left(end);
        pending.remove(0, end + 1);
        if (message.isEmpty())
            continue;
        bool text = static_cast<std::uint8_t>(message[0]) == MsgTextCode;
        client->write(text ? "\x01" : "\x02", 1);
        client->flush();
        if (text && m_onText)
            m_onText(message.mid(1).toStdString());
    }
}

bool TMsgHandOver::Send(const std::string &text)
{
    m_error.clear();
    int reply = sendOnce(text);
    if (reply == 0)
        reply = sendOnce(text); // find the target again and try once more
    if (reply == 1)
        return true;
    if (reply < 0)
        m_error = "Packet target Application Window not found: \rClass: " + m_class + "\t, Title: " + m_title;
    else if (reply == 0)
        m_error = "Target application not responding";
    else
        m_error = "Target application could not handle data";
    return false;
}

int TMsgHandOver::sendOnce(const std::string &text)
{
    QLocalSocket socket;
    socket.connectToServer(QString::fromStdString(m_class).toLower());
    if (!socket.waitForConnected(1000))
        return -1;
    QByteArray message;
    message.append(static_cast<char>(MsgTextCode));
    message.append(text.data(), static_cast<qsizetype>(std::min(text.size(), MaxMessage)));
    message.append('\0');
    socket.write(message);
    if (!socket.waitForBytesWritten(1000) || !socket.waitForReadyRead(2000))
        return 0;
    char reply = 0;
    socket.getChar(&reply);
    return static_cast<unsigned char>(reply);
}

} // namespace vellum
