#pragma once
// The real peers of the station tests: a pseudo-terminal pair made by socat
// (a serial cable between two device paths) and the dummy rotator daemon.

#include "testsupport/tempdir.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

#include <filesystem>
#include <string>

namespace vellum::test {

/// Waits up to twenty seconds for done(): generous, as a loaded machine running
/// sanitized builds may be slow, and a condition that holds ends the wait at once.
template <typename Done>
bool waitUntil(Done done)
{
    QDeadlineTimer deadline(20000);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(10);
    }
    return true;
}

/// Two linked pseudo-terminals: bytes written to one arrive at the other.
class PtyPair {
public:
    PtyPair() : a(dir.file("ttyA")), b(dir.file("ttyB"))
    {
        m_socat.start("socat", {"pty,raw,echo=0,link=" + QString::fromStdString(a),
                                "pty,raw,echo=0,link=" + QString::fromStdString(b)});
        ok = m_socat.waitForStarted(5000) &&
             waitUntil([this] { return std::filesystem::exists(a) && std::filesystem::exists(b); });
    }
    ~PtyPair() { Stop(); }
    /// Ends socat: both devices vanish.
    void Stop()
    {
        m_socat.terminate();
        m_socat.waitForFinished(3000);
    }

    TempDir dir{"pty"};
    std::string a, b;
    bool ok = false;

private:
    QProcess m_socat;
};

/// A port nobody listens on right now.
inline int freeTcpPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

/// The dummy rotator of the rig-control tools, listening on a free port.
class RotatorDaemon {
public:
    RotatorDaemon() : port(freeTcpPort())
    {
        m_process.start("rotctld", {"-m", "1", "-T", "127.0.0.1", "-t", QString::number(port)});
        ok = m_process.waitForStarted(5000) && waitUntil([this] {
                 QTcpSocket probe;
                 probe.connectToHost("127.0.0.1", static_cast<quint16>(port));
                 return probe.waitForConnected(100);
             });
    }
    ~RotatorDaemon()
    {
        m_process.terminate();
        m_process.waitForFinished(3000);
    }
    /// The daemon's position, asked with "p" on a connection of its own.
    double Azimuth() const
    {
        QTcpSocket socket;
        socket.connectToHost("127.0.0.1", static_cast<quint16>(port));
        if (!socket.waitForConnected(2000))
            return -1;
        socket.write("p\n");
        QByteArray answer;
        while (answer.count('\n') < 2 && socket.waitForReadyRead(2000))
            answer += socket.readAll();
        return answer.split('\n').value(0).toDouble();
    }

    int port;
    bool ok = false;

private:
    QProcess m_process;
};

} // namespace vellum::test
