#pragma once
// A small HTTP server on 127.0.0.1 for the tests of the online callbooks: it
// reads each GET request, keeps it, and answers with what the test's handler
// returns - or holds the answer back, to stand for a slow service.

#include <QByteArray>
#include <QList>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrlQuery>

#include <functional>
#include <optional>

namespace vellum::test {

class LocalHttpServer : public QObject {
public:
    /// The body of the answer to a request (path and query); nothing: never answer.
    using Handler = std::function<std::optional<QByteArray>(const QUrlQuery &query)>;

    explicit LocalHttpServer(Handler handler) : m_handler(std::move(handler))
    {
        m_server.listen(QHostAddress::LocalHost, 0);
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection()) {
                socket->setParent(this);
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { read(socket); });
            }
        });
    }
    QString Url() const { return QStringLiteral("http://127.0.0.1:%1/xml").arg(m_server.serverPort()); }
    /// The status line of the answers from now on (200 OK at first).
    void SetStatus(int status, const QByteArray &reason)
    {
        m_status = status;
        m_reason = reason;
    }
    /// The queries heard so far, in order.
    const QList<QUrlQuery> &Requests() const { return m_requests; }

private:
    void read(QTcpSocket *socket)
    {
        QByteArray &buffer = m_buffers[socket];
        buffer += socket->readAll();
        int end = buffer.indexOf("\r\n\r\n");
        if (end < 0)
            return;
        QByteArray target = buffer.left(buffer.indexOf("\r\n")).split(' ').value(1);
        buffer.clear();
        QUrlQuery query(QString::fromLatin1(target.mid(target.indexOf('?') + 1)));
        m_requests.append(query);
        std::optional<QByteArray> body = m_handler(query);
        if (!body)
            return; // the slow service: the client's time limit has to end it
        socket->write("HTTP/1.1 " + QByteArray::number(m_status) + " " + m_reason +
                      "\r\nContent-Type: text/xml\r\nContent-Length: " + QByteArray::number(body->size()) + "\r\n\r\n" +
                      *body);
    }

    Handler m_handler;
    int m_status = 200;
    QByteArray m_reason = "OK";
    QTcpServer m_server;
    QList<QUrlQuery> m_requests;
    std::map<QTcpSocket *, QByteArray> m_buffers;
};

/// Answers in the format of the session-key callbook service.
inline QByteArray QrzAnswer(const QByteArray &inner)
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\n<QRZDatabase version=\"1.34\" xmlns=\"http://xmldata.qrz.com\">\n" +
           inner + "\n</QRZDatabase>\n";
}
/// Answers in the format of the free callbook service.
inline QByteArray HamQthAnswer(const QByteArray &inner)
{
    return "<?xml version=\"1.0\"?>\n<HamQTH version=\"2.8\" xmlns=\"https://www.hamqth.com\">\n" + inner + "\n</HamQTH>\n";
}

} // namespace vellum::test
