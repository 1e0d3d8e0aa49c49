#include "singleinstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>

namespace vellum {

SingleInstance::SingleInstance(const QString &programDir, QObject *parent) : QObject(parent)
{
    QString dir = QDir(programDir).absolutePath();
    QByteArray hash = QCryptographicHash::hash(dir.toUtf8(), QCryptographicHash::Sha1).toHex().left(12);
    // Socket names may not hold spaces everywhere; the directory keeps instances of
    // different program directories apart.
    m_serverName = QStringLiteral("Prev-Inst-VELLUM32-") + QString::fromLatin1(hash);
    m_lockPath = dir + QStringLiteral("/VELLUM.LCK");
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::acquire()
{
    m_lock = std::make_unique<QLockFile>(m_lockPath);
    m_lock->setStaleLockTime(0);
    if (!m_lock->tryLock(100)) {
        QLocalSocket socket;
        socket.connectToServer(m_serverName);
        if (socket.waitForConnected(1000)) {
            socket.write("Prev Inst VELLUM32\n");
            socket.waitForBytesWritten(1000);
            socket.disconnectFromServer();
        }
        return false;
    }
    QLocalServer::removeServer(m_serverName); // a socket left by a crashed run
    m_server = new QLocalServer(this);
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *client = m_server->nextPendingConnection()) {
            connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
            emit raiseRequested();
        }
    });
    m_server->listen(m_serverName);
    return true;
}

} // namespace vellum
